#pragma once

#include "platform/DatabaseSchema.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <optional>

class QSqlError;

namespace tav {

// The rows of one query, columns in their table order.
struct Recordset {
    QStringList columns;
    QList<QVariantList> rows;

    bool isEmpty() const { return rows.isEmpty(); }
    int columnIndex(const QString& name) const { return columns.indexOf(name); }
};

class Database;

// The first record of a table with its columns' declared types ("" when a column has
// none); no values when the table has no rows.
struct FirstRecord {
    QStringList columns;
    QStringList declaredTypes;
    QVariantList values;
};

// Why a database file could not be opened.
enum class DatabaseProblem {
    None,
    Missing,
    AccessFile,   // a Microsoft Access file, not yet converted
    NotADatabase, // another kind of file, or a database cut short or damaged
    Locked,       // another program holds the database
    Unreadable,   // the system refuses to read it (permissions and the like)
};

struct DatabaseOpening {
    std::unique_ptr<Database> database; // nothing when there is a problem
    DatabaseProblem problem = DatabaseProblem::None;
    QString detail; // the system's own words for an unreadable file
};

// One connection to a database file (Reports.mdb, Class.mdb; SQLite inside, the
// file keeps its name). A missing file is never created. Every connection has a name
// of its own and is closed and removed when the object goes. What a connection reads of
// the schema (the catalogue, a table's columns and declared types) it keeps while the
// schema is unchanged, and shares with the other connections open on the same file; the
// rows are read afresh every time.
class Database {
public:
    // Opens an existing file for reading and writing, or says why not. The file is
    // looked at read-only first, so one that is no usable database is never written.
    static DatabaseOpening open(const QString& filePath);
    // The same without the reason.
    static std::unique_ptr<Database> openExisting(const QString& filePath);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& filePath() const { return filePath_; }
    QSqlDatabase connection() const;
    // True when the path names the very file this connection has open: not when another
    // file has taken its name since.
    bool opensFileAt(const QString& path) const;

    // User tables (no system tables) in the order the catalogue lists them.
    QStringList userTables() const;
    // The schema listing of tables: user tables and views (no system tables), in the
    // order the catalogue lists them.
    QStringList tablesAndViews() const;
    // The table's own spelling when a table of that name exists, ignoring case.
    std::optional<QString> findTable(const QString& name) const;
    bool hasTable(const QString& name) const { return findTable(name).has_value(); }

    // Runs a query with bound values; nothing when it fails. Text comparisons that
    // should ignore case are written with COLLATE NOCASE by the caller.
    std::optional<Recordset> select(const QString& sql, const QVariantList& values = {}) const;
    // Runs a statement with bound values; false when it fails.
    bool exec(const QString& sql, const QVariantList& values = {}) const;

    // "SELECT * FROM <table>" in stored row order.
    std::optional<Recordset> selectAll(const QString& table) const;
    // The table's first record in stored row order, its values as select() gives them;
    // nothing when the table cannot be read. Columns and values come from one state of
    // the file.
    std::optional<FirstRecord> firstRecord(const QString& table) const;

    // A quoted identifier: no name from a file or a field is ever pasted into SQL bare.
    static QString quoteIdentifier(const QString& name);

    // While one lives, what this connection reads comes from one state of the file, whose
    // schema is checked once, when the outermost one begins: the key file's many tables
    // are read as one. Every read makes one of its own; they nest.
    class ReadSnapshot {
    public:
        explicit ReadSnapshot(const Database& database);
        ~ReadSnapshot();
        ReadSnapshot(const ReadSnapshot&) = delete;
        ReadSnapshot& operator=(const ReadSnapshot&) = delete;

    private:
        const Database& database_;
        bool own_ = false; // the transaction is this snapshot's to end
    };

private:
    Database(QString connectionName, QString filePath);
    static DatabaseOpening connect(const QString& filePath, bool readOnly);
    // The schema as the file holds it now; nullptr when it cannot be read.
    DatabaseSchema* currentSchema(QSqlError* error = nullptr) const;
    // The catalogue's tables and views; nothing when it cannot be read.
    std::optional<QStringList> schemaNames(bool withViews, QSqlError* error = nullptr) const;
    std::optional<TableColumns> tableColumns(const QString& table) const;

    QString connectionName_;
    QString filePath_;
    std::optional<FileIdentity> file_; // none when it could not be told
    std::shared_ptr<DatabaseSchema> schema_;
    mutable int snapshots_ = 0; // the ReadSnapshots open on this connection
    // The schema cookie as read inside the open snapshots, while it cannot change.
    mutable std::optional<qint64> snapshotCookie_;
};

// The text of the critical message for a database that could not be opened, naming the
// file and the cause; "" when there is no problem. The caller shows it.
QString databaseProblemText(const QString& filePath, const DatabaseOpening& opening);
// The title of that message: the file name in capitals and "NOT USABLE".
QString databaseProblemTitle(const QString& filePath);

} // namespace tav
