#include "platform/IniReader.h"

#include "platform/AnsiText.h"

#include <QFile>

#include <cstring>

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

// At least the number of lines that hold a key.
qsizetype lineCount(const QByteArray& bytes) {
    qsizetype count = 1;
    const char* at = bytes.constData();
    const char* const end = at + bytes.size();
    while ((at = static_cast<const char*>(std::memchr(at, '\n', std::size_t(end - at))))) {
        ++count;
        ++at;
    }
    return count;
}

// True when the file holds exactly these bytes, or is missing as it was.
bool sameBytes(const QString& filePath, const std::optional<QByteArray>& bytes) {
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return !bytes;
    if (!bytes || file.size() != bytes->size())
        return false;
    char chunk[64 * 1024];
    qsizetype offset = 0;
    for (;;) {
        const qint64 read = file.read(chunk, sizeof chunk);
        if (read < 0 || offset + read > bytes->size())
            return false;
        if (read == 0)
            return offset == bytes->size();
        if (std::memcmp(chunk, bytes->constData() + offset, std::size_t(read)) != 0)
            return false;
        offset += read;
    }
}

} // namespace

IniFile IniFile::parse(const QByteArray& bytes) {
    IniFile file;
    file.text_ = fromAnsi(bytes);
    // Keys are folded in place; nothing changes the text after this.
    QChar* const data = file.text_.data();
    const qsizetype size = file.text_.size();
    Keys* section = nullptr;
    bool firstSection = true;
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
            // Nearly every line of a scan file is a key of its one section.
            if (firstSection)
                section->reserve(lineCount(bytes));
            firstSection = false;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!section || equals < 0)
            continue;
        QStringView key = line.left(equals).trimmed();
        QChar* const keyData = data + (key.data() - data);
        bool ascii = true;
        for (qsizetype i = 0; i < key.size() && ascii; ++i) {
            const char16_t u = keyData[i].unicode();
            ascii = u < 0x80;
            if (u >= u'A' && u <= u'Z')
                keyData[i] = QChar(char16_t(u + (u'a' - u'A')));
        }
        if (!ascii) {
            file.foldedKeys_.append(key.toString().toCaseFolded());
            key = file.foldedKeys_.constLast();
        }
        // One lookup: a key met for the first time is one the hash did not hold yet.
        const qsizetype known = section->size();
        QStringView& value = (*section)[key];
        if (section->size() != known)
            value = dropQuotes(line.mid(equals + 1).trimmed()).left(kMaxValueLength);
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
    const auto found = keys->constFind(folded(key));
    return found == keys->cend() ? QString() : found->toString();
}

std::shared_ptr<const IniFile> IniFileCache::read(const QString& filePath) {
    Entry& entry = entries_[filePath];
    // The bytes, not the file's dates, tell whether it changed: a file rewritten within
    // the same clock tick keeps its date. Unchanged bytes are compared where they are
    // read, without a copy of the whole file.
    if (!entry.file || !sameBytes(filePath, entry.bytes)) {
        std::optional<QByteArray> bytes = fileBytes(filePath);
        entry.file = std::make_shared<const IniFile>(bytes ? IniFile::parse(*bytes) : IniFile());
        entry.bytes = std::move(bytes);
    }
    return entry.file;
}

QString readIniValue(const QString& section, const QString& key, const QString& filePath) {
    return IniFile::read(filePath).value(section, key);
}

} // namespace tav
