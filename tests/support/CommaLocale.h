#pragma once

#include <QByteArray>

#include <functional>

// The C library's locale switched to the decimal-comma locale that the build makes, for
// the life of the object, then put back: what a library that calls setlocale behind the
// program's back leaves, whatever locale the test run itself has. printf then writes
// "57,30" and strtod stops at the point.
namespace tav::test {

class CommaLocale {
public:
    CommaLocale();
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

private:
    QByteArray previous_;
    QByteArray previousLocPath_;
    bool hadLocPath_ = false;
};

// Runs the check twice: with the locale of the test run, then under CommaLocale.
void inRunAndCommaLocale(const std::function<void()>& check);

} // namespace tav::test
