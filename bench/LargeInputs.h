#pragma once

#include "support/TempProgramFolder.h"

#include <QString>

// Generators of the large inputs the benchmarks run on: a season's worth of data for
// the sample stone, built into a copy of the sample program folder.
namespace tav::bench {

inline constexpr int kTemplateItems = 300;
inline constexpr int kKeyFileKeys = 5000;
inline constexpr int kScanKeys = 5000;

// The sample folder with a 300-item template, tables that give the key file 5,000
// keys, and a test.txt of 5,000 keys. The template names keys of every kind: special
// items, UserData columns, rounded numbers and texts of the generated tables.
void makeLargeFolder(const test::TempProgramFolder& dir);

// A Col layout file of earlier exports: one line per template row, each holding the
// column texts of `stones` exports. Written line by line.
void writeColsFile(const QString& path, int stones, int rows);

} // namespace tav::bench
