#include "platform/AnsiText.h"

#include <algorithm>
#include <array>

namespace tav {
namespace {

// The characters of the bytes 0x80 to 0x9F; an undefined byte keeps its own number.
constexpr std::array<char16_t, 32> kHighControls = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

bool isLatin1Byte(char16_t c) {
    return c < 0x80 || (c >= 0xA0 && c <= 0xFF);
}

char byteOf(char16_t c) {
    if (isLatin1Byte(c))
        return char(c);
    const auto* const found = std::find(kHighControls.begin(), kHighControls.end(), c);
    return found == kHighControls.end() ? '?' : char(0x80 + (found - kHighControls.begin()));
}

bool hasByte(char16_t c) {
    return isLatin1Byte(c) ||
           std::find(kHighControls.begin(), kHighControls.end(), c) != kHighControls.end();
}

} // namespace

QString fromAnsi(QByteArrayView bytes) {
    // Latin-1 agrees with the code page on every byte outside 0x80 to 0x9F.
    QString text = QString::fromLatin1(bytes);
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80 && u < 0xA0)
            c = QChar(kHighControls[u - 0x80]);
    }
    return text;
}

QByteArray toAnsi(QStringView text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    const char16_t* const utf16 = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = utf16[i];
        if (isLatin1Byte(c)) {
            *out++ = char(c);
            continue;
        }
        // A character beyond the 16-bit range is one character, and one "?".
        if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(utf16[i + 1]))
            ++i;
        *out++ = byteOf(c);
    }
    bytes.truncate(out - bytes.data());
    return bytes;
}

bool fitsAnsi(QStringView text) {
    // Half of a surrogate pair is never in the table, so a character beyond the 16-bit
    // range does not fit either.
    return std::all_of(text.begin(), text.end(), [](QChar c) { return hasByte(c.unicode()); });
}

bool isAnsiName(QStringView text) {
    return !text.contains(u'?') && fitsAnsi(text);
}

} // namespace tav
