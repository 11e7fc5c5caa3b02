#include "platform/ProgramFolderLock.h"

#include <QDateTime>
#include <QFileInfo>

namespace tav {
namespace {

// Longer than any program takes from making its lock file to writing its name in it.
constexpr qint64 kUnnamedLockSeconds = 5;

} // namespace

ProgramFolderLock::ProgramFolderLock(const ProgramFolder& folder)
    : lock_(folder.file(QStringLiteral(".tavexport.lock"))) {
    // Held for the whole run, however long the operator takes: only a holder that no
    // longer runs leaves a stale lock, never the lock's age.
    lock_.setStaleLockTime(0);
}

bool ProgramFolderLock::take() {
    if (lock_.isLocked())
        return true;
    if (lock_.tryLock(0) || lock_.error() != QLockFile::LockFailedError)
        return true;
    // A program killed between making the lock file and writing its name in it left a
    // lock that names no holder. Once no starting program can still be writing it, it is
    // taken over unless a running program holds the file itself.
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock_.getLockInfo(&pid, &host, &application))
        return false;
    const QFileInfo file(lock_.fileName());
    if (!file.exists()) // its holder has just ended
        return lock_.tryLock(0);
    if (file.lastModified().secsTo(QDateTime::currentDateTime()) < kUnnamedLockSeconds)
        return false;
    return lock_.removeStaleLockFile() && lock_.tryLock(0);
}

} // namespace tav
