#pragma once

#include <QtGlobal>

#include <functional>

// A full disk for real: a child process of the test whose files cannot grow past a size.
// Every write beyond it fails with EFBIG (SIGXFSZ is ignored), whether it comes from a
// write, a flush or a close, exactly as the program meets a disk that has run full.
namespace tav::test {

// Runs body in a child process (a fork of this one, sharing its files and folders)
// whose files take no byte past the limit, and returns body's result as the child's
// exit code; -1 when the child did not end normally. Checks belong in the parent: the
// child's failures are not reported.
int runWithFileSizeLimit(qint64 bytes, const std::function<int()>& body);

} // namespace tav::test
