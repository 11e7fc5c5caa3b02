#include "export/WeightChecks.h"

#include "app/FrmStoneID.h"
#include "platform/Database.h"
#include "support/RecordingPlatform.h"
#include "support/StartedWindow.h"
#include "support/TempProgramFolder.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>

namespace tav {
namespace {

const QString statusPrefix = QStringLiteral("\n\r");

class WeightTest : public ::testing::Test {
protected:
    WeightTest() {
        dir.createDatabase(
            "Reports.mdb",
            {"CREATE TABLE Weight_Limits (Shape TEXT, Green REAL, GreenMessage TEXT, Yellow REAL, "
             "YellowMessage TEXT, RedMessage TEXT)",
             "CREATE TABLE Weight_Limits_small (Shape TEXT, Green TEXT, GreenMessage TEXT, "
             "Yellow TEXT, YellowMessage TEXT, RedMessage TEXT)",
             "INSERT INTO Weight_Limits VALUES ('Brilliant', 2, 'big green', 5, 'big yellow', "
             "'big red')",
             "INSERT INTO Weight_Limits VALUES ('Old Miner''s', 1, 'miner green', 3, "
             "'miner yellow', 'miner red')",
             "INSERT INTO Weight_Limits VALUES ('Heart', 2, NULL, 5, 'heart yellow', 'heart red')",
             "INSERT INTO Weight_Limits_small VALUES ('Brilliant', '3', 'small green', '6 %', "
             "'small yellow', 'small red')"});
        test::writeStartUpFiles(dir);
        window = std::make_unique<FrmStoneID>(dir.folder(), platform, program);
        EXPECT_EQ(test::startUp(*window, recording), StartUpOutcome::Waiting);
        // Written over the one that start-up built.
        dir.writeLines("test_export.txt", {"[NumericalParameters]", "UserData.COLOR = D"});
        window->cboShape->setEditable(true);
        window->cboShape->setEditText("Brilliant");
    }

    void scanMass(const QString& mass) {
        dir.writeLines("test.txt", {"[NumericalParameters]", "CORRECTED_MASS = " + mass});
    }

    test::TempProgramFolder dir;
    test::StartUpBalance balance;
    test::RecordingPlatform recording;
    Platform platform = recording.platform();
    ProgramWide program;
    std::unique_ptr<FrmStoneID> window;
};

TEST_F(WeightTest, ChecksRefuseSubstituteOrPassTheWeight) {
    const QString refusal = QStringLiteral("Mettler Weight not transfered properly. Please Try "
                                           "Again \n\r\n\rWeight entered is less then 0.005 ");
    const struct {
        const char* weight;
        qint16 noWeightAutoExport, buttonExportMode;
        bool goOn;
        bool box;
        const char* weightAfter;
        int lampAfter;
    } cases[] = {
        {"", 0, 0, false, false, "", vbYellow}, // leaves silently
        {"0.00400", 0, 0, false, true, "", vbRed},
        {"0.00500", 0, 0, false, true, "", vbRed},
        {"abc", 0, 0, false, true, "", vbRed},
        {"0.00501", 0, 0, true, false, "0.00501", vbYellow},
        {"0.5", 0, 0, true, false, "0.5", vbYellow},
        {"999.9", 0, 0, true, false, "999.9", vbYellow},
        {"", 1, 0, true, false, "", vbYellow},
        {"0.001", 1, 0, true, false, "0.001", vbYellow},
        {"", 0, 1, true, false, "", vbYellow},
        {"0.001", 0, 1, true, false, "0.001", vbYellow},
        {"1234", 0, 1, true, false, "1234", vbYellow},
    };
    FrmStoneID& w = *window;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.weight + std::string(" ") + std::to_string(c.noWeightAutoExport) + " " +
                     std::to_string(c.buttonExportMode));
        recording.messages.shown.clear();
        w.NoWeightAutoExport = c.noWeightAutoExport;
        w.ButtonExportMode = c.buttonExportMode;
        w.Shape1[0]->setFillColor(vbYellow);
        w.txtRealWgt->setText(c.weight);
        w.TxtLotno->setFocus();

        EXPECT_EQ(CheckWeight(w), c.goOn);
        EXPECT_EQ(w.txtRealWgt->text(), c.weightAfter);
        EXPECT_EQ(w.Shape1[0]->fillColor(), c.lampAfter);
        if (c.box) {
            ASSERT_EQ(recording.messages.shown.size(), 1u);
            EXPECT_EQ(recording.messages.shown[0].text, refusal);
            EXPECT_EQ(recording.messages.shown[0].title, "");
            EXPECT_EQ(recording.messages.shown[0].icon, MessageIcon::None);
            EXPECT_EQ(w.focusWidget(), w.txtRealWgt);
            EXPECT_EQ(w.txtRealWgt->cursorPosition(), 0);
        } else {
            EXPECT_TRUE(recording.messages.shown.empty());
            EXPECT_EQ(w.focusWidget(), w.TxtLotno);
        }
    }
    EXPECT_EQ(w.msgb1->text(), "");
    EXPECT_EQ(program.ExportWarningFlag, 0);
}

