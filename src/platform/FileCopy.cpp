#include "platform/FileCopy.h"

#include "platform/DurableFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace tav {

WriteResult copyReplacing(const QString& source, const QString& target) {
    QFile input(source);
    if (!QFileInfo(source).isFile())
        return WriteResult::failedWithErrno(ENOENT);
    errno = 0;
    if (!input.open(QIODevice::ReadOnly))
        return WriteResult::failedWithErrno(errno);
    FileReplacement output(target);
    if (!output.open() || !output.writeAllOf(input) || !output.commit())
        return WriteResult::failed(output.error());
    return WriteResult::done();
}

} // namespace tav
