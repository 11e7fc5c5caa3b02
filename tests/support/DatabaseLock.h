#pragma once

#include <QProcess>
#include <QString>

// Another program at a database: the sqlite3 shell.
namespace tav::test {

// Runs the statements in the shell, which ends with them.
void runInOtherProgram(const QString& databaseFile, const QString& statements);

// The shell inside an exclusive transaction, so no other connection can read the file
// until the lock is let go.

class DatabaseLock {
public:
    explicit DatabaseLock(const QString& databaseFile);
    ~DatabaseLock();
    DatabaseLock(const DatabaseLock&) = delete;
    DatabaseLock& operator=(const DatabaseLock&) = delete;

    // Ends the transaction without a change and the shell with it.
    void release();

private:
    QProcess shell_;
};

} // namespace tav::test
