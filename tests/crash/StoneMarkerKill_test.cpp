#include "support/SampleFolder.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QProcess>

#include <gtest/gtest.h>

namespace tav {
namespace {

const QString kMarker = QStringLiteral("Export/ZUV/K7-10482_0");

// The real program on a copy of the sample folder with the once-per-stone marker armed,
// exporting the sample stone at start-up.
class StoneMarkerKillTest : public ::testing::TestWithParam<const char*> {
protected:
    static void layOut(const test::TempProgramFolder& dir, const QString& layout) {
        test::copySampleFolder(dir);
        test::setLine(dir, "ExportPa.txt", 8, layout);
        test::setLine(dir, "ExportPa.txt", 18, "1"); // export at start-up
        dir.write("Export/ZUV/ZUV", "");
    }

    // Runs the program on the folder to its end, or under the wrapper's command; true
    // when it ended by itself with 0.
    static bool run(const test::TempProgramFolder& dir, const QStringList& wrapper = {}) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("TAVEXPORT_COM1", dir.filePath("no-balance"));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.path());
        const QStringList command{TAV_EXECUTABLE, "--program-folder", dir.path(), "-platform",
                                  "offscreen"};
        process.start(wrapper.isEmpty() ? command.first() : wrapper.first(),
                      wrapper.isEmpty() ? command.mid(1) : wrapper.mid(1) + command);
        EXPECT_TRUE(process.waitForStarted(60000));
        EXPECT_TRUE(process.waitForFinished(240000));
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    // strace kills the program as it first writes into, or closes, the marker it has just
    // made: the marker stands, and nothing after it has run.
    static QStringList killedOnceTheMarkerIsMade(const test::TempProgramFolder& dir) {
        const QString marker = QDir(dir.path()).canonicalPath() + u'/' + kMarker;
        return {"strace", "-f",
                "-o",     "/dev/null",
                "-e",     "trace=write,close",
                "-e",     "inject=write,close:signal=KILL",
                "-P",     marker,
                "--"};
    }

    QString layout() const { return QString::fromLatin1(GetParam()); }
    QString layoutFile() const {
        return layout() == u"Row" ? QStringLiteral("Export/bench_rows.txt")
                                  : QStringLiteral("Export/bench_cols.txt");
    }
};

TEST_P(StoneMarkerKillTest, AKillRightAfterTheMarkerAppearsFindsTheStonesFilesWhole) {
    // What the stone's files hold when its export runs to the end.
    test::TempProgramFolder whole;
    layOut(whole, layout());
    ASSERT_TRUE(run(whole));
    const QByteArray stone = whole.read("Export/K7-10482.txt");
    const QByteArray layoutBlock = whole.read(layoutFile());
    ASSERT_FALSE(stone.isEmpty());
    ASSERT_FALSE(layoutBlock.isEmpty());
    ASSERT_EQ(whole.read(kMarker), "K7-10482_0\r\n");

    test::TempProgramFolder dir;
    layOut(dir, layout());
    EXPECT_FALSE(run(dir, killedOnceTheMarkerIsMade(dir))) << "the program was not killed";
    ASSERT_TRUE(dir.exists(kMarker));
    EXPECT_EQ(dir.read(kMarker), "") << "killed before its line";
    // The marker keeps the stone from being exported again: its files must be whole.
    EXPECT_EQ(dir.read("Export/K7-10482.txt"), stone);
    EXPECT_EQ(dir.read(layoutFile()), layoutBlock);
    EXPECT_EQ(QDir(dir.filePath("Export")).entryList(QDir::Files | QDir::Hidden),
              QDir(whole.filePath("Export")).entryList(QDir::Files | QDir::Hidden))
        << "nothing half-done beside them";

    // The next run ends at once and leaves them so.
    EXPECT_TRUE(run(dir));
    EXPECT_EQ(dir.read("Export/K7-10482.txt"), stone);
    EXPECT_EQ(dir.read(layoutFile()), layoutBlock);
}

INSTANTIATE_TEST_SUITE_P(Layouts, StoneMarkerKillTest, ::testing::Values("Row", "Col"));

} // namespace
} // namespace tav
