#include "export/TemplateChoice.h"

#include "app/FrmStoneID.h"
#include "export/ExportHelpers.h"
#include "platform/NumberText.h"
#include "scan/KeyReader.h"
#include "scan/PolishDataReader.h"
#include "scan/ValueHelpers.h"

#include <array>
#include <initializer_list>

namespace tav {
namespace {

enum class FacetRule { Fixed, Pear, Marquise };

struct ShapeTemplate {
    const char16_t* shape;
    FacetRule rule;
    const char* facetCodeOrFamilyWord; // the code itself, or the family word of a rule
    const char16_t* templateTable;
};

// Tested in this order; the first shape equal to the text wins.
constexpr std::array<ShapeTemplate, 27> shapeTemplates = {{
    {u"Brilliant", FacetRule::Fixed, "8888", u"Template_GIA"},
    {u"Brilliant1", FacetRule::Fixed, "8888", u"Template_GIA1"},
    {u"Pear", FacetRule::Pear, "PEAR-P", u"Template_GIAPear"},
    {u"Pear1", FacetRule::Pear, "PEAR-P", u"Template_GIAPear1"},
    {u"Marquise", FacetRule::Marquise, "MARQUISE-P", u"Template_GIAMarquise"},
    {u"Marquise1", FacetRule::Marquise, "MARQUISE-P", u"Template_GIAMarquise1"},
    {u"Oval", FacetRule::Marquise, "OVAL-P", u"Template_GIAOval"},
    {u"Oval1", FacetRule::Marquise, "OVAL-P", u"Template_GIAOval1"},
    {u"Princess", FacetRule::Fixed, "4444", u"Template_GIAPrincess"},
    {u"Princess1", FacetRule::Fixed, "4444", u"Template_GIAPrincess1"},
    {u"Prince", FacetRule::Fixed, "4444", u"Template_GIAPrince"},
    {u"Prince1", FacetRule::Fixed, "4444", u"Template_GIAPrince1"},
    {u"Unknown", FacetRule::Fixed, "0000", u"Template_GIAUnknown"},
    {u"Step Cut", FacetRule::Fixed, "4444", u"Template_GIAStepCut"},
    {u"Step Cut1", FacetRule::Fixed, "4444", u"Template_GIAStepCut1"},
    {u"StepCut", FacetRule::Fixed, "4444", u"Template_GIAStepCut"},
    {u"StepCut1", FacetRule::Fixed, "4444", u"Template_GIAStepCut1"},
    {u"Cushion", FacetRule::Fixed, "8484", u"Template_GIACushion"},
    {u"Square Cushion", FacetRule::Fixed, "8484", u"Template_GIASquareCushion"},
    {u"Cushion1", FacetRule::Fixed, "8484", u"Template_GIACushion1"},
    {u"Radiant", FacetRule::Fixed, "4444", u"Template_GIARadiant"},
    {u"Radiant1", FacetRule::Fixed, "4444", u"Template_GIARadiant1"},
    {u"Square Radiant", FacetRule::Fixed, "4444", u"Template_GIASquareRadiant"},
    {u"Square StepCut", FacetRule::Fixed, "4444", u"Template_GIASquareStepCut"},
    {u"Square Radiant1", FacetRule::Fixed, "4444", u"Template_GIASquareRadiant1"},
    {u"Heart", FacetRule::Fixed, "4444", u"Template_GIAHeart"},
    {u"Heart1", FacetRule::Fixed, "4444", u"Template_GIAHeart1"},
}};

const ShapeTemplate* findShape(const QString& shape) {
    for (const ShapeTemplate& entry : shapeTemplates) {
        if (shape == QStringView(entry.shape))
            return &entry;
    }
    return nullptr;
}

// The sum of the numbered-key counts of the prefixes, and the count of the first.
struct FacetCounts {
    int sum = 0;
    int first = 0;
};

FacetCounts countFacets(const IniFile& keyFile, std::initializer_list<const char*> prefixes) {
    FacetCounts counts;
    bool first = true;
    for (const char* prefix : prefixes) {
        const int count = CountNumberedKeys(QString::fromLatin1(prefix), keyFile);
        if (first)
            counts.first = count;
        first = false;
        counts.sum += count;
    }
    return counts;
}

// Crown sum, crown curve count, pavilion sum, pavilion curve count, as digits.
QString computedFacetCode(FacetRule rule, const IniFile& keyFile) {
    const FacetCounts crown =
        rule == FacetRule::Pear
            ? countFacets(keyFile, {"CROWN_FANCY_CURVE_ANGLE_DEG_", "CROWN_FANCY_HEAD_ANGLE_DEG_",
                                    "CROWN_FANCY_POINT_ANGLE_DEG_", "CROWN_FANCY_WING_ANGLE_DEG_"})
            : countFacets(keyFile, {"CROWN_FANCY_CURVE_ANGLE_DEG_", "CROWN_FANCY_POINT_ANGLE_DEG_",
                                    "CROWN_FANCY_WING_ANGLE_DEG_"});
    const FacetCounts pavilion = rule == FacetRule::Pear
                                     ? countFacets(keyFile, {"PAVILION_FANCY_CURVE_ANGLE_DEG_",
                                                             "PAVILION_FANCY_HEAD_ANGLE_DEG_",
                                                             "PAVILION_FANCY_WING_ANGLE_DEG_"})
                                     : countFacets(keyFile, {"PAVILION_FANCY_CURVE_ANGLE_DEG_",
                                                             "PAVILION_FANCY_WING_ANGLE_DEG_",
                                                             "PAVILION_FANCY_POINT_ANGLE_DEG_"});
    return QString::number(crown.sum) + QString::number(crown.first) +
           QString::number(pavilion.sum) + QString::number(pavilion.first);
}

// The family word and the first four characters of the code: PEAR-P8_4-P7_4.
QString computedShapeName(const QString& familyWord, const QString& facetCode) {
    return familyWord + facetCode[0] + u'_' + facetCode[1] + QStringLiteral("-P") + facetCode[2] +
           u'_' + facetCode[3];
}

} // namespace

void ChooseTemplate(FrmStoneID& window, QString& FacetCode, QString& TemplateTable,
                    double& semiPolished) {
    window.CurrentShape = window.cboShape->currentText();
    const QString& shape = window.CurrentShape;
    step([&] { GetPolishData(window.PolishData, *window.scanFile(window.keyFile())); });

    window.CuttingFamily.clear();
    if (shape == u"Brilliant") {
        window.TemplateShapeName = QStringLiteral("ROUND-P8_8-P8_8");
        window.CuttingFamily = QStringLiteral("ROUND");
    } else if (shape == u"Princess") {
        window.TemplateShapeName = QStringLiteral("Princess-P4_4-P4_4");
        window.CuttingFamily = QStringLiteral("PRINCESS");
    } else if (shape == u"Emerald" || shape == u"Step Cut" || shape == u"StepCut") {
        window.TemplateShapeName = QStringLiteral("Emerald-P4_4-P4_4");
        window.CuttingFamily = QStringLiteral("EMERALD");
    } else {
        window.TemplateShapeName = shape;
        window.CuttingFamily = QStringLiteral("FANCY");
    }
    window.ProgressBar1->setValue(2);

    if (const ShapeTemplate* known = findShape(shape)) {
        TemplateTable = QString::fromUtf16(known->templateTable);
        if (known->rule == FacetRule::Fixed) {
            FacetCode = QString::fromLatin1(known->facetCodeOrFamilyWord);
        } else {
            FacetCode = computedFacetCode(known->rule, *window.scanFile(window.keyFile()));
            window.TemplateShapeName =
                computedShapeName(QString::fromLatin1(known->facetCodeOrFamilyWord), FacetCode);
        }
    } else {
        FacetCode = QStringLiteral("4444");
        step([&] {
            // Opened later by the name the database gives it: the test ignores case,
            // the database's own lookup does so only in ASCII letters ("Cœur").
            QString listed;
            TemplateTable =
                IsExistingTable(window.folder, QStringLiteral("Template_GIA") + shape, &listed)
                    ? listed
                    : QStringLiteral("Template_GIAStepCut");
        });
    }
    window.ProgressBar1->setValue(3);

    step([&] {
        semiPolished = leadingNumber(window.GetString(
            numericalParameters, QStringLiteral("MODEL_IS_SEMI_POLISHED"), window.testFile()));
    });
    if (semiPolished == 1)
        TemplateTable += QStringLiteral("_semi");
}

} // namespace tav
