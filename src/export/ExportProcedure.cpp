#include "export/ExportProcedure.h"

#include "app/FrmStoneID.h"
#include "export/ExportHelpers.h"
#include "export/TemplateChoice.h"
#include "export/UserDataRow.h"
#include "export/WeightChecks.h"
#include "platform/NumberText.h"
#include "scan/KeyFileBuilder.h"

#include <QScopeGuard>

namespace tav {

ExportProcedure::ExportProcedure(FrmStoneID& window) : window_(window) {}

ExportOutcome ExportProcedure::run() {
    // The row and the key file are written before any check, so an export that is
    // left early has already stored what the operator entered.
    tablePercentPhase();
    userDataPhase();
    keyFileRebuildPhase();
    if (!weightChecksPhase())
        return ExportOutcome::Left;
    templateChoicePhase();
    // Phase 6 goes here: stone ID under the process label, export folders and the
    // names of the export files; a missing export folder leaves the export.
    weightVerdictPhase();
    // Phases 8 to 11 go here: the layout file and the template table (an undefined
    // table ends the program), the once-per-stone marker (a stone already exported
    // ends it), the layouts, and the closing steps that end the program.
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
    WriteUserData(window_);
}

void ExportProcedure::keyFileRebuildPhase() {
    // Blocks the window on purpose: nothing may reach it while the row settles.
    step([&] { window_.platform.pause.sleep(2000); });
    step([&] { BuildTestExport(window_.folder, window_.platform.messages); });
}

bool ExportProcedure::weightChecksPhase() {
    return CheckWeight(window_);
}

void ExportProcedure::templateChoicePhase() {
    ChooseTemplate(window_, FacetCode, TemplateTable, SemiPolished);
}

void ExportProcedure::weightVerdictPhase() {
    JudgeWeight(window_, WeightDeviationPercent);
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
