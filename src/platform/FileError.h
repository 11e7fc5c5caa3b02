#pragma once

#include <QString>

// Why a file could not be written, in the system's words, so the operator knows what to
// free or mend ("No space left on device").
namespace tav {

// The system's description of an error number, in English whatever the locale.
QString systemErrorText(int errorNumber);

// Whether a file landed, and the system's cause when it did not.
class WriteResult {
public:
    static WriteResult done() { return WriteResult(QString()); }
    static WriteResult failed(const QString& cause);
    // The cause from the error number left by the call that failed.
    static WriteResult failedWithErrno(int errorNumber);

    explicit operator bool() const { return cause_.isNull(); }
    const QString& cause() const { return cause_; }

private:
    explicit WriteResult(QString cause) : cause_(std::move(cause)) {}
    QString cause_; // null when the file landed
};

// A failure line's path with its cause after it: "path (No space left on device)".
QString pathWithCause(const QString& path, const QString& cause);

} // namespace tav
