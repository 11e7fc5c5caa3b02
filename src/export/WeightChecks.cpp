#include "export/WeightChecks.h"

#include "app/FrmStoneID.h"
#include "export/ExportHelpers.h"
#include "export/TableColumns.h"
#include "platform/Database.h"
#include "platform/NumberText.h"
#include "platform/ReadableText.h"
#include "scan/FieldText.h"
#include "scan/KeyReader.h"

#include <cmath>

namespace tav {
namespace {

const QString correctedMassKey = QStringLiteral("CORRECTED_MASS");

// Refused weights are taken again from the balance: red lamp, empty field, focus there.
void refuseWeight(FrmStoneID& window) {
    window.Shape1[0]->setFillColor(vbRed);
    window.txtRealWgt->clear();
    window.txtRealWgt->setCursorPosition(0);
    window.txtRealWgt->setFocus();
}

// The scanner's corrected mass: a bare key of the key file when it has one, else the
// scan file's own value, which is where the key file's table-qualified keys come from.
QString correctedMass(const FrmStoneID& window) {
    const QString fromKeyFile =
        window.GetString(numericalParameters, correctedMassKey, window.keyFile());
    if (!fromKeyFile.isEmpty())
        return fromKeyFile;
    return window.GetString(numericalParameters, correctedMassKey, window.testFile());
}

// The limit row of the shape with its columns' declared types.
struct LimitRow {
    QVariantList values;
    QStringList declaredTypes;
};

// The limit row of the shape: weights above 0.5 ct are judged by Weight_Limits, the
// others by Weight_Limits_small. Nothing when there is no row or no table.
std::optional<LimitRow> limitRow(const FrmStoneID& window, double weight) {
    if (!window.ReportsConnection)
        return std::nullopt;
    const QString table =
        weight > 0.5 ? QStringLiteral("Weight_Limits") : QStringLiteral("Weight_Limits_small");
    const auto rows = window.ReportsConnection->select(
        QStringLiteral("SELECT * FROM %1 WHERE Shape = ? COLLATE NOCASE")
            .arg(Database::quoteIdentifier(table)),
        {window.CurrentShape});
    if (!rows || rows->isEmpty())
        return std::nullopt;
    LimitRow row{rows->rows.front(), {}};
    if (const auto columns = tableColumns(*window.ReportsConnection, table)) {
        for (const TableColumn& column : *columns)
            row.declaredTypes.append(column.declaredType);
    }
    return row;
}

// A column of the limit row as the key file would show it, so a limit is the number the
// operator sees (a REAL 0.7 - 0.4 reads 0.3, a SINGLE 2.1 reads 2.1); an empty column
// fails the statement that reads it.
QString limitText(const LimitRow& row, int position) {
    const QVariant value = row.values.value(position);
    require(!value.isNull(), "Invalid use of Null");
    return fieldText(value, row.declaredTypes.value(position));
}

} // namespace

bool CheckWeight(FrmStoneID& window) {
    if (window.NoWeightAutoExport == 1 || window.ButtonExportMode != 0)
        return true;
    const QString text = window.txtRealWgt->text();
    if (text.isEmpty())
        return false;
    if (leadingNumber(text) <= 0.005) {
        window.platform.messages.show(
            QStringLiteral("Mettler Weight not transfered properly. Please Try Again ") +
                QStringLiteral("\n\r\n\r") + QStringLiteral("Weight entered is less then 0.005 "),
            QString(), MessageIcon::None);
        refuseWeight(window);
        return false;
    }
    if (leadingNumber(text) >= 1000) {
        window.program.SubstitutedWeight = QStringLiteral("0.") + text;
        window.txtRealWgt->setReadOnly(false);
        window.txtRealWgt->setText(window.program.SubstitutedWeight);
        window.txtRealWgt->setReadOnly(true);
        window.Shape1[0]->setFillColor(vbGreen);
        window.appendWarning(
            QStringLiteral("Mettler Weight not transfered properly. We will substitute it with ") +
            readableText(window.program.SubstitutedWeight) + QStringLiteral("  Crts"));
    }
    return true;
}

void JudgeWeight(FrmStoneID& window, double& WeightDeviationPercent) {
    const QString weightText = window.txtRealWgt->text();
    const QString mass = correctedMass(window);
    const double weight = leadingNumber(weightText);

    double deviation = 0;
    step([&] {
        const auto difference =
            require(window.RoundToDecimals(narrowToSingle(weight - leadingNumber(mass)), 4));
        deviation = std::abs(difference.number);
    });
    // A zero weight leaves the plain difference.
    step([&] {
        deviation = require(window.RoundToDecimals(singleQuotient(deviation, weight), 4)).number;
    });
    deviation *= 100;
    step([&] {
        WeightDeviationPercent =
            require(window.RoundToDecimals(narrowToSingle(deviation), 2)).number;
    });
    window.TxtHP_Wgt->setText(mass);

    const QString keptShape = window.CurrentShape;
    window.CurrentShape = window.cboShape->currentText();
    if (const auto row = limitRow(window, weight)) {
        double green = 0;
        double yellow = 0;
        step([&] { green = leadingNumber(limitText(*row, 1)); });
        step([&] { yellow = leadingNumber(limitText(*row, 3)); });
        // Three separate tests: with limits set against each other a later colour wins.
        if (WeightDeviationPercent <= green) {
            step([&] { window.WeightMessage = limitText(*row, 2); });
            window.Text_ok->setBackColor(vbGreen);
        }
        if (green < WeightDeviationPercent && WeightDeviationPercent <= yellow) {
            step([&] { window.WeightMessage = limitText(*row, 4); });
            window.Text_ok->setBackColor(vbYellow);
        }
        if (WeightDeviationPercent > yellow) {
            step([&] { window.WeightMessage = limitText(*row, 5); });
            window.Text_ok->setBackColor(vbRed);
        }
        // The export writes the whole message; the box and the status line show what
        // can be read.
        window.Text_ok->setText(readableText(window.WeightMessage));
    } else {
        window.appendWarning(QStringLiteral("Invalid Entries...Please contact Developers"));
    }
    window.CurrentShape = keptShape;

    window.txtRealWgt->setText(cleanedWeightText(window.txtRealWgt->text()));
    step([&] {
        const float cleaned = narrowToSingle(leadingNumber(window.txtRealWgt->text()));
        double rounded = require(window.RoundToDecimals(cleaned, 5)).number;
        if (rounded == 0)
            rounded = 0; // no "-0.00000"
        window.txtRealWgt->setText(fixedDecimalText(rounded, 5));
    });
}

QString cleanedWeightText(const QString& text) {
    qsizetype end = text.size();
    const qsizetype lower = text.indexOf(u'c');
    const qsizetype upper = text.indexOf(u'C');
    if (lower >= 0)
        end = lower;
    if (upper >= 0 && upper < end)
        end = upper;
    return trimSpaces(text.left(end));
}

} // namespace tav
