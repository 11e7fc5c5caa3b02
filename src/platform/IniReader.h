#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <map>
#include <memory>
#include <optional>

namespace tav {

// An INI file read once, with the rules of the Windows profile reader: section and
// key match without regard to case, blanks around key and value are trimmed, one pair
// of surrounding quotes is dropped, comment lines (";") are skipped, the first match
// wins and at most 254 characters come back. A missing file, section or key gives "".
class IniFile {
public:
    static IniFile read(const QString& filePath);
    // The same from the bytes of a file (single-byte text).
    static IniFile parse(const QByteArray& bytes);

    QString value(const QString& section, const QString& key) const;

private:
    // Case-folded key to value, per case-folded section name. Keys and values are views
    // into the file's text, which is decoded once and never changed after the parse: a
    // scan file of thousands of keys costs no allocation per key.
    using Keys = QHash<QStringView, QStringView>;
    QHash<QString, Keys> sections_;
    QString text_;              // the file's text, the keys folded in place
    QList<QString> foldedKeys_; // keys beyond ASCII, folded apart (folding may lengthen)
};

// The readings of files that are looked up again and again in one run: a file is read
// on every call, but parsed again only when its bytes differ from the last reading, so
// a changed file is always seen and an unchanged one costs one read.
class IniFileCache {
public:
    std::shared_ptr<const IniFile> read(const QString& filePath);

private:
    struct Entry {
        std::optional<QByteArray> bytes; // nothing when the file could not be read
        std::shared_ptr<const IniFile> file;
    };
    std::map<QString, Entry> entries_;
};

// One value, read afresh from disk on every call: for files that may change between
// two reads. Many lookups in one unchanged file read it once through IniFile.
QString readIniValue(const QString& section, const QString& key, const QString& filePath);

} // namespace tav
