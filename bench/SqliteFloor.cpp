#include "SqliteFloor.h"

#include <QFile>
#include <QtGlobal>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace tav::bench {

void readFirstRecords(const QString& databaseFile, const QStringList& tables) {
    std::size_t read = 0;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(databaseFile).constData(), &db, SQLITE_OPEN_READWRITE,
                        nullptr) != SQLITE_OK)
        qFatal("the floor cannot open %s", qPrintable(databaseFile));
    for (const QString& table : tables) {
        if (table.isEmpty())
            continue;
        QString quoted = table;
        quoted.replace(u'"', QStringLiteral("\"\""));
        const QByteArray sql =
            (QStringLiteral("SELECT * FROM \"") + quoted + QStringLiteral("\" LIMIT 1")).toUtf8();
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr) !=
            SQLITE_OK)
            continue;
        if (sqlite3_step(statement) == SQLITE_ROW) {
            const int columns = sqlite3_column_count(statement);
            for (int i = 0; i < columns; ++i) {
                const char* name = sqlite3_column_name(statement, i);
                const char* type = sqlite3_column_decltype(statement, i);
                const unsigned char* value = sqlite3_column_text(statement, i);
                read += std::size_t(name != nullptr) + std::size_t(type != nullptr) +
                        std::size_t(value != nullptr) +
                        std::size_t(sqlite3_column_bytes(statement, i));
            }
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    // Reads whose results go nowhere must not be dropped.
    benchmark::DoNotOptimize(read);
}

} // namespace tav::bench