TEST_F(WeightTest, AReadingThatLostItsPointIsSubstituted) {
    FrmStoneID& w = *window;
    w.txtRealWgt->setReadOnly(false);
    w.txtRealWgt->setText("1234");
    EXPECT_TRUE(CheckWeight(w));
    EXPECT_EQ(program.SubstitutedWeight, "0.1234");
    EXPECT_EQ(w.txtRealWgt->text(), "0.1234");
    EXPECT_TRUE(w.txtRealWgt->isReadOnly());
    EXPECT_EQ(w.Shape1[0]->fillColor(), vbGreen);
    EXPECT_EQ(w.msgb1->text(), statusPrefix + "Mettler Weight not transfered properly. We will "
                                              "substitute it with 0.1234  Crts");
    EXPECT_EQ(program.ExportWarningFlag, -1);
    EXPECT_TRUE(recording.messages.shown.empty());
}

TEST_F(WeightTest, VerdictByTheShapesLimitRow) {
    const struct {
        const char* weight;
        const char* mass;
        const char* shape;
        double percent;
        int colour;
        const char* message;
    } cases[] = {
        {"1.00000", "1.00", "Brilliant", 0, vbGreen, "big green"},
        {"1.00000", "0.98", "Brilliant", 2, vbGreen, "big green"}, // equal to green is green
        {"1.00000", "1.02", "Brilliant", 2, vbGreen, "big green"},
        {"1.00000", "0.97", "Brilliant", 3, vbYellow, "big yellow"},
        {"1.00000", "0.95", "Brilliant", 5, vbYellow, "big yellow"}, // equal to yellow
        {"1.00000", "0.9499", "Brilliant", 5.01, vbRed, "big red"},
        {"0.50000", "0.485", "Brilliant", 3, vbGreen, "small green"}, // 0.5 is small
        {"0.50001", "0.485", "Brilliant", 3, vbYellow, "big yellow"},
        {"0.5", "0.47", "Brilliant", 6, vbYellow, "small yellow"},
        {"0.5", "0.45", "Brilliant", 10, vbRed, "small red"},
        {"0.512 ct", "0.512", "Brilliant", 0, vbGreen, "big green"},
        {"1.00000", "0.99", "old miner's", 1, vbGreen, "miner green"}, // bound, any case
        {"1.00000", "0.985", "Old Miner's", 1.5, vbYellow, "miner yellow"},
        {"1.00000", "0.5", "OLD MINER'S", 50, vbRed, "miner red"},
    };
    FrmStoneID& w = *window;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.weight) + " " + c.mass + " " + c.shape);
        scanMass(c.mass);
        w.txtRealWgt->setText(c.weight);
        w.cboShape->setEditText(c.shape);
        w.CurrentShape = "kept";
        w.Text_ok->setBackColor(vbWhite);
        double percent = -1;
        JudgeWeight(w, percent);
        EXPECT_DOUBLE_EQ(percent, c.percent);
        EXPECT_EQ(w.Text_ok->backColor(), c.colour);
        EXPECT_EQ(w.WeightMessage, c.message);
        EXPECT_EQ(w.Text_ok->text(), c.message);
        EXPECT_EQ(w.TxtHP_Wgt->text(), c.mass);
        EXPECT_EQ(w.CurrentShape, "kept");
    }
    EXPECT_EQ(w.msgb1->text(), "");
    EXPECT_EQ(program.ExportWarningFlag, 0);
}

// A limit is the number its column shows, as the key file would write it: a REAL stored
// as 0.7 - 0.4 is 0.3, a SINGLE that the converter stored as 2.0999999 is 2.1.
TEST_F(WeightTest, ALimitIsReadByTheTextItsColumnShows) {
    const struct {
        const char* type;
        const char* green; // SQL of the stored green limit
        const char* mass;  // of a stone of 1 ct
        double percent;
        int colour;
    } cases[] = {
        {"REAL", "0.7 - 0.4", "0.997", 0.3, vbGreen},
        {"REAL", "0.3", "0.997", 0.3, vbGreen},
        {"REAL", "0.7 - 0.4", "0.9969", 0.31, vbYellow},
        {"SINGLE", "2.0999999", "0.979", 2.1, vbGreen},
        {"SINGLE", "2.0999999", "0.9789", 2.11, vbYellow},
        {"REAL", "2.0999999", "0.979", 2.1, vbYellow}, // a double holds what it holds
        {"TEXT", "'0.3'", "0.997", 0.3, vbGreen},
        {"", "0.7 - 0.4", "0.997", 0.3, vbGreen},
    };
    FrmStoneID& w = *window;
    const Database& reports = *w.ReportsConnection;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.green + " " + c.mass);
        ASSERT_TRUE(reports.exec("DROP TABLE Weight_Limits"));
        ASSERT_TRUE(reports.exec(QString("CREATE TABLE Weight_Limits (Shape TEXT, Green %1, "
                                         "GreenMessage TEXT, Yellow %1, YellowMessage TEXT, "
                                         "RedMessage TEXT)")
                                     .arg(c.type)));
        ASSERT_TRUE(reports.exec(QString("INSERT INTO Weight_Limits VALUES ('Brilliant', %1, "
                                         "'green', 5, 'yellow', 'red')")
                                     .arg(c.green)));
        scanMass(c.mass);
        w.txtRealWgt->setText("1.00000");
        w.Text_ok->setBackColor(vbWhite);
        double percent = -1;
        JudgeWeight(w, percent);
        EXPECT_DOUBLE_EQ(percent, c.percent);
        EXPECT_EQ(w.Text_ok->backColor(), c.colour);
    }
}

