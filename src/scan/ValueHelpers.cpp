#include "scan/ValueHelpers.h"

#include "platform/Database.h"
#include "platform/IniReader.h"
#include "platform/NumberText.h"
#include "platform/ProgramFolder.h"
#include "platform/StepFailure.h"
#include "scan/KeyReader.h"

#include <cmath>

namespace tav {
namespace {

// A double rounded to places decimals through its decimal text, which clears the
// binary noise of single-precision sums (57.2f + 0.1 gives 57.3).
double roundDecimal(double value, int places) {
    return leadingNumber(fixedDecimalText(value, places));
}

// Single precision holds every whole number up to 2^24; beyond, its digits are noise.
constexpr double largestExactSingleWhole = 16777216;

RoundedValue roundMagnitude(float value, int places) {
    const QString text = plainDecimalText(singleToText(value));
    const qsizetype point = text.indexOf(u'.');
    if (point < 0)
        return RoundedValue{static_cast<double>(value), std::nullopt, true};
    const QString head = text.left(point + 1 + places);
    const float kept = static_cast<float>(leadingNumber(head));
    const QString rest = text.mid(point + 1 + places);
    const double restValue = rest.isEmpty() ? 0.0 : leadingNumber(QStringLiteral("0.") + rest);
    const int up = restValue >= 0.5 ? 1 : 0;
    const double step = roundDecimal(up / std::pow(10.0, places), places);
    return RoundedValue{roundDecimal(static_cast<double>(kept) + step, places), std::nullopt,
                        false};
}

} // namespace

QString RoundedValue::text() const {
    if (fixedText)
        return *fixedText;
    if (!unchanged)
        return doubleToText(number);
    // A whole number that the single holds exactly keeps all its digits (12345678, not
    // 1.234568E+07); a larger one keeps the single's 7 digits (2E+07, 1E+15).
    if (std::trunc(number) == number && std::fabs(number) <= largestExactSingleWhole)
        return doubleToText(number);
    return singleToText(static_cast<float>(number));
}

std::optional<RoundedValue> RoundToDecimals(float value, qint16 places, qint16 fixedDecimalFormat) {
    if (places < 0)
        return std::nullopt;
    RoundedValue result;
    if (value < 0) {
        result = roundMagnitude(-value, places);
        result.number = result.number == 0 ? 0.0 : -result.number;
    } else {
        result = roundMagnitude(value, places);
    }
    if (fixedDecimalFormat == 1 && places <= 5) {
        QString fixed = fixedDecimalText(result.number, places);
        if (result.number == 0 && fixed.startsWith(u'-'))
            fixed.remove(0, 1);
        result.fixedText = fixed;
    }
    return result;
}

std::optional<RoundedValue> RoundToDecimals(const QString& numberText, qint16 places,
                                            qint16 fixedDecimalFormat) {
    if (places < 0)
        return std::nullopt;
    if (const std::optional<double> whole = plainInteger(numberText)) {
        RoundedValue result{*whole, std::nullopt, false};
        if (fixedDecimalFormat == 1 && places <= 5)
            result.fixedText = fixedDecimalText(*whole, places);
        return result;
    }
    const std::optional<float> single = toSingle(leadingNumber(numberText));
    if (!single)
        return std::nullopt;
    return RoundToDecimals(*single, places, fixedDecimalFormat);
}

QString getMaxLenthString(const QString& text, qint16 width) {
    if (text.size() >= width)
        return text;
    return text + QString(width - text.size(), u' ');
}

qint16 CountNumberedKeys(const QString& prefix, const QString& keyFilePath) {
    return CountNumberedKeys(prefix, IniFile::read(keyFilePath));
}

qint16 CountNumberedKeys(const QString& prefix, const IniFile& keyFile) {
    qint16 i = 1;
    while (i < 20) {
        const QString value =
            GetString(numericalParameters, prefix + QString::number(i), keyFile, 0);
        if (!wholeNumber(value))
            return static_cast<qint16>(i - 1);
        ++i;
    }
    return 19;
}

bool IsExistingTable(const ProgramFolder& folder, const QString& tableName, QString* listedName) {
    const auto database = Database::openExisting(folder.file(QStringLiteral("Reports.mdb")));
    if (!database)
        throw StepFailure(QStringLiteral("Could not open the database"));
    const std::optional<QString> listed = database->findTable(tableName);
    if (listed && listedName)
        *listedName = *listed;
    return listed.has_value();
}

} // namespace tav
