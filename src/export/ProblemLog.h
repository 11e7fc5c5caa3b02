#pragma once

#include "platform/FileError.h"

#include <QString>

namespace tav {

class FrmStoneID;

// The stone's problem log: in LogFolder, named after the current stone ID (in square
// brackets when BracketStoneId is set) with ".log". Without a log folder it lies in the
// program folder.
QString problemLogPath(const FrmStoneID& window);

// Writes the whole status line, followed by CR LF, as the stone's problem log,
// replacing an earlier log of the same stone. Fails when it was not written.
WriteResult WriteProblemLog(const FrmStoneID& window);

} // namespace tav
