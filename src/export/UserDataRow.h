#pragma once

#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace tav {

class Database;
class ExportFailures;
class FrmStoneID;

// One value of the UserData row and the column it belongs to. An entry without a
// value stores nothing in its column.
struct UserDataEntry {
    QString column;
    std::optional<QVariant> value;
};

// The parts of a stone ID as the row keeps them: the text before the dash (only
// when it is longer than one character), the text between the dash and the last
// character, and the last character.
struct StoneIdParts {
    std::optional<QString> Stn1;
    std::optional<QString> Stn2;
    std::optional<QString> Stn3;
};
StoneIdParts SplitStoneId(const QString& stoneId);

// The 31 entries of the row in the order they are written, from the window's fields,
// test.txt, TablePercent and the clock.
std::vector<UserDataEntry> FormUserDataValues(const FrmStoneID& window);

enum class UserDataWrite {
    Written,
    NoTable, // there is no UserData table: nothing to write
    Refused, // the database refused a read or a write (read-only or locked), or the row
             // was not there when read back
};

// Empties UserData and writes its one row: 101 in the first column, then each entry
// into the column among the next 100 that bears its name exactly (same case). A value
// that the column's declared type refuses (a text in a numeric column, a text too long)
// is not stored; the row keeps the other values. A refused statement is skipped and the
// rest still tried, as long as there is a new row to write to.
UserDataWrite WriteUserDataRow(const Database& database, const std::vector<UserDataEntry>& entries);

// The row of this export over the window's Reports.mdb connection; without a
// connection or a UserData table nothing is written and the export goes on. A row the
// database refused is reported as a failure of the export.
void WriteUserData(FrmStoneID& window, ExportFailures& failures);

} // namespace tav
