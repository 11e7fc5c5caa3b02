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
// values set before stay). Nothing happens when the file is missing. The window, with
// its frame, is then placed wholly inside the available area of one screen: moved in
// as far as it lies outside, and cut down only where it is larger than the area.
void setwindowsize(QWidget& window, const ProgramFolder& folder);
void setwindowsize(FrmStoneID& window);

// Replaces winpos_TAV.txt (creating it when missing) with the window's Left, Top,
// Width and Height; false when it could not be written.
bool Writewindowsize(const QWidget& window, const ProgramFolder& folder);
bool Writewindowsize(FrmStoneID& window);

// The rectangle moved, by as little as it takes, to lie wholly inside one of the
// screens' areas: the one it shows most on or, off every one, the nearest. Cut down to
// that area's size where it is larger. A rectangle inside an area, and any rectangle
// when no areas are known, is unchanged.
QRect keptOnScreen(const QRect& frame, const QList<QRect>& screenAreas);

} // namespace tav
