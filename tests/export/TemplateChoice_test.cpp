#include "export/TemplateChoice.h"

#include "app/FrmStoneID.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace tav {
namespace {

// Numbered keys prefix1 ... prefixN, each with a number.
QStringList numbered(const QString& prefix, int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("%1%2 = %3.5").arg(prefix).arg(i).arg(30 + i);
    return lines;
}

// The crown and pavilion facet-angle keys of a fancy scan.
QStringList facetKeys(int crownCurve, int crownHead, int crownPoint, int crownWing,
                      int pavilionCurve, int pavilionHead, int pavilionWing) {
    return numbered("CROWN_FANCY_CURVE_ANGLE_DEG_", crownCurve) +
           numbered("CROWN_FANCY_HEAD_ANGLE_DEG_", crownHead) +
           numbered("CROWN_FANCY_POINT_ANGLE_DEG_", crownPoint) +
           numbered("CROWN_FANCY_WING_ANGLE_DEG_", crownWing) +
           numbered("PAVILION_FANCY_CURVE_ANGLE_DEG_", pavilionCurve) +
           numbered("PAVILION_FANCY_HEAD_ANGLE_DEG_", pavilionHead) +
           numbered("PAVILION_FANCY_WING_ANGLE_DEG_", pavilionWing);
}

struct Choice {
    QString FacetCode;
    QString TemplateTable;
    QString TemplateShapeName;
    QString CuttingFamily;
};

struct Scan {
    QString shape;
    QStringList keyFile;
    std::optional<QString> semiPolished; // MODEL_IS_SEMI_POLISHED of test.txt
    std::optional<QStringList> tables;   // the tables of Reports.mdb; none: no file
};

// The choice of phase 5 for a scan in a program folder of its own.
Choice choose(const Scan& scan, std::vector<int>* progress = nullptr,
              PolishData* polish = nullptr) {
    test::TempProgramFolder dir;
    dir.writeLines("test_export.txt", QStringList{"[NumericalParameters]"} + scan.keyFile);
    QStringList test{"[NumericalParameters]"};
    if (scan.semiPolished)
        test << "MODEL_IS_SEMI_POLISHED = " + *scan.semiPolished;
    dir.writeLines("test.txt", test);
    if (scan.tables) {
        QStringList statements;
        for (const QString& table : *scan.tables)
            statements << "CREATE TABLE " + table + " (Item TEXT)";
        dir.createDatabase("Reports.mdb", statements);
    }
    test::RecordingPlatform recording;
    Platform platform = recording.platform();
    ProgramWide program;
    FrmStoneID window(dir.folder(), platform, program);
    window.cboShape->setEditable(true);
    window.cboShape->setEditText(scan.shape);
    if (progress)
        QObject::connect(window.ProgressBar1, &QProgressBar::valueChanged,
                         [progress](int value) { progress->push_back(value); });
    Choice choice;
    double semi = 0;
    ChooseTemplate(window, choice.FacetCode, choice.TemplateTable, semi);
    EXPECT_EQ(window.CurrentShape, scan.shape);
    EXPECT_TRUE(recording.messages.shown.empty());
    choice.TemplateShapeName = window.TemplateShapeName;
    choice.CuttingFamily = window.CuttingFamily;
    if (polish)
        *polish = window.PolishData;
    return choice;
}

TEST(TemplateChoice, ShapeGivesFacetCodeTemplateShapeNameFamilyAndTable) {
    const QStringList pearKeys = facetKeys(4, 1, 1, 2, 4, 1, 2);
    const QStringList gia{"Template_GIA"};
    const struct {
        const char* name;
        Scan scan;
        Choice expected;
    } cases[] = {
        {"pear",
         {"Pear", pearKeys, std::nullopt, gia},
         {"8474", "Template_GIAPear", "PEAR-P8_4-P7_4", "FANCY"}},
        {"pear1",
         {"Pear1", pearKeys, std::nullopt, gia},
         {"8474", "Template_GIAPear1", "PEAR-P8_4-P7_4", "FANCY"}},
        {"oval counts no head keys",
         {"Oval", pearKeys, std::nullopt, gia},
         {"7464", "Template_GIAOval", "OVAL-P7_4-P6_4", "FANCY"}},
        {"oval1",
         {"Oval1", pearKeys, std::nullopt, gia},
         {"7464", "Template_GIAOval1", "OVAL-P7_4-P6_4", "FANCY"}},
        {"marquise without facet keys",
         {"Marquise", {"TABLE_PC = 57.5"}, std::nullopt, gia},
         {"0000", "Template_GIAMarquise", "MARQUISE-P0_0-P0_0", "FANCY"}},
        {"marquise counts pavilion points",
         {"Marquise1",
          facetKeys(2, 0, 2, 2, 2, 0, 2) + numbered("PAVILION_FANCY_POINT_ANGLE_DEG_", 1),
          std::nullopt, gia},
         {"6252", "Template_GIAMarquise1", "MARQUISE-P6_2-P5_2", "FANCY"}},
        {"pear with a two-digit crown sum",
         {"Pear", facetKeys(4, 4, 2, 2, 4, 1, 2), std::nullopt, gia},
         {"12474", "Template_GIAPear", "PEAR-P1_2-P4_7", "FANCY"}},
        {"brilliant",
         {"Brilliant", pearKeys, std::nullopt, gia},
         {"8888", "Template_GIA", "ROUND-P8_8-P8_8", "ROUND"}},
        {"brilliant1",
         {"Brilliant1", {}, std::nullopt, gia},
         {"8888", "Template_GIA1", "Brilliant1", "FANCY"}},
        {"brilliant in the wrong case",
         {"brilliant", {}, std::nullopt, gia},
         {"4444", "Template_GIAStepCut", "brilliant", "FANCY"}},
        // The table is named as the database lists it.
        {"brilliant in the wrong case with a table of that name",
         {"brilliant", {}, std::nullopt, QStringList{"template_giaBRILLIANT"}},
         {"4444", "template_giaBRILLIANT", "brilliant", "FANCY"}},
        {"a shape whose table differs in a letter beyond ASCII",
         {"C\u0153ur", {}, "1", QStringList{"\"Template_GIAC\u0152ur\""}},
         {"4444", "Template_GIAC\u0152ur_semi", "C\u0153ur", "FANCY"}},
        {"princess",
         {"Princess", {}, std::nullopt, gia},
         {"4444", "Template_GIAPrincess", "Princess-P4_4-P4_4", "PRINCESS"}},
        {"emerald without a table of its own",
         {"Emerald", {}, std::nullopt, gia},
         {"4444", "Template_GIAStepCut", "Emerald-P4_4-P4_4", "EMERALD"}},
        {"emerald with its table",
         {"Emerald", {}, std::nullopt, QStringList{"Template_GIA", "Template_GIAEmerald"}},
         {"4444", "Template_GIAEmerald", "Emerald-P4_4-P4_4", "EMERALD"}},
        {"step cut",
         {"Step Cut", {}, std::nullopt, gia},
         {"4444", "Template_GIAStepCut", "Emerald-P4_4-P4_4", "EMERALD"}},
        {"stepcut1",
         {"StepCut1", {}, std::nullopt, gia},
         {"4444", "Template_GIAStepCut1", "StepCut1", "FANCY"}},
        {"unknown",
         {"Unknown", {}, std::nullopt, gia},
         {"0000", "Template_GIAUnknown", "Unknown", "FANCY"}},
        {"heart",
         {"Heart", {}, std::nullopt, std::nullopt},
         {"4444", "Template_GIAHeart", "Heart", "FANCY"}},
        {"square cushion",
         {"Square Cushion", {}, std::nullopt, gia},
         {"8484", "Template_GIASquareCushion", "Square Cushion", "FANCY"}},
        {"semi-polished",
         {"Cushion", {}, "1", gia},
         {"8484", "Template_GIACushion_semi", "Cushion", "FANCY"}},
        {"semi-polished as 1.0",
         {"Cushion", {}, "1.0", gia},
         {"8484", "Template_GIACushion_semi", "Cushion", "FANCY"}},
        {"semi-polished value 2",
         {"Cushion", {}, "2", gia},
         {"8484", "Template_GIACushion", "Cushion", "FANCY"}},
        {"semi-polished value 0",
         {"Cushion", {}, "0", gia},
         {"8484", "Template_GIACushion", "Cushion", "FANCY"}},
        {"semi-polished fallback",
         {"Asscher", {}, "1", gia},
         {"4444", "Template_GIAStepCut_semi", "Asscher", "FANCY"}},
        // An empty shape is any other text: Template_GIA and the empty text, if it exists.
        {"empty shape", {"", {}, std::nullopt, gia}, {"4444", "Template_GIA", "", "FANCY"}},
        {"empty shape without Template_GIA",
         {"", {}, std::nullopt, QStringList{"Template_GIAStepCut"}},
         {"4444", "Template_GIAStepCut", "", "FANCY"}},
        {"no database: the table test fails and is skipped",
         {"Asscher", {}, std::nullopt, std::nullopt},
         {"4444", "", "Asscher", "FANCY"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Choice choice = choose(c.scan);
        EXPECT_EQ(choice.FacetCode, c.expected.FacetCode);
        EXPECT_EQ(choice.TemplateTable, c.expected.TemplateTable);
        EXPECT_EQ(choice.TemplateShapeName, c.expected.TemplateShapeName);
        EXPECT_EQ(choice.CuttingFamily, c.expected.CuttingFamily);
    }
}

TEST(TemplateChoice, FillsThePolishDataAndMovesTheProgressBar) {
    std::vector<int> progress;
    PolishData polish;
    choose({"Brilliant", {"TABLE_PC = 57.5", "Scan.CROWN_ANGLE_DEG = 34"}, "1", QStringList{}},
           &progress, &polish);
    EXPECT_EQ(progress, (std::vector<int>{2, 3}));
    EXPECT_EQ(polish.TABLE_PC, 57.5);
    EXPECT_EQ(polish.CROWN_ANGLE_DEG, 0);
}

} // namespace
} // namespace tav
