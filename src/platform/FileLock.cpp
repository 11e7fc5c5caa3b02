#include "platform/FileLock.h"

#include "platform/FileError.h"
#include "platform/ProgramFolder.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tav {
namespace {

// As many links as the system itself follows before it gives up.
constexpr int kMaxLinks = 40;

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

QString writtenFilePath(const QString& path) {
    QString file = path;
    for (int links = 0; links < kMaxLinks && QFileInfo(file).isSymLink(); ++links)
        file = QFileInfo(file).symLinkTarget();
    return file;
}

QString lockPathOf(const QString& path) {
    return lockPathBeside(writtenFilePath(path));
}

QString lockPathBeside(const QString& file) {
    return hiddenPathBeside(file, QStringLiteral(".lock"));
}

FileLock::FileLock(const QString& path, std::chrono::milliseconds wait)
    : lockPath_(lockPathOf(path)) {
    const QByteArray name = QFile::encodeName(lockPath_);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        // Read-only is enough for flock, and lets a bench open a lock file that another
        // user's bench made.
        const int fd = ::open(name.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            error_ = systemErrorText(errno);
            return;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The holder before may have removed the file between our open and our lock:
            // then a newcomer locks a new file under the name, and so must we.
            struct stat locked {};
            struct stat named {};
            if (::fstat(fd, &locked) == 0 && ::stat(name.constData(), &named) == 0 &&
                sameFile(locked, named)) {
                fd_ = fd;
                return;
            }
            ::close(fd);
            continue;
        }
        const int cause = errno;
        ::close(fd);
        if (cause != EWOULDBLOCK && cause != EINTR) {
            error_ = systemErrorText(cause);
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            error_ = QStringLiteral("in use by another program");
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

FileLock::~FileLock() {
    if (fd_ < 0)
        return;
    // Removed while still held: whoever opens the name next makes a new file.
    ::unlink(QFile::encodeName(lockPath_).constData());
    ::close(fd_);
}

} // namespace tav
