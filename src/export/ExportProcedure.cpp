#include "export/ExportProcedure.h"

#include "app/FrmStoneID.h"
#include "export/ClosingSteps.h"
#include "export/ColLayout.h"
#include "export/ColRowLayout.h"
#include "export/ExportHelpers.h"
#include "export/RowLayout.h"
#include "export/TableLayout.h"
#include "export/TemplateChoice.h"
#include "export/UserDataRow.h"
#include "export/WeightChecks.h"
#include "platform/NumberText.h"
#include "scan/KeyFileBuilder.h"
#include "scan/KeyReader.h"

#include <QScopeGuard>

namespace tav {

ExportProcedure::ExportProcedure(FrmStoneID& window) : window_(window) {}

ExportOutcome ExportProcedure::run() {
    // The row and the key file are written before any check, so an export that is
    // left early has already stored what the operator entered.
    tablePercentPhase();
    userDataPhase();
    if (!keyFileRebuildPhase())
        return ExportOutcome::Left;
    if (!weightChecksPhase())
        return ExportOutcome::Left;
    templateChoicePhase();
    if (!exportFilesPhase())
        return ExportOutcome::Left;
    weightVerdictPhase();
    // The layout files are opened only after these two checks: an export that ends at
    // either must leave no empty layout file behind.
    if (!templateTablePhase() || !stoneMarkerPhase())
        return ExportOutcome::ProgramEnded;
    layoutPhase();
    closingPhase();
    return ExportOutcome::Completed;
}

void ExportProcedure::tablePercentPhase() {
    step([&] {
        const QString test = window_.testFile();
        const double table = leadingNumber(
            window_.GetString(numericalParameters, QStringLiteral("TABLE_MM_MAX"), test));
        const double width =
            leadingNumber(window_.GetString(numericalParameters, QStringLiteral("WIDTH_MM"), test));
        window_.program.TablePercent = singleQuotient(100 * table, width);
    });
}

void ExportProcedure::userDataPhase() {
    WriteUserData(window_, Failures);
}

bool ExportProcedure::keyFileRebuildPhase() {
    // Blocks the window on purpose: nothing may reach it while the row settles.
    step([&] { window_.platform.pause.sleep(2000); });
    // A key the layouts cannot look up leaves its column blank: say why. The run's open
    // connection has just written UserData and knows the schema; it reads every row as the
    // file holds it now. Without it, the build opens a connection of its own.
    const Database* const reports = window_.ReportsConnection.get();
    const KeyFileProblems problems =
        reports ? BuildTestExport(window_.folder, window_.platform.messages, reports)
                : BuildTestExport(window_.folder, window_.platform.messages);
    if (problems.notWritten)
        Failures.report(window_,
                        QStringLiteral("Key file could not be written : ") + window_.keyFile());
    for (const QString& table : problems.unreadTables)
        Failures.report(
            window_, QStringLiteral("Table named in testSetting.txt could not be read : ") + table);
    if (!problems.notWritten)
        return true;
    // The layouts look every key up in that file: without it each value would go out
    // blank, over the stone's good files of an earlier export.
    window_.platform.messages.show(
        QStringLiteral("The key file ") + window_.keyFile() +
            QStringLiteral(" could not be rebuilt : ") + problems.cause +
            QStringLiteral("  - Nothing is exported......Please correct it and Export "
                           "again...."),
        QStringLiteral("KEY FILE NOT WRITTEN"), MessageIcon::Critical);
    return false;
}

bool ExportProcedure::weightChecksPhase() {
    return CheckWeight(window_);
}

void ExportProcedure::templateChoicePhase() {
    ChooseTemplate(window_, FacetCode, TemplateTable, SemiPolished);
}

bool ExportProcedure::exportFilesPhase() {
    return PrepareExportFiles(window_, AsciiCopyPath);
}

void ExportProcedure::weightVerdictPhase() {
    JudgeWeight(window_, WeightDeviationPercent);
}

bool ExportProcedure::templateTablePhase() {
    TemplateRecordset = OpenTemplateTable(window_, TemplateTable);
    if (!TemplateRecordset)
        return false;
    // Name, label and format code are read by position from the first three columns.
    if (TemplateRecordset->columnCount < 3)
        Failures.report(window_, QStringLiteral("Template table could not be read : ") +
                                     TemplateTable +
                                     QStringLiteral(" has fewer than three columns"));
    return true;
}

bool ExportProcedure::stoneMarkerPhase() {
    return CheckStoneMarker(window_, SemiPolished, StoneMarkerFile);
}

void ExportProcedure::layoutPhase() {
    OpenExportStreams(window_, TableFileExisted);
    switch (exportLayoutOf(window_.CBOFORMAT->currentText())) {
    case ExportLayout::Row:
        RowLayout(window_, *TemplateRecordset, FacetCode);
        break;
    case ExportLayout::Col:
        ColLayout(window_, *TemplateRecordset, FacetCode);
        break;
    case ExportLayout::Table:
        TableLayout(window_, *TemplateRecordset, FacetCode, TableFileExisted);
        break;
    case ExportLayout::ColRow:
    case ExportLayout::Other:
        // Any text that names none of the other layouts writes Col_Row lines.
        ColRowLayout(window_, *TemplateRecordset, FacetCode);
        break;
    }
}

void ExportProcedure::closingPhase() {
    ClosingSteps(window_, AsciiCopyPath, StoneMarkerFile, Failures);
}

ExportOutcome ExportData(FrmStoneID& window) {
    if (window.exportInProgress)
        return ExportOutcome::AlreadyRunning;
    window.exportInProgress = true;
    const auto done = qScopeGuard([&window] { window.exportInProgress = false; });
    ExportProcedure procedure(window);
    return procedure.run();
}

} // namespace tav
