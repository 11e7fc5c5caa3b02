#include "grading/GradingDriver.h"

#include "app/FrmStoneID.h"
#include "export/ExportHelpers.h"
#include "grading/LabAdapters.h"
#include "grading/OpticalSymmetry.h"
#include "platform/Database.h"
#include "platform/IniReader.h"
#include "platform/NumberText.h"
#include "platform/StepFailure.h"
#include "scan/FieldText.h"
#include "scan/KeyReader.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace tav {
namespace {

const QString classDatabaseName = QStringLiteral("Class.mdb");

// A file that is there but cannot be used is said with its cause before the call fails.
void openClassDatabase(FrmStoneID& w) {
    const QString path = w.folder.file(classDatabaseName);
    w.ClassDbConnection.reset();
    DatabaseOpening opening = Database::open(path);
    w.ClassDbConnection = std::move(opening.database);
    if (w.ClassDbConnection)
        return;
    if (opening.problem != DatabaseProblem::Missing)
        w.platform.messages.show(databaseProblemText(path, opening), databaseProblemTitle(path),
                                 MessageIcon::Critical);
    throw StepFailure(QStringLiteral("Could not open ") + classDatabaseName);
}

Database& classDatabase(FrmStoneID& w) {
    if (!w.ClassDbConnection)
        openClassDatabase(w);
    return *w.ClassDbConnection;
}

Recordset query(const Database& db, const QString& sql, const QVariantList& values) {
    std::optional<Recordset> rows = db.select(sql, values);
    if (!rows)
        throw StepFailure(QStringLiteral("Query failed: ") + sql);
    return std::move(*rows);
}

// Field names match without regard to case, as the database engine always did.
QVariant field(const Recordset& rows, const QVariantList& row, const QString& name) {
    for (qsizetype i = 0; i < rows.columns.size(); ++i) {
        if (rows.columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return row.value(i);
    }
    throw StepFailure(QStringLiteral("Item not found in this collection: ") + name, 3265);
}

// A yes/no column: Null and 0 are no; any other number (Access stores yes as -1,
// SQLite as 1) and the texts "yes", "true", "on" are yes.
bool isYes(const QVariant& value) {
    if (value.isNull())
        return false;
    bool numeric = false;
    const double number = value.toDouble(&numeric);
    if (numeric)
        return number != 0;
    const QString text = value.toString().trimmed().toLower();
    return text == u"yes" || text == u"true" || text == u"on";
}

// A class bound is the leading number of the column's text, so a stored number goes
// through its 15-digit text first (0.1 + 0.2 bounds as 0.3). Null bounds nothing, so a
// row with one never matches.
std::optional<double> boundOf(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    return leadingNumber(fieldText(value, FieldKind::Real));
}

struct ClassMatch {
    qint16 serial = -1;
    QString name;
};

// The first row, in Serial order, whose bounds hold the value (both ends included).
ClassMatch matchClass(const Recordset& rows, double value) {
    for (const QVariantList& row : rows.rows) {
        const std::optional<double> low = boundOf(field(rows, row, QStringLiteral("cMin")));
        const std::optional<double> high = boundOf(field(rows, row, QStringLiteral("cMax")));
        if (!low || !high || value < *low || value > *high)
            continue;
        const std::optional<qint16> serial =
            toInt16(field(rows, row, QStringLiteral("Serial")).toString());
        // A row without a usable rank cannot place the stone.
        if (!serial || *serial < 0)
            continue;
        return {*serial, field(rows, row, QStringLiteral("cName")).toString()};
    }
    return {};
}

// A laboratory field as text; a Null one cannot name a laboratory and fails the call
// where it is used.
QString laboratory(const QVariant& value) {
    if (value.isNull())
        throw StepFailure(QStringLiteral("Invalid use of Null"), 94);
    return value.toString();
}

// Column 1 of every row of a laboratory table for the shape, in stored order.
QVariantList laboratories(const Database& db, const QString& table, const QString& shape) {
    const Recordset rows = query(
        db, QStringLiteral("SELECT * FROM %1 WHERE Shape = ? COLLATE NOCASE").arg(table), {shape});
    QVariantList labs;
    for (const QVariantList& row : rows.rows)
        labs.append(row.value(1));
    return labs;
}

} // namespace

void GetCutClass(FrmStoneID& w, const QString& kind, const QString& lab) {
    const Database& db = classDatabase(w);
    const QString shape = w.CurrentShape;
    const QString KIND = kind.toUpper();
    const std::shared_ptr<const IniFile> keyFile = w.scanFile(w.keyFile());

    const Recordset parameters =
        query(db,
              QStringLiteral("SELECT * FROM %1 WHERE Shape = ? COLLATE NOCASE ORDER BY ID")
                  .arg(Database::quoteIdentifier(kind + QStringLiteral("Para"))),
              {shape});
    const QString classSql =
        QStringLiteral("SELECT * FROM %1 WHERE Lab = ? COLLATE NOCASE AND cfPara = ? COLLATE "
                       "NOCASE AND shape = ? COLLATE NOCASE ORDER BY Serial")
            .arg(Database::quoteIdentifier(kind + QStringLiteral("Data")));

    qint16 max = 0;
    for (const QVariantList& parameterRow : parameters.rows) {
        const QString PARAM =
            field(parameters, parameterRow, QStringLiteral("Parameters")).toString();
        const double value = leadingNumber(w.GetString(numericalParameters, PARAM, *keyFile));
        const Recordset classes = query(db, classSql, {lab, PARAM, shape});

        ClassMatch match;
        bool include = false;
        bool show = false;
        if (!classes.isEmpty()) {
            include = isYes(field(classes, classes.rows.first(), QStringLiteral("include")));
            show = isYes(field(classes, classes.rows.first(), QStringLiteral("Show")));
            // A value of 0 is a key the scan did not give.
            if (value != 0)
                match = matchClass(classes, value);
        }

        const QString key = lab + u'_';
        if (match.serial < 0) {
            writeGradingLine(w, key + kind + u'_' + PARAM + QStringLiteral("=-"));
            continue;
        }
        writeGradingLine(w, key + KIND + u'_' + PARAM + u'=' +
                                (show ? match.name : QStringLiteral("-")));
        // Only included parameters decide the overall class.
        if (include)
            max = std::max(max, match.serial);
    }

    QString overall = QStringLiteral("-");
    if (max > 0) {
        const Recordset classRow =
            query(db,
                  QStringLiteral("SELECT Class FROM %1 WHERE lab = ? COLLATE NOCASE AND "
                                 "Serial = ? AND shape = ? COLLATE NOCASE")
                      .arg(Database::quoteIdentifier(kind)),
                  {lab, max - 1, shape});
        // No class at that rank (or a Null one) leaves the overall class open.
        if (!classRow.isEmpty() && !classRow.rows.first().value(0).isNull())
            overall = classRow.rows.first().value(0).toString();
    }
    writeGradingLine(w, lab + u'_' + KIND + QStringLiteral("_Over=") + overall);
}

void SetCutSymData(FrmStoneID& w) {
    openClassDatabase(w);
    OpticalSym(w);

    const Database& db = *w.ClassDbConnection;
    const QString shape = w.CurrentShape;
    const Recordset multi = query(
        db, QStringLiteral("SELECT * FROM MultiData WHERE Shape = ? COLLATE NOCASE"), {shape});
    for (const QVariantList& row : multi.rows) {
        const QString cutLab = laboratory(row.value(1));
        const QString symLab = laboratory(row.value(2));
        // Laboratories with an outside grader (names matched exactly) grade the cut there.
        if (cutLab == u"AGS")
            DataAGS(w);
        else if (cutLab == u"GIA")
            DataGIA(w);
        else if (cutLab == u"AGSGOLD")
            DataAGSGOLD(w);
        else if (cutLab == u"HRD-HA")
            DataHRDHA(w);
        else if (cutLab == u"HRD-2009")
            DataHRD09(w);
        else
            GetCutClass(w, QStringLiteral("Cut"), cutLab);
        GetCutClass(w, QStringLiteral("Sym"), symLab);
    }

    if (shape == u"Brilliant")
        return;
    // The walk follows SymLab: each of its rows pairs with the CutLab row at its
    // position, a SymLab row without one is graded alone, and CutLab rows beyond the
    // end of SymLab are not graded.
    const QVariantList cutLabs = laboratories(db, QStringLiteral("CutLab"), shape);
    const QVariantList symLabs = laboratories(db, QStringLiteral("SymLab"), shape);
    for (qsizetype i = 0; i < symLabs.size(); ++i) {
        if (i < cutLabs.size())
            GetCutClass(w, QStringLiteral("Cut"), laboratory(cutLabs[i]));
        GetCutClass(w, QStringLiteral("Sym"), laboratory(symLabs[i]));
    }
}

} // namespace tav
