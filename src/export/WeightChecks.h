#pragma once

#include <QString>

namespace tav {

class FrmStoneID;

// The weight checks before the template choice, on the text of txtRealWgt: an empty
// weight leaves the export silently; 0.005 or less is refused with a box (lamp red,
// field emptied and focused); 1000 or more lost its leading "0." and is substituted.
// Skipped whole when NoWeightAutoExport is 1 or ButtonExportMode is not 0. False when
// the export must be left.
bool CheckWeight(FrmStoneID& window);

// The verdict after the export files are named: the deviation of the real weight
// from the scanner's corrected mass, judged against the shape's row of
// Weight_Limits (above 0.5 ct) or Weight_Limits_small, which sets WeightMessage and the
// colour and text of Text_ok; then the weight text is cleaned to five decimals.
// WeightDeviationPercent receives the deviation in percent.
void JudgeWeight(FrmStoneID& window, double& WeightDeviationPercent);

// The weight text without what follows its first "c" or "C" (a unit), trimmed.
QString cleanedWeightText(const QString& text);

} // namespace tav
