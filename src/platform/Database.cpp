#include "platform/Database.h"

#include "platform/ReadableText.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

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
    const std::optional<FileIdentity> before = fileIdentity(filePath);
    const QSqlError error = [&] {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        // mode=rw: SQLite would otherwise create a missing file.
        db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(filePath).absoluteFilePath())
                               .toString(QUrl::FullyEncoded) +
                           (readOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw")));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
        if (!db.open())
            return db.lastError();
        // A damaged or locked database opens fine and fails at the first query. The
        // read-only look reads the file's first page, no schema.
        QSqlError failure;
        if (readOnly) {
            database->schema_ = std::make_shared<DatabaseSchema>();
            database->currentSchema(&failure);
            return failure;
        }
        // The connection holds its file open from here, so a file that still has the
        // number it had before is the one opened. Its schema is shared with the other
        // connections open on it; only when none of them holds the catalogue is it read,
        // which checks the whole schema.
        if (before && fileIdentity(filePath) == before) {
            database->file_ = before;
            database->schema_ = sharedSchema(*before);
        } else {
            database->schema_ = std::make_shared<DatabaseSchema>();
        }
        database->schemaNames(false, &failure);
        return failure;
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

// Qt's SQLite driver sizes a row by the columns that its statement had when it was
// prepared, and SQLite prepares against the schema as this connection last read it: when
// another program has changed the schema since, SQLite compiles the statement again at
// its first step, and a statement that then has more columns writes past the row. So a
// statement that returns rows runs inside a read transaction that first brings the
// connection's schema up to date (a statement on the catalogue checks the schema cookie
// and reads the schema again when it changed) and then, holding SQLite's shared lock,
// keeps it so until the rows are read. Inside a transaction of the caller's the lock is
// held already; inside a snapshot of this connection, the schema was checked when it
// began.
Database::ReadSnapshot::ReadSnapshot(const Database& database) : database_(database) {
    if (database_.snapshots_++ > 0)
        return;
    QSqlDatabase db = database_.connection();
    own_ = db.transaction();
    database_.snapshotCookie_.reset();
    // A failure here shows in the statement that follows.
    QSqlQuery check(db);
    check.setForwardOnly(true);
    check.exec(QStringLiteral("SELECT 1 FROM sqlite_master LIMIT 1"));
}

Database::ReadSnapshot::~ReadSnapshot() {
    if (--database_.snapshots_ > 0)
        return;
    database_.snapshotCookie_.reset();
    if (own_)
        database_.connection().commit();
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

bool Database::opensFileAt(const QString& path) const {
    return file_ && fileIdentity(path) == file_;
}

// SQLite itself keeps the schema it has read while the cookie stays the same; so does
// the program. The cookie is in the file's first page: reading it reads no schema.
DatabaseSchema* Database::currentSchema(QSqlError* error) const {
    // Under the shared lock of a snapshot the cookie stays as it was read.
    if (snapshots_ > 0 && snapshotCookie_) {
        schema_->useCookie(*snapshotCookie_);
        return schema_.get();
    }
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA schema_version")) || !query.next()) {
        if (error)
            *error = query.lastError();
        return nullptr;
    }
    schema_->useCookie(query.value(0).toLongLong());
    if (snapshots_ > 0)
        snapshotCookie_ = schema_->cookie;
    return schema_.get();
}

// The catalogue's tables (and views), leaving out SQLite's own.
std::optional<QStringList> Database::schemaNames(bool withViews, QSqlError* error) const {
    DatabaseSchema* schema = currentSchema(error);
    if (!schema)
        return std::nullopt;
    if (!schema->objects) {
        QSqlQuery query(connection());
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT type, name FROM sqlite_master WHERE type IN "
                                       "('table', 'view') AND name NOT LIKE 'sqlite\\_%' "
                                       "ESCAPE '\\' ORDER BY rowid"))) {
            if (error)
                *error = query.lastError();
            return std::nullopt;
        }
        QList<SchemaObject> objects;
        while (query.next())
            objects.append({query.value(0).toString(), query.value(1).toString()});
        if (query.lastError().isValid()) {
            if (error)
                *error = query.lastError();
            return std::nullopt;
        }
        schema->objects = std::move(objects);
    }
    QStringList names;
    for (const SchemaObject& object : *schema->objects) {
        if (withViews || object.type == u"table")
            names.append(object.name);
    }
    return names;
}

QStringList Database::userTables() const {
    return schemaNames(false).value_or(QStringList());
}

QStringList Database::tablesAndViews() const {
    return schemaNames(true).value_or(QStringList());
}

std::optional<QString> Database::findTable(const QString& name) const {
    for (const QString& table : userTables()) {
        if (table.compare(name, Qt::CaseInsensitive) == 0)
            return table;
    }
    return std::nullopt;
}

std::optional<Recordset> Database::select(const QString& sql, const QVariantList& values) const {
    const ReadSnapshot snapshot(*this);
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
    // A statement of this connection may change the schema even inside a snapshot.
    snapshotCookie_.reset();
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

// The declared types come from the catalogue: table_xinfo lists generated columns, as
// "SELECT *" does, and marks the hidden columns of virtual tables, which it leaves out.
// They are read once for each version of the schema.
std::optional<TableColumns> Database::tableColumns(const QString& table) const {
    DatabaseSchema* schema = currentSchema();
    if (!schema)
        return std::nullopt;
    if (const auto known = schema->columns.constFind(table); known != schema->columns.cend())
        return *known;
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA table_xinfo(%1)").arg(quoteIdentifier(table))))
        return std::nullopt;
    TableColumns columns;
    // A wide table declares a handful of types over and over: each text is kept once.
    QSet<QString> types;
    while (query.next()) {
        // Columns: cid, name, type, notnull, dflt_value, pk, hidden.
        if (query.value(6).toInt() == 1)
            continue;
        // The driver's field names drop double quotes; the catalogue's keep them.
        columns.names.append(query.value(1).toString().remove(u'"'));
        columns.declaredTypes.append(*types.insert(query.value(2).toString()));
    }
    if (query.lastError().isValid())
        return std::nullopt;
    schema->columns.insert(table, columns);
    return columns;
}

// The columns and the values come from one state of the file (ReadSnapshot). The values
// are taken by position from the one row asked for. The statement is compiled for each
// read: kept from one read to the next, the statements of a key file's wide tables would
// hold megabytes that a fresh program has to fault in, more than compiling them costs.
std::optional<FirstRecord> Database::firstRecord(const QString& table) const {
    const ReadSnapshot snapshot(*this);
    std::optional<TableColumns> columns = tableColumns(table);
    if (!columns)
        return std::nullopt;
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT * FROM %1 LIMIT 1").arg(quoteIdentifier(table))))
        return std::nullopt;
    const int count = query.record().count();
    if (count != columns->names.size())
        return std::nullopt;
    FirstRecord record;
    record.columns = std::move(columns->names);
    record.declaredTypes = std::move(columns->declaredTypes);
    if (!query.next())
        return query.lastError().isValid() ? std::nullopt : std::optional(std::move(record));
    record.values.reserve(count);
    for (int i = 0; i < count; ++i)
        record.values.append(query.value(i));
    return record;
}

QString Database::quoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString databaseProblemText(const QString& filePath, const DatabaseOpening& opening) {
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
        // The database's own words can quote names from inside the file.
        text = file + QStringLiteral(" can not be read: ") + readableText(opening.detail);
        break;
    }
    return text;
}

QString databaseProblemTitle(const QString& filePath) {
    return QFileInfo(filePath).fileName().toUpper() + QStringLiteral(" NOT USABLE");
}

} // namespace tav
