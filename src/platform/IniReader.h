#pragma once

#include <QHash>
#include <QString>

namespace tav {

// An INI file read once, with the rules of the Windows profile reader: section and
// key match without regard to case, blanks around key and value are trimmed, one pair
// of surrounding quotes is dropped, comment lines (";") are skipped, the first match
// wins and at most 254 characters come back. A missing file, section or key gives "".
class IniFile {
public:
    static IniFile read(const QString& filePath);

    QString value(const QString& section, const QString& key) const;

private:
    static QString lookupKey(const QString& section, const QString& key);
    QHash<QString, QString> values_;
};

// One value, read afresh from disk on every call: for files that may change between
// two reads. Many lookups in one unchanged file read it once through IniFile.
QString readIniValue(const QString& section, const QString& key, const QString& filePath);

} // namespace tav
