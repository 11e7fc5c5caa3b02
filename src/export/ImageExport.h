#pragma once

#include <QString>

// The photo export and its overwrite log OvLog.txt in the program folder. No operation
// of the program calls ExportImage or OverRiteFolder; they are kept for callers to come.
// None of the three catches a failure of its own: a failing step ends the operation
// with a StepFailure for the caller.
namespace tav {

class FrmStoneID;
struct ProgramWide;

// The photo store: the folder "ReportPhoto" at the root of the program's drive.
QString reportPhotoFolder(const ProgramWide& program);

// Copies each photo named in images.txt (a comma-separated list in the program folder)
// from the photo folder (names matched without regard to case) to the export folder as
// stone id, "_" and the name. The new copy replaces an earlier one in one step (through
// a temporary file beside it), and the replacement is logged in OvLog.txt. For a photo
// missing from the store, OverRiteFile removes the earlier copy and nothing takes its
// place. A name that is not one plain file name is skipped: a list entry never reaches
// outside the export folder. Without images.txt a warning goes to the status line.
void ExportImage(FrmStoneID& window);
void ExportImage(FrmStoneID& window, const QString& photoFolder);

// Removes the file at the path, also a read-only one, after logging it as date and
// time, "-->" and the path. OvLog.txt is created empty when it is missing.
void OverRiteFile(FrmStoneID& window, const QString& path);

// Removes the folder at the path with all its content, also read-only content, after
// logging it as date and time, ":" and the path. A link is removed, never followed.
// OvLog.txt is created empty when it is missing.
void OverRiteFolder(FrmStoneID& window, const QString& path);

} // namespace tav
