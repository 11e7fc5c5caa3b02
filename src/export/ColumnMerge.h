#pragma once

#include <QString>

namespace tav {

class FrmStoneID;

// The second copy of a line whose first copy has just gone to the per-stone file.
// Merging into an existing Col layout file, the next old line is read and written to
// the temporary file with C appended (nothing between them); an old file that has run
// out of lines gives C alone. Otherwise C is a line of the layout file.
void ColumnMergeRule(FrmStoneID& window, const QString& C);

// Merging, the next old line followed directly by the tail, as one line of the
// temporary file. False, and nothing written, when the old file has no line left.
bool mergeOldLine(FrmStoneID& window, const QString& tail);

// Merging, the old lines that no line of this export reached (rows removed from the
// template since) go to the temporary file unchanged, so replacing the layout file
// loses nothing. Runs after the last write of the export, before the files close.
void carryOverOldLines(FrmStoneID& window);

} // namespace tav
