#include "export/AsciiFile.h"

#include "app/FrmStoneID.h"
#include "export/ExportFiles.h"
#include "platform/ProgramFolder.h"
#include "platform/StepFailure.h"
#include "platform/StoneFileName.h"
#include "platform/TextFile.h"

#include <QFileInfo>

#include <optional>

namespace tav {
namespace {

const QString kIdentityLine = QStringLiteral("H OEDF StoneId");

// The shape as the header names it; CurrentShape keeps the new name.
QString headerShapeName(FrmStoneID& w) {
    if (w.CurrentShape == u"Brilliant")
        w.CurrentShape = QStringLiteral("Round");
    else if (w.CurrentShape == u"Pear")
        w.CurrentShape = w.cboShape->currentText();
    return w.CurrentShape;
}

QStringList rewrittenLines(FrmStoneID& w, const QStringList& source) {
    QStringList lines;
    qsizetype next = 0;
    // The end of the source is the normal end, also in the middle of a block.
    const auto skip = [&](qsizetype count) {
        next += count;
        return next <= source.size();
    };
    // Every line: a model cut short would arrive without its closing line.
    while (next < source.size()) {
        const QString& line = source[next++];
        if (!line.startsWith(kIdentityLine)) {
            lines.append(line);
            continue;
        }
        lines.append(QStringLiteral("H OEDF StoneId=") + w.txtStoneID->text());
        if (!skip(1))
            break;
        lines.append(QStringLiteral("H OEDF BalanceWeight=") + w.txtRealWgt->text());
        if (!skip(2))
            break;
        lines.append(QStringLiteral("H OEDF ShapeCategory=") + w.TemplateShapeName);
        lines.append(QStringLiteral("H OEDF ShapeName=") + headerShapeName(w));
        lines.append(QStringLiteral("H OEDF SystemNumber=") + w.txtSysnumber->text());
    }
    return lines;
}

QString errorBoxText(const StepFailure& failure) {
    return QStringLiteral(" Error No:   ") + QString::number(failure.number()) +
           QStringLiteral(" Description of Error :  ") + failure.description() +
           QStringLiteral("\n\r\n\r.....ASCII File not Exported ........");
}

// An ASCII export folder that is the program folder names the source itself (its name
// matched without regard to case, as every name there); writing it would stack a stale
// header into the scanner's file at every export.
bool isTheSource(const QString& source, const QString& destination) {
    const QFileInfo from(source);
    const QFileInfo to(destination);
    if (to.exists() && to.canonicalFilePath() == from.canonicalFilePath())
        return true;
    return QFileInfo(to.path()).canonicalFilePath() == from.canonicalPath() &&
           to.fileName().compare(from.fileName(), Qt::CaseInsensitive) == 0;
}

// Reads the source and writes the copy; the failure of either, in the platform's terms.
void copyRewritten(FrmStoneID& w, const QString& source, const QString& folder,
                   const QString& destination) {
    // The id names the file: anything but one plain name would reach outside the folders.
    if (!isSafeStoneId(w.txtStoneID->text()))
        throw StepFailure(QStringLiteral("Bad file name or number"), 52);
    // An empty folder, or one that lost characters in the settings file, counts as
    // missing.
    if (!namesFolder(folder) || !QFileInfo(folder).isDir())
        throw StepFailure(QStringLiteral("Path not found"), 76);
    if (isTheSource(source, destination))
        throw StepFailure(QStringLiteral("Permission denied"), 70);
    const std::optional<QStringList> lines = readLines(source);
    if (!lines)
        throw StepFailure(QStringLiteral("Permission denied"), 70);
    // The system's cause, such as a full disk, tells the operator what to mend.
    const WriteResult written = replaceFileLines(destination, rewrittenLines(w, *lines));
    if (!written)
        throw StepFailure(written.cause().isEmpty() ? QStringLiteral("Path/File access error")
                                                    : written.cause(),
                          75);
}

} // namespace

void WriteAsciiFile(FrmStoneID& w, ExportFailures& failures) {
    const QString name = w.txtStoneID->text() + QStringLiteral(".asc");
    const QString folder = exportNamePartsOf(w).asciiFolder;
    const QString destination = joinPath(folder, name);
    const QString source = w.folder.file(name);
    if (isSafeStoneId(w.txtStoneID->text()) && !QFileInfo(source).isFile()) {
        w.platform.messages.show(QStringLiteral("ASCII file not found"), QString(),
                                 MessageIcon::Critical);
        failures.report(w, QStringLiteral("ASCII file not found : ") + source);
        return;
    }
    try {
        copyRewritten(w, source, folder, destination);
    } catch (const StepFailure& failure) {
        w.platform.messages.show(errorBoxText(failure), QString(), MessageIcon::Critical);
        failures.report(w, QStringLiteral("ASCII file could not be written : ") + destination +
                               QStringLiteral(" (") + failure.description() + u')');
    }
}

} // namespace tav
