#pragma once

namespace tav {

class FrmStoneID;

// The outside component's grading of a brilliant under one system, written as
// key=value lines into the export's open streams: all lines to the per-stone file,
// then each again through ColumnMergeRule. Any other shape calls nothing and writes
// nothing. Failing calls are skipped; a value that cannot be read leaves its line out
// (merging, the old layout line is kept as it was). Run inside an export, after the
// proportions are loaded and the streams are open.
void DataAGS(FrmStoneID& window);
void DataAGSGOLD(FrmStoneID& window);
void DataGIA(FrmStoneID& window);
void DataHRDHA(FrmStoneID& window);
void DataHRD09(FrmStoneID& window);

} // namespace tav
