#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <optional>

namespace tav {

// The rows of one query, columns in their table order.
struct Recordset {
    QStringList columns;
    QList<QVariantList> rows;

    bool isEmpty() const { return rows.isEmpty(); }
    int columnIndex(const QString& name) const { return columns.indexOf(name); }
};

// One connection to a database file (Reports.mdb, Class.mdb; SQLite inside, the
// file keeps its name). A missing file is never created. Every connection has a name
// of its own and is closed and removed when the object goes.
class Database {
public:
    // Opens an existing file for reading and writing; nothing when it is missing or
    // cannot be opened.
    static std::unique_ptr<Database> openExisting(const QString& filePath);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& filePath() const { return filePath_; }
    QSqlDatabase connection() const;

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

    // A quoted identifier: no name from a file or a field is ever pasted into SQL bare.
    static QString quoteIdentifier(const QString& name);

private:
    Database(QString connectionName, QString filePath);
    QStringList schemaNames(const QString& types) const;
    QString connectionName_;
    QString filePath_;
};

} // namespace tav
