#pragma once

#include <QString>
#include <QStringList>

namespace tav {

class Database;
class MessageBoxes;
class ProgramFolder;
class TextStream;

// testSetting.txt keeps at most this many table names (slots 0 to 100).
inline constexpr int kTableSlots = 101;

// The failure number of a table that is missing or cannot be read.
inline constexpr int kTableNotRead = 3078;

// What a build of the key file could not do. A listed table without rows is no
// failure: its keys are simply absent.
struct KeyFileProblems {
    bool notWritten = false;  // test_export.txt could not be written whole
    QString cause;            // then the system's word for why ("No space left on device")
    QStringList unreadTables; // listed, but missing from Reports.mdb or not readable
};

// Rebuilds test_export.txt in the program folder from the tables listed in
// testSetting.txt: "[NumericalParameters]", then for each listed table one line
// "Table.Column = value" per column of its first record. A missing Reports.mdb shows
// "Report File does not Exists" and leaves an old key file as it is; what else went
// wrong comes back for the caller to report. The tables are read on a connection of the
// build's own, opened afresh.
KeyFileProblems BuildTestExport(const ProgramFolder& folder, MessageBoxes& messages);
// The same through the caller's connection to the folder's Reports.mdb, which the build
// neither opens nor reads the schema of again; nullptr when the caller could not open
// it (the key file then holds the section line only).
KeyFileProblems BuildTestExport(const ProgramFolder& folder, MessageBoxes& messages,
                                const Database* reports);

// Writes the lines of one table's first record to the key file, "Table.Column = "
// and the value's text by the column's declared type (fieldText, scan/FieldText.h);
// a carriage return or line feed in a line becomes a blank. Throws StepFailure when
// the table cannot be read (kTableNotRead) or has no rows (nothing is written then).
void ExportTableToTestExport(const Database& database, TextStream& keyFile, const QString& table);

// The items of testSetting.txt as the sequential reader takes them (an item ends at a
// comma or a line end, blanks around it dropped, quotes removed), the first 101 of
// them, empty items included; no items when the file is missing.
QStringList ReadTableSlots(const ProgramFolder& folder);

// Creates test_export.txt anew with "[NumericalParameters]" and the lines of each
// table whose name is not empty, in list order, on a freshly opened connection to
// Reports.mdb; a table that cannot be read is skipped, and without a database only the
// section line is written. The one writer of the key file, shared by BuildTestExport
// and Form1's "Generate Result".
KeyFileProblems WriteKeyFile(const ProgramFolder& folder, const QStringList& tables);
// The same through the caller's connection; nullptr when it could not be opened.
KeyFileProblems WriteKeyFile(const ProgramFolder& folder, const QStringList& tables,
                             const Database* reports);

// Deletes test_export.txt of the program folder when it is there.
void deleteKeyFile(const ProgramFolder& folder);

} // namespace tav
