#pragma once

#include <QString>

namespace tav {

class FrmStoneID;
struct ItemValue;
struct TemplateRows;

// The text one item adds in the Row layout, and whether it ends the line there.
struct RowText {
    QString text;
    bool endsLine = false;
};

// Plain form: the value and the field separator, or, for a format code of -2 with a
// value that does not go as a number, the value and a line end.
RowText plainRowText(const FrmStoneID& window, const ItemValue& value);

// Bookmark form: the head, the bookmark separator, the key-file value and the field
// separator; a -2 item writes its head and a line end, a bracketed stone ID item its
// value and the field separator.
RowText bookmarkedRowText(const FrmStoneID& window, const ItemValue& value);

// The Row layout: every template item one after the other, in the plain form or, when
// chkbookmark is not 0, the bookmark form; each first to the per-stone file, then to
// the layout file.
void RowLayout(FrmStoneID& window, const TemplateRows& rows, const QString& FacetCode);

} // namespace tav
