#include "export/ColumnMerge.h"

#include "app/FrmStoneID.h"

#include <optional>

namespace tav {

void ColumnMergeRule(FrmStoneID& w, const QString& C) {
    if (w.ColumnMergeMode != 0) {
        // Past the end of the old file there is no old line: repeating an earlier one
        // would put its entries into another row.
        std::optional<QString> oldLine;
        if (w.ExportTextStream)
            oldLine = w.ExportTextStream->readLine();
        if (w.ColumnTempStream)
            w.ColumnTempStream->writeLine(oldLine.value_or(QString()) + C);
        return;
    }
    if (w.ExportTextStream)
        w.ExportTextStream->writeLine(C);
}

void carryOverOldLines(FrmStoneID& w) {
    if (w.ColumnMergeMode == 0 || !w.ExportTextStream || !w.ColumnTempStream)
        return;
    while (const std::optional<QString> oldLine = w.ExportTextStream->readLine())
        w.ColumnTempStream->writeLine(*oldLine);
}

} // namespace tav
