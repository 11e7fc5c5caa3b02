#include "export/ImageExport.h"

#include "app/FrmStoneID.h"
#include "app/ProgramWide.h"
#include "export/ExportFiles.h"
#include "platform/DateText.h"
#include "platform/DurableFile.h"
#include "platform/Interaction.h"
#include "platform/ProgramFolder.h"
#include "platform/StepFailure.h"
#include "platform/StoneFileName.h"
#include "platform/TextFile.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <optional>
#include <system_error>

namespace tav {
namespace {

namespace fs = std::filesystem;

const QString kImageList = QStringLiteral("images.txt");
const QString kOverwriteLog = QStringLiteral("OvLog.txt");

fs::path fsPath(const QString& path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

StepFailure accessError() {
    return StepFailure(QStringLiteral("Path/File access error"), 75);
}

StepFailure permissionDenied() {
    return StepFailure(QStringLiteral("Permission denied"), 70);
}

// The log exists from the first removal check on, even when nothing is removed.
QString overwriteLog(FrmStoneID& w) {
    const QString log = w.folder.file(kOverwriteLog);
    if (!w.folder.hasFile(kOverwriteLog)) {
        TextStream created(log, TextStream::Mode::Create);
        if (!created.isOpen() || !created.close())
            throw accessError();
    }
    return log;
}

void logRemoval(FrmStoneID& w, const QString& log, const QString& mark, const QString& path) {
    TextStream stream(log, TextStream::Mode::Append);
    stream.writeLine(generalDateTimeText(w.platform.clock.now()) + mark + path);
    if (!stream.isOpen() || !stream.close())
        throw accessError();
}

// The owner may change every folder of the tree, so read-only folders give up their
// content. Links are not followed: what they point to is no part of the tree.
void makeFoldersWritable(const fs::path& folder) {
    std::error_code error;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, error);
    fs::directory_iterator entries(folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::error_code typeError;
        if (entries->symlink_status(typeError).type() == fs::file_type::directory)
            makeFoldersWritable(entries->path());
    }
}

// The new copy takes the place of an earlier one in one step, so the old photo is never
// gone before the new one exists; the replacement is logged as a removal would be. The
// rename also replaces a read-only copy, as the removal does.
void replacePhoto(FrmStoneID& w, const QString& source, const QString& target) {
    const QString log = overwriteLog(w);
    QFile input(source);
    FileReplacement output(target);
    if (!output.open(FileReplacement::ReadOnlyTarget::Replace)) {
        if (!QFileInfo(QFileInfo(target).path()).isDir())
            throw StepFailure(QStringLiteral("Path not found"), 76);
        throw accessError();
    }
    if (!input.open(QIODevice::ReadOnly))
        throw permissionDenied();
    if (!output.writeAllOf(input) ||
        !output.file().setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                      QFileDevice::ReadGroup | QFileDevice::ReadOther))
        throw accessError();
    if (QFileInfo(target).isFile())
        logRemoval(w, log, QStringLiteral("-->"), target);
    if (!output.commit())
        throw accessError();
}

} // namespace

QString reportPhotoFolder(const ProgramWide& program) {
    return joinPath(program.AppDrive, QStringLiteral("ReportPhoto"));
}

void ExportImage(FrmStoneID& w) {
    ExportImage(w, reportPhotoFolder(w.program));
}

void ExportImage(FrmStoneID& w, const QString& photoFolder) {
    if (!w.folder.hasFile(kImageList)) {
        w.appendWarning(QStringLiteral("Images.txt File Not Found"));
        return;
    }
    const std::optional<QStringList> names = readListItemsFromFile(w.folder.file(kImageList));
    if (!names)
        throw accessError();
    // The store was filled from Windows, where names match in any case.
    const ProgramFolder photos(photoFolder);
    // Beside the export's own files.
    const QString exportFolder = exportNamePartsOf(w).exportFolder;
    for (const QString& name : *names) {
        // A path in the name could remove or overwrite any file the program may touch.
        const QString targetName = w.txtStoneID->text() + u'_' + name;
        if (!isSafeStoneId(name) || !isSafeStoneId(targetName))
            continue;
        // An empty folder would name the root of the file system.
        if (exportFolder.isEmpty())
            throw StepFailure(QStringLiteral("Path not found"), 76);
        const QString target = joinPath(exportFolder, targetName);
        const QString source = photos.file(name);
        if (QFileInfo(source).isFile())
            replacePhoto(w, source, target);
        else
            OverRiteFile(w, target);
    }
}

void OverRiteFile(FrmStoneID& w, const QString& path) {
    const QString log = overwriteLog(w);
    if (!QFileInfo(path).isFile())
        return;
    logRemoval(w, log, QStringLiteral("-->"), path);
    // Removing a name needs no write permission on the file itself.
    if (!QFile::remove(path))
        throw permissionDenied();
}

void OverRiteFolder(FrmStoneID& w, const QString& path) {
    const QString log = overwriteLog(w);
    if (!QFileInfo(path).isDir())
        return;
    logRemoval(w, log, QStringLiteral(":"), path);
    const fs::path folder = fsPath(path);
    std::error_code error;
    if (!fs::is_symlink(folder, error))
        makeFoldersWritable(folder);
    fs::remove_all(folder, error);
    if (error)
        throw permissionDenied();
}

} // namespace tav
