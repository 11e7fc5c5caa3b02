#include "platform/NumberText.h"

#include <QByteArray>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace tav {
namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Length of the number at text[pos...]: sign, digits, point, digits, exponent.
// mantissaDigits tells whether any digit was seen before the exponent.
qsizetype scanNumber(const QString& text, qsizetype pos, bool& mantissaDigits) {
    qsizetype i = pos;
    const qsizetype n = text.size();
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    mantissaDigits = digits > 0;
    if (!mantissaDigits)
        return 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        const qsizetype expStart = j;
        while (j < n && isDigit(text[j]))
            ++j;
        if (j > expStart)
            i = j;
    }
    return i - pos;
}

// Nothing when the number does not fit a double.
std::optional<double> parseScanned(const QString& number) {
    QByteArray ascii = number.toLatin1();
    ascii.replace('d', 'e').replace('D', 'e');
    bool ok = false;
    const double value = ascii.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString stripMantissaZeros(QString text) {
    const qsizetype e = text.indexOf(u'E');
    QString mantissa = e < 0 ? text : text.left(e);
    const QString exponent = e < 0 ? QString() : text.mid(e);
    if (mantissa.contains(u'.')) {
        while (mantissa.endsWith(u'0'))
            mantissa.chop(1);
        if (mantissa.endsWith(u'.'))
            mantissa.chop(1);
    }
    if (mantissa == u"-0")
        mantissa = QStringLiteral("0");
    return mantissa + exponent;
}

// The text of "%.*G" for a value whose shortest text that reads back as the value has no
// more than `digits` digits, at most 15; nothing for any other value. Such a text lies
// closer to the value than half a unit of its last place (a double holds more than 15
// digits), so it is the value rounded to `digits` digits, and it has no trailing zeros.
// It costs a fraction of a rounding to a given number of digits. Not so for a subnormal
// value, which holds fewer digits.
std::optional<QString> shortSignificant(double value, int digits) {
    if (digits > 15 || !std::isnormal(value))
        return std::nullopt;
    char scientific[32]; // "-d.ddddddddddddddddde-308"
    const char* const end = std::to_chars(scientific, scientific + sizeof scientific, value,
                                          std::chars_format::scientific)
                                .ptr;
    const char* c = scientific;
    const bool negative = *c == '-';
    if (negative)
        ++c;
    char mantissa[20];
    int count = 0;
    for (; c != end && *c != 'e'; ++c) {
        if (*c == '.')
            continue;
        if (count == digits)
            return std::nullopt;
        mantissa[count++] = *c;
    }
    if (c == end)
        return std::nullopt;
    ++c; // the 'e'
    if (*c == '+')
        ++c;
    int exponent = 0;
    std::from_chars(c, end, exponent);

    QString text;
    text.reserve(32);
    if (negative)
        text += u'-';
    if (exponent < -4 || exponent >= digits) {
        text += QLatin1Char(mantissa[0]);
        if (count > 1) {
            text += u'.';
            text += QLatin1StringView(mantissa + 1, count - 1);
        }
        text += exponent < 0 ? QLatin1StringView("E-") : QLatin1StringView("E+");
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10)
            text += u'0';
        text += QString::number(magnitude);
    } else if (exponent < 0) {
        text += QLatin1StringView("0.");
        text += QString(-exponent - 1, u'0');
        text += QLatin1StringView(mantissa, count);
    } else {
        const int whole = exponent + 1;
        text += QLatin1StringView(mantissa, std::min(count, whole));
        if (count < whole)
            text += QString(whole - count, u'0');
        if (count > whole) {
            text += u'.';
            text += QLatin1StringView(mantissa + whole, count - whole);
        }
    }
    return text;
}

QString formatSignificant(double value, int digits) {
    if (value == 0.0)
        return QStringLiteral("0");
    if (std::optional<QString> text = shortSignificant(value, digits))
        return *std::move(text);
    // The text of printf's "%.*G", made without printf's much slower long division.
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits)
            .ptr;
    for (char* c = buffer; c != end; ++c) {
        if (*c >= 'a' && *c <= 'z')
            *c = char(*c - 'a' + 'A');
    }
    return stripMantissaZeros(QString::fromLatin1(buffer, end - buffer));
}

// printf's "%.*f" in the C locale: the value rounded to nearest, a tie to even.
QString fixedText(double value, int places) {
    char buffer[400];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, places);
    if (result.ec == std::errc())
        return QString::fromLatin1(buffer, result.ptr - buffer);
    // Up to 309 digits before the point, then the decimals.
    std::string large(std::size_t(places) + 330, '\0');
    result = std::to_chars(large.data(), large.data() + large.size(), value,
                           std::chars_format::fixed, places);
    return QString::fromLatin1(large.data(), result.ptr - large.data());
}

