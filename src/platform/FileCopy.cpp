#include "platform/FileCopy.h"

#include "platform/DiskWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tav {

bool copyReplacing(const QString& source, const QString& target) {
    QFile input(source);
    if (!QFileInfo(source).isFile() || !input.open(QIODevice::ReadOnly))
        return false;
    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly))
        return false;
    while (!input.atEnd()) {
        const QByteArray chunk = input.read(1 << 20);
        if (chunk.isEmpty() || !writeBytes(output, chunk)) {
            output.cancelWriting();
            return false;
        }
    }
    if (input.error() != QFileDevice::NoError) {
        output.cancelWriting();
        return false;
    }
    return output.commit();
}

} // namespace tav
