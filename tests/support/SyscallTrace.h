#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The calls by which this process puts data on the disk and renames files, as the
// kernel sees them, recorded by strace attached to the process.
namespace tav::test {

class SyscallTrace {
public:
    // Attaches strace to this process; attached() tells whether that worked.
    SyscallTrace();
    ~SyscallTrace();
    SyscallTrace(const SyscallTrace&) = delete;
    SyscallTrace& operator=(const SyscallTrace&) = delete;

    bool attached() const { return attached_; }
    // Detaches and gives the calls seen, in their order, each as "sync <path>" (the
    // file or folder an fsync or fdatasync was given) or "rename <from> <to>".
    QStringList stop();

private:
    QTemporaryDir scratch_;
    QProcess strace_;
    bool attached_ = false;
};

// A disk that has run full under the given files only: strace, attached to this process,
// makes every write to them fail with ENOSPC, as the kernel does on a full file system;
// every other file is written as usual. The paths are given as the kernel names them
// (canonical). Lasts until it is destroyed.
class FullDisk {
public:
    explicit FullDisk(const QStringList& files);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool attached() const { return attached_; }

private:
    QProcess strace_;
    bool attached_ = false;
};

} // namespace tav::test
