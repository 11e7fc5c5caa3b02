#pragma once

#include <QString>

#include <chrono>

// Benches that share an export folder write its files from several processes at once.
// Every writer of a file holds that file's lock for as long as it writes it: an append
// from its record to the record's removal, a replacement from its temporary file to the
// rename. The lock is an advisory one (flock) on a hidden file beside the file written,
// ".NAME.lock", not on the file itself: a replacement puts a new file under the name, so
// a lock on the old one would no longer keep anyone off, and a file that does not exist
// yet has nothing to lock. A writer that dies loses its lock with it.
namespace tav {

// The file that writing to the path reaches: the file a symbolic link names (followed
// to its end, also where that file does not exist yet), else the path itself.
QString writtenFilePath(const QString& path);

// The hidden lock file beside the file that the path reaches.
QString lockPathOf(const QString& path);
// The hidden lock file beside the file of that very name, a link or not: ".NAME.lock".
QString lockPathBeside(const QString& file);

class FileLock {
public:
    // How long a writer waits for another one to finish: far longer than any export
    // writes a file, yet not for ever behind a program that hangs.
    static constexpr std::chrono::milliseconds kWait{60000};

    // Takes the lock of the file, waiting up to the given time; with no time, only a lock
    // that nobody holds is taken.
    explicit FileLock(const QString& path, std::chrono::milliseconds wait = kWait);
    // The lock file is removed by its last holder, so none stays beside the files.
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return fd_ >= 0; }
    // Why the lock was not taken.
    const QString& error() const { return error_; }

private:
    QString lockPath_;
    int fd_ = -1;
    QString error_;
};

} // namespace tav
