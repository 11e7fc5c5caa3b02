#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

namespace tav::test {

TempProgramFolder::TempProgramFolder() {
    EXPECT_TRUE(dir_.isValid());
}

QString TempProgramFolder::filePath(const QString& name) const {
    return dir_.filePath(name);
}

void TempProgramFolder::write(const QString& name, const QByteArray& bytes) const {
    const QString path = filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

void TempProgramFolder::writeLines(const QString& name, const QStringList& lines) const {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    write(name, bytes);
}

QByteArray TempProgramFolder::read(const QString& name) const {
    QFile file(filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool TempProgramFolder::exists(const QString& name) const {
    return QFileInfo::exists(filePath(name));
}

void TempProgramFolder::createDatabase(const QString& name, const QStringList& statements) const {
    const QString connection = QStringLiteral("fixture-") + name + QString::number(quintptr(this));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(filePath(name));
        ASSERT_TRUE(db.open());
        for (const QString& statement : statements) {
            QSqlQuery query(db);
            EXPECT_TRUE(query.exec(statement))
                << statement.toStdString() << ": " << query.lastError().text().toStdString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

void TempProgramFolder::createDatabaseFromScript(const QString& name,
                                                 const QString& scriptPath) const {
    QFile file(scriptPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << scriptPath.toStdString();
    // One transaction: SQLite would otherwise sync the file after every statement.
    QStringList statements{QStringLiteral("BEGIN")};
    QString current;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.trimmed().startsWith(QLatin1String("--")))
            continue;
        current += line + u'\n';
        if (line.trimmed().endsWith(u';')) {
            statements.append(current.trimmed());
            current.clear();
        }
    }
    statements.append(QStringLiteral("COMMIT"));
    createDatabase(name, statements);
}

} // namespace tav::test
