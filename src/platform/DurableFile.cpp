#include "platform/DurableFile.h"

#include "platform/ProgramFolder.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

namespace tav {
namespace {

// The hidden name beside path: neither the export nor a reader of the export folder
// takes it for one of the export files.
QString hiddenBeside(const QString& path, QLatin1String suffix) {
    const QFileInfo info(path);
    return joinPath(info.path(), u'.' + info.fileName() + suffix);
}

bool renameOver(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

const QByteArray kRecordEnd("\r\n");

// The recorded length; nothing when the record is not whole.
std::optional<qint64> recordedLength(const QString& record) {
    QFile file(record);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = file.read(64);
    if (!text.endsWith(kRecordEnd))
        return std::nullopt;
    const QByteArray digits = text.chopped(kRecordEnd.size());
    if (digits.isEmpty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    bool ok = false;
    const qint64 length = digits.toLongLong(&ok);
    return ok ? std::optional<qint64>(length) : std::nullopt;
}

bool removeRecord(const QString& path) {
    const QString record = appendRecordPathOf(path);
    if (!QFile::remove(record) && QFileInfo::exists(record))
        return false;
    syncFolder(QFileInfo(path).path());
    return true;
}

} // namespace

bool syncToDisk(QFileDevice& file) {
    if (!file.flush())
        return false;
    int result;
    do
        result = ::fsync(file.handle());
    while (result != 0 && errno == EINTR);
    return result == 0;
}

bool syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

QString replacementPathOf(const QString& target) {
    return hiddenBeside(target, QLatin1String(".new"));
}

FileReplacement::FileReplacement(const QString& target, const QString& tempPath)
    : target_(target), temp_(tempPath.isEmpty() ? replacementPathOf(target) : tempPath) {}

FileReplacement::~FileReplacement() {
    discard();
}

bool FileReplacement::open(ReadOnlyTarget readOnly) {
    const QFileInfo old(target_);
    // Asked as an open would be, with the rights the process has in effect.
    if (readOnly == ReadOnlyTarget::Keep && old.exists() &&
        ::faccessat(AT_FDCWD, QFile::encodeName(target_).constData(), W_OK, AT_EACCESS) != 0)
        return false;
    if (!temp_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (old.isFile())
        temp_.setPermissions(old.permissions());
    return true;
}

bool FileReplacement::write(QByteArrayView bytes) {
    return temp_.isOpen() && temp_.write(bytes.data(), bytes.size()) == bytes.size();
}

bool FileReplacement::writeAllOf(QIODevice& input) {
    for (QByteArray chunk = input.read(1 << 20); !chunk.isEmpty(); chunk = input.read(1 << 20)) {
        if (!write(chunk))
            return false;
    }
    const auto* file = qobject_cast<const QFileDevice*>(&input);
    return !file || file->error() == QFileDevice::NoError;
}

bool FileReplacement::commit() {
    if (!temp_.isOpen())
        return false;
    bool landed = temp_.error() == QFileDevice::NoError && syncToDisk(temp_);
    temp_.close();
    landed = landed && temp_.error() == QFileDevice::NoError;
    // Only data that is on the disk takes the old file's name: after a power cut the
    // name then holds the old file or the whole new one.
    if (!landed || !renameOver(temp_.fileName(), target_)) {
        QFile::remove(temp_.fileName());
        return false;
    }
    // The new name is on the disk too; should that fail, the file is still whole.
    syncFolder(QFileInfo(target_).path());
    return true;
}

void FileReplacement::discard() {
    if (!temp_.isOpen())
        return;
    temp_.close();
    QFile::remove(temp_.fileName());
}

QString appendRecordPathOf(const QString& path) {
    return hiddenBeside(path, QLatin1String(".append"));
}

bool recordAppend(const QString& path, qint64 length) {
    QFile record(appendRecordPathOf(path));
    if (!record.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray text = QByteArray::number(length) + kRecordEnd;
    const bool written = record.write(text) == text.size() && syncToDisk(record);
    record.close();
    if (!written || record.error() != QFileDevice::NoError) {
        record.remove();
        return false;
    }
    return syncFolder(QFileInfo(path).path());
}

bool finishAppend(const QString& path) {
    return removeRecord(path);
}

bool undoUnfinishedAppend(const QString& path) {
    const QString record = appendRecordPathOf(path);
    if (!QFileInfo::exists(record))
        return true;
    const std::optional<qint64> length = recordedLength(record);
    if (length && QFileInfo(path).isFile() && QFileInfo(path).size() > *length) {
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite) || !file.resize(*length) || !syncToDisk(file))
            return false;
    }
    return removeRecord(path);
}

} // namespace tav
