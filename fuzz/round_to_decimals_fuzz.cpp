// The rounding of values, checked for what its texts look like, not only for crashes,
// with the C library under a locale that writes a decimal comma. An input is read twice:
// as the text "value places fixed" (places 2 and fixed 1 when left out), and, from six
// bytes on, as a raw single-precision value, one byte of places and one of the setting.
#include "platform/NumberText.h"
#include "scan/ValueHelpers.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <charconv>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

using namespace tav;

// The exact decimal expansion of a double's magnitude: every double is a binary fraction
// of at most 1074 places, and to_chars with as many decimals writes all of its digits.
std::string exactDigits(double magnitude) {
    char buffer[1500];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, 1100);
    return std::string(buffer, written.ptr);
}

// The digits one unit of the last place higher.
std::string oneUnitUp(std::string digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it == '.')
            continue;
        if (*it != '9') {
            ++*it;
            return digits;
        }
        *it = '0';
    }
    return '1' + digits;
}

// The digits of a magnitude's expansion kept up to `keep` characters, and the rest as
// "rounds down", "half-way" or "rounds up" (-1, 0, 1).
int restSide(const std::string& expansion, std::size_t keep) {
    std::string rest = expansion.substr(keep);
    std::erase(rest, '.');
    if (rest.empty())
        return -1;
    return rest.compare('5' + std::string(rest.size() - 1, '0'));
}

// True when the text is the number to `places` decimals, rounded to nearest and a tie
// away from zero, exactly: the text's digits are those of the number cut after the last
// place, or one unit of that place higher, whichever lies nearer. The sign is the
// number's.
bool roundsTo(const QString& text, double number, int places) {
    const bool negative = text.startsWith(u'-');
    if (negative != (number < 0))
        return false;
    const std::string expansion = exactDigits(std::fabs(number));
    const std::size_t point = expansion.find('.');
    const std::size_t keep = places > 0 ? point + 1 + std::size_t(places) : point;
    const std::string cut = expansion.substr(0, keep);
    const std::string digits = text.mid(negative ? 1 : 0).toStdString();
    return digits == (restSide(expansion, keep) < 0 ? cut : oneUnitUp(cut));
}

// True when `back` is the number rounded to 7 significant digits, either neighbour on an
// exact tie.
bool roundsToSevenDigits(double back, double number) {
    const std::string expansion = exactDigits(std::fabs(number));
    const std::size_t point = expansion.find('.');
    // Just past the 7th significant digit.
    std::size_t keep = 0;
    for (int significant = 0; keep < expansion.size() && significant < 7; ++keep) {
        const char c = expansion[keep];
        if (c != '.' && (significant > 0 || c != '0'))
            ++significant;
    }
    const std::string zeros(keep < point ? point - keep : 0, '0');
    const std::string cut = expansion.substr(0, keep);
    const int side = restSide(expansion, keep);
    const double sign = number < 0 ? -1 : 1;
    const auto is = [&](const std::string& digits) {
        return back == sign * wholeNumber(QString::fromStdString(digits + zeros)).value_or(-1);
    };
    return (side <= 0 && is(cut)) || (side >= 0 && is(oneUnitUp(cut)));
}

[[noreturn]] void broken(const char* what, float value, int places, int fixed,
                         const QString& text) {
    std::fprintf(stderr, "round_to_decimals: %s: value %s, places %d, fixed %d, text \"%s\"\n",
                 what, doubleToText(value).toLatin1().constData(), places, fixed,
                 text.toLatin1().constData());
    std::abort();
}

void check(float value, qint16 places, qint16 fixed) {
    const auto result = RoundToDecimals(value, places, fixed);
    if (places < 0) {
        if (result)
            broken("a negative number of places gave a result", value, places, fixed, {});
        return;
    }
    if (!result)
        broken("no result", value, places, fixed, {});
    const QString text = result->text();
    const auto fail = [&](const char* what) { broken(what, value, places, fixed, text); };
    if (text.contains(u','))
        fail("a comma in the text");
    const std::optional<double> back = wholeNumber(text);
    if (!back)
        fail("the text reads back as no number");
    const double number = result->number;
    const double magnitude = std::fabs(number);

    const double unit = std::pow(10.0, -places);
    if (result->isText() != (fixed == 1 && places <= 5))
        fail("a fixed text where none is due, or none where one is");
    if (result->isText()) {
        const qsizetype point = text.indexOf(u'.');
        const qsizetype decimals = point < 0 ? 0 : text.size() - point - 1;
        if (decimals != places || (places > 0) != (point >= 0) || text.contains(u'E'))
            fail("the fixed text does not have exactly the pattern's decimals");
        // Exact, not within a tolerance: near a million, half a unit of the fifth place
        // is finer than a double's precision.
        if (!roundsTo(text, number, places))
            fail("the fixed text is not the number rounded to its places");
        // A rounded number is the double of a text of that many decimals, which its
        // fixed text gives back whole.
        if (!result->unchanged && *back != number)
            fail("the fixed text of a rounded number reads back as another number");
    } else if (result->unchanged && std::trunc(number) == number && magnitude <= 16777216) {
        if (*back != number || text.contains(u'E'))
            fail("a whole number lost digits");
    } else if (result->unchanged) {
        // The single's 7 digits: beyond what a single holds whole, or where they
        // round to a whole number (34.99999619 gives "35").
        if (!roundsToSevenDigits(*back, number))
            fail("the 7-digit text is not the number to 7 digits");
    } else if (std::fabs(*back - number) > 1e-14 * magnitude) {
        fail("the text reads back as another number");
    }

    // Half up on the 7-digit text: never further from the value than one unit of the
    // last place kept, and the same number with the setting on or off.
    if (std::fabs(number - double(value)) > 1.5 * unit + 6e-7 * std::fabs(double(value)))
        fail("the rounded number is far from the value");
    const auto other = RoundToDecimals(value, places, fixed == 1 ? 0 : 1);
    if (!other || other->number != number)
        fail("the setting changed the rounded number");
}

std::optional<float> singleValue(double value) {
    const float single = static_cast<float>(value);
    if (!std::isfinite(single))
        return std::nullopt;
    return single;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("LOCPATH", TAV_LOCALE_DIR, 1);
    if (!std::setlocale(LC_ALL, TAV_COMMA_LOCALE) ||
        std::strcmp(std::localeconv()->decimal_point, ",") != 0) {
        std::fprintf(stderr, "round_to_decimals: no %s in %s (build the comma_locale target)\n",
                     TAV_COMMA_LOCALE, TAV_LOCALE_DIR);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QStringView> parts = QStringView(text).split(u' ', Qt::SkipEmptyParts);
    if (!parts.isEmpty() && parts.size() <= 3) {
        const auto number = wholeNumber(parts[0].toString());
        const auto places = parts.size() > 1 ? toInt16(parts[1].toString()) : qint16(2);
        const auto fixed = parts.size() > 2 ? toInt16(parts[2].toString()) : qint16(1);
        if (number && places && fixed && *places <= 400) {
            if (const auto single = singleValue(*number))
                check(*single, *places, *fixed);
        }
    }
    if (size >= 6) {
        float raw;
        std::memcpy(&raw, data, sizeof raw);
        if (std::isfinite(raw))
            check(raw, static_cast<std::int8_t>(data[4]), data[5] & 1);
    }
    return 0;
}
