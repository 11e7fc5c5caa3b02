#pragma once

#include <QRect>

class QWidget;

// winpos_TAV.txt: the main window's Left, Top, Width and Height in twips, one
// single-precision number a line, each written as its sign or a blank, the digits and
// a blank, then CR LF.
namespace tav {

class FrmStoneID;
class ProgramFolder;

// Twips per screen pixel.
inline constexpr int kTwipsPerPixel = 15;

// Reads winpos_TAV.txt and sets the window's Left, Top, Width and Height after each
// number read; stops quietly at the first line that is missing or no number (the
// values set before stay). Nothing happens when the file is missing. A position that
// would leave the window off every screen is brought back onto the nearest one, and a
// size larger than the screen's available area is cut down to it.
void setwindowsize(QWidget& window, const ProgramFolder& folder);
void setwindowsize(FrmStoneID& window);

// Replaces winpos_TAV.txt (creating it when missing) with the window's Left, Top,
// Width and Height; false when it could not be written.
bool Writewindowsize(const QWidget& window, const ProgramFolder& folder);
bool Writewindowsize(FrmStoneID& window);

// The rectangle moved, when it lies off every one of the screens' areas, onto the
// area nearest to it; a rectangle larger than its area (the one it shows most on, or
// that nearest one) is cut down to the area's size and moved to lie wholly inside it.
// Otherwise unchanged. No areas: unchanged.
QRect keptOnScreen(const QRect& frame, const QList<QRect>& screenAreas);

} // namespace tav
