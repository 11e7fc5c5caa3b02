#pragma once

#include <QString>

#include <optional>

namespace tav {

class IniFile;
class ProgramFolder;

// The result of RoundToDecimals: a number, or its text with a fixed number of
// decimals when that setting applies.
struct RoundedValue {
    double number = 0;
    std::optional<QString> fixedText;
    // The value came back as it was (its text has no point), so it keeps the text of
    // a single-precision number.
    bool unchanged = false;

    bool isText() const { return fixedText.has_value(); }
    // The text the program writes for it: the fixed text, else the number's text.
    QString text() const;
};

// Rounds half up on the decimal text of the single-precision value (7 significant
// digits), so 1.005 to 2 places gives 1.01. A negative value rounds its magnitude and
// keeps the sign. With fixedDecimalFormat 1 and 0 to 5 places the result is a text
// with exactly that many decimals. Nothing for a negative number of places.
std::optional<RoundedValue> RoundToDecimals(float value, qint16 places, qint16 fixedDecimalFormat);
// The same for a number given as text, such as a key-file value. A whole number below
// 10^15 keeps its own digits, which a single-precision value holds only up to 2^24
// (123456789, not 123456792), followed by the pattern's point and zeros when fixed
// decimals apply; any other text is read and narrowed to single precision first. Nothing
// for a negative number of places or a number beyond the single range.
std::optional<RoundedValue> RoundToDecimals(const QString& numberText, qint16 places,
                                            qint16 fixedDecimalFormat);

// The text followed by spaces up to width characters; never cut.
QString getMaxLenthString(const QString& text, qint16 width);

// Number of consecutive numeric keys prefix1, prefix2, ... in the key file, at most 19.
qint16 CountNumberedKeys(const QString& prefix, const QString& keyFilePath);
qint16 CountNumberedKeys(const QString& prefix, const IniFile& keyFile);

// True when the folder's Reports.mdb has a table of that name, ignoring case; the name
// as the database lists it then goes to listedName, when given. SQLite itself matches
// names without regard to case only in ASCII letters, so a table found here is opened by
// that name. Throws StepFailure when the database cannot be opened.
bool IsExistingTable(const ProgramFolder& folder, const QString& tableName,
                     QString* listedName = nullptr);

} // namespace tav
