#include "platform/DurableFile.h"

#include "platform/FileError.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace tav {
namespace {

const QString kNewSuffix = QStringLiteral(".new");
const QString kLockSuffix = QStringLiteral(".lock");
const QLatin1String kColumnTemp("_colstmp.");
const QLatin1String kColumnFile("_cols.");

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

// Renames only where nothing has the target's name yet. Not every file system knows
// such a rename; a hard link does the same where it is refused, and where neither is
// known, the rename runs after a look, under the lock that every writer of the file
// takes.
FileReplacement::NewFile renameToNewName(const QString& from, const QString& to) {
    using NewFile = FileReplacement::NewFile;
    const QByteArray source = nativePath(from);
    const QByteArray target = nativePath(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return NewFile::Made;
    if (errno == EEXIST)
        return NewFile::Existed;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return NewFile::Failed;
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return NewFile::Made;
    }
    if (errno == EEXIST)
        return NewFile::Existed;
    if (errno != EPERM && errno != EOPNOTSUPP)
        return NewFile::Failed;
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return NewFile::Existed;
    return std::rename(source.constData(), target.constData()) == 0 ? NewFile::Made
                                                                    : NewFile::Failed;
}

// The file a leftover was written for; empty for a name that is no leftover.
QString leftoverTarget(const QString& name) {
    for (const QString& suffix : {kNewSuffix, kLockSuffix}) {
        if (name.startsWith(u'.') && name.endsWith(suffix) && name.size() > suffix.size() + 1)
            return name.mid(1, name.size() - 1 - suffix.size());
    }
    const qsizetype temp = name.lastIndexOf(kColumnTemp);
    if (temp >= 0)
        return name.left(temp) + kColumnFile + name.mid(temp + kColumnTemp.size());
    return QString();
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
    const int fd = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno == EACCES || errno == EPERM;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

QString replacementPathOf(const QString& target) {
    return hiddenPathBeside(target, kNewSuffix);
}

// A link is written through, so its temporary file lies beside the file it names,
// under that file's hidden name: the rename must stay on that file's disk.
FileReplacement::FileReplacement(const QString& target, const QString& tempPath, Locking locking)
    : target_(writtenFilePath(target)),
      temp_(tempPath.isEmpty() || target_ != target ? replacementPathOf(target_) : tempPath),
      locking_(locking) {}

FileReplacement::~FileReplacement() {
    discard();
}

// The first cause is the one the operator needs; what fails after it follows from it.
bool FileReplacement::fail(int errorNumber) {
    if (error_.isEmpty())
        error_ = WriteResult::failedWithErrno(errorNumber).cause();
    return false;
}

bool FileReplacement::open(ReadOnlyTarget readOnly) {
    if (locking_ == Locking::Own) {
        lock_.emplace(target_);
        if (!lock_->held()) {
            error_ = lock_->error();
            lock_.reset();
            return false;
        }
    }
    const QFileInfo old(target_);
    // Asked as an open would be, with the rights the process has in effect.
    if (readOnly == ReadOnlyTarget::Keep && old.exists() &&
        ::faccessat(AT_FDCWD, nativePath(target_).constData(), W_OK, AT_EACCESS) != 0) {
        fail(errno);
        lock_.reset();
        return false;
    }
    errno = 0;
    if (!temp_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        fail(errno);
        lock_.reset();
        return false;
    }
    tempMade_ = true;
    if (old.isFile())
        temp_.setPermissions(old.permissions());
    return true;
}

bool FileReplacement::write(QByteArrayView bytes) {
    if (!temp_.isOpen())
        return false;
    errno = 0;
    return temp_.write(bytes.data(), bytes.size()) == bytes.size() || fail(errno);
}

bool FileReplacement::writeAllOf(QIODevice& input) {
    for (QByteArray chunk = input.read(1 << 20); !chunk.isEmpty(); chunk = input.read(1 << 20)) {
        if (!write(chunk))
            return false;
    }
    const auto* file = qobject_cast<const QFileDevice*>(&input);
    if (file && file->error() != QFileDevice::NoError) {
        error_ = QStringLiteral("the source could not be read");
        return false;
    }
    return true;
}

// Only data that is on the disk takes the old file's name: after a power cut the name
// then holds the old file or the whole new one.
bool FileReplacement::landOnDisk() {
    if (!temp_.isOpen())
        return false;
    errno = 0;
    bool landed = temp_.error() == QFileDevice::NoError && syncToDisk(temp_);
    if (!landed)
        fail(errno);
    errno = 0;
    temp_.close();
    if (landed && temp_.error() != QFileDevice::NoError)
        landed = fail(errno);
    if (!landed)
        discard();
    return landed;
}

bool FileReplacement::commit() {
    if (!landOnDisk())
        return false;
    if (std::rename(nativePath(temp_.fileName()).constData(), nativePath(target_).constData()) !=
        0) {
        fail(errno);
        discard();
        return false;
    }
    tempMade_ = false;
    // The new name is on the disk too; should that fail, the file is still whole.
    syncFolder(QFileInfo(target_).path());
    lock_.reset();
    return true;
}

FileReplacement::NewFile FileReplacement::commitNew() {
    if (!landOnDisk())
        return NewFile::Failed;
    const NewFile made = renameToNewName(temp_.fileName(), target_);
    if (made == NewFile::Failed)
        fail(errno);
    if (made == NewFile::Made) {
        tempMade_ = false;
        syncFolder(QFileInfo(target_).path());
    }
    discard();
    return made;
}

// Once the temporary file has taken the target's name, its own name may already be
// another writer's.
void FileReplacement::discard() {
    if (temp_.isOpen())
        temp_.close();
    if (tempMade_)
        QFile::remove(temp_.fileName());
    tempMade_ = false;
    lock_.reset();
}

void removeLeftovers(const QString& folder) {
    if (folder.isEmpty())
        return;
    const QStringList names =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& name : names) {
        const QString target = leftoverTarget(name);
        if (target.isEmpty())
            continue;
        // A lock that is held belongs to a live writer: its files stay. A lock file
        // goes with the lock's release.
        const FileLock lock(joinPath(folder, target), std::chrono::milliseconds(0));
        if (lock.held() && !name.endsWith(kLockSuffix))
            QFile::remove(joinPath(folder, name));
    }
}

} // namespace tav
