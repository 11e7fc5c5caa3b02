#include "export/ExportFiles.h"

#include "app/ExportSettings.h"
#include "app/FrmStoneID.h"
#include "export/ExportHelpers.h"
#include "platform/AnsiText.h"
#include "platform/Database.h"
#include "platform/DurableFile.h"
#include "platform/NumberText.h"
#include "platform/ProgramFolder.h"
#include "platform/ReadableText.h"
#include "platform/StoneFileName.h"
#include "platform/TextFile.h"
#include "scan/KeyReader.h"

#include <QDir>
#include <QFileInfo>

namespace tav {
namespace {

void makeFolder(const QString& folder) {
    if (namesFolder(folder))
        QDir().mkdir(folder);
}

// A name the export files are called by; refused, like the stone ID, when it can not
// be one.
bool refuseName(FrmStoneID& w, const QString& what, const QString& name) {
    w.platform.messages.show(what + QStringLiteral(" '") + readableText(name) +
                                 QStringLiteral("' can not be used as a file name "
                                                "......Please correct the ") +
                                 what,
                             what.toUpper() + QStringLiteral(" NOT VALID"), MessageIcon::Critical);
    return false;
}

// The per-stone folders of the sub-folder mode. The working folder moves to the
// export folder when the stone's folder is new, and at every export with brackets;
// the user's batch file inherits it.
void makeStoneFolders(const ExportNameParts& parts, const FrmStoneID& window) {
    if (namesFolder(parts.exportFolder)) {
        const QString stoneFolder = joinPath(parts.exportFolder, parts.stoneId);
        const bool missing = !QFileInfo::exists(stoneFolder);
        if (window.BracketStoneId != 0 || missing)
            QDir::setCurrent(parts.exportFolder);
        if (missing)
            QDir().mkdir(stoneFolder);
    }
    // The per-stone copy at the end of the export goes there.
    if (namesFolder(parts.asciiFolder))
        QDir().mkdir(joinPath(parts.asciiFolder, parts.stoneId));
}

// An append that a kill broke off, in the layout file of any layout of this export, is
// cut off before a reader of the folder or another layout's export meets it.
void undoBrokenAppends(const FrmStoneID& window) {
    ExportNameParts parts = exportNamePartsOf(window);
    for (const char* layoutText : {"Row", "Col_Row", "Table"}) {
        parts.layoutText = QLatin1String(layoutText);
        undoUnfinishedAppend(formExportFileNames(parts).ExportTextFile);
    }
}

std::unique_ptr<TextStream> openStream(const QString& path, TextStream::Mode mode) {
    return std::make_unique<TextStream>(path, mode);
}

} // namespace

ExportLayout exportLayoutOf(const QString& layoutText) {
    if (layoutText == u"Row")
        return ExportLayout::Row;
    if (layoutText == u"Col")
        return ExportLayout::Col;
    if (layoutText == u"Col_Row")
        return ExportLayout::ColRow;
    if (layoutText == u"Table")
        return ExportLayout::Table;
    return ExportLayout::Other;
}

ExportNameParts exportNamePartsOf(const FrmStoneID& w) {
    ExportNameParts parts;
    parts.exportFolder = w.TxtExport->text().trimmed();
    parts.asciiFolder = w.TxtACExport->text().trimmed();
    parts.stoneId = w.txtStoneID->text();
    parts.fileName = w.TxtFileName->text();
    parts.systemNumber = w.txtSysnumber->text();
    parts.layoutText = w.CBOFORMAT->currentText();
    parts.brackets = w.BracketStoneId != 0;
    parts.subFolder = w.StoneSubFolder != 0;
    return parts;
}

ExportFileNames formExportFileNames(const ExportNameParts& p) {
    ExportFileNames names;
    // The system number is the extension of every export file.
    const QString extension = u'.' + p.systemNumber;
    const QString stoneName = (p.brackets ? u'[' + p.stoneId + u']' : p.stoneId) + extension;
    const auto folderOf = [&p](const QString& folder) {
        return p.subFolder ? joinPath(folder, p.stoneId) : folder;
    };
    const QString exportFolder = folderOf(p.exportFolder);
    names.StoneExportFile = joinPath(exportFolder, stoneName);
    if (!p.asciiFolder.isEmpty())
        names.AsciiCopyPath = joinPath(folderOf(p.asciiFolder), stoneName);

    const auto layoutFile = [&](QLatin1String suffix) {
        return joinPath(exportFolder, p.fileName + suffix + extension);
    };
    switch (exportLayoutOf(p.layoutText)) {
    case ExportLayout::Row:
        names.ExportTextFile = layoutFile(QLatin1String("_rows"));
        break;
    case ExportLayout::Col:
        names.ExportTextFile = layoutFile(QLatin1String("_cols"));
        names.ColumnTempFile = layoutFile(QLatin1String("_colstmp"));
        break;
    case ExportLayout::ColRow:
        names.ExportTextFile = layoutFile(QLatin1String("_col_Rows"));
        break;
    case ExportLayout::Table:
        names.ExportTextFile = layoutFile(QLatin1String("_table"));
        break;
    case ExportLayout::Other:
        break;
    }
    return names;
}

void ExportFailures::report(FrmStoneID& window, const QString& text) {
    // The names in a line come from the settings files and the scan.
    const QString line = readableText(text);
    lines_.append(line);
    window.appendWarning(line);
}

bool PrepareExportFiles(FrmStoneID& w, QString& AsciiCopyPath) {
    if (isOptionSet(w.ProcessLabel)) {
        w.txtStoneID->setText(
            w.GetString(numericalParameters, QStringLiteral("STONE_ID"), w.testFile()) + u'_' +
            w.ProcessLabel);
    }
    // The ID names files and folders: anything but one plain name would reach outside
    // the export folders.
    if (!isSafeStoneId(w.txtStoneID->text()))
        return refuseName(w, QStringLiteral("Stone ID"), w.txtStoneID->text());
    // The file name and the system number name files too; a "?" in them stands for a
    // character the settings file lost.
    if (!isAnsiName(w.TxtFileName->text()))
        return refuseName(w, QStringLiteral("File Name"), w.TxtFileName->text());
    if (!isAnsiName(w.txtSysnumber->text()))
        return refuseName(w, QStringLiteral("System Number"), w.txtSysnumber->text());
    // An ID too long for the files named after it would leave the row and the layout's
    // block without the stone's own file and log.
    if (!stoneFileNamesFit(w.txtStoneID->text(), w.txtSysnumber->text(), w.BracketStoneId != 0))
        return refuseName(w, QStringLiteral("Stone ID"), w.txtStoneID->text());

    const ExportNameParts parts = exportNamePartsOf(w);
    makeFolder(parts.exportFolder);
    makeFolder(parts.asciiFolder);
    if (parts.subFolder)
        makeStoneFolders(parts, w);

    const ExportFileNames names = formExportFileNames(parts);
    w.StoneExportFile = names.StoneExportFile;
    w.ExportTextFile = names.ExportTextFile;
    w.ColumnTempFile = names.ColumnTempFile;
    AsciiCopyPath = names.AsciiCopyPath;

    if (!namesFolder(w.TxtExport->text()) || !QFileInfo(w.TxtExport->text()).isDir()) {
        w.platform.messages.show(QStringLiteral("Export path Does not exists......Please Enable "
                                                "Entry and Select Proper Path......."),
                                 QStringLiteral("EXPORT PATH ABSENT"), MessageIcon::None);
        return false;
    }
    return true;
}

std::optional<TemplateRows> OpenTemplateTable(FrmStoneID& w, const QString& TemplateTable) {
    std::optional<TemplateRows> rows;
    if (w.ReportsConnection)
        rows = readTemplateRows(*w.ReportsConnection, TemplateTable);
    if (!rows) {
        // A database that cannot be read is named with its cause, not taken for a
        // missing template.
        const QString reports = w.folder.file(QStringLiteral("Reports.mdb"));
        const DatabaseOpening opening = Database::open(reports);
        if (opening.problem != DatabaseProblem::None) {
            w.platform.messages.show(databaseProblemText(reports, opening),
                                     databaseProblemTitle(reports), MessageIcon::Critical);
        } else {
            w.platform.messages.show(QStringLiteral(" '[ ") + readableText(TemplateTable) +
                                         QStringLiteral(" ]' not defined in the reports.mdb , "
                                                        "Please define and add fields "
                                                        "...Exiting..."),
                                     QStringLiteral("TEMPLATE NOT DEFINED"), MessageIcon::None);
        }
        w.platform.programEnd.end();
    }
    return rows;
}

bool CheckStoneMarker(FrmStoneID& w, double semiPolished, QString& StoneMarkerFile) {
    StoneMarkerFile.clear();
    const QString markerFolder = joinPath(w.TxtExport->text().trimmed(), QStringLiteral("ZUV"));
    if (!QFileInfo(joinPath(markerFolder, QStringLiteral("ZUV"))).isFile())
        return true;
    QDir::setCurrent(markerFolder);
    // A finished and a semi-polished scan of one stone are told apart.
    const QString marker = w.txtStoneID->text() + u'_' + doubleToText(semiPolished);
    const QString markerFile = joinPath(markerFolder, marker);
    if (QFileInfo(markerFile).isFile()) {
        w.platform.programEnd.end();
        return false;
    }
    StoneMarkerFile = markerFile;
    return true;
}

void WriteStoneMarker(FrmStoneID& w, const QString& StoneMarkerFile, ExportFailures& failures) {
    if (StoneMarkerFile.isEmpty())
        return;
    TextStream file(StoneMarkerFile, TextStream::Mode::Create);
    // The marker holds its own name.
    file.writeLine(QFileInfo(StoneMarkerFile).fileName());
    if (!file.isOpen() || !file.close())
        failures.report(w, QStringLiteral("Marker file could not be written : ") + StoneMarkerFile);
}

void OpenExportStreams(FrmStoneID& w, bool& TableFileExisted) {
    TableFileExisted = false;
    w.ColumnMergeMode = 0;
    w.ExportTextStream.reset();
    w.ColumnTempStream.reset();
    w.StoneExportStream.reset();
    undoBrokenAppends(w);

    const ExportLayout layout = exportLayoutOf(w.CBOFORMAT->currentText());
    const bool exists = !w.ExportTextFile.isEmpty() && QFileInfo(w.ExportTextFile).isFile();
    if (exists && layout == ExportLayout::Col) {
        w.ExportTextStream = openStream(w.ExportTextFile, TextStream::Mode::Read);
        // The merged file is written as the temporary file and takes the layout file's
        // place at the close.
        w.ColumnTempStream = std::make_unique<TextStream>(
            w.ExportTextFile, TextStream::Mode::Replace, w.ColumnTempFile);
        w.ColumnMergeMode = -1;
    } else if (exists && layout != ExportLayout::Other) {
        w.ExportTextStream = openStream(w.ExportTextFile, TextStream::Mode::Append);
        TableFileExisted = layout == ExportLayout::Table;
    } else if (!w.ExportTextFile.isEmpty()) {
        // A new layout file appears only whole, at the close: one that could not be
        // written never does, and the next export starts it as a first export does.
        w.ExportTextStream = openStream(w.ExportTextFile, TextStream::Mode::Replace);
    }
    w.StoneExportStream = openStream(w.StoneExportFile, TextStream::Mode::Replace);
}

void writeToBoth(FrmStoneID& w, const QString& text) {
    if (w.StoneExportStream)
        w.StoneExportStream->write(text);
    if (w.ExportTextStream)
        w.ExportTextStream->write(text);
}

void writeLineToBoth(FrmStoneID& w, const QString& text) {
    writeToBoth(w, text + QStringLiteral("\r\n"));
}

} // namespace tav
