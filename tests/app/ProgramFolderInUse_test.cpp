#include "app/FrmStoneID.h"
#include "app/StartUp.h"
#include "support/RecordingPlatform.h"
#include "support/SampleFolder.h"
#include "support/TempProgramFolder.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLockFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace tav {
namespace {

// Two starts of the program on one program folder, as a double click at the bench gives
// them: the real program in a process of its own, and a second start in this process
// with recording doubles.
class ProgramFolderInUseTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::copySampleFolder(dir);
        // No balance answers: a device path that does not exist, in this test's folder.
        qputenv("TAVEXPORT_COM1", QFile::encodeName(dir.filePath("no-balance")));
    }
    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(60000);
        }
        qunsetenv("TAVEXPORT_COM1");
        QDir::setCurrent(previousFolder);
    }

    void startProgram() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(dir.path());
        program.start(TAV_EXECUTABLE, {"--program-folder", dir.path(), "-platform", "offscreen"});
        ASSERT_TRUE(program.waitForStarted(60000));
    }

    // True once the program holds the folder (its lock names it), false when it ended
    // first.
    bool programHoldsTheFolder() {
        const QLockFile lock(dir.filePath(".tavexport.lock"));
        const QDeadlineTimer deadline(60000);
        qint64 holder = 0;
        QString host;
        QString application;
        while (!lock.getLockInfo(&holder, &host, &application) || holder != program.processId()) {
            if (program.state() == QProcess::NotRunning || program.waitForFinished(1) ||
                deadline.hasExpired())
                return false;
        }
        return true;
    }

    // A start of the program in this process, on the same folder.
    struct SecondStart {
        explicit SecondStart(const test::TempProgramFolder& dir)
            : window(dir.folder(), platform, wide) {}
        test::RecordingPlatform doubles;
        Platform platform = doubles.platform();
        ProgramWide wide;
        FrmStoneID window;
    };

    // Every file of the program folder by its path inside it.
    std::map<QString, QByteArray> folderFiles() const {
        std::map<QString, QByteArray> files;
        QDirIterator it(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString name = QDir(dir.path()).relativeFilePath(it.next());
            files[name] = dir.read(name);
        }
        return files;
    }

    test::TempProgramFolder dir;
    QProcess program;
    QString previousFolder = QDir::currentPath();
};

TEST_F(ProgramFolderInUseTest, ASecondStartIsToldAndTheFirstExportsTheStoneWhole) {
    test::setLine(dir, "ExportPa.txt", 18, "1"); // both would export at start-up
    startProgram();
    ASSERT_TRUE(programHoldsTheFolder()) << program.readAllStandardError().constData();
    {
        SecondStart second(dir);
        EXPECT_EQ(Form_Load(second.window), StartUpOutcome::ProgramEnded);
        const auto& shown = second.doubles.messages.shown;
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, "The export utility is already running for this program "
                                 "folder : " +
                                     dir.path() + "  - Can not proceed further....");
        EXPECT_EQ(shown[0].title, "PROGRAM ALREADY RUNNING");
        EXPECT_EQ(shown[0].icon, MessageIcon::Critical);
        EXPECT_EQ(second.doubles.programEnd.endCount, 1);
        EXPECT_TRUE(second.doubles.pause.pauses.empty()) << "no export was started";
        EXPECT_TRUE(second.doubles.batches.started.empty());
    }
    ASSERT_TRUE(program.waitForFinished(120000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    // One export, its block whole and with the key file's values.
    const QByteArray stone = dir.read("Export/K7-10482.txt");
    EXPECT_TRUE(stone.contains(",57.3,34.5,40.8,61.7,5.12,")) << stone.constData();
    EXPECT_EQ(dir.read("Export/bench_rows.txt"), stone + " \r\n");
    EXPECT_FALSE(dir.exists(".tavexport.lock")) << "the lock goes with the program";

    // The folder is free again for the next stone.
    test::setLine(dir, "ExportPa.txt", 18, "0");
    SecondStart next(dir);
    EXPECT_EQ(Form_Load(next.window), StartUpOutcome::Waiting);
    EXPECT_EQ(next.doubles.programEnd.endCount, 0);
}

TEST_F(ProgramFolderInUseTest, TheLockOfAKilledProgramIsTakenOver) {
    startProgram(); // waits for the operator
    ASSERT_TRUE(programHoldsTheFolder()) << program.readAllStandardError().constData();
    program.kill();
    ASSERT_TRUE(program.waitForFinished(60000));
    ASSERT_TRUE(dir.exists(".tavexport.lock")) << "a kill leaves the lock behind";

    SecondStart next(dir);
    ASSERT_EQ(Form_Load(next.window), StartUpOutcome::Waiting);
    EXPECT_EQ(next.doubles.programEnd.endCount, 0);
    next.window.Cmd_OK->click();
    EXPECT_EQ(next.doubles.programEnd.endCount, 1);
    EXPECT_TRUE(dir.read("Export/bench_rows.txt").startsWith("K7-10482,"));
}

// A program killed between making its lock file and writing its name in it leaves an
// empty lock: taken over once no starting program can still be writing it.
TEST_F(ProgramFolderInUseTest, ALockThatNamesNoProgramIsTakenOverOnceItIsOld) {
    const struct {
        int secondsOld;
        StartUpOutcome outcome;
    } cases[] = {{60, StartUpOutcome::Waiting}, {0, StartUpOutcome::ProgramEnded}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.secondsOld);
        dir.write(".tavexport.lock", "");
        QFile lock(dir.filePath(".tavexport.lock"));
        ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
        ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-c.secondsOld),
                                     QFileDevice::FileModificationTime));
        lock.close();

        const std::map<QString, QByteArray> before = folderFiles();
        SecondStart next(dir);
        EXPECT_EQ(Form_Load(next.window), c.outcome);
        const bool told = !next.doubles.messages.shown.empty() &&
                          next.doubles.messages.shown[0].title == "PROGRAM ALREADY RUNNING";
        EXPECT_EQ(told, c.outcome == StartUpOutcome::ProgramEnded);
        if (told) {
            EXPECT_EQ(folderFiles(), before) << "a start that is told writes nothing";
        }
    }
}

} // namespace
} // namespace tav
