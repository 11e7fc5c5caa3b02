#include "platform/IniReader.h"

#include "platform/AnsiText.h"

#include <QFile>

namespace tav {
namespace {

constexpr qsizetype kMaxValueLength = 254; // the 255-character buffer less its NUL

QStringView dropQuotes(QStringView value) {
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

QString folded(QStringView name) {
    QString text = name.trimmed().toString();
    // Keys are mostly plain ASCII, which folds in place without a second copy.
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80)
            return text.toCaseFolded();
        if (u >= u'A' && u <= u'Z')
            c = QChar(char16_t(u + (u'a' - u'A')));
    }
    return text;
}

std::optional<QByteArray> fileBytes(const QString& filePath) {
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace

IniFile IniFile::parse(const QByteArray& bytes) {
    IniFile file;
    const QString text = fromAnsi(bytes);
    const QChar* const data = text.constData();
    const qsizetype size = text.size();
    Keys* section = nullptr;
    qsizetype pos = 0;
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && data[end] != u'\r' && data[end] != u'\n')
            ++end;
        // Line ends of any kind only part lines; the empty lines between them are skipped.
        const QStringView line = QStringView(data + pos, end - pos).trimmed();
        pos = end + 1;
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            // The first match wins, also across repeated sections.
            section = &file.sections_[folded(line.mid(1, close < 0 ? -1 : close - 1))];
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!section || equals < 0)
            continue;
        QString key = folded(line.left(equals));
        if (!section->contains(key))
            section->insert(
                std::move(key),
                dropQuotes(line.mid(equals + 1).trimmed()).left(kMaxValueLength).toString());
    }
    return file;
}

IniFile IniFile::read(const QString& filePath) {
    const std::optional<QByteArray> bytes = fileBytes(filePath);
    return bytes ? parse(*bytes) : IniFile();
}

QString IniFile::value(const QString& section, const QString& key) const {
    const auto keys = sections_.constFind(folded(section));
    if (keys == sections_.cend())
        return QString();
    return keys->value(folded(key));
}

std::shared_ptr<const IniFile> IniFileCache::read(const QString& filePath) {
    std::optional<QByteArray> bytes = fileBytes(filePath);
    Entry& entry = entries_[filePath];
    // The bytes, not the file's dates, tell whether it changed: a file rewritten within
    // the same clock tick keeps its date.
    if (!entry.file || entry.bytes != bytes) {
        entry.file = std::make_shared<const IniFile>(bytes ? IniFile::parse(*bytes) : IniFile());
        entry.bytes = std::move(bytes);
    }
    return entry.file;
}

QString readIniValue(const QString& section, const QString& key, const QString& filePath) {
    return IniFile::read(filePath).value(section, key);
}

} // namespace tav
