#include "app/ImageCopy.h"

#include "app/FrmStoneID.h"
#include "platform/AnsiText.h"
#include "platform/DurableFile.h"
#include "platform/FileCopy.h"
#include "platform/NumberText.h"
#include "platform/ProgramFolder.h"
#include "platform/StoneFileName.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace tav {

namespace {

const QString imageList = QStringLiteral("Export_images.txt");
const QString heartsImage = QStringLiteral("0-5.jpg");
const QString arrowsImage = QStringLiteral("0-4.jpg");

} // namespace

QList<DatedFolder> datedSubFolders(const QString& path) {
    QList<DatedFolder> folders;
    if (path.isEmpty())
        return folders;
    const QFileInfoList entries = QDir(path).entryInfoList(
        QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QFileInfo& entry : entries) {
        // The platform's folder dates carry no fraction of a second.
        QDateTime modified = entry.lastModified();
        modified = modified.addMSecs(-modified.time().msec());
        folders.push_back({entry.filePath(), modified});
    }
    std::sort(folders.begin(), folders.end(), [](const DatedFolder& a, const DatedFolder& b) {
        const QString nameA = QFileInfo(a.path).fileName();
        const QString nameB = QFileInfo(b.path).fileName();
        const int order = nameA.compare(nameB, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : nameA < nameB;
    });
    return folders;
}

std::optional<QString> newestFolder(const QList<DatedFolder>& folders) {
    QDateTime newest(QDate(1900, 1, 1), QTime(0, 0));
    std::optional<QString> best;
    for (const DatedFolder& folder : folders) {
        if (folder.modified.isValid() && folder.modified > newest) {
            newest = folder.modified;
            best = folder.path;
        }
    }
    return best;
}

std::optional<QString> GetLatestSubFolder(const QString& path) {
    const std::optional<QString> firstLevel = newestFolder(datedSubFolders(path));
    if (!firstLevel)
        return std::nullopt;
    const std::optional<QString> secondLevel = newestFolder(datedSubFolders(*firstLevel));
    return secondLevel ? secondLevel : firstLevel;
}

std::optional<ImageStoreSettings> readImageStoreSettings(const QString& path) {
    const std::optional<QStringList> items = readListItemsFromFile(path);
    if (!items)
        return std::nullopt;
    ImageStoreSettings settings;
    settings.sourceRoot = items->value(0);
    settings.destinationRoot = items->value(1);
    settings.perStoneFlag = items->value(2);
    return settings;
}

void copyStoreImages(FrmStoneID& window, const MetafileConverter& converter) {
    if (!window.folder.hasFile(imageList))
        window.appendWarning(QStringLiteral("Export_Images.txt File Not Found"));
    // Without the list there is no store: a lookup from empty roots would search the
    // working folder and could show and copy another stone's images.
    const std::optional<ImageStoreSettings> settings =
        readImageStoreSettings(window.folder.file(imageList));
    if (!settings)
        return;
    // The stone id becomes a folder name; anything else would reach outside the store.
    const QString stoneId = window.txtStoneID->text();
    if (!isSafeStoneId(stoneId))
        return;
    const std::optional<QString> folder = GetLatestSubFolder(settings->sourceRoot + stoneId);
    if (!folder)
        return;

    // The store was filled from Windows, where names match in any case.
    const ProgramFolder imageFolder(*folder);
    const QString hearts = imageFolder.file(heartsImage);
    const QString arrows = imageFolder.file(arrowsImage);
    showPicture(*window.Image1[0], hearts, converter);
    showPicture(*window.Image1[1], arrows, converter);

    QString arrowsCopy = settings->destinationRoot + QStringLiteral("Arrows.jpg");
    QString heartsCopy = settings->destinationRoot + QStringLiteral("Hearts.jpg");
    if (wholeNumber(settings->perStoneFlag) == 1.0) {
        const QString stoneFolder = settings->destinationRoot + stoneId;
        QDir().mkdir(stoneFolder);
        arrowsCopy = joinPath(stoneFolder, QStringLiteral("Arrows.jpg"));
        heartsCopy = joinPath(stoneFolder, QStringLiteral("Hearts.jpg"));
    }
    // Copies that a killed start-up left half-made go first.
    removeLeftovers(QFileInfo(arrowsCopy).path());
    copyReplacing(arrows, arrowsCopy);
    copyReplacing(hearts, heartsCopy);
}

} // namespace tav
