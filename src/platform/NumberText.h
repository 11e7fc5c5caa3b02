#pragma once

#include <QString>

#include <optional>

// Numbers as texts, always with "." as the point, whatever the machine's locale.
namespace tav {

// The number that a text begins with (leading blanks skipped); 0 when it begins with none.
double leadingNumber(const QString& text);

// The whole text as a number: surrounding blanks, a sign and an exponent are accepted;
// an empty text, inf, nan and hexadecimal texts are not.
std::optional<double> wholeNumber(const QString& text);
inline bool isNumericText(const QString& text) {
    return wholeNumber(text).has_value();
}

// The whole text as an integer of plain digits (blanks around and a sign allowed, no point,
// no exponent) below 10^15 in magnitude, where a double holds every digit; nothing for any
// other text.
std::optional<double> plainInteger(const QString& text);

// Shortest text of a single-precision number with at most 7 significant digits
// (0.1234567891 gives "0.1234568", 7 gives "7"); very large or small magnitudes
// carry an exponent ("1.5E+20").
QString singleToText(float value);

// Text of a double with at most 15 significant digits and no trailing zeros
// (|2.5 - 3.1| gives "0.6").
QString doubleToText(double value);

// The value with exactly places decimals, rounded to nearest and a tie away from zero, as
// a format pattern such as "0.00" writes it (2.5 to 0 places gives "3", 0.125 to 2 gives
// "0.13", -2.5 to 0 gives "-3", 7 to 2 gives "7.00"); a negative zero keeps its sign
// ("-0.00").
QString fixedDecimalText(double value, int places);

// The same value written out without an exponent ("1.5E-07" gives "0.00000015").
QString plainDecimalText(const QString& numberText);

// Puts the C library's numbers back into the "C" locale after the application object
// has set every category from the environment, so that printf and strtod in any library
// keep "." as the point. Dates and texts keep the system's forms.
void useCNumberLocale();

// Conversion to single precision, nearest value; nothing when the value is not finite or
// lies beyond the single range, where a plain cast would be undefined.
std::optional<float> toSingle(double value);

// Conversion to a 16-bit integer: round half to even; nothing when out of range.
std::optional<qint16> toInt16(double value);
// The whole text as a number, then as toInt16; nothing when it is no number.
std::optional<qint16> toInt16(const QString& text);
// Conversion to a 32-bit integer with the same rules.
std::optional<qint32> toInt32(const QString& text);

} // namespace tav
