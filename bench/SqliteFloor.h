#pragma once

#include <QString>
#include <QStringList>

// The reads the key file needs, done bare through SQLite's own C interface: the floor
// that the program's start-up and export are measured against.
namespace tav::bench {

// Opens the database and reads, for each named table, its first record: every
// column's name, declared type and value. Start-up and the export each read the key
// file's tables once, so the benchmark runs this twice.
void readFirstRecords(const QString& databaseFile, const QStringList& tables);

} // namespace tav::bench
