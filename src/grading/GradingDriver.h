#pragma once

#include <QString>

namespace tav {

class FrmStoneID;

// The cut grading of one stone: opens Class.mdb of the program folder, writes the
// optical symmetry, then the classes of every laboratory that MultiData (and, for
// shapes other than "Brilliant", CutLab and SymLab) names for CurrentShape; a cut
// laboratory "AGS", "GIA", "AGSGOLD", "HRD-HA" or "HRD-2009" is graded by its lab
// adapter instead. Runs while the export's streams are open. A missing database or
// table, or a Null laboratory, throws StepFailure to the caller; a database file that is
// there but cannot be used is first shown in a critical message with its cause.
void SetCutSymData(FrmStoneID& window);

// The class lines of one laboratory and kind ("Cut" or "Sym"): one line per parameter
// of <kind>Para for the shape, then the overall line LAB_KIND_Over=class. Uses the
// open ClassDbConnection, opening it first when there is none.
void GetCutClass(FrmStoneID& window, const QString& kind, const QString& lab);

} // namespace tav
