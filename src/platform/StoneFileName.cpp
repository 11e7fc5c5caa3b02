#include "platform/StoneFileName.h"

#include "platform/AnsiText.h"
#include "platform/DurableFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>

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

bool stoneFileNamesFit(const QString& stoneId, const QString& systemNumber, bool brackets) {
    const QString named = brackets ? u'[' + stoneId + u']' : stoneId;
    const QString names[] = {named + u'.' + systemNumber, named + QStringLiteral(".log"),
                             stoneId + QStringLiteral(".asc")};
    return std::all_of(std::begin(names), std::end(names), [](const QString& name) {
        const QString written = QFileInfo(replacementPathOf(name)).fileName();
        return QFile::encodeName(written).size() <= NAME_MAX;
    });
}

bool namesFolder(const QString& folder) {
    return !folder.isEmpty() && isAnsiName(folder);
}

} // namespace tav
