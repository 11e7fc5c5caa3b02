#include "platform/StoneFileName.h"

#include "platform/AnsiText.h"

#include <algorithm>

namespace tav {

bool isSafeStoneId(const QString& stoneId) {
    if (stoneId.isEmpty() || stoneId == QStringLiteral(".") || stoneId == QStringLiteral(".."))
        return false;
    // The files that carry the ID write it in the code page: a name with a character
    // they can not hold would not match the ID written inside them.
    if (!fitsAnsi(stoneId))
        return false;
    return std::none_of(stoneId.begin(), stoneId.end(), [](QChar c) {
        // ":", "*" and "?" would name a drive, a stream or a pattern on the bench's
        // Windows shares.
        return c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' ||
               c.category() == QChar::Other_Control;
    });
}

bool namesFolder(const QString& folder) {
    return !folder.isEmpty() && isAnsiName(folder);
}

} // namespace tav
