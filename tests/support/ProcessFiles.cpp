#include "support/ProcessFiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <csignal>
#include <unistd.h>

namespace tav::test {
namespace {

QString procFolder(qint64 pid) {
    return QStringLiteral("/proc/%1").arg(pid);
}

// The state letter of one thread: after the name in brackets, which may itself hold
// blanks and brackets.
QChar threadState(const QString& statPath) {
    QFile stat(statPath);
    if (!stat.open(QIODevice::ReadOnly))
        return u'X';
    const QByteArray line = stat.readAll();
    const qsizetype nameEnd = line.lastIndexOf(')');
    return nameEnd >= 0 && nameEnd + 2 < line.size() ? QChar(line[nameEnd + 2]) : u'X';
}

// Stopped ('T'), traced ('t'), or ended and not yet reaped ('Z', 'X').
bool standing(QChar state) {
    return state == u'T' || state == u't' || state == u'Z' || state == u'X';
}

bool everyThreadStanding(qint64 pid) {
    const QString tasks = procFolder(pid) + QStringLiteral("/task");
    const QStringList threads = QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& thread : threads) {
        if (!standing(threadState(tasks + u'/' + thread + QStringLiteral("/stat"))))
            return false;
    }
    return true;
}

} // namespace

QStringList openFilesOf(qint64 pid) {
    const QString fds = procFolder(pid) + QStringLiteral("/fd");
    QStringList files;
    for (const QString& fd :
         QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        char target[4096];
        const QByteArray link = QFile::encodeName(fds + u'/' + fd);
        const ssize_t length = ::readlink(link.constData(), target, sizeof target);
        if (length > 0)
            files.append(QFile::decodeName(QByteArray(target, length)));
    }
    return files;
}

bool stopProcess(qint64 pid) {
    if (::kill(static_cast<pid_t>(pid), SIGSTOP) != 0)
        return false;
    // The signal is taken by each thread at its next step into the kernel, not at once.
    const QDeadlineTimer deadline(10000);
    while (!everyThreadStanding(pid)) {
        if (deadline.hasExpired())
            return false;
        QThread::usleep(50);
    }
    return true;
}

} // namespace tav::test
