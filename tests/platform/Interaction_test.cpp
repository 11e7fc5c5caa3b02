#include "platform/QtInteraction.h"

#include "support/TempProgramFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

namespace tav {
namespace {

class EnvironmentGuard {
public:
    EnvironmentGuard() {
        for (const char* name : kNames)
            saved_.append(qgetenv(name));
    }
    ~EnvironmentGuard() {
        for (int i = 0; i < 3; ++i)
            qputenv(kNames[i], saved_[i]);
    }
    static constexpr const char* kNames[3] = {"USERNAME", "USER", "LOGNAME"};

private:
    QList<QByteArray> saved_;
};

TEST(Interaction, UserNameFallsBackFromUsernameToUserToLogname) {
    EnvironmentGuard guard;
    SystemEnvironment environment;
    qputenv("USERNAME", "win");
    qputenv("USER", "unix");
    qputenv("LOGNAME", "log");
    EXPECT_EQ(environment.userName(), "win");
    qunsetenv("USERNAME");
    EXPECT_EQ(environment.userName(), "unix");
    qunsetenv("USER");
    EXPECT_EQ(environment.userName(), "log");
    qunsetenv("LOGNAME");
    EXPECT_EQ(environment.userName(), "");
}

TEST(Interaction, BatchFileRunsDetachedInTheCurrentWorkingFolder) {
    test::TempProgramFolder dir;
    dir.write("work/.keep", "");
    dir.write("user_1.bat", "pwd > started.txt\n");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.filePath("work")));
    ShellBatchStarter starter;
    starter.start(dir.filePath("user_1.bat"));
    starter.start(dir.filePath("missing.bat"));
    QDir::setCurrent(previous);

    QDeadlineTimer deadline(10000);
    while (!QFileInfo(dir.filePath("work/started.txt")).size() && !deadline.hasExpired())
        QThread::msleep(20);
    EXPECT_EQ(dir.read("work/started.txt").trimmed(),
              QFileInfo(dir.filePath("work")).canonicalFilePath().toLocal8Bit());
}

} // namespace
} // namespace tav

#include <QProcess>

namespace tav {
namespace {

TEST(Interaction, ProgramEndQuitsBeforeAndInsideTheEventLoop) {
    for (const char* when : {"before-loop", "inside-loop"}) {
        QProcess probe;
        probe.setProcessChannelMode(QProcess::ForwardedChannels);
        probe.start(QStringLiteral(TAV_PROGRAM_END_PROBE),
                    {QString::fromLatin1(when), "-platform", "offscreen"});
        ASSERT_TRUE(probe.waitForFinished(30000)) << when << ": the program did not end";
        EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit) << when;
        EXPECT_EQ(probe.exitCode(), 0) << when;
    }
}

} // namespace
} // namespace tav
