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
    return output.writeAllOf(input) && output.commit();
}

} // namespace tav
