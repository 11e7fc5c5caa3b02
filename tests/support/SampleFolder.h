#pragma once

#include "support/TempProgramFolder.h"

// The sample program folder of the repository, as the build lays it out, copied into a
// temporary program folder with its settings pointing into that folder.
namespace tav::test {

void copySampleFolder(const TempProgramFolder& target);

// Replaces one line (1-based) of a CR LF text file of the folder.
void setLine(const TempProgramFolder& folder, const QString& name, int lineNumber,
             const QString& text);

} // namespace tav::test
