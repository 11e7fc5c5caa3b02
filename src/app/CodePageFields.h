#pragma once

class QLineEdit;

// The fields whose text goes into the single-byte files (the export folders, the file
// name, the system number, the lens number, the stone ID and the lot). A character the
// code page can not hold would be written there as "?", so the operator is told on the
// status line as soon as one is entered. It is a warning, so the stone's problem log
// keeps it; one is given for each entry, not for each keystroke.
namespace tav {

class FrmStoneID;

// Watches what the operator types or pastes into each of these fields.
void connectCodePageWarnings(FrmStoneID& window);

// The same for a text the program entered on the operator's behalf (the folder dialog).
void checkEnteredText(QLineEdit* field);

} // namespace tav
