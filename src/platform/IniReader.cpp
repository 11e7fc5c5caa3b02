#include "platform/IniReader.h"

#include "platform/TextFile.h"

namespace tav {
namespace {

constexpr qsizetype kMaxValueLength = 254; // the 255-character buffer less its NUL

QString dropQuotes(const QString& value) {
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

} // namespace

QString IniFile::lookupKey(const QString& section, const QString& key) {
    return section.trimmed().toCaseFolded() + QChar(0) + key.trimmed().toCaseFolded();
}

IniFile IniFile::read(const QString& filePath) {
    IniFile file;
    const auto lines = readLines(filePath);
    if (!lines)
        return file;
    QString section;
    bool inSection = false;
    for (const QString& raw : *lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            section = line.mid(1, close < 0 ? -1 : close - 1);
            inSection = true;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inSection || equals < 0)
            continue;
        // The first match wins, also across repeated sections.
        const QString key = lookupKey(section, line.left(equals));
        if (!file.values_.contains(key))
            file.values_.insert(key,
                                dropQuotes(line.mid(equals + 1).trimmed()).left(kMaxValueLength));
    }
    return file;
}

QString IniFile::value(const QString& section, const QString& key) const {
    return values_.value(lookupKey(section, key));
}

QString readIniValue(const QString& section, const QString& key, const QString& filePath) {
    return IniFile::read(filePath).value(section, key);
}

} // namespace tav
