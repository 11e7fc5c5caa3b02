#include "app/FrmStoneID.h"
#include "app/StartUp.h"
#include "platform/Database.h"
#include "support/RecordingPlatform.h"
#include "support/SampleFolder.h"

#include <QDir>

#include <gtest/gtest.h>

namespace tav {
namespace {

// What the README's run command shows: the sample stone, exported with the EXPORT
// button.
using SampleExportTest = test::SampleFolderTest;

TEST_F(SampleExportTest, PressingExportWritesTheSampleStonesFilesAndEndsTheProgram) {
    FrmStoneID w(dir.folder(), services, program);
    ASSERT_EQ(Form_Load(w), StartUpOutcome::Waiting);
    ASSERT_FALSE(w.Cmd_OK->isHidden()) << "the button mode of the sample shows EXPORT";
    const QByteArray settingsBefore = dir.read("ExportPa.txt");

    w.Cmd_OK->click();

    // The button mode writes no weight; the proportions are rounded with fixed decimals.
    const QByteArray stone = dir.read("Export/K7-10482.txt");
    EXPECT_EQ(stone, "K7-10482,,,ROUND-P8_8-P8_8,ROUND,8888,G,VS1,EX,EX,None,57.3,34.5,40.8,"
                     "61.7,5.12,K7,Asha,\r\n");
    EXPECT_EQ(dir.read("Export/bench_rows.txt"), stone + " \r\n");
    EXPECT_EQ(dir.read("Ascii/K7-10482.txt"), stone);
    // The sample starts in manual mode without its balance: that warning is logged.
    const QByteArray log = dir.read("Logs/K7-10482.log");
    EXPECT_TRUE(log.startsWith("\n\r")) << log.constData();
    EXPECT_TRUE(log.contains("Mettlar Communication Error")) << log.constData();
    EXPECT_TRUE(log.endsWith("\r\n"));
    EXPECT_NE(dir.read("ExportPa.txt"), settingsBefore);
    EXPECT_TRUE(dir.read("ExportPa.txt").contains("\r\n0.51200\r\n")) << "the cleaned weight";
    EXPECT_FALSE(dir.exists("test_export.txt"));
    ASSERT_EQ(recording.batches.started.size(), 1u);
    EXPECT_EQ(recording.batches.started[0].file, dir.filePath("user_1.bat"));
    EXPECT_EQ(recording.programEnd.endCount, 1);
    EXPECT_TRUE(recording.messages.shown.empty());
}

// A grade or shape that the UserData row does not give stays empty through start-up and
// goes out empty; an empty shape takes the template of any other shape text.
TEST_F(SampleExportTest, GradesAndShapesThatNothingSetAreExportedEmpty) {
    const QString proportions = "57.3,34.5,40.8,61.7,5.12,";
    const struct {
        const char* name;
        QStringList statements; // on the sample's Reports.mdb
        const char* cuttingType;
        QString stoneLine;
        // COLOR, CLARITY, Polish, SYMMETRY, ShapeName of the UserData row written
        QStringList userData;
    } cases[] = {
        {"colour and clarity Null",
         {"UPDATE UserData SET COLOR = NULL, CLARITY = NULL"},
         "Brilliant",
         "K7-10482,,,ROUND-P8_8-P8_8,ROUND,8888,,,EX,EX,None," + proportions + "K7,Asha,",
         {"", "", "EX", "EX", "Brilliant"}},
        // Position 6 is OPERATOR there and 12 isBookmark, both Null.
        {"a standard table and a cutting type not in the list",
         test::standardUserDataTable(),
         "Trillion",
         "K7-10482,,,,FANCY,4444,G,VS1,,,None," + proportions + ",Asha,",
         {"G", "VS1", "", "", ""}},
        {"shape name Null and a cutting type not in the list",
         {"UPDATE UserData SET ShapeName = NULL"},
         "Trillion",
         "K7-10482,,,,FANCY,4444,G,VS1,EX,EX,None," + proportions + "K7,Asha,",
         {"G", "VS1", "EX", "EX", ""}},
        // No table for the empty shape: the step-cut template, here without proportions.
        {"an empty shape without a Template_GIA table",
         {"UPDATE UserData SET ShapeName = NULL", "DROP TABLE Template_GIA",
          "DELETE FROM Template_GIAStepCut WHERE ItemName LIKE 'Proportions.%'"},
         "Trillion",
         "K7-10482,,,,FANCY,4444,G,VS1,EX,EX,None,K7,Asha,",
         {"G", "VS1", "EX", "EX", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::SampleWindow sample(c.statements, c.cuttingType);
        FrmStoneID& w = *sample.window;
        const test::TempProgramFolder& folder = sample.folder;
        const test::RecordingPlatform& doubles = sample.doubles;
        ASSERT_EQ(Form_Load(w), StartUpOutcome::Waiting);
        w.Cmd_OK->click();

        EXPECT_EQ(folder.read("Export/K7-10482.txt").toStdString(),
                  (c.stoneLine + "\r\n").toStdString());
        EXPECT_EQ(doubles.programEnd.endCount, 1);
        const bool shapeFound = QString(c.cuttingType) == "Brilliant";
        ASSERT_EQ(doubles.messages.shown.size(), shapeFound ? 0u : 1u);
        if (!shapeFound) {
            EXPECT_EQ(doubles.messages.shown[0].title, "SHAPE NOT PRESENT");
        }
        const auto reports = Database::openExisting(folder.filePath("Reports.mdb"));
        const auto row =
            reports->select("SELECT COLOR, CLARITY, Polish, SYMMETRY, ShapeName FROM UserData");
        ASSERT_TRUE(row && row->rows.size() == 1);
        QStringList stored;
        for (const QVariant& value : row->rows[0]) {
            EXPECT_FALSE(value.isNull()) << "an empty text, not no value";
            stored.append(value.toString());
        }
        EXPECT_EQ(stored.join(" | ").toStdString(), c.userData.join(" | ").toStdString());
        QDir::setCurrent(previousFolder);
    }
}

} // namespace
} // namespace tav
