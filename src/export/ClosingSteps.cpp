#include "export/ClosingSteps.h"

#include "platform/FileCopy.h"

#include "app/ExportSettings.h"
#include "app/FrmStoneID.h"
#include "app/VbColor.h"
#include "export/AsciiFile.h"
#include "export/ColumnMerge.h"
#include "export/ExportFiles.h"
#include "export/ProblemLog.h"
#include "platform/AnsiText.h"
#include "scan/KeyFileBuilder.h"

#include <QFile>

namespace tav {
namespace {

const QString kWritten = QStringLiteral("Export file could not be written : ");

// Closes a stream the export wrote; a file that never opened, or whose bytes did not
// all land, is reported (false).
bool closeWritten(FrmStoneID& window, std::unique_ptr<TextStream>& stream,
                  ExportFailures& failures) {
    if (!stream)
        return true;
    const bool landed = stream->isOpen() && stream->close();
    if (!landed)
        failures.report(window, kWritten + stream->path());
    stream.reset();
    return landed;
}

// The Col layout's merged file takes the place of the layout file in one step. An old
// file that could not be read is kept: replacing it would lose every earlier export.
bool replaceMergedFile(FrmStoneID& w, bool oldFileRead, ExportFailures& failures) {
    const std::unique_ptr<TextStream> merged = std::move(w.ColumnTempStream);
    if (merged && oldFileRead && merged->isOpen() && merged->close())
        return true;
    if (merged)
        merged->discard();
    failures.report(w, QStringLiteral("Export file could not be replaced : ") + w.ExportTextFile);
    return false;
}

void verdictWarning(FrmStoneID& w) {
    const int colour = w.Text_ok->backColor();
    if (colour == vbYellow)
        w.appendWarning(QStringLiteral("WARNING !!! Data is exported BUT ........ ") +
                        w.Text_ok->text() +
                        QStringLiteral("..... We Advice you to clean & Rescan....."));
    if (colour == vbRed)
        w.appendWarning(
            QStringLiteral("STOP .... CRITICAL - Rescan the Stone - Though the Data is exported "
                           "...... ") +
            w.Text_ok->text() + QStringLiteral(".........."));
}

// The per-stone file into the ASCII export folder. With DeleteStoneFile the file is
// gone on purpose, and a bench without an ASCII folder wants no copy.
void copyStoneFile(FrmStoneID& w, const QString& AsciiCopyPath, ExportFailures& failures) {
    if (w.DeleteStoneFile != 0 || AsciiCopyPath.isEmpty())
        return;
    // An ASCII folder that lost characters in the settings file counts as missing.
    if (!isAnsiName(AsciiCopyPath) || !copyReplacing(w.StoneExportFile, AsciiCopyPath))
        failures.report(w, QStringLiteral("Export file could not be copied to : ") + AsciiCopyPath);
}

} // namespace

void ClosingSteps(FrmStoneID& w, const QString& AsciiCopyPath, const QString& StoneMarkerFile,
                  ExportFailures& failures) {
    const ExportLayout layout = exportLayoutOf(w.CBOFORMAT->currentText());
    if ((layout == ExportLayout::Row || layout == ExportLayout::ColRow) && w.ExportTextStream)
        w.ExportTextStream->writeLine(QStringLiteral(" "));

    bool filesLanded = closeWritten(w, w.StoneExportStream, failures);
    if (w.ColumnMergeMode != 0) {
        // The old layout file was only read; its lines beyond this export's stay.
        carryOverOldLines(w);
        const bool oldFileRead = w.ExportTextStream && w.ExportTextStream->isOpen();
        w.ExportTextStream.reset();
        filesLanded = replaceMergedFile(w, oldFileRead, failures) && filesLanded;
    } else {
        filesLanded = closeWritten(w, w.ExportTextStream, failures) && filesLanded;
    }
    // The marker stops every later export of the stone: it may stand only for files
    // that are whole.
    if (filesLanded)
        WriteStoneMarker(w, StoneMarkerFile, failures);

    if (w.DeleteStoneFile != 0)
        QFile::remove(w.StoneExportFile);
    if (!writeExportSettings(w))
        failures.report(w, QStringLiteral("Settings file could not be written : ") +
                               w.folder.file(QStringLiteral("ExportPa.txt")));
    if (w.AsciiExportOn)
        WriteAsciiFile(w, failures);
    w.ProgressBar1->setValue(5);
    deleteKeyFile(w.folder);
    w.ReportsConnection.reset();
    w.Timer3->stop();

    verdictWarning(w);
    // Before the log and the message, so that a copy that failed reaches both.
    copyStoneFile(w, AsciiCopyPath, failures);
    if (w.program.ExportWarningFlag != 0 && !WriteProblemLog(w))
        failures.report(w,
                        QStringLiteral("Problem log could not be written : ") + problemLogPath(w));

    bool unloaded = false;
    if (failures.any()) {
        // Never passed over in silence, whatever the bracket setting.
        w.platform.messages.show(QStringLiteral("Export finished with errors - see the problem "
                                                "log\n\n") +
                                     failures.lines().join(u'\n'),
                                 QStringLiteral("EXPORT NOT COMPLETE"), MessageIcon::Critical);
    } else if (w.BracketStoneId != 0) {
        w.platform.messages.show(QStringLiteral("Files Exported"),
                                 QStringLiteral("EXPORT SUCCESSFUL!!!"), MessageIcon::None);
    }
    if (w.BracketStoneId != 0) {
        w.close();
        unloaded = true;
    }

    w.platform.batches.start(w.folder.file(QStringLiteral("user_1.bat")));
    if (!unloaded)
        w.close();
    w.platform.programEnd.end();
}

} // namespace tav
