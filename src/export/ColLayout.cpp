#include "export/ColLayout.h"

#include "app/FrmStoneID.h"
#include "app/TriStateCheckBox.h"
#include "export/ColumnMerge.h"
#include "export/RowLayout.h"
#include "export/TemplateItems.h"

namespace tav {

ColTexts plainColTexts(const FrmStoneID& window, const ItemValue& value) {
    const QString s = window.TXTSYMBOL->text();
    // A numeric -2 item goes as a number too, with the same text in both copies, so a
    // new layout file and a merged one hold the same entry.
    if (value.valueNumber)
        return {*value.valueNumber + s, *value.valueNumber + s};
    return {value.value, value.value + s};
}

ColTexts bookmarkedColTexts(const FrmStoneID& window, const ItemValue& value) {
    const QString text = bookmarkedRowText(window, value).text;
    return {text, text};
}

void ColLayout(FrmStoneID& window, const TemplateRows& rows, const QString& FacetCode) {
    window.ProgressBar1->setValue(4);
    const bool bookmarks = checkValue(window.chkbookmark) != 0;
    const std::vector<ItemValue> values = EvaluateTemplateItems(
        window, rows, bookmarks ? ItemRules::Bookmarked : ItemRules::Plain, FacetCode);
    for (const ItemValue& value : values) {
        const ColTexts texts =
            bookmarks ? bookmarkedColTexts(window, value) : plainColTexts(window, value);
        if (window.StoneExportStream)
            window.StoneExportStream->writeLine(texts.line);
        ColumnMergeRule(window, texts.column);
    }
}

} // namespace tav
