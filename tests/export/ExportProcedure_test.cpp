#include "export/ExportProcedure.h"

#include "app/FrmStoneID.h"
#include "platform/Database.h"
#include "support/DatabaseLock.h"
#include "support/RecordingPlatform.h"
#include "support/StartedWindow.h"
#include "support/TempProgramFolder.h"

#include <QDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace tav {
namespace {

// A pause that runs something while the export is blocked in it.
class PauseThatRuns final : public Pause {
public:
    void sleep(int milliseconds) override {
        pauses.push_back(milliseconds);
        if (during)
            during();
    }
    std::vector<int> pauses;
    std::function<void()> during;
};

class ExportProcedureTest : public ::testing::Test {
protected:
    ExportProcedureTest() {
        dir.createDatabase(
            "Reports.mdb",
            {"CREATE TABLE UserData (ID INTEGER, STONE_ID TEXT, RealWeight TEXT, LOT TEXT, "
             "ZED_TBLMAX REAL)",
             "INSERT INTO UserData VALUES (5, 'OLD-1', '0.1', 'L0', 1)",
             "CREATE TABLE Weight_Limits (Shape TEXT, Green REAL, GreenMessage TEXT, "
             "Yellow REAL, YellowMessage TEXT, RedMessage TEXT)",
             "CREATE TABLE Weight_Limits_small (Shape TEXT, Green REAL, GreenMessage TEXT, "
             "Yellow REAL, YellowMessage TEXT, RedMessage TEXT)",
             // A deviation above 0 is no longer green.
             "INSERT INTO Weight_Limits VALUES ('Brilliant', 0, 'within limits', 3, 'check', "
             "'rescan')",
             "CREATE TABLE Template_GIA (Item TEXT, Label TEXT, Format INTEGER)",
             "INSERT INTO Template_GIA VALUES ('UserData.STONE_ID', 'Stone', -1)",
             "INSERT INTO Template_GIA VALUES ('UserData.RealWeight', 'Weight', -1)",
             "INSERT INTO Template_GIA VALUES ('UserData.ZED_TBLMAX', 'Table', 1)",
             "INSERT INTO Template_GIA VALUES ('Old.KEY', 'Old', 1)",
             "INSERT INTO Template_GIA VALUES ('GIA_FACETIDENTY', 'Facet', -1)"});
        dir.writeLines("testSetting.txt", {"UserData"});
        dir.writeLines("test.txt", {"[NumericalParameters]", "CORRECTED_MASS = 0.512",
                                    "TABLE_MM_MAX = 3.2", "WIDTH_MM = 5.12"});
        test::writeStartUpFiles(dir);
        startWindow();
    }

    // A start of the program: start-up, then the operator's entries.
    void startWindow() {
        window = std::make_unique<FrmStoneID>(dir.folder(), platform, program);
        FrmStoneID& w = *window;
        EXPECT_EQ(test::startUp(w, recording), StartUpOutcome::Waiting);
        startUpKeyFile = dir.read("test_export.txt");
        // A key file left by an earlier build, in the place of the one start-up built.
        dir.writeLines("test_export.txt", {"[NumericalParameters]", "Old.KEY = 1"});
        w.txtStoneID->setText("AB-12");
        w.TxtLotno->setText("L7");
        w.txtRealWgt->setText("0.512 ct");
        w.cboShape->setEditable(true);
        w.cboShape->setEditText("Brilliant");
        QDir().mkpath(dir.filePath("Export"));
        w.TxtExport->setText(dir.filePath("Export"));
        w.TxtACExport->setText(dir.filePath("Export"));
        w.TxtFileName->setText("bench");
        w.txtSysnumber->setText("txt");
        w.TXTSYMBOL->setText(",");
        w.CBOFORMAT->setCurrentText("Row");
    }

    void otherProgram(const QString& statements) const {
        test::runInOtherProgram(dir.filePath("Reports.mdb"), statements);
    }

    QList<QVariantList> userDataRows() const {
        const auto database = Database::openExisting(dir.filePath("Reports.mdb"));
        const auto rows = database->select("SELECT ID, STONE_ID, RealWeight FROM UserData");
        return rows ? rows->rows : QList<QVariantList>{};
    }

    test::TempProgramFolder dir;
    test::StartUpBalance balance;
    test::RecordingPlatform recording;
    PauseThatRuns pause;
    Platform platform{recording.messages, pause,
                      recording.batches,  recording.programEnd,
                      recording.folders,  recording.environment,
                      recording.clock};
    ProgramWide program;
    std::unique_ptr<FrmStoneID> window;
    QByteArray startUpKeyFile;
};

TEST_F(ExportProcedureTest, RunsThePhasesInOrderAndKeepsTheValuesOfTheExport) {
    FrmStoneID& w = *window;
    EXPECT_EQ(ExportData(w), ExportOutcome::Completed);

    EXPECT_EQ(pause.pauses, std::vector<int>{2000});
    const QList<QVariantList> rows = userDataRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].toInt(), 101);
    EXPECT_EQ(rows[0][2].toString(), "0.512 ct"); // stored before the weight was cleaned
    EXPECT_FLOAT_EQ(program.TablePercent, 62.5f);

    // The key file was rebuilt after the row was written, and deleted at the end. The
    // items are those of Template_GIA, the facet code the brilliant's.
    EXPECT_EQ(dir.read("Export/AB-12.txt"), "AB-12,0.512 ct,62.5,,8888,");
    EXPECT_FALSE(dir.exists("test_export.txt"));

    EXPECT_EQ(w.TemplateShapeName, "ROUND-P8_8-P8_8");
    EXPECT_EQ(w.ProgressBar1->value(), 5);
    // Green under a green limit of 0: no deviation from the corrected mass.
    EXPECT_EQ(w.Text_ok->backColor(), vbGreen);
    EXPECT_EQ(w.WeightMessage, "within limits");
    EXPECT_EQ(w.TxtHP_Wgt->text(), "0.512");
    EXPECT_EQ(w.txtRealWgt->text(), "0.51200");
    EXPECT_EQ(w.msgb1->text(), "");
    EXPECT_TRUE(recording.messages.shown.empty());
    EXPECT_EQ(recording.programEnd.endCount, 1);
}

