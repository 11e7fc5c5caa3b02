#pragma once

#include "scan/PolishData.h"

#include <QString>

namespace tav {

class IniFile;

// Fills the record from the bare keys of the key file, in field order: each field
// takes the number its value begins with (0 for a missing key).
void GetPolishData(PolishData& data, const QString& keyFilePath);
void GetPolishData(PolishData& data, const IniFile& keyFile);

} // namespace tav
