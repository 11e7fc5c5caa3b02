#pragma once

#include <QString>

namespace tav {

class FrmStoneID;
struct ItemValue;
struct TemplateRows;

// What one template row writes in the Col layout: its line of the per-stone file and
// its column text, the second copy that goes through ColumnMergeRule.
struct ColTexts {
    QString line;
    QString column;
};

// Plain form: a value that goes as a number writes the rounded number and the field
// separator twice; any other value writes itself alone as the line and with the field
// separator as the column text.
ColTexts plainColTexts(const FrmStoneID& window, const ItemValue& value);

// Bookmark form: the Row layout's bookmarked text, the same in both copies.
ColTexts bookmarkedColTexts(const FrmStoneID& window, const ItemValue& value);

// The Col layout: one line per template row in the per-stone file, and one column
// text per row added to the layout file, in the plain form or, when chkbookmark is
// not 0, the bookmark form.
void ColLayout(FrmStoneID& window, const TemplateRows& rows, const QString& FacetCode);

} // namespace tav
