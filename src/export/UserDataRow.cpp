#include "export/UserDataRow.h"

#include "app/FrmStoneID.h"
#include "export/ExportFiles.h"
#include "export/ExportHelpers.h"
#include "export/TableColumns.h"
#include "platform/Database.h"
#include "platform/DateText.h"
#include "platform/NumberText.h"
#include "platform/StepFailure.h"
#include "scan/FieldText.h"
#include "scan/KeyReader.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlDatabase>

#include <algorithm>

namespace tav {
namespace {

const QString userDataTable = QStringLiteral("UserData");

// Columns at positions 1 to 100 may receive a value; later ones never do.
constexpr qsizetype lastFilledPosition = 100;

// The forms in which the program writes dates and times, plus ISO texts.
bool readsAsDate(const QString& text) {
    if (isDateOrTimeText(text))
        return true;
    return QDateTime::fromString(text, Qt::ISODate).isValid() ||
           QDate::fromString(text, Qt::ISODate).isValid() ||
           QTime::fromString(text, Qt::ISODate).isValid();
}

bool isBooleanText(const QString& text) {
    const QString word = text.trimmed();
    return isNumericText(text) || word.compare(u"True", Qt::CaseInsensitive) == 0 ||
           word.compare(u"False", Qt::CaseInsensitive) == 0;
}

// Whether a column of the declared type takes the value as the original database did:
// SQLite alone would keep a text in a numeric column or a text longer than its column.
bool columnAccepts(const QString& declaredType, const QVariant& value) {
    const FieldKind kind = fieldKindOf(declaredType);
    const QString text = value.toString();
    if (kind == FieldKind::Untyped)
        return true;
    if (kind == FieldKind::Text) {
        static const QRegularExpression sizePattern(QStringLiteral("\\(\\s*(\\d+)\\s*\\)"));
        const auto size = sizePattern.match(declaredType);
        return !size.hasMatch() || text.size() <= size.captured(1).toLongLong();
    }
    // A number column takes every number; a text only when it converts.
    if (value.typeId() != QMetaType::QString)
        return true;
    if (kind == FieldKind::Boolean)
        return isBooleanText(text);
    if (kind == FieldKind::Date)
        return isNumericText(text) || readsAsDate(text);
    return isNumericText(text);
}

// The writes of one row go into one transaction, so the file is synced once;
// whatever went through is kept, also when a later statement failed.
class RowWrites {
public:
    explicit RowWrites(QSqlDatabase connection) : connection_(std::move(connection)) {
        open_ = connection_.transaction();
    }
    ~RowWrites() { commit(); }

