#pragma once

#include <QString>
#include <QStringList>

// A look into a running program from outside, through the kernel's view of it: which
// files it holds open, and a stop that freezes it so the look stays true.
namespace tav::test {

// The paths of the files the process holds open, as the kernel gives them (a file
// without a name ends in " (deleted)"); empty once the process has ended.
QStringList openFilesOf(qint64 pid);

// Stops every thread of the process where it is (SIGSTOP) and waits until they all
// stand; true then, or when the process has ended before. A stopped process still
// dies of SIGKILL.
bool stopProcess(qint64 pid);

} // namespace tav::test
