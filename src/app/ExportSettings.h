#pragma once

#include "platform/FileError.h"

#include <QString>
#include <QStringList>

#include <optional>

// ExportPa.txt, the 26 export settings (ExportSettings): one writer and one reader,
// shared by start-up, the settings triggers of the main window and the export.
namespace tav {

class FrmStoneID;
class ProgramFolder;

inline constexpr int kExportSettingsLineCount = 26;

// "Neither empty nor 0": the form in which the text options of lines 24 to 26 (preset
// stone ID, copy and quit, process label) are switched on.
inline bool isOptionSet(const QString& option) {
    return !option.isEmpty() && option != u"0";
}

// The 26 lines in file order, from the window's fields and members: switches as "1"
// or "0", numbers as decimal texts. Carriage returns and line feeds inside a field
// are dropped, so every value stays on its own line.
QStringList exportSettingsLines(const FrmStoneID& window);

// Replaces ExportPa.txt whole with the 26 lines (through a temporary file beside it);
// a missing file is not created. Ignores LoadingGuard. Fails when it was not written.
WriteResult writeExportSettings(FrmStoneID& window);

// The body of TxtExport_Change and txtOperator_Click: returns at once while
// LoadingGuard is -1, else writes the file. A file that cannot be written is left
// alone without a message.
void SaveExportSettings(FrmStoneID& window);

// Connects the two triggers of SaveExportSettings: every change of the TxtExport text
// (typed or assigned) and a mouse click in txtOperator.
void connectSettingsTriggers(FrmStoneID& window);

// The lines of ExportPa.txt as they stand; nothing when the file is missing or cannot
// be read.
std::optional<QStringList> readExportSettingsLines(const ProgramFolder& folder);

// Applies line lineNumber (1 to 26) of ExportPa.txt to the window. A line that does not
// convert (a switch or number line that is not a number, a 16-bit line out of range)
// is skipped and leaves its target as it was. Line 2 (the weight) is read and
// discarded; numbers outside 1 to 26 do nothing.
void applyExportSettingsLine(FrmStoneID& window, int lineNumber, const QString& text);

// Applies the lines first to last (1-based) of the list; lines the list does not have
// are left out.
void applyExportSettingsLines(FrmStoneID& window, const QStringList& lines, int first, int last);

} // namespace tav
