#include "support/SyscallTrace.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>

#include <sys/prctl.h>

using namespace Qt::StringLiterals;

namespace tav::test {

SyscallTrace::SyscallTrace() {
    // Where the kernel lets only a process's ancestors trace it, strace is let in.
    ::prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY, 0, 0, 0);
    strace_.setProgram(QStringLiteral("strace"));
    strace_.setArguments({"-f", "-y", "-e", "trace=fsync,fdatasync,rename,renameat,renameat2", "-e",
                          "signal=none", "-o", scratch_.filePath("trace"), "-p",
                          QString::number(QCoreApplication::applicationPid())});
    strace_.start(QIODevice::ReadOnly);
    if (!strace_.waitForStarted(10000))
        return;
    // strace says on its error output when it has taken hold of every thread.
    QByteArray said;
    const QDeadlineTimer deadline(20000);
    while (!said.contains("attached") && strace_.state() == QProcess::Running &&
           !deadline.hasExpired()) {
        strace_.waitForReadyRead(100);
        said += strace_.readAllStandardError();
    }
    attached_ = said.contains("attached") && strace_.state() == QProcess::Running;
}

SyscallTrace::~SyscallTrace() {
    stop();
}

QStringList SyscallTrace::stop() {
    if (strace_.state() != QProcess::NotRunning) {
        strace_.terminate();
        strace_.waitForFinished(20000);
    }
    QStringList calls;
    QFile trace(scratch_.filePath("trace"));
    if (!attached_ || !trace.open(QIODevice::ReadOnly))
        return calls;
    static const QRegularExpression sync(uR"re(f(?:data)?sync\(\d+<(.*)>\)\s+=\s+0)re"_s);
    // rename, renameat or renameat2, the folders given as the working folder.
    static const QRegularExpression rename(
        uR"re(rename(?:at2?)?\((?:AT_FDCWD[^,]*, )?"([^"]*)", (?:AT_FDCWD[^,]*, )?"([^"]*)".*\)\s+=\s+0)re"_s);
    for (const QString& line : QString::fromUtf8(trace.readAll()).split(u'\n')) {
        if (const QRegularExpressionMatch m = sync.match(line); m.hasMatch())
            calls.append(QStringLiteral("sync ") + m.captured(1));
        else if (const QRegularExpressionMatch r = rename.match(line); r.hasMatch())
            calls.append(QStringLiteral("rename ") + r.captured(1) + u' ' + r.captured(2));
    }
    return calls;
}

} // namespace tav::test
