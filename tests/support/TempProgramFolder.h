#pragma once

#include "platform/ProgramFolder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A throw-away program folder with the files a test needs, written byte for byte.
namespace tav::test {

class TempProgramFolder {
public:
    TempProgramFolder();

    QString path() const { return dir_.path(); }
    ProgramFolder folder() const { return ProgramFolder(dir_.path()); }
    QString filePath(const QString& name) const;

    // Writes the bytes as they stand (no line-end conversion).
    void write(const QString& name, const QByteArray& bytes) const;
    // Writes the lines, each followed by CR LF.
    void writeLines(const QString& name, const QStringList& lines) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;

    // Creates a SQLite database file of that name by running the statements.
    void createDatabase(const QString& name, const QStringList& statements) const;
    // The same from an SQL script: "--" lines dropped, each statement ending with a
    // semicolon at the end of a line.
    void createDatabaseFromScript(const QString& name, const QString& scriptPath) const;

private:
    QTemporaryDir dir_;
};

} // namespace tav::test
