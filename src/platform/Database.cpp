#include "platform/Database.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

#include <sqlite3.h>

#include <memory>

namespace tav {
namespace {

QString nextConnectionName() {
    static QAtomicInt counter;
    return QStringLiteral("tav-connection-%1").arg(counter.fetchAndAddRelaxed(1));
}

// The first bytes of every SQLite database file.
const QByteArray kSqliteHeader = QByteArrayLiteral("SQLite format 3\0");

// SQLite's primary result codes.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

} // namespace

DatabaseOpening Database::open(const QString& filePath) {
    if (!QFileInfo(filePath).isFile())
        return {nullptr, DatabaseProblem::Missing, {}};
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return {nullptr, DatabaseProblem::Unreadable, file.errorString()};
    const QByteArray header = file.read(19);
    file.close();
    if (!header.startsWith(kSqliteHeader)) {
        // Access files carry their engine's name at bytes 4 to 18.
        const QByteArray engine = header.mid(4, 15);
        const bool access = engine == "Standard Jet DB" || engine == "Standard ACE DB";
        return {nullptr, access ? DatabaseProblem::AccessFile : DatabaseProblem::NotADatabase, {}};
    }
    DatabaseOpening check = connect(filePath, true);
    if (check.problem != DatabaseProblem::None)
        return check;
    check.database.reset();
    return connect(filePath, false);
}

std::unique_ptr<Database> Database::openExisting(const QString& filePath) {
    return open(filePath).database;
}

DatabaseOpening Database::connect(const QString& filePath, bool readOnly) {
    const QString name = nextConnectionName();
    std::unique_ptr<Database> database(new Database(name, filePath));
    const QSqlError error = [&] {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        // mode=rw: SQLite would otherwise create a missing file.
        db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(filePath).absoluteFilePath())
                               .toString(QUrl::FullyEncoded) +
                           (readOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw")));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
        if (!db.open())
            return db.lastError();
        // A damaged or locked database opens fine and fails at the first query.
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
            return query.lastError();
        return QSqlError();
    }();
    if (!error.isValid())
        return {std::move(database), DatabaseProblem::None, {}};
    database.reset();
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case kSqliteBusy:
    case kSqliteLocked:
        return {nullptr, DatabaseProblem::Locked, {}};
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
        return {nullptr, DatabaseProblem::NotADatabase, {}};
    case kSqliteReadOnly:
        // The journal of a write that was cut off: only a writer can roll it back,
        // which the connection for reading and writing does at once.
        if (readOnly)
            return connect(filePath, false);
        break;
    default:
        break;
    }
    return {nullptr, DatabaseProblem::Unreadable, error.text()};
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

// A wide table's first record costs the driver a copy of every column's description and
// value, and its declared types a second query; the statement gives both directly.
std::optional<FirstRecord> Database::firstRecord(const QString& table) const {
    const QVariant handle = connection().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return std::nullopt;
    sqlite3* const db = *static_cast<sqlite3* const*>(handle.constData());
    const QString sql = QStringLiteral("SELECT * FROM %1 LIMIT 1").arg(quoteIdentifier(table));
    sqlite3_stmt* prepared = nullptr;
    const int preparing = sqlite3_prepare16_v2(db, sql.utf16(), int(sql.size() * sizeof(char16_t)),
                                               &prepared, nullptr);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(prepared,
                                                                          sqlite3_finalize);
    if (preparing != SQLITE_OK || !statement)
        return std::nullopt;
    sqlite3_stmt* const st = statement.get();
    const auto text16 = [](const void* text) {
        return text ? QString::fromUtf16(static_cast<const char16_t*>(text)) : QString();
    };
    FirstRecord record;
    const int columns = sqlite3_column_count(st);
    for (int i = 0; i < columns; ++i) {
        // The driver's field names, which drop double quotes.
        record.columns.append(text16(sqlite3_column_name16(st, i)).remove(u'"'));
        record.declaredTypes.append(text16(sqlite3_column_decltype16(st, i)));
    }
    const int step = sqlite3_step(st);
    if (step == SQLITE_DONE)
        return record;
    if (step != SQLITE_ROW)
        return std::nullopt;
    record.values.reserve(columns);
    for (int i = 0; i < columns; ++i) {
        // The values the driver makes of each storage class.
        switch (sqlite3_column_type(st, i)) {
        case SQLITE_INTEGER:
            record.values.append(qlonglong(sqlite3_column_int64(st, i)));
            break;
        case SQLITE_FLOAT:
            record.values.append(sqlite3_column_double(st, i));
            break;
        case SQLITE_NULL:
            record.values.append(QVariant(QMetaType::fromType<QString>()));
            break;
        case SQLITE_BLOB:
            record.values.append(QByteArray(static_cast<const char*>(sqlite3_column_blob(st, i)),
                                            sqlite3_column_bytes(st, i)));
            break;
        default:
            record.values.append(
                QString(reinterpret_cast<const QChar*>(sqlite3_column_text16(st, i)),
                        sqlite3_column_bytes16(st, i) / qsizetype(sizeof(QChar))));
            break;
        }
    }
    return record;
}

QString Database::quoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString reportDatabaseProblem(MessageBoxes& messages, const QString& filePath,
                              const DatabaseOpening& opening) {
    const QString file = QDir::toNativeSeparators(filePath);
    QString text;
    switch (opening.problem) {
    case DatabaseProblem::None:
        return {};
    case DatabaseProblem::Missing:
        text = file + QStringLiteral(" does not exist.");
        break;
    case DatabaseProblem::AccessFile:
        text = file + QStringLiteral(" is a Microsoft Access file. It must be converted once "
                                     "with scripts/convert-access.sh: see the README section "
                                     "\"Moving a bench's databases over\".");
        break;
    case DatabaseProblem::NotADatabase:
        text = file + QStringLiteral(" is not a database: the file is of another kind, cut "
                                     "short or damaged.");
        break;
    case DatabaseProblem::Locked:
        text = file + QStringLiteral(" is locked by another program. Close that program and "
                                     "try again.");
        break;
    case DatabaseProblem::Unreadable:
        text = file + QStringLiteral(" can not be read: ") + opening.detail;
        break;
    }
    messages.show(text, QFileInfo(filePath).fileName().toUpper() + QStringLiteral(" NOT USABLE"),
                  MessageIcon::Critical);
    return text;
}

} // namespace tav
