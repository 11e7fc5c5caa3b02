#include "platform/Database.h"

#include "platform/ReadableText.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// The declared types come from the catalogue: table_xinfo lists generated columns, as
// "SELECT *" does, and marks the hidden columns of virtual tables, which it leaves out.
std::optional<FirstRecord> Database::firstRecord(const QString& table) const {
    const auto declared = select(
        QStringLiteral("SELECT name, type FROM pragma_table_xinfo(?) WHERE hidden <> 1"), {table});
    if (!declared)
        return std::nullopt;
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT * FROM %1 LIMIT 1").arg(quoteIdentifier(table))))
        return std::nullopt;
    const QSqlRecord fields = query.record();
    if (fields.count() != declared->rows.size())
        return std::nullopt;
    FirstRecord record;
    record.columns.reserve(fields.count());
    record.declaredTypes.reserve(fields.count());
    for (int i = 0; i < fields.count(); ++i) {
        // The driver's field names drop double quotes; the catalogue's keep them.
        const QVariantList& column = declared->rows[i];
        if (column.value(0).toString().remove(u'"') != fields.fieldName(i))
            return std::nullopt;
        record.columns.append(fields.fieldName(i));
        record.declaredTypes.append(column.value(1).toString());
    }
    if (!query.next())
        return query.lastError().isValid() ? std::nullopt : std::optional(record);
    record.values.reserve(fields.count());
    for (int i = 0; i < fields.count(); ++i)
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
