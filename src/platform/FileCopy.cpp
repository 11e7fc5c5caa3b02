#include "platform/FileCopy.h"

#include "platform/DurableFile.h"

#include <QFile>
#include <QFileInfo>

namespace tav {

bool copyReplacing(const QString& source, const QString& target) {
    QFile input(source);
    if (!QFileInfo(source).isFile() || !input.open(QIODevice::ReadOnly))
        return false;
    FileReplacement output(target);
    if (!output.open())
        return false;
    // Read until nothing comes, whatever size the file claims.
    for (QByteArray chunk = input.read(1 << 20); !chunk.isEmpty(); chunk = input.read(1 << 20)) {
        if (!output.write(chunk))
            return false;
    }
    return input.error() == QFileDevice::NoError && output.commit();
}

} // namespace tav
