#include "platform/DurableAppend.h"

#include "platform/DurableFile.h"
#include "platform/FileLock.h"
#include "platform/ProgramFolder.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tav {
namespace {

const QByteArray kRecordEnd("\r\n");

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

// A record as its writer left it. An earlier build recorded the length alone; such a
// record proves nothing about what follows it.
struct AppendRecord {
    qint64 length = 0;
    std::optional<QByteArray> block;
};

std::optional<qint64> digitsValue(QByteArrayView digits) {
    if (digits.isEmpty() || digits.size() > 18 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    qint64 value = 0;
    for (const char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

// The record; nothing when it is not whole (its append then never began).
std::optional<AppendRecord> readRecord(const QString& path) {
    QFile file(appendRecordPathOf(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    const qsizetype end = bytes.indexOf(kRecordEnd);
    if (end < 0)
        return std::nullopt;
    const QByteArrayView head = QByteArrayView(bytes).first(end);
    const QByteArray block = bytes.mid(end + kRecordEnd.size());
    const qsizetype space = head.indexOf(' ');
    if (space < 0) {
        const std::optional<qint64> length = digitsValue(head);
        if (!length || !block.isEmpty())
            return std::nullopt;
        return AppendRecord{*length, std::nullopt};
    }
    const std::optional<qint64> length = digitsValue(head.first(space));
    const std::optional<qint64> size = digitsValue(head.sliced(space + 1));
    if (!length || !size || *size != block.size())
        return std::nullopt;
    return AppendRecord{*length, block};
}

bool removeRecord(const QString& path) {
    const QString record = appendRecordPathOf(path);
    if (!QFile::remove(record) && QFileInfo::exists(record))
        return false;
    syncFolder(QFileInfo(path).path());
    return true;
}

// Reads up to size bytes from the offset on.
QByteArray readAt(int fd, qint64 offset, qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t read = ::pread(fd, bytes.data() + done, size_t(size - done), offset + done);
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            break;
        done += read;
    }
    bytes.truncate(done);
    return bytes;
}

enum class Tail { Empty, BrokenBlock, WholeBlock, Foreign };

// What follows the length in the open file, against the block that was appended there.
Tail tailAfter(int fd, qint64 length, QByteArrayView block) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size < length)
        return Tail::Foreign;
    const qint64 tail = info.st_size - length;
    if (tail == 0)
        return Tail::Empty;
    const QByteArray bytes = readAt(fd, length, std::min<qint64>(tail, block.size()));
    if (tail < block.size())
        return bytes == block.first(bytes.size()) && bytes.size() == tail ? Tail::BrokenBlock
                                                                          : Tail::Foreign;
    // The block landed whole; whatever follows it was appended after it.
    return bytes == block ? Tail::WholeBlock : Tail::Foreign;
}

bool cutAndSync(int fd, qint64 length) {
    int result;
    do
        result = ::ftruncate(fd, length);
    while (result != 0 && errno == EINTR);
    return result == 0 && ::fsync(fd) == 0;
}

// The file's descriptor, closed with the object.
struct OpenFile {
    explicit OpenFile(const QString& path, int flags)
        : fd(::open(nativePath(path).constData(), flags | O_CLOEXEC)) {}
    ~OpenFile() {
        if (fd >= 0)
            ::close(fd);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd;
};

// Under the file's lock.
UnfinishedAppend undoUnderLock(const QString& path) {
    if (!QFileInfo::exists(appendRecordPathOf(path)))
        return UnfinishedAppend::None;
    UnfinishedAppend outcome = UnfinishedAppend::None;
    const std::optional<AppendRecord> record = readRecord(path);
    if (record && QFileInfo(path).isFile() && QFileInfo(path).size() != record->length) {
        outcome = UnfinishedAppend::LeftAsFound;
        if (record->block) {
            const OpenFile file(path, O_RDWR);
            switch (file.fd < 0 ? Tail::Foreign
                                : tailAfter(file.fd, record->length, *record->block)) {
            case Tail::BrokenBlock:
                if (!cutAndSync(file.fd, record->length))
                    return UnfinishedAppend::Failed;
                outcome = UnfinishedAppend::CutBack;
                break;
            case Tail::Empty:
            case Tail::WholeBlock:
                outcome = UnfinishedAppend::None;
                break;
            case Tail::Foreign:
                break;
            }
        }
    }
    return removeRecord(path) ? outcome : UnfinishedAppend::Failed;
}

AppendResult failedAppend(int errorNumber, bool leftAsFound) {
    return AppendResult{WriteResult::failedWithErrno(errorNumber), leftAsFound};
}

// Under the file's lock, with no unfinished append left beside it. A block that does not
// land whole is taken back: only its own bytes are cut.
AppendResult appendUnderLock(const QString& path, QByteArrayView block, bool leftAsFound) {
    const OpenFile file(path, O_RDWR | O_APPEND);
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0)
        return failedAppend(errno, leftAsFound);
    const qint64 length = info.st_size;
    if (!recordAppend(path, length, block))
        return failedAppend(errno, leftAsFound);
    qint64 done = 0;
    int cause = 0;
    while (done < block.size()) {
        const ssize_t written = ::write(file.fd, block.data() + done, size_t(block.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            cause = written < 0 ? errno : ENOSPC;
            break;
        }
        done += written;
    }
    if (cause == 0 && ::fsync(file.fd) != 0)
        cause = errno;
    if (cause != 0) {
        // Taken back, and the record with it, where nothing but this block follows the
        // old end.
        struct stat now {};
        const Tail tail = tailAfter(file.fd, length, block);
        const bool ownBytesOnly = tail == Tail::Empty || tail == Tail::BrokenBlock ||
                                  (tail == Tail::WholeBlock && ::fstat(file.fd, &now) == 0 &&
                                   now.st_size == length + block.size());
        if (ownBytesOnly && cutAndSync(file.fd, length))
            finishAppend(path);
        return failedAppend(cause, leftAsFound);
    }
    if (!finishAppend(path))
        return failedAppend(errno, leftAsFound);
    return AppendResult{WriteResult::done(), leftAsFound};
}

enum class Missing { Refuse, Create };

AppendResult appendLocked(const QString& path, QByteArrayView firstLines, QByteArrayView block,
                          Missing missing) {
    const QString file = writtenFilePath(path);
    const FileLock lock(file);
    if (!lock.held())
        return AppendResult{WriteResult::failed(lock.error()), false};
    const UnfinishedAppend undone = undoUnderLock(file);
    const bool leftAsFound = undone == UnfinishedAppend::LeftAsFound;
    if (undone == UnfinishedAppend::Failed)
        return AppendResult{
            WriteResult::failed(QStringLiteral("an unfinished append could not be undone")), false};
    if (missing == Missing::Create && !QFileInfo::exists(file)) {
        FileReplacement made(file, QString(), FileReplacement::Locking::Caller);
        if (!made.open() || !made.write(firstLines) || !made.write(block))
            return AppendResult{WriteResult::failed(made.error()), leftAsFound};
        switch (made.commitNew()) {
        case FileReplacement::NewFile::Made:
            return AppendResult{WriteResult::done(), leftAsFound};
        case FileReplacement::NewFile::Failed:
            return AppendResult{WriteResult::failed(made.error()), leftAsFound};
        case FileReplacement::NewFile::Existed:
            // Another writer made it meanwhile: this block joins the others.
            break;
        }
    }
    return appendUnderLock(file, block, leftAsFound);
}

} // namespace

QString appendRecordPathOf(const QString& path) {
    return hiddenPathBeside(path, QStringLiteral(".append"));
}

bool recordAppend(const QString& path, qint64 length, QByteArrayView block) {
    const QString recordPath = appendRecordPathOf(path);
    const OpenFile record(recordPath, O_WRONLY | O_CREAT | O_TRUNC);
    if (record.fd < 0)
        return false;
    const QByteArray head =
        QByteArray::number(length) + ' ' + QByteArray::number(block.size()) + kRecordEnd;
    bool written = true;
    for (const QByteArrayView part : {QByteArrayView(head), block}) {
        qint64 done = 0;
        while (written && done < part.size()) {
            const ssize_t n = ::write(record.fd, part.data() + done, size_t(part.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            written = n > 0;
            if (n == 0)
                errno = ENOSPC;
            done += std::max<ssize_t>(n, 0);
        }
    }
    if (!written || ::fsync(record.fd) != 0) {
        const int cause = errno;
        QFile::remove(recordPath);
        errno = cause;
        return false;
    }
    return syncFolder(QFileInfo(path).path());
}

bool finishAppend(const QString& path) {
    return removeRecord(path);
}

UnfinishedAppend undoUnfinishedAppend(const QString& path) {
    const QString file = writtenFilePath(path);
    if (!QFileInfo::exists(appendRecordPathOf(file)))
        return UnfinishedAppend::None;
    const FileLock lock(file);
    if (!lock.held())
        return UnfinishedAppend::Failed;
    return undoUnderLock(file);
}

AppendResult appendBlock(const QString& path, QByteArrayView block) {
    return appendLocked(path, {}, block, Missing::Refuse);
}

AppendResult appendOrCreate(const QString& path, QByteArrayView firstLines, QByteArrayView block) {
    return appendLocked(path, firstLines, block, Missing::Create);
}

} // namespace tav
