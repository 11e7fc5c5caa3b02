#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// The text of a database field value, standing in for what the original database
// engine printed for it (the key file and the export write values this way). SQLite
// keeps a storage class per value, not the column's kind, so the kind comes from the
// column's declared type.
namespace tav {

enum class FieldKind {
    Text,    // TEXT, CHAR, MEMO ... and anything not named below
    Boolean, // BOOLEAN, BOOL, BIT, YESNO, LOGICAL
    Date,    // DATE, DATETIME, TIME, TIMESTAMP
    Single,  // SINGLE, FLOAT4, REAL4: a single-precision number (7 digits)
    Real,    // REAL, DOUBLE, FLOAT, NUMERIC, DECIMAL, CURRENCY, MONEY (15 digits)
    Integer, // any type holding INT (INTEGER, SMALLINT, LONG INTEGER, ...), LONG, COUNTER, BYTE
    Untyped, // no declared type: the value's storage class decides
};

// The kind of a declared column type, matched without regard to case.
FieldKind fieldKindOf(const QString& declaredType);

// The text of one value of a column of that kind:
// - Null: "" (whatever the kind);
// - Boolean: "True" for a non-zero number or the text true, "False" for 0 or false;
// - Date: the short date form (shortDateText), followed by the time when it is not
//   midnight (generalDateTimeText); stored as ISO text ("2026-03-01", "2026-03-01
//   14:30:05", with "T" or without, with or without fractions of a second);
// - Single: singleToText (57.5 gives "57.5", 0.1 gives "0.1");
// - Real: doubleToText, at most 15 significant digits and no trailing zeros;
// - Integer: plain digits with a leading "-" when negative;
// - Text and Untyped texts: the text as stored.
// A value that does not fit its kind (a text in a number column, a date that does not
// parse) comes back as its stored text, numbers as doubleToText.
QString fieldText(const QVariant& value, FieldKind kind);
inline QString fieldText(const QVariant& value, const QString& declaredType) {
    return fieldText(value, fieldKindOf(declaredType));
}

// Every carriage return and every line feed of the text turned into a blank, so that
// a value can stand on one line of a line file.
QString lineBreaksToBlanks(QString text);

} // namespace tav
