#include "export/ClosingSteps.h"

#include "export/ExportFixture.h"
#include "export/ProblemLog.h"

#include <QFileInfo>
#include <QTemporaryDir>

namespace tav {
namespace {

using test::exportFixture;

class ClosingStepsTest : public test::ExportFixture {};

TEST_F(ClosingStepsTest, TheVerdictAndEarlierWarningsMakeTheProblemLog) {
    const QByteArray yellow = "\n\rWARNING !!! Data is exported BUT ........ Weight deviates..... "
                              "We Advice you to clean & Rescan.....";
    const QByteArray red = "\n\rSTOP .... CRITICAL - Rescan the Stone - Though the Data is "
                           "exported ...... Weight does not match..........";
    const QByteArray earlier = "\n\rSTOP .... Mettlar Communication Error  !!!! ";
    // A corrected mass of 0.5123 is no deviation, 0.5023 is 1.95 %, 0.4823 is 5.86 %.
    const struct {
        const char* correctedMass;
        bool earlierWarning;
        int colour;
        QByteArray log; // empty: no log
    } cases[] = {
        {"0.5123", false, vbGreen, {}},
        {"0.5123", true, vbGreen, earlier + "\r\n"},
        {"0.5023", false, vbYellow, yellow + "\r\n"},
        {"0.5023", true, vbYellow, earlier + yellow + "\r\n"},
        {"0.4823", false, vbRed, red + "\r\n"},
        {"0.4823", true, vbRed, earlier + red + "\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.correctedMass) + (c.earlierWarning ? " warned" : ""));
        // A log of an earlier export of the stone is replaced whole.
        dir.write("Logs/AB12.log", QByteArray(500, 'x'));
        writeScan("AB12", c.correctedMass);
        startRun();
        if (c.earlierWarning)
            window().appendWarning("STOP .... Mettlar Communication Error  !!!! ");

        ASSERT_EQ(exportStone(), ExportOutcome::Completed);

        EXPECT_EQ(window().Text_ok->backColor(), c.colour);
        if (c.log.isEmpty())
            EXPECT_EQ(dir.read("Logs/AB12.log"), QByteArray(500, 'x')) << "not written";
        else
            EXPECT_EQ(dir.read("Logs/AB12.log"), c.log);
        EXPECT_TRUE(recording().messages.shown.empty()) << "a verdict is no failed file";
        EXPECT_EQ(recording().programEnd.endCount, 1);
    }
}

TEST_F(ClosingStepsTest, WithoutALogFolderTheLogLiesInTheProgramFolder) {
    window().LogFolder.clear();
    window().appendWarning("earlier warning");
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("AB12.log"), "\n\rearlier warning\r\n");
    EXPECT_FALSE(QFileInfo::exists("/AB12.log"));
    EXPECT_EQ(problemLogPath(window()), path("AB12.log"));
}

TEST_F(ClosingStepsTest, FilesThatCouldNotBeWrittenAreLoggedAndNeverReportedAsSuccess) {
    // A plain file stands where the stone's folder would go: nothing can be created in it,
    // whoever runs the program.
    dir.write("Export/AB12", "not a folder");
    window().StoneSubFolder = 1;
    window().BracketStoneId = -1;

    ASSERT_EQ(exportStone(), ExportOutcome::Completed);

    const QString stone = path("Export/AB12/[AB12].txt");
    const QString layout = path("Export/AB12/bench_rows.txt");
    const QString copy = path("Ascii/AB12/[AB12].txt");
    const QString failures = "Export file could not be written : " + stone +
                             "\n\rExport file could not be written : " + layout +
                             "\n\rExport file could not be copied to : " + copy;
    EXPECT_EQ(dir.read("Logs/[AB12].log"), ("\n\r" + failures + "\r\n").toLocal8Bit());
    EXPECT_EQ(run->program.ExportWarningFlag, -1);
    ASSERT_EQ(recording().messages.shown.size(), 1u);
    const test::ShownMessage& box = recording().messages.shown[0];
    EXPECT_EQ(box.title, "EXPORT NOT COMPLETE");
    EXPECT_EQ(box.icon, MessageIcon::Critical);
    EXPECT_TRUE(box.text.startsWith("Export finished with errors - see the problem log"));
    EXPECT_TRUE(box.text.contains(copy));
    // The run still ends as every export does.
    EXPECT_EQ(recording().batches.started.size(), 1u);
    EXPECT_EQ(recording().programEnd.endCount, 1);
    EXPECT_FALSE(dir.exists("test_export.txt"));
}

TEST_F(ClosingStepsTest, WithoutAnAsciiFolderNoCopyIsWantedAndNothingIsSaid) {
    for (const char* unset : {"", "   "}) {
        SCOPED_TRACE(std::string("ASCII folder '") + unset + "'");
        startRun();
        window().TxtACExport->setText(unset);
        ASSERT_EQ(exportStone(), ExportOutcome::Completed);
        EXPECT_FALSE(dir.exists("Logs/AB12.log"));
        EXPECT_EQ(run->program.ExportWarningFlag, 0);
        EXPECT_TRUE(recording().messages.shown.empty());
        EXPECT_EQ(dir.read("Export/AB12.txt"), exportFixture("row_plain_stone.txt"));
        EXPECT_FALSE(dir.exists("Ascii/AB12.txt"));
        EXPECT_EQ(recording().programEnd.endCount, 1);
    }
}

TEST_F(ClosingStepsTest, ACopyIntoAnAsciiFolderThatCannotTakeItIsReportedWithoutBracketsToo) {
    // A plain file stands where the ASCII folder should be.
    dir.write("Ascii", "not a folder");
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Logs/AB12.log"),
              ("\n\rExport file could not be copied to : " + path("Ascii/AB12.txt") + "\r\n")
                  .toLocal8Bit());
    ASSERT_EQ(recording().messages.shown.size(), 1u);
    EXPECT_EQ(recording().messages.shown[0].title, "EXPORT NOT COMPLETE");
    EXPECT_EQ(dir.read("Export/AB12.txt"), exportFixture("row_plain_stone.txt"));
}

TEST_F(ClosingStepsTest, AMissingSettingsFileIsNotCreatedButReported) {
    QFile::remove(path("ExportPa.txt"));
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_FALSE(dir.exists("ExportPa.txt"));
    EXPECT_EQ(dir.read("Logs/AB12.log"),
              ("\n\rSettings file could not be written : " + path("ExportPa.txt") + "\r\n")
                  .toLocal8Bit());
    EXPECT_EQ(recording().messages.shown.at(0).title, "EXPORT NOT COMPLETE");
}

TEST_F(ClosingStepsTest, TheMergedColumnFileReplacesTheLayoutFileInOneStep) {
    FrmStoneID& w = window();
    w.ExportTextFile = path("Export/bench_cols.txt");
    w.ColumnTempFile = path("Export/bench_colstmp.txt");
    w.StoneExportFile = path("Export/AB12.txt");
    w.CBOFORMAT->setCurrentText("Col");
    dir.write("Export/bench_cols.txt", "A,\r\nB,\r\n");
    QDir().mkpath(path("Ascii"));
    bool tableFileExisted = true;
    OpenExportStreams(w, tableFileExisted);
    ASSERT_EQ(w.ColumnMergeMode, -1);
    EXPECT_FALSE(tableFileExisted);
    for (const char* entry : {"C,", "D,"}) {
        w.StoneExportStream->writeLine(entry);
        w.ColumnTempStream->writeLine(*w.ExportTextStream->readLine() + entry);
    }
    ExportFailures failures;
    ClosingSteps(w, path("Ascii/AB12.txt"), QString(), failures);

    EXPECT_FALSE(failures.any());
    EXPECT_EQ(dir.read("Export/bench_cols.txt"), "A,C,\r\nB,D,\r\n");
    EXPECT_FALSE(dir.exists("Export/bench_colstmp.txt"));
    EXPECT_EQ(dir.read("Export/AB12.txt"), "C,\r\nD,\r\n") << "no closing line for Col";
}

} // namespace
} // namespace tav
