#pragma once

#include <QString>

namespace tav {

class Database;
class MessageBoxes;
class ProgramFolder;
class TextStream;

// Rebuilds test_export.txt in the program folder from the tables listed in
// testSetting.txt: "[NumericalParameters]", then for each listed table one line
// "Table.Column = value" per column of its first record. A missing Reports.mdb shows
// "Report File does not Exists" and leaves an old key file as it is.
void BuildTestExport(const ProgramFolder& folder, MessageBoxes& messages);

// Writes the lines of one table's first record to the key file; throws StepFailure
// when the table cannot be read or has no rows.
void ExportTableToTestExport(const Database& database, TextStream& keyFile, const QString& table);

} // namespace tav
