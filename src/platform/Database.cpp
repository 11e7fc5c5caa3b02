#include "platform/Database.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

namespace tav {
namespace {

QString nextConnectionName() {
    static QAtomicInt counter;
    return QStringLiteral("tav-connection-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

std::unique_ptr<Database> Database::openExisting(const QString& filePath) {
    if (!QFileInfo(filePath).isFile())
        return nullptr;
    const QString name = nextConnectionName();
    std::unique_ptr<Database> database(new Database(name, filePath));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        // mode=rw: SQLite would otherwise create a missing file.
        db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(filePath).absoluteFilePath())
                               .toString(QUrl::FullyEncoded) +
                           QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
        if (!db.open())
            return nullptr;
    }
    // A file that is no database opens fine and fails at the first query.
    if (!database->select(QStringLiteral("SELECT count(*) FROM sqlite_master")))
        return nullptr;
    return database;
}

Database::Database(QString connectionName, QString filePath)
    : connectionName_(std::move(connectionName)), filePath_(std::move(filePath)) {}

Database::~Database() {
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

QSqlDatabase Database::connection() const {
    return QSqlDatabase::database(connectionName_, false);
}

QStringList Database::userTables() const {
    return schemaNames(QStringLiteral("'table'"));
}

QStringList Database::tablesAndViews() const {
    return schemaNames(QStringLiteral("'table', 'view'"));
}

// Names of the catalogue's objects of the given types (an SQL list of type literals),
// leaving out SQLite's own.
QStringList Database::schemaNames(const QString& types) const {
    QStringList names;
    const auto listing = select(QStringLiteral("SELECT name FROM sqlite_master WHERE type IN (%1) "
                                               "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
                                               "ORDER BY rowid")
                                    .arg(types));
    if (listing) {
        for (const QVariantList& row : listing->rows)
            names.append(row.value(0).toString());
    }
    return names;
}

std::optional<QString> Database::findTable(const QString& name) const {
    for (const QString& table : userTables()) {
        if (table.compare(name, Qt::CaseInsensitive) == 0)
            return table;
    }
    return std::nullopt;
}

std::optional<Recordset> Database::select(const QString& sql, const QVariantList& values) const {
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return std::nullopt;
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return std::nullopt;
    Recordset result;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        result.columns.append(record.fieldName(i));
    while (query.next()) {
        QVariantList row;
        row.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            row.append(query.value(i));
        result.rows.append(row);
    }
    return result;
}

bool Database::exec(const QString& sql, const QVariantList& values) const {
    QSqlQuery query(connection());
    if (!query.prepare(sql))
        return false;
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}

std::optional<Recordset> Database::selectAll(const QString& table) const {
    return select(QStringLiteral("SELECT * FROM %1").arg(quoteIdentifier(table)));
}

QString Database::quoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace tav
