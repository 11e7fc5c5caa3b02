#include "support/DatabaseLock.h"

#include <gtest/gtest.h>

namespace tav::test {

void runInOtherProgram(const QString& databaseFile, const QString& statements) {
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), databaseFile, statements});
    EXPECT_TRUE(shell.waitForFinished()) << "sqlite3 is installed by scripts/install-deps.sh";
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
}

DatabaseLock::DatabaseLock(const QString& databaseFile) {
    shell_.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), databaseFile});
    EXPECT_TRUE(shell_.waitForStarted()) << "sqlite3 is installed by scripts/install-deps.sh";
    shell_.write("BEGIN EXCLUSIVE;\nSELECT 'held';\n");
    // The shell answers only once it holds the lock.
    QByteArray answer;
    while (!answer.contains("held") && shell_.waitForReadyRead())
        answer += shell_.readAllStandardOutput();
    EXPECT_TRUE(answer.contains("held")) << shell_.readAllStandardError().toStdString();
}

DatabaseLock::~DatabaseLock() {
    release();
}

void DatabaseLock::release() {
    if (shell_.state() == QProcess::NotRunning)
        return;
    shell_.write("ROLLBACK;\n.quit\n");
    shell_.closeWriteChannel();
    EXPECT_TRUE(shell_.waitForFinished());
}

} // namespace tav::test