// Whether the value lies exactly halfway between two numbers of places decimals. A double
// has no more decimals than its mantissa has binary places after the point, so its text
// with that many decimals is exact.
bool isTie(double value, int places) {
    if (!std::isfinite(value))
        return false;
    int exponent = 0;
    std::frexp(value, &exponent);
    const int exactPlaces = std::numeric_limits<double>::digits - exponent;
    if (exactPlaces <= places)
        return false;
    const QString exact = fixedText(value, exactPlaces);
    const qsizetype cut = exact.size() - (exactPlaces - places);
    if (exact[cut] != u'5')
        return false;
    for (qsizetype i = cut + 1; i < exact.size(); ++i) {
        if (exact[i] != u'0')
            return false;
    }
    return true;
}

} // namespace

double leadingNumber(const QString& text) {
    qsizetype pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    bool digits = false;
    const qsizetype length = scanNumber(text, pos, digits);
    if (length == 0)
        return 0.0;
    return parseScanned(text.mid(pos, length)).value_or(0.0);
}

std::optional<double> wholeNumber(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    if (begin == end)
        return std::nullopt;
    bool digits = false;
    const QString core = text.mid(begin, end - begin);
    const qsizetype length = scanNumber(core, 0, digits);
    if (length == 0 || length != core.size())
        return std::nullopt;
    return parseScanned(core);
}

std::optional<double> plainInteger(const QString& text) {
    const QString core = text.trimmed();
    qsizetype digits = 0;
    for (qsizetype i = 0; i < core.size(); ++i) {
        if (isDigit(core[i]))
            ++digits;
        else if (i > 0 || (core[i] != u'+' && core[i] != u'-'))
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    const std::optional<double> value = wholeNumber(core);
    if (!value || std::fabs(*value) >= 1e15)
        return std::nullopt;
    return *value + 0.0; // no negative zero
}

QString singleToText(float value) {
    return formatSignificant(static_cast<double>(value), 7);
}

QString doubleToText(double value) {
    return formatSignificant(value, 15);
}

QString fixedDecimalText(double value, int places) {
    places = std::max(places, 0);
    if (!isTie(value, places))
        return fixedText(value, places);
    // A tie goes away from zero: the digits cut after the last place, one unit added.
    QString digits = fixedText(value, places + 1);
    digits.chop(1);
    if (digits.endsWith(u'.'))
        digits.chop(1);
    qsizetype i = digits.size() - 1;
    for (; i >= 0; --i) {
        if (!isDigit(digits[i]))
            continue;
        if (digits[i] != u'9') {
            digits[i] = QChar(digits[i].unicode() + 1);
            break;
        }
        digits[i] = u'0';
    }
    if (i < 0)
        digits.insert(digits.startsWith(u'-') ? 1 : 0, u'1');
    return digits;
}

QString plainDecimalText(const QString& numberText) {
    const qsizetype e = numberText.indexOf(u'E', 0, Qt::CaseInsensitive);
    if (e < 0)
        return numberText;
    QString mantissa = numberText.left(e);
    const int exponent = numberText.mid(e + 1).toInt();
    QString sign;
    if (mantissa.startsWith(u'-') || mantissa.startsWith(u'+')) {
        if (mantissa.startsWith(u'-'))
            sign = QStringLiteral("-");
        mantissa.remove(0, 1);
    }
    qsizetype point = mantissa.indexOf(u'.');
    if (point < 0)
        point = mantissa.size();
    QString digits = mantissa;
    digits.remove(u'.');
    qsizetype newPoint = point + exponent;
    if (newPoint <= 0) {
        digits.prepend(QString(-newPoint, u'0'));
        newPoint = 0;
    } else if (newPoint > digits.size()) {
        digits.append(QString(newPoint - digits.size(), u'0'));
    }
    QString whole = digits.left(newPoint);
    QString fraction = digits.mid(newPoint);
    while (whole.size() > 1 && whole.startsWith(u'0'))
        whole.remove(0, 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    return sign + whole + (fraction.isEmpty() ? QString() : QStringLiteral(".") + fraction);
}

void useCNumberLocale() {
    std::setlocale(LC_NUMERIC, "C");
}

std::optional<float> toSingle(double value) {
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(value);
}

std::optional<qint16> toInt16(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // default rounding: half to even
    if (rounded < std::numeric_limits<qint16>::min() ||
        rounded > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

std::optional<qint16> toInt16(const QString& text) {
    const auto value = wholeNumber(text);
    if (!value)
        return std::nullopt;
    return toInt16(*value);
}

std::optional<qint32> toInt32(const QString& text) {
    const auto value = wholeNumber(text);
    if (!value)
        return std::nullopt;
    const double rounded = std::nearbyint(*value);
    if (rounded < std::numeric_limits<qint32>::min() ||
        rounded > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(rounded);
}

} // namespace tav