    // False when the writes did not reach the file.
    bool commit() {
        if (!open_)
            return true;
        open_ = false;
        if (connection_.commit())
            return true;
        connection_.rollback();
        return false;
    }
    RowWrites(const RowWrites&) = delete;
    RowWrites& operator=(const RowWrites&) = delete;

private:
    QSqlDatabase connection_;
    bool open_ = false;
};

// A number of the program's single precision, stored with the digits it shows.
QVariant singleValue(float value) {
    return leadingNumber(singleToText(value));
}

// A rounded value as the row stores it: its fixed text, else the number, a single
// that came back unchanged with the digits its text shows.
QVariant roundedValue(const RoundedValue& value) {
    if (value.isText())
        return *value.fixedText;
    return value.unchanged ? QVariant(leadingNumber(value.text())) : QVariant(value.number);
}

std::optional<QVariant> textValue(const std::optional<QString>& text) {
    return text ? std::optional<QVariant>(*text) : std::nullopt;
}

} // namespace

StoneIdParts SplitStoneId(const QString& stoneId) {
    StoneIdParts parts;
    const qsizetype length = stoneId.size();
    const qsizetype dash = stoneId.indexOf(u'-') + 1; // position from 1; 0 without a dash
    if (dash > 2)
        parts.Stn1 = stoneId.left(dash - 1);
    parts.Stn3 = stoneId.right(1);
    const qsizetype middle = length - dash - 1;
    if (middle >= 0)
        parts.Stn2 = stoneId.mid(dash, middle);
    return parts;
}

std::vector<UserDataEntry> FormUserDataValues(const FrmStoneID& window) {
    const auto spacesTrimmed = [](const QString& text) {
        return std::optional<QVariant>(trimSpaces(text));
    };
    const QString test = window.testFile();
    // A key of test.txt as a whole single-precision number, rounded to two places.
    const auto twoPlaces = [&](const char* key) {
        const QString text = window.GetString(numericalParameters, QString::fromLatin1(key), test);
        const float value = narrowToSingle(require(wholeNumber(text)));
        return static_cast<float>(require(window.RoundToDecimals(value, 2)).number);
    };

    std::optional<QVariant> lengthToWidth;
    step([&] {
        const float a = twoPlaces("Length_mm");
        const float b = twoPlaces("Width_mm");
        lengthToWidth = roundedValue(require(window.RoundToDecimals(singleQuotient(a, b), 2)));
    });
    std::optional<QVariant> girdleDifference;
    step([&] {
        const float c = twoPlaces("GIRDLE_WIDE_BEZEL");
        const float d = twoPlaces("GIRDLE_WIDE_BONE");
        girdleDifference =
            roundedValue(require(window.RoundToDecimals(narrowToSingle(double(c) - d), 2)));
    });

    QString stoneId = trimSpaces(window.txtStoneID->text());
    if (window.BracketStoneId != 0)
        stoneId = u'[' + stoneId + u']';
    const StoneIdParts parts = SplitStoneId(window.txtStoneID->text());
    const QDateTime now = window.platform.clock.now();

    return {
        {QStringLiteral("COLOR"), spacesTrimmed(window.cbColor->currentText())},
        {QStringLiteral("CLARITY"), spacesTrimmed(window.cbClarity->currentText())},
        {QStringLiteral("FLAURASANSE"), spacesTrimmed(window.cbFlaurosance->currentText())},
        {QStringLiteral("LOT"), spacesTrimmed(window.TxtLotno->text())},
        {QStringLiteral("FILENAME"), spacesTrimmed(window.TxtFileName->text())},
        {QStringLiteral("OPERATOR"), spacesTrimmed(window.txtOperator->text())},
        {QStringLiteral("COMPANY"), spacesTrimmed(window.txtCompanyName->text())},
        {QStringLiteral("STONE_ID"), stoneId},
        {QStringLiteral("ExportDataFile"), spacesTrimmed(window.TxtExport->text())},
        {QStringLiteral("ExportAsciiFile"), spacesTrimmed(window.TxtACExport->text())},
        // The bookmark separator: the field separator was formed first and replaced.
        {QStringLiteral("Symbol"), spacesTrimmed(window.Txt_Book->text())},
        {QStringLiteral("isBookmark"), QString::number(checkValue(window.chkbookmark))},
        {QStringLiteral("DecimalPoint"), spacesTrimmed(window.CBODECIMAL->currentText())},
        {QStringLiteral("LenNumber"), spacesTrimmed(window.txtLenNumber->text())},
        {QStringLiteral("FileFormat"), spacesTrimmed(window.TxtFileName->text())},
        {QStringLiteral("SystemNumber"), spacesTrimmed(window.txtSysnumber->text())},
        {QStringLiteral("ShapeName"), spacesTrimmed(window.cboShape->currentText())},
        {QStringLiteral("RealWeight"), spacesTrimmed(window.txtRealWgt->text())},
        {QStringLiteral("Polish"), spacesTrimmed(window.cbPolish->currentText())},
        {QStringLiteral("DATE"), shortDateText(now.date())},
        {QStringLiteral("TIME"), timeText(now.time())},
        {QStringLiteral("L_D_CALC"), lengthToWidth},
        {QStringLiteral("SYMMETRY"), spacesTrimmed(window.CbSym->currentText())},
        {QStringLiteral("B_N_CALC"), girdleDifference},
        {QStringLiteral("SHAPE"), spacesTrimmed(window.TxtShape->text())},
        {QStringLiteral("RepID"), spacesTrimmed(window.TxtRepID->text())},
        {QStringLiteral("Stn1"), textValue(parts.Stn1)},
        {QStringLiteral("Stn2"), textValue(parts.Stn2)},
        {QStringLiteral("Stn3"), textValue(parts.Stn3)},
        {QStringLiteral("PROCESS"), window.ProcessLabel},
        {QStringLiteral("ZED_TBLMAX"), singleValue(window.program.TablePercent)},
    };
}

UserDataWrite WriteUserDataRow(const Database& database,
                               const std::vector<UserDataEntry>& entries) {
    const std::optional<std::vector<TableColumn>> columns = tableColumns(database, userDataTable);
    if (!columns)
        return UserDataWrite::Refused;
    if (columns->empty())
        return UserDataWrite::NoTable;
    const QString table = Database::quoteIdentifier(userDataTable);
    RowWrites writes(database.connection());
    bool whole = database.exec(QStringLiteral("DELETE FROM %1").arg(table));

    if (!database.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)")
                           .arg(table, Database::quoteIdentifier(columns->front().name)),
                       {101}))
        return UserDataWrite::Refused;
    const auto inserted = database.select(QStringLiteral("SELECT last_insert_rowid()"));
    if (!inserted || inserted->isEmpty())
        return UserDataWrite::Refused;
    const QVariant rowId = inserted->rows.front().value(0);

    const qsizetype end = std::min<qsizetype>(columns->size(), lastFilledPosition + 1);
    for (const UserDataEntry& entry : entries) {
        for (qsizetype position = 1; position < end; ++position) {
            const TableColumn& column = (*columns)[position];
            if (column.name != entry.column)
                continue;
            if (entry.value && columnAccepts(column.declaredType, *entry.value)) {
                whole = database.exec(QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
                                          .arg(table, Database::quoteIdentifier(column.name)),
                                      {*entry.value, rowId}) &&
                        whole;
            }
            break;
        }
    }
    whole = writes.commit() && whole;

    // Read back: the key file is rebuilt from this row next.
    const auto stored = database.select(
        QStringLiteral("SELECT count(*) FROM %1 WHERE rowid = ?").arg(table), {rowId});
    whole = whole && stored && !stored->isEmpty() && stored->rows.front().value(0).toInt() == 1;
    return whole ? UserDataWrite::Written : UserDataWrite::Refused;
}

void WriteUserData(FrmStoneID& window, ExportFailures& failures) {
    const std::vector<UserDataEntry> entries = FormUserDataValues(window);
    if (!window.ReportsConnection)
        return;
    if (WriteUserDataRow(*window.ReportsConnection, entries) == UserDataWrite::Refused)
        failures.report(window, QStringLiteral("UserData row could not be written : ") +
                                    window.ReportsConnection->filePath());
}

} // namespace tav
