#pragma once

#include <QString>

namespace tav {

class ExportFailures;
class FrmStoneID;

// The end of an export, after its layout: the closing line, the files closed (and the
// Col layout's merged file put in place), the stone's marker once they have all landed
// (StoneMarkerFile, when the marker folder is armed), the per-stone file deleted when
// asked, the settings file, the ASCII file, test_export.txt deleted, the connection
// closed, the verdict's warning, the per-stone copy, the problem log, the closing
// message, the user's batch file, the unload of the window and the end of the program.
//
// Files that did not land are reported as warnings before the problem log is written,
// and a critical message takes the place of "Files Exported".
void ClosingSteps(FrmStoneID& window, const QString& AsciiCopyPath, const QString& StoneMarkerFile,
                  ExportFailures& failures);

} // namespace tav
