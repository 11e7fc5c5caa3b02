#include "export/RowLayout.h"

#include "app/FrmStoneID.h"
#include "app/TriStateCheckBox.h"
#include "export/ExportFiles.h"
#include "export/TemplateItems.h"

namespace tav {

RowText plainRowText(const FrmStoneID& window, const ItemValue& value) {
    const QString s = window.TXTSYMBOL->text();
    const TemplateItem& item = value.item;
    if (item.isTextFormat())
        return {value.value + s};
    if (value.valueNumber)
        return {*value.valueNumber + s};
    if (item.hasFormat(-2))
        return {value.value, true};
    return {value.value + s};
}

RowText bookmarkedRowText(const FrmStoneID& window, const ItemValue& value) {
    const QString s = window.TXTSYMBOL->text();
    const QString b = window.Txt_Book->text();
    const TemplateItem& item = value.item;
    if (!item.isTextFormat()) {
        if (isBracketedStoneIdItem(window, item))
            return {value.value + s};
        if (item.hasFormat(-2))
            return {value.value, true};
        if (value.lookupNumber)
            return {value.value + b + *value.lookupNumber + s};
    }
    return {value.value + b + value.lookup + s};
}

void RowLayout(FrmStoneID& window, const TemplateRows& rows, const QString& FacetCode) {
    const bool bookmarks = checkValue(window.chkbookmark) != 0;
    const std::vector<ItemValue> values = EvaluateTemplateItems(
        window, rows, bookmarks ? ItemRules::Bookmarked : ItemRules::Plain, FacetCode);
    for (const ItemValue& value : values) {
        const RowText row =
            bookmarks ? bookmarkedRowText(window, value) : plainRowText(window, value);
        if (row.endsLine)
            writeLineToBoth(window, row.text);
        else
            writeToBoth(window, row.text);
    }
}

} // namespace tav
