#pragma once

#include <QString>

#include <optional>

namespace tav {

class FrmStoneID;
struct ItemValue;
struct TemplateRows;

// The line of one template row: in the plain form the value and the field separator
// (a -2 item that does not go as a number without it); in the bookmark form the head,
// the bookmark separator, the key-file value and the field separator, a -2 item its
// head alone. Nothing for a -2 row whose head is a label cell without a value.
std::optional<QString> colRowLine(const FrmStoneID& window, const ItemValue& value, bool bookmarks);

// The Col_Row layout, also run for a layout text that is none of the four: one line
// per template row, first to the per-stone file, then to the layout file; the
// bookmark form when chkbookmark is not 0.
void ColRowLayout(FrmStoneID& window, const TemplateRows& rows, const QString& FacetCode);

} // namespace tav