TEST_F(WeightTest, AShapeWithoutLimitsIsReportedAndLeavesTheVerdictAsItWas) {
    FrmStoneID& w = *window;
    scanMass("0.98");
    w.txtRealWgt->setText("1.0");
    w.cboShape->setEditText("Oval");
    w.WeightMessage = "from HyperParam";
    w.Text_ok->setText("before");
    double percent = 0;
    JudgeWeight(w, percent);
    EXPECT_EQ(w.msgb1->text(), statusPrefix + "Invalid Entries...Please contact Developers");
    EXPECT_EQ(program.ExportWarningFlag, -1);
    EXPECT_EQ(w.WeightMessage, "from HyperParam");
    EXPECT_EQ(w.Text_ok->text(), "before");
    EXPECT_EQ(w.Text_ok->backColor(), vbWhite);
    EXPECT_EQ(w.txtRealWgt->text(), "1.00000");
}

TEST_F(WeightTest, AnEmptyMessageColumnKeepsTheMessageButSetsTheColour) {
    FrmStoneID& w = *window;
    scanMass("1");
    w.txtRealWgt->setText("1");
    w.cboShape->setEditText("Heart");
    w.WeightMessage = "from HyperParam";
    double percent = -1;
    JudgeWeight(w, percent);
    EXPECT_EQ(percent, 0);
    EXPECT_EQ(w.Text_ok->backColor(), vbGreen);
    EXPECT_EQ(w.WeightMessage, "from HyperParam");
    EXPECT_EQ(w.Text_ok->text(), "from HyperParam");
}

TEST_F(WeightTest, CorrectedMassFromTheKeyFileElseFromTheScan) {
    const struct {
        QStringList keyFile;
        const char* scanMass; // nullptr: test.txt has no CORRECTED_MASS
        const char* shown;
        double percent;
        int colour;
    } cases[] = {
        {{"CORRECTED_MASS = 0.98"}, "0.5", "0.98", 2, vbGreen},
        {{"Scan.CORRECTED_MASS = 0.5"}, "0.98", "0.98", 2, vbGreen},
        {{}, "0.97", "0.97", 3, vbYellow},
        {{"Scan.CORRECTED_MASS = 0.98"}, nullptr, "", 100, vbRed},
    };
    FrmStoneID& w = *window;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keyFile.join(", ").toStdString());
        dir.writeLines("test_export.txt", QStringList{"[NumericalParameters]"} + c.keyFile);
        if (c.scanMass)
            scanMass(c.scanMass);
        else
            dir.writeLines("test.txt", {"[NumericalParameters]", "WEIGHT_4_CT = 0.98"});
        w.txtRealWgt->setText("1.00000");
        double percent = -1;
        JudgeWeight(w, percent);
        EXPECT_EQ(w.TxtHP_Wgt->text(), c.shown);
        EXPECT_DOUBLE_EQ(percent, c.percent);
        EXPECT_EQ(w.Text_ok->backColor(), c.colour);
    }
}

TEST_F(WeightTest, AZeroWeightJudgesThePlainDifference) {
    FrmStoneID& w = *window;
    scanMass("0.98");
    w.NoWeightAutoExport = 1;
    w.txtRealWgt->setText("");
    double percent = -1;
    JudgeWeight(w, percent);
    EXPECT_TRUE(std::isfinite(percent));
    EXPECT_DOUBLE_EQ(percent, 98);
    EXPECT_EQ(w.WeightMessage, "small red");
    EXPECT_EQ(w.txtRealWgt->text(), "0.00000");
}

TEST_F(WeightTest, TheWeightTextIsCleanedToFiveDecimals) {
    const struct {
        const char* weight;
        const char* cleaned;
    } cases[] = {
        {"0.512 ct", "0.51200"}, {"1.2c3", "1.20000"},  {"c...", "0.00000"},
        {" 0.5 C", "0.50000"},   {"0.1234", "0.12340"}, {"0.123456", "0.12346"},
        {"0.1234 ", "0.12340"},  {"-0", "0.00000"},     {"1.5E-3 ct", "0.00150"},
    };
    FrmStoneID& w = *window;
    scanMass("0.5");
    for (const qint16 fixed : {0, 1}) {
        w.FixedDecimalFormat = fixed;
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.weight) + " fixed " + std::to_string(fixed));
            w.txtRealWgt->setText(c.weight);
            double percent = 0;
            JudgeWeight(w, percent);
            EXPECT_EQ(w.txtRealWgt->text(), c.cleaned);
        }
    }
    EXPECT_EQ(cleanedWeightText("0.51 Ct c"), "0.51");
}

} // namespace
} // namespace tav
