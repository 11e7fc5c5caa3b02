#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// What the program's connections have read of a database file's schema, kept while
// SQLite's schema cookie stays the same, and shared by the connections open on the
// same file, so that the schema is read once and not again by every connection.
namespace tav {

// The columns of a table as "SELECT *" gives them: names as the database driver gives
// them, and declared types ("" for a column without one).
struct TableColumns {
    QStringList names;
    QStringList declaredTypes;
};

// A table or a view of the catalogue.
struct SchemaObject {
    QString type; // "table" or "view"
    QString name;
};

struct DatabaseSchema {
    // SQLite's schema cookie (PRAGMA schema_version) that the rest was read under;
    // every change of the schema raises it.
    qint64 cookie = -1;
    // The catalogue's tables and views in its own order, once read.
    std::optional<QList<SchemaObject>> objects;
    // The tables read so far, by the name they were asked for.
    QHash<QString, TableColumns> columns;

    // Forgets what was read under another cookie.
    void useCookie(qint64 current);
};

// Where a file lives: the device and the file number on it. It stays while the file is
// written to, and a file put in its place (renamed over it, or deleted and made anew)
// has another one.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Nothing when there is no such file.
std::optional<FileIdentity> fileIdentity(const QString& path);

// The schema that the connections open on that file share: the one they hold, or a new
// one when none is open. It goes with the last of them, so a file number that the
// system hands out again later never meets a schema of the file that had it before.
std::shared_ptr<DatabaseSchema> sharedSchema(const FileIdentity& file);

} // namespace tav
