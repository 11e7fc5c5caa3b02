#include "export/TableLayout.h"

#include "app/FrmStoneID.h"
#include "app/TriStateCheckBox.h"
#include "export/ExportHelpers.h"
#include "export/TemplateItems.h"
#include "scan/ValueHelpers.h"

#include <algorithm>
#include <limits>
#include <memory>

namespace tav {
namespace {

// Widths beyond the 16-bit range of the padding helper are taken at its limit.
QString padded(const QString& text, qsizetype width) {
    const qsizetype limit = std::numeric_limits<qint16>::max();
    return getMaxLenthString(text, static_cast<qint16>(std::min(width, limit)));
}

void writeLine(const std::unique_ptr<TextStream>& stream, const QString& line) {
    if (stream)
        stream->writeLine(line);
}

} // namespace

TableEntry tableEntry(const FrmStoneID& window, const ItemValue& value) {
    const TemplateItem& item = value.item;
    const QString& title = value.value;
    // A label cell without a value counts as empty text, so the row keeps its column.
    const qsizetype width = title.size();
    if (item.isTextFormat())
        return {title, padded(value.lookup, width)};
    if (isBracketedStoneIdItem(window, item))
        return {QString(width, u' '), title};
    // A negative code has no places to round to: the number keeps its looked-up text.
    const QString& entry = value.lookupNumber ? *value.lookupNumber : value.lookup;
    if (item.hasFormat(-3))
        return {title, trimSpaces(entry)};
    return {title, padded(entry, width)};
}

TableLines tableLines(const FrmStoneID& window, const std::vector<ItemValue>& values) {
    const QString s = window.TXTSYMBOL->text();
    TableLines lines;
    for (const ItemValue& value : values) {
        const TableEntry entry = tableEntry(window, value);
        lines.header += entry.header + s;
        lines.values += entry.value + s;
    }
    return lines;
}

void TableLayout(FrmStoneID& window, const TemplateRows& rows, const QString& FacetCode,
                 bool TableFileExisted) {
    // The titles come from the bookmarked rules whatever the bookmark box holds, and
    // no weight item is emptied in this layout.
    const TableLines lines =
        tableLines(window, EvaluateTemplateItems(window, rows, ItemRules::Bookmarked, FacetCode));
    if (checkValue(window.chkbookmark) == 1)
        writeLine(window.StoneExportStream, lines.header);
    writeLine(window.StoneExportStream, lines.values);
    // Goes into the layout file only where this export makes it: another bench may make
    // it first.
    if (!TableFileExisted && window.ExportTextStream)
        window.ExportTextStream->writeHeaderLine(lines.header);
    writeLine(window.ExportTextStream, lines.values);
}

} // namespace tav
