#include "support/SyscallTrace.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>

#include <sys/prctl.h>

using namespace Qt::StringLiterals;

namespace tav::test {

namespace {

// Starts strace with the arguments on this process and waits until it has taken hold of
// every thread.
bool attachToThisProcess(QProcess& strace, const QStringList& arguments) {
    // Where the kernel lets only a process's ancestors trace it, strace is let in.
    ::prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY, 0, 0, 0);
    strace.setProgram(QStringLiteral("strace"));
    strace.setArguments(arguments +
                        QStringList{"-p", QString::number(QCoreApplication::applicationPid())});
    strace.start(QIODevice::ReadOnly);
    if (!strace.waitForStarted(10000))
        return false;
    // strace says on its error output when it has taken hold of every thread.
    QByteArray said;
    const QDeadlineTimer deadline(20000);
    while (!said.contains("attached") && strace.state() == QProcess::Running &&
           !deadline.hasExpired()) {
        strace.waitForReadyRead(100);
        said += strace.readAllStandardError();
    }
    return said.contains("attached") && strace.state() == QProcess::Running;
}

void detach(QProcess& strace) {
    if (strace.state() != QProcess::NotRunning) {
        strace.terminate();
        strace.waitForFinished(20000);
    }
}

} // namespace

SyscallTrace::SyscallTrace() {
    attached_ = attachToThisProcess(
        strace_, {"-f", "-y", "-e", "trace=fsync,fdatasync,rename,renameat,renameat2", "-e",
                  "signal=none", "-o", scratch_.filePath("trace")});
}

SyscallTrace::~SyscallTrace() {
    stop();
}

QStringList SyscallTrace::stop() {
    detach(strace_);
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

FullDisk::FullDisk(const QStringList& files) {
    QStringList arguments{"-f",
                          "-e",
                          "trace=write,pwrite64,writev",
                          "-e",
                          "inject=write,pwrite64,writev:error=ENOSPC",
                          "-e",
                          "signal=none",
                          "-o",
                          "/dev/null"};
    for (const QString& file : files)
        arguments << "-P" << file;
    attached_ = attachToThisProcess(strace_, arguments);
}

FullDisk::~FullDisk() {
    detach(strace_);
}

} // namespace tav::test
