#pragma once

#include <QString>

#include <vector>

namespace tav {

class FrmStoneID;
struct ItemValue;
struct TemplateRows;

// What one template row adds to the header line and to the value line, each then
// followed by the field separator.
struct TableEntry {
    QString header;
    QString value;
};

// The head of the bookmarked rules is the column title; the looked-up value (rounded
// when it goes as a number) is padded to the title's width, or only trimmed with the
// format code -3. A bracketed stone ID item has a blank title as wide as its value.
TableEntry tableEntry(const FrmStoneID& window, const ItemValue& value);

struct TableLines {
    QString header;
    QString values;
};
TableLines tableLines(const FrmStoneID& window, const std::vector<ItemValue>& values);

// The Table layout: the header line and the value line of one export. The per-stone
// file gets the header line when chkbookmark is 1, then the value line; the layout
// file gets the header line only when this export made it, then the value line.
void TableLayout(FrmStoneID& window, const TemplateRows& rows, const QString& FacetCode,
                 bool TableFileExisted);

} // namespace tav
