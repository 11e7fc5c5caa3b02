#pragma once

#include <QString>

// The balance on the serial port and the manual-weight switch. The weight reaches
// txtRealWgt from the balance (balance mode: field locked, port open) or is typed by
// the operator (manual mode: field open, port closed).
namespace tav {

class FrmStoneID;

// The captions of the File menu's Allow entry; each names what the next click does.
inline const QString kAllowBalanceModeCaption =
    QStringLiteral("&Temprorily Allow Manual Weight Entry (Mettlar Absent or Faulty)");
inline const QString kAllowManualModeCaption =
    QStringLiteral("&DIS-Allow Manual Weight Entry (Weight will come from Mettlar Automatically)");

// Wires the Allow entry, MSComm1's events and the double-click on txtRealWgt to the
// handlers below. Called once, by the window's constructor, after MSComm1 exists.
void connectBalanceLink(FrmStoneID& window);

// Reads HyperParam.txt from the top, sets up the port from it and opens it. Line 12
// = 1 runs the export before lines 13 to 15 are read. A failure abandons the rest
// and reports it in msgb1 (and marks the run as having warnings).
void OpenBalancePort(FrmStoneID& window);

// MSComm1's event: received characters go to HandleInput, the end-of-file character
// is reported. While an export runs, received characters wait in the port.
void MSComm1_OnComm(FrmStoneID& window);

// Puts the chunk into txtRealWgt: the chunks of one reading join, each without its
// leading blanks, and the field keeps their first 8 characters. A reading ends at a
// line end (CR or LF); the next one, like the first after anything else filled the
// field, replaces the field's text. Then the lamp turns green and txtStoneID takes
// the focus. The end-of-file character is dropped; a chunk left with nothing but
// blanks and control characters starts no reading and, outside a reading, changes
// nothing at all.
void HandleInput(FrmStoneID& window, const QString& InBuff);

// Switches between manual and balance mode, decided by the check mark of Allow.
// Entering balance mode runs OpenBalancePort; entering manual mode closes the port.
void Allow_Click(FrmStoneID& window);

// A double-click on the weight field switches the mode too.
void txtRealWgt_DblClick(FrmStoneID& window);

// The line went away while open; the port is already closed.
void MSComm1_DeviceLost(FrmStoneID& window);

} // namespace tav
