#include "export/ColumnMerge.h"

#include "app/FrmStoneID.h"

namespace tav {

bool mergeOldLine(FrmStoneID& w, const QString& tail) {
    if (!w.ExportTextStream)
        return false;
    TextStream* const temp = w.ColumnTempStream.get();
    // The old line goes over in the pieces it is read in, byte for byte: a season's
    // layout file has lines of megabytes, and none of them is ever held whole.
    const bool found = w.ExportTextStream->readLinePieces([&](QByteArrayView piece) {
        if (temp)
            temp->writeRaw(piece);
    });
    if (found && temp)
        temp->writeLine(tail);
    return found;
}

void ColumnMergeRule(FrmStoneID& w, const QString& C) {
    if (w.ColumnMergeMode != 0) {
        // Past the end of the old file there is no old line: repeating an earlier one
        // would put its entries into another row.
        if (!mergeOldLine(w, C) && w.ColumnTempStream)
            w.ColumnTempStream->writeLine(C);
        return;
    }
    if (w.ExportTextStream)
        w.ExportTextStream->writeLine(C);
}

void carryOverOldLines(FrmStoneID& w) {
    if (w.ColumnMergeMode == 0 || !w.ColumnTempStream)
        return;
    while (mergeOldLine(w, QString())) {
    }
}

} // namespace tav
