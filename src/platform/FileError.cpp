#include "platform/FileError.h"

#include <cerrno>
#include <cstring>

namespace tav {

QString systemErrorText(int errorNumber) {
    // Not strerror: under the bench's locale that gives the text in its language.
    const char* const text = ::strerrordesc_np(errorNumber);
    return text ? QString::fromLatin1(text)
                : QStringLiteral("Unknown error ") + QString::number(errorNumber);
}

WriteResult WriteResult::failed(const QString& cause) {
    // Never null, so that it never counts as landed.
    return WriteResult(cause.isNull() ? QStringLiteral("") : cause);
}

WriteResult WriteResult::failedWithErrno(int errorNumber) {
    // A call that failed without saying why is an input/output error to the operator.
    return failed(systemErrorText(errorNumber != 0 ? errorNumber : EIO));
}

QString pathWithCause(const QString& path, const QString& cause) {
    return cause.isEmpty() ? path : path + QStringLiteral(" (") + cause + u')';
}

} // namespace tav
