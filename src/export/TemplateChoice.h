#pragma once

#include <QString>

namespace tav {

class FrmStoneID;

// The shape phase of the export: CurrentShape, PolishData, CuttingFamily and
// TemplateShapeName on the window; the facet code, the template table (with "_semi"
// for a semi-polished model) and the semi-polish number of test.txt for the export.
// ProgressBar1 moves to 2 and then 3. Shape texts are compared exactly.
void ChooseTemplate(FrmStoneID& window, QString& FacetCode, QString& TemplateTable,
                    double& semiPolished);

} // namespace tav
