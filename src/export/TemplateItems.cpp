#include "export/TemplateItems.h"

#include "platform/IniReader.h"

#include "app/FrmStoneID.h"
#include "platform/Database.h"
#include "platform/NumberText.h"
#include "scan/KeyReader.h"

#include <QSqlDatabase>

namespace tav {
namespace {

std::optional<QString> optionalText(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return value.toString();
}

// A format cell that holds no number (empty, or a text) takes the path of -1.
std::optional<double> formatCodeOf(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return wholeNumber(value.toString());
}

TemplateItem itemOfRow(const QVariantList& row, qsizetype first, std::optional<qint64> rowId) {
    TemplateItem item;
    item.rowId = rowId;
    item.storedName = optionalText(row.value(first)).value_or(QString());
    item.name = usedItemName(item.storedName);
    item.label = optionalText(row.value(first + 1));
    item.formatCode = formatCodeOf(row.value(first + 2));
    return item;
}

// The text of a value written as a number, or nothing when it goes as text.
std::optional<QString> numberText(const FrmStoneID& window, const TemplateItem& item,
                                  const QString& text) {
    if (item.isTextFormat() || item.tablePart() == u"UserData" || !isNumericText(text))
        return std::nullopt;
    const std::optional<qint16> places = toInt16(*item.formatCode);
    if (!places || *places < 0)
        return text;
    const std::optional<RoundedValue> rounded = window.RoundToDecimals(text, *places);
    return rounded ? rounded->text() : text;
}

bool isPlain(ItemRules rules) {
    return rules == ItemRules::Plain || rules == ItemRules::ColRowPlain;
}

// The value of a special name in the plain rules; nothing for a name that is looked up.
std::optional<QString> plainSpecial(const FrmStoneID& w, const QString& name, ItemRules rules,
                                    const QString& facetCode) {
    const bool byButton = w.ButtonExportMode == 1;
    const QString emptyField =
        rules == ItemRules::ColRowPlain ? QStringLiteral("**TXTSYMBOL*") : QStringLiteral("***");
    if (name == emptyField)
        return QString();
    if (name == u"GIA_STONE_ID")
        return exportedStoneId(w);
    if (name == u"GIA_LENS_NUMBER")
        return w.txtLenNumber->text();
    if (name == u"GIA_File_Name")
        return w.TxtFileName->text();
    if (name == u"GIS_SYS_NUMBER")
        return w.txtSysnumber->text();
    if (name == u"GIA_WGT_MESSAGE")
        return byButton ? QString() : w.WeightMessage;
    if (name == u"GIA_REAL_WGT")
        return byButton ? QString() : w.txtRealWgt->text();
    if (name == u"GIA_FACETIDENTY")
        return facetCode;
    if (name == u"GIA_SHAPE_NAME")
        return w.TemplateShapeName;
    if (name == u"GIA_SHAPE_NAME1")
        return w.CuttingFamily;
    if (name == u"CUTTING_TYPE" && w.cboShape->currentText() == u"Heart")
        return w.cboShape->currentText();
    return std::nullopt;
}

// The head of a row in the bookmarked rules; nothing when it is the label alone.
std::optional<QString> bookmarkedHead(const FrmStoneID& w, const TemplateItem& item,
                                      const QString& lookup, ItemRules rules,
                                      const QString& facetCode) {
    const QString& name = item.name;
    const QString b = w.Txt_Book->text();
    const QString labelled = item.labelText() + b;
    if (name == u"***")
        return QString();
    if (name == u"GIA_STONE_ID") {
        if (rules == ItemRules::ColRowBookmarked && w.BracketStoneId != 0)
            return exportedStoneId(w);
        return labelled + exportedStoneId(w);
    }
    if (name == u"GIA_LENS_NUMBER")
        return labelled + w.txtLenNumber->text();
    if (name == u"GIA_File_Name")
        return labelled + w.TxtFileName->text();
    if (name == u"GIS_SYS_NUMBER")
        return labelled + w.txtSysnumber->text();
    if (name == u"GIA_WGT_MESSAGE")
        return labelled + w.WeightMessage;
    if (name == u"GIA_REAL_WGT")
        return labelled + w.txtRealWgt->text();
    // These three carry their own name in place of the label.
    if (name == u"GIA_FACETIDENTY" || name == u"GIA_SHAPE_NAME" || name == u"GIA_SHAPE_NAME1") {
        const QString value = name == u"GIA_FACETIDENTY"  ? facetCode
                              : name == u"GIA_SHAPE_NAME" ? w.TemplateShapeName
                                                          : w.CuttingFamily;
        return name + b + value;
    }
    if (isBracketedStoneIdItem(w, item))
        return lookup;
    return std::nullopt;
}

} // namespace

QString TemplateItem::tablePart() const {
    const qsizetype dot = name.indexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

bool TemplateItem::isTextFormat() const {
    return !formatCode || *formatCode == -1;
}

QString usedItemName(const QString& storedName) {
    const qsizetype equals = storedName.indexOf(u'=');
    if (equals <= 0)
        return storedName;
    return storedName.left(equals - 1);
}

std::optional<TemplateRows> readTemplateRows(const Database& database, const QString& table) {
    const QString quoted = Database::quoteIdentifier(table);
    TemplateRows rows;
    rows.table = table;
    // The row id lets the used names be stored back to exactly their rows; a table
    // without one is still read, in the same stored order, and keeps its names.
    if (const auto withIds =
            database.select(QStringLiteral("SELECT rowid, * FROM %1").arg(quoted))) {
        rows.nameColumn = withIds->columns.value(1);
        rows.columnCount = withIds->columns.size() - 1;
        for (const QVariantList& row : withIds->rows)
            rows.items.push_back(itemOfRow(row, 1, row.value(0).toLongLong()));
        return rows;
    }
    const auto plain = database.selectAll(table);
    if (!plain)
        return std::nullopt;
    rows.nameColumn = plain->columns.value(0);
    rows.columnCount = plain->columns.size();
    for (const QVariantList& row : plain->rows)
        rows.items.push_back(itemOfRow(row, 0, std::nullopt));
    return rows;
}

bool storeUsedItemNames(const Database& database, const TemplateRows& rows) {
    std::vector<const TemplateItem*> changed;
    for (const TemplateItem& item : rows.items) {
        if (item.name != item.storedName && item.rowId)
            changed.push_back(&item);
    }
    if (changed.empty())
        return true;
    QSqlDatabase connection = database.connection();
    if (!connection.transaction())
        return false;
    const QString sql =
        QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
            .arg(Database::quoteIdentifier(rows.table), Database::quoteIdentifier(rows.nameColumn));
    for (const TemplateItem* item : changed) {
        if (!database.exec(sql, {item->name, *item->rowId})) {
            connection.rollback();
            return false;
        }
    }
    return connection.commit();
}

std::vector<ItemValue> EvaluateTemplateItems(FrmStoneID& window, const TemplateRows& rows,
                                             ItemRules rules, const QString& FacetCode) {
    if (window.ReportsConnection)
        storeUsedItemNames(*window.ReportsConnection, rows);
    // One read of the key file for the whole walk; it does not change meanwhile.
    const std::shared_ptr<const IniFile> keyFile = window.scanFile(window.keyFile());
    std::vector<ItemValue> values;
    values.reserve(rows.items.size());
    for (const TemplateItem& item : rows.items) {
        // An export without a weight check writes no weight, and the fields stay empty
        // for the rest of the run.
        if (isPlain(rules) && window.NoWeightAutoExport == 1) {
            window.WeightMessage.clear();
            window.txtRealWgt->clear();
        }
        ItemValue value;
        value.item = item;
        value.lookup = window.GetString(numericalParameters, item.name, *keyFile);
        if (isPlain(rules)) {
            value.value = plainSpecial(window, item.name, rules, FacetCode).value_or(value.lookup);
        } else {
            const std::optional<QString> head =
                bookmarkedHead(window, item, value.lookup, rules, FacetCode);
            value.headIsLabel = !head;
            value.value = head.value_or(item.labelText());
        }
        value.valueNumber = numberText(window, item, value.value);
        value.lookupNumber = numberText(window, item, value.lookup);
        values.push_back(std::move(value));
    }
    return values;
}

QString exportedStoneId(const FrmStoneID& window) {
    const QString id = window.txtStoneID->text();
    return window.BracketStoneId != 0 ? u'[' + id + u']' : id;
}

bool isBracketedStoneIdItem(const FrmStoneID& window, const TemplateItem& item) {
    return window.BracketStoneId != 0 &&
           (item.name == u"STONE_ID" || item.name == u"UserData.STONE_ID");
}

} // namespace tav
