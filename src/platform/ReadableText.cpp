#include "platform/ReadableText.h"

namespace tav {

QString readableText(const QString& text) {
    if (text.size() <= kReadableLength)
        return text;
    qsizetype cut = kReadableLength;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QStringLiteral("...");
}

} // namespace tav
