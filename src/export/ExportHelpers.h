#pragma once

#include "platform/NumberText.h"
#include "platform/StepFailure.h"

#include <QString>

#include <cmath>

// Small conversions that several export phases share.
namespace tav {

// The text without its leading and trailing spaces; other blanks stay, as the
// settings and the database have always kept them.
inline QString trimSpaces(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

// A number narrowed to single precision; one that does not fit fails the statement.
inline float narrowToSingle(double value) {
    const std::optional<float> single = toSingle(value);
    if (!single)
        throw StepFailure(QStringLiteral("Overflow"), 6);
    return *single;
}

// A quotient kept as a single-precision number. A zero divisor or a result that does
// not fit fails the statement, so its target keeps its value and no inf or nan is
// ever stored or written.
inline float singleQuotient(double dividend, double divisor) {
    if (divisor == 0)
        throw StepFailure(QStringLiteral("Division by zero"), 11);
    return narrowToSingle(dividend / divisor);
}

} // namespace tav
