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

#include <cerrno>

namespace tav {
namespace {

const QString kWritten = QStringLiteral("Export file could not be written : ");

// Closes a stream the export wrote; a file that never opened, or whose bytes did not
// all land, is reported with its cause (false).
bool closeWritten(FrmStoneID& window, std::unique_ptr<TextStream>& stream,
                  ExportFailures& failures) {
    if (!stream)
        return true;
    const bool landed = stream->isOpen() && stream->close();
    if (!landed)
        failures.report(window, kWritten + pathWithCause(stream->path(), stream->error()));
    if (stream->leftAsFound())
        warnLeftAsFound(window, stream->path());
    stream.reset();
    return landed;
}

// The Col layout's merged file takes the place of the layout file in one step. An old
// file that could not be read is kept: replacing it would lose every earlier export.
bool replaceMergedFile(FrmStoneID& w, const TextStream* oldFile, ExportFailures& failures) {
    const std::unique_ptr<TextStream> merged = std::move(w.ColumnTempStream);
    const bool oldFileRead = oldFile && oldFile->isOpen();
    if (merged && oldFileRead && merged->isOpen() && merged->close())
        return true;
    QString cause;
    if (!oldFileRead)
        cause = oldFile ? oldFile->error() : QString();
    else if (merged)
        cause = merged->error();
    if (merged)
        merged->discard();
    failures.report(w, QStringLiteral("Export file could not be replaced : ") +
                           pathWithCause(w.ExportTextFile, cause));
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
    const WriteResult copied = isAnsiName(AsciiCopyPath)
                                   ? copyReplacing(w.StoneExportFile, AsciiCopyPath)
                                   : WriteResult::failedWithErrno(ENOENT);
    if (!copied)
        failures.report(w, QStringLiteral("Export file could not be copied to : ") +
                               pathWithCause(AsciiCopyPath, copied.cause()));
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
        filesLanded = replaceMergedFile(w, w.ExportTextStream.get(), failures) && filesLanded;
        w.ExportTextStream.reset();
    } else {
        filesLanded = closeWritten(w, w.ExportTextStream, failures) && filesLanded;
    }
    // The marker stops every later export of the stone: it may stand only for files
    // that are whole.
    if (filesLanded)
        WriteStoneMarker(w, StoneMarkerFile, failures);

    if (w.DeleteStoneFile != 0)
        QFile::remove(w.StoneExportFile);
    if (const WriteResult settings = writeExportSettings(w); !settings)
        failures.report(
            w, QStringLiteral("Settings file could not be written : ") +
                   pathWithCause(w.folder.file(QStringLiteral("ExportPa.txt")), settings.cause()));
    if (w.AsciiExportOn)
        WriteAsciiFile(w, failures);
    w.ProgressBar1->setValue(5);
    deleteKeyFile(w.folder);
    w.ReportsConnection.reset();
    w.Timer3->stop();

    verdictWarning(w);
    // Before the log and the message, so that a copy that failed reaches both.
    copyStoneFile(w, AsciiCopyPath, failures);
    bool logWritten = false;
    if (w.program.ExportWarningFlag != 0) {
        const WriteResult log = WriteProblemLog(w);
        logWritten = static_cast<bool>(log);
        if (!log)
            failures.report(w, QStringLiteral("Problem log could not be written : ") +
                                   pathWithCause(problemLogPath(w), log.cause()));
    }

    bool unloaded = false;
    if (failures.any()) {
        // Never passed over in silence, whatever the bracket setting. The box holds the
        // list itself: the log is named only where it was written.
        const QString where = logWritten ? QStringLiteral(", listed below and in the problem "
                                                          "log ") +
                                               problemLogPath(w)
                                         : QStringLiteral(", listed below");
        w.platform.messages.show(QStringLiteral("Export finished with errors") + where +
                                     QStringLiteral("\n\n") + failures.lines().join(u'\n'),
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