TEST_F(ExportProcedureTest, ARefusedWeightLeavesAfterTheRowAndTheKeyFile) {
    FrmStoneID& w = *window;
    w.txtRealWgt->setText("0.004");
    EXPECT_EQ(ExportData(w), ExportOutcome::Left);

    EXPECT_FALSE(w.exportInProgress);
    ASSERT_EQ(recording.messages.shown.size(), 1u);
    const QList<QVariantList> rows = userDataRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][2].toString(), "0.004");
    EXPECT_TRUE(dir.read("test_export.txt").contains("UserData.RealWeight = 0.004\r\n"));
    EXPECT_EQ(w.ProgressBar1->value(), 0);
    EXPECT_EQ(w.Text_ok->backColor(), vbWhite);

    // The operator takes the weight again and exports anew.
    w.txtRealWgt->setText("0.512");
    w.txtStoneID->setText("AB-13");
    EXPECT_EQ(ExportData(w), ExportOutcome::Completed);
    const QList<QVariantList> after = userDataRows();
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(after[0][0].toInt(), 101);
    EXPECT_EQ(after[0][1].toString(), "AB-13");
    EXPECT_EQ(pause.pauses, (std::vector<int>{2000, 2000}));
    EXPECT_FALSE(w.exportInProgress);
}

// Start-up read the listed tables through the run's connection; another program changes
// them while the export pauses after writing the row. The rebuild reads them as the file
// holds them then: this export's row, a new column, a declared type that changed.
TEST_F(ExportProcedureTest, TheRebuildReadsTheListedTablesAsTheFileHoldsThemThen) {
    otherProgram("CREATE TABLE Flags (Done TEXT); INSERT INTO Flags VALUES ('1');");
    dir.writeLines("testSetting.txt", {"UserData", "Flags"});
    startWindow();
    EXPECT_EQ(startUpKeyFile, "[NumericalParameters]\r\nUserData.ID = 5\r\n"
                              "UserData.STONE_ID = OLD-1\r\nUserData.RealWeight = 0.1\r\n"
                              "UserData.LOT = L0\r\nUserData.ZED_TBLMAX = 1\r\n"
                              "Flags.Done = 1\r\n");

    // A refused weight leaves the export right after the rebuild, with the key file.
    window->txtRealWgt->setText("0.004");
    pause.during = [&] {
        otherProgram("ALTER TABLE UserData ADD COLUMN Grade TEXT DEFAULT 'VG'; DROP TABLE Flags; "
                     "CREATE TABLE Flags (Done BOOLEAN); INSERT INTO Flags VALUES (1);");
    };
    EXPECT_EQ(ExportData(*window), ExportOutcome::Left);
    EXPECT_EQ(dir.read("test_export.txt"),
              "[NumericalParameters]\r\nUserData.ID = 101\r\nUserData.STONE_ID = AB-12\r\n"
              "UserData.RealWeight = 0.004\r\nUserData.LOT = L7\r\n"
              "UserData.ZED_TBLMAX = 62.5\r\nUserData.Grade = VG\r\nFlags.Done = True\r\n");
}

TEST_F(ExportProcedureTest, AnEmptyWeightLeavesWithoutABox) {
    window->txtRealWgt->clear();
    EXPECT_EQ(ExportData(*window), ExportOutcome::Left);
    EXPECT_TRUE(recording.messages.shown.empty());
    EXPECT_EQ(userDataRows().size(), 1);
}

TEST_F(ExportProcedureTest, NoSecondExportStartsWhileOneRuns) {
    FrmStoneID& w = *window;
    std::vector<ExportOutcome> inner;
    pause.during = [&] {
        w.txtStoneID->setText("INNER-1");
        inner.push_back(ExportData(w));
        EXPECT_TRUE(w.exportInProgress);
    };
    EXPECT_EQ(ExportData(w), ExportOutcome::Completed);
    EXPECT_EQ(inner, std::vector<ExportOutcome>{ExportOutcome::AlreadyRunning});
    EXPECT_EQ(pause.pauses, std::vector<int>{2000});
    EXPECT_EQ(userDataRows().size(), 1);
    // The outer export's row, under the ID the field held when the files were named.
    EXPECT_EQ(dir.read("Export/INNER-1.txt"), "AB-12,0.512 ct,62.5,,8888,");
    EXPECT_FALSE(w.exportInProgress);
}

TEST_F(ExportProcedureTest, ACallDuringAnExportChangesNothing) {
    FrmStoneID& w = *window;
    w.exportInProgress = true;
    EXPECT_EQ(ExportData(w), ExportOutcome::AlreadyRunning);
    EXPECT_TRUE(w.exportInProgress); // still the running export's
    EXPECT_TRUE(pause.pauses.empty());
    const QList<QVariantList> rows = userDataRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][1].toString(), "OLD-1");
    EXPECT_TRUE(dir.read("test_export.txt").contains("Old.KEY"));
}

TEST_F(ExportProcedureTest, TheRunningFlagIsClearedOnEveryWayOut) {
    FrmStoneID& w = *window;
    pause.during = [] { throw std::runtime_error("unexpected"); };
    EXPECT_THROW(ExportData(w), std::runtime_error);
    EXPECT_FALSE(w.exportInProgress);
}

} // namespace
} // namespace tav
