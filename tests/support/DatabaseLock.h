#pragma once

#include <QProcess>
#include <QString>

// Another program holding a database: the sqlite3 shell inside an exclusive
// transaction, so no other connection can read the file until the lock is let go.
namespace tav::test {

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
