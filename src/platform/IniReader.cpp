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

QString readIniValue(const QString& section, const QString& key, const QString& filePath) {
    const auto lines = readLines(filePath);
    if (!lines)
        return {};
    const QString wantedSection = section.trimmed();
    const QString wantedKey = key.trimmed();
    bool inSection = false;
    for (const QString& raw : *lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            inSection = name.compare(wantedSection, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        if (line.left(equals).trimmed().compare(wantedKey, Qt::CaseInsensitive) != 0)
            continue;
        return dropQuotes(line.mid(equals + 1).trimmed()).left(kMaxValueLength);
    }
    return {};
}

} // namespace tav
