#include "export/ColRowLayout.h"

#include "app/FrmStoneID.h"
#include "app/TriStateCheckBox.h"
#include "export/ExportFiles.h"
#include "export/RowLayout.h"
#include "export/TemplateItems.h"

namespace tav {
namespace {

std::optional<QString> bookmarkedLine(const FrmStoneID& window, const ItemValue& value) {
    const QString s = window.TXTSYMBOL->text();
    const QString b = window.Txt_Book->text();
    const TemplateItem& item = value.item;
    const QString& head = value.value;
    if (isBracketedStoneIdItem(window, item))
        return head + s;
    if (!item.isTextFormat()) {
        if (value.lookupNumber)
            return head + b + *value.lookupNumber + s;
        if (item.hasFormat(-2)) {
            if (value.headIsLabel && !item.label)
                return std::nullopt;
            return head;
        }
    } else if (window.BracketStoneId != 0 && head.startsWith(u'[')) {
        return head + s;
    }
    return head + b + value.lookup + s;
}

} // namespace

std::optional<QString> colRowLine(const FrmStoneID& window, const ItemValue& value,
                                  bool bookmarks) {
    if (bookmarks)
        return bookmarkedLine(window, value);
    // The plain text of the Row layout, each item on a line of its own.
    return plainRowText(window, value).text;
}

void ColRowLayout(FrmStoneID& window, const TemplateRows& rows, const QString& FacetCode) {
    const bool bookmarks = checkValue(window.chkbookmark) != 0;
    const std::vector<ItemValue> values = EvaluateTemplateItems(
        window, rows, bookmarks ? ItemRules::ColRowBookmarked : ItemRules::ColRowPlain, FacetCode);
    for (const ItemValue& value : values) {
        if (const std::optional<QString> line = colRowLine(window, value, bookmarks))
            writeLineToBoth(window, *line);
    }
}

} // namespace tav
