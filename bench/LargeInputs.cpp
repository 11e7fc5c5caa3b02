#include "LargeInputs.h"

#include "support/SampleFolder.h"

#include <QFile>
#include <QStringList>

namespace tav::bench {
namespace {

// As a bench's database holds them: many tables of a few hundred columns each.
constexpr int kTables = 20;
constexpr int kColumnsPerTable = kKeyFileKeys / kTables;

QString tableName(int table) {
    return QStringLiteral("Season%1").arg(table + 1);
}

QString columnName(int column) {
    return QStringLiteral("P%1").arg(column + 1, 4, 10, QChar(u'0'));
}

QStringList keyTableStatements() {
    QStringList statements{QStringLiteral("BEGIN")};
    for (int table = 0; table < kTables; ++table) {
        QStringList columns;
        QStringList values;
        for (int column = 0; column < kColumnsPerTable; ++column) {
            const bool text = column % 10 == 9;
            columns.append(columnName(column) +
                           (text ? QStringLiteral(" TEXT") : QStringLiteral(" REAL")));
            values.append(text ? QStringLiteral("'grade %1'").arg(column)
                               : QString::number(column * 0.731 + table, 'f', 4));
        }
        statements.append(
            QStringLiteral("CREATE TABLE %1 (%2)").arg(tableName(table), columns.join(u',')));
        statements.append(
            QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(tableName(table), values.join(u',')));
        // A second row that the key file never shows.
        statements.append(QStringLiteral("INSERT INTO %1 SELECT * FROM %1").arg(tableName(table)));
    }
    statements.append(QStringLiteral("DELETE FROM Template_GIA WHERE rowid > 11"));
    for (int item = 11; item < kTemplateItems; ++item) {
        const int table = item % kTables;
        const int column = (item * 37) % kColumnsPerTable;
        const int format = item % 7 == 0 ? -1 : 1 + item % 3;
        statements.append(QStringLiteral("INSERT INTO Template_GIA VALUES ('%1.%2', 'Item %3', %4)")
                              .arg(tableName(table), columnName(column))
                              .arg(item)
                              .arg(format));
    }
    statements.append(QStringLiteral("COMMIT"));
    return statements;
}

} // namespace

void makeLargeFolder(const test::TempProgramFolder& dir) {
    test::copySampleFolder(dir);
    dir.createDatabase(QStringLiteral("Reports.mdb"), keyTableStatements());
    QStringList tables{QStringLiteral("Proportions"), QStringLiteral("UserData")};
    for (int table = 0; table < kTables; ++table)
        tables.append(tableName(table));
    dir.writeLines(QStringLiteral("testSetting.txt"), tables);

    QByteArray scan = dir.read(QStringLiteral("test.txt"));
    for (int key = 0; key < kScanKeys; ++key)
        scan += QStringLiteral("SCAN_VALUE_%1 = %2\r\n")
                    .arg(key)
                    .arg(key * 0.013, 0, 'f', 3)
                    .toLatin1();
    dir.write(QStringLiteral("test.txt"), scan);
}

void writeColsFile(const QString& path, int stones, int rows) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    for (int row = 0; row < rows; ++row) {
        QByteArray line;
        for (int stone = 0; stone < stones; ++stone) {
            line += QByteArray::number(row % 90 + stone % 10) + '.' +
                    QByteArray::number((stone * 7 + row) % 100) + ',';
        }
        line += "\r\n";
        file.write(line);
    }
}

} // namespace tav::bench
