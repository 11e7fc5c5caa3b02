#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace tav {

class Database;
class FrmStoneID;

// One row of a template table, its columns read by position: the item name, the
// bookmark label and the format code. Columns after the third are not read.
struct TemplateItem {
    std::optional<qint64> rowId;      // where the used name is stored back
    QString storedName;               // column 0 as the table holds it
    QString name;                     // the name used (usedItemName)
    std::optional<QString> label;     // column 1; none when the cell holds no value
    std::optional<double> formatCode; // column 2; none when the cell holds no number

    QString labelText() const { return label.value_or(QString()); }
    // The text before the first "." of the name, the whole name without one.
    QString tablePart() const;
    // Format code -1, or no code at all: the value is written as it stands.
    bool isTextFormat() const;
    bool hasFormat(double code) const { return formatCode == code; }
};

// The name an item is known by: a name written as "name = comment" loses the "=",
// what follows it and the one character in front of it; a name without "=", or one
// that begins with it, is used whole.
QString usedItemName(const QString& storedName);

// The rows of a template table in their stored order.
struct TemplateRows {
    QString table;
    QString nameColumn; // column 0, where the used names are stored back
    qsizetype columnCount = 0;
    std::vector<TemplateItem> items;
};

// Nothing when the table does not exist or cannot be read.
std::optional<TemplateRows> readTemplateRows(const Database& database, const QString& table);

// Stores the used names back where they differ from the stored ones, by row, in one
// transaction, so the table keeps the shortened names. False when that failed.
bool storeUsedItemNames(const Database& database, const TemplateRows& rows);

// The value rules of the layouts.
enum class ItemRules {
    Plain,            // Row and Col with the bookmark box off
    Bookmarked,       // Row and Col with the bookmark box on; Table always
    ColRowPlain,      // "**TXTSYMBOL*" is the empty field; "***" is looked up
    ColRowBookmarked, // a bracketed stone ID goes without its label
};

// What one template row gives.
struct ItemValue {
    TemplateItem item;
    // The plain value, or in the bookmarked rules the head: the label alone for an
    // ordinary item, label, bookmark separator and value for a special one.
    QString value;
    // The key-file value of the item name ("" when the key file has none).
    QString lookup;
    // value and lookup written as numbers: the rounded text when the number rule takes
    // them (format code not -1, a numeric text, a table other than "UserData"), else
    // nothing. A negative format code has no places to round to: the text as it stands.
    std::optional<QString> valueNumber;
    std::optional<QString> lookupNumber;
    // The bookmarked rules took the label cell itself as the head (an ordinary item),
    // so a label cell without a value leaves the row without a head.
    bool headIsLabel = false;
};

// Works out every template row once, in order, by the rules; the used names are stored
// back first. The plain rules empty WeightMessage and txtRealWgt for the rest of the run
// when NoWeightAutoExport is 1, and the two weight items when ButtonExportMode is 1.
std::vector<ItemValue> EvaluateTemplateItems(FrmStoneID& window, const TemplateRows& rows,
                                             ItemRules rules, const QString& FacetCode);

// The stone ID as the export writes it: in square brackets when BracketStoneId is set.
QString exportedStoneId(const FrmStoneID& window);

// "STONE_ID" or "UserData.STONE_ID" while BracketStoneId is set: the layouts write the
// looked-up, bracketed ID without a label.
bool isBracketedStoneIdItem(const FrmStoneID& window, const TemplateItem& item);

} // namespace tav
