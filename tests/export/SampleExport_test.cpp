#include "app/FrmStoneID.h"
#include "app/StartUp.h"
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

} // namespace
} // namespace tav
