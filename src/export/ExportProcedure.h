#pragma once

#include "export/ExportFiles.h"
#include "export/TemplateItems.h"

#include <QString>

#include <optional>

namespace tav {

class FrmStoneID;

// How a call of the export ended.
enum class ExportOutcome {
    Left,           // stopped early; the program stays open and the export can run again
    ProgramEnded,   // the program was ended at once
    Completed,      // every phase ran
    AlreadyRunning, // another export was in progress; this call did nothing
};

// The export of one stone, phase by phase in a fixed order. Every statement that
// fails is skipped and the export goes on; only the phases that say so leave it.
class ExportProcedure {
public:
    explicit ExportProcedure(FrmStoneID& window);

    ExportOutcome run();

private:
    // The phases in the order run() calls them.
    void tablePercentPhase();   // 1
    void userDataPhase();       // 2
    bool keyFileRebuildPhase(); // 3: false leaves the export
    bool weightChecksPhase();   // 4: false leaves the export
    void templateChoicePhase(); // 5
    bool exportFilesPhase();    // 6: false leaves the export
    void weightVerdictPhase();  // 7
    bool templateTablePhase();  // 8: false has ended the program
    bool stoneMarkerPhase();    // 9: false has ended the program
    void layoutPhase();         // 10
    void closingPhase();        // 11: ends the program

    FrmStoneID& window_;

    // Values of this export, formed by its phases and kept until it ends.
    QString FacetCode;
    QString TemplateTable;
    // MODEL_IS_SEMI_POLISHED of test.txt as a number (1 for a semi-polished model).
    double SemiPolished = 0;
    double WeightDeviationPercent = 0;
    // Where the per-stone file is copied at the end.
    QString AsciiCopyPath;
    // The Table layout found its layout file and writes no header line.
    bool TableFileExisted = false;
    // The stone's marker, written once its files have landed; empty when the marker
    // folder is not armed.
    QString StoneMarkerFile;
    // The rows of TemplateTable, once it is open.
    std::optional<TemplateRows> TemplateRecordset;
    // Files of this export that did not land.
    ExportFailures Failures;
};

// Runs the export unless one is already running in this window (a modal box or the
// pause of an export must not start a second one).
ExportOutcome ExportData(FrmStoneID& window);

} // namespace tav
