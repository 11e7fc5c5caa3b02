#pragma once

#include "app/ReportPictures.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace tav {

class FrmStoneID;

// A folder of the image store with its last-modified time, to the whole second.
struct DatedFolder {
    QString path;
    QDateTime modified;
};

// The sub-folders of a folder, in name order without regard to case (the platform's
// own listing order is the file system's). Empty when there are none or the folder
// cannot be listed.
QList<DatedFolder> datedSubFolders(const QString& path);

// The folder with the latest date, the first listed among equals; one dated on or
// before 1 January 1900 is never chosen. Nothing when none qualifies.
std::optional<QString> newestFolder(const QList<DatedFolder>& folders);

// The newest sub-folder of the newest sub-folder of `path` (the newest first-level
// folder itself when it has none). Nothing when `path` has no sub-folder to choose.
std::optional<QString> GetLatestSubFolder(const QString& path);

// The three items of Export_images.txt.
struct ImageStoreSettings {
    QString sourceRoot;      // the store, directly followed by the stone id
    QString destinationRoot; // directly followed by the stone id or the file name
    QString perStoneFlag;    // equal to the number 1: one sub-folder per stone
};

// Items that the file lacks stay empty; nothing when it cannot be read.
std::optional<ImageStoreSettings> readImageStoreSettings(const QString& path);

// Start-up, after the report views: the stone's newest hearts and arrows images from
// the image store shown in Image1[0] and Image1[1] and copied as Hearts.jpg and
// Arrows.jpg. Without Export_images.txt a warning goes to the status line.
void copyStoreImages(FrmStoneID& window, const MetafileConverter& converter = MetafileConverter());

} // namespace tav
