#pragma once

#include "export/TemplateItems.h"

#include <QString>
#include <QStringList>

#include <optional>

// The export's files: their names, the export folders, the template table, the
// once-per-stone marker and the open streams.
namespace tav {

class FrmStoneID;

// The layout text of CBOFORMAT, compared exactly; Other is none of the four.
enum class ExportLayout { Row, Col, ColRow, Table, Other };
ExportLayout exportLayoutOf(const QString& layoutText);

// What the export file names are made of.
struct ExportNameParts {
    QString exportFolder; // TxtExport without its surrounding blanks
    QString asciiFolder;  // TxtACExport without its surrounding blanks
    QString stoneId;      // txtStoneID as it stands
    QString fileName;     // TxtFileName
    QString systemNumber; // txtSysnumber, the extension after a dot: "125" gives "id.125"
    QString layoutText;   // CBOFORMAT
    bool brackets = false;
    bool subFolder = false;
};
ExportNameParts exportNamePartsOf(const FrmStoneID& window);

// The names of one export; an empty name is not formed. The per-stone folder is named
// by the plain stone ID, the files by the ID in brackets when brackets are on.
struct ExportFileNames {
    QString StoneExportFile;
    QString AsciiCopyPath;  // not formed without an ASCII export folder
    QString ExportTextFile; // not formed for a layout text that is none of the four
    QString ColumnTempFile; // Col only
};
ExportFileNames formExportFileNames(const ExportNameParts& parts);

// The files of one export that did not land. Each is reported on the status line as a
// warning (so the problem log holds it) and keeps the success message away; a line
// longer than anyone reads is cut.
class ExportFailures {
public:
    void report(FrmStoneID& window, const QString& text);
    bool any() const { return !lines_.isEmpty(); }
    const QStringList& lines() const { return lines_; }

private:
    QStringList lines_;
};

// Before the weight verdict: the stone ID under the process label, the export folders
// (with the per-stone folders and the working folder of the sub-folder mode) and the
// names of every file, formed afresh. A stone ID, file name or system number that
// cannot be a file name is refused before anything is made; a missing export folder is
// reported, and so is one whose text the settings file can not hold. False leaves the
// export.
bool PrepareExportFiles(FrmStoneID& window, QString& AsciiCopyPath);

// The rows of the template table; when it is not defined (or Reports.mdb cannot be
// read, which is said with its cause), its message is shown, the program is ended and
// nothing comes back.
std::optional<TemplateRows> OpenTemplateTable(FrmStoneID& window, const QString& TemplateTable);

// The once-per-stone marker, armed by a plain file ZUV in the folder ZUV of the export
// folder, which becomes the working folder. A stone already marked ends the program
// silently (false); otherwise StoneMarkerFile names its marker (empty when the folder is
// not armed), which WriteStoneMarker writes once the stone's files have landed: a kill
// or a failed file before that leaves the stone free to be exported again.
bool CheckStoneMarker(FrmStoneID& window, double semiPolished, QString& StoneMarkerFile);
void WriteStoneMarker(FrmStoneID& window, const QString& StoneMarkerFile, ExportFailures& failures);

// Opens the layout file as its layout and existence call for (Col reads an existing
// file and writes the temporary one; the others append to it or create it), then
// creates the per-stone file afresh.
void OpenExportStreams(FrmStoneID& window, bool& TableFileExisted);

// Every export line goes first to the per-stone file, then to the layout file. A file
// that is not open loses the text; closing it reports the loss.
void writeToBoth(FrmStoneID& window, const QString& text);
void writeLineToBoth(FrmStoneID& window, const QString& text);

} // namespace tav
