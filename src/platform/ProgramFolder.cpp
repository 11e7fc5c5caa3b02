#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace tav {

QString hiddenPathBeside(const QString& path, const QString& suffix) {
    const QFileInfo info(path);
    return joinPath(info.path(), u'.' + info.fileName() + suffix);
}

QString joinPath(const QString& folder, const QString& name) {
    return folder + QDir::separator() + name;
}

ProgramFolder::ProgramFolder(QString path) : path_(std::move(path)) {}

QString ProgramFolder::file(const QString& name) const {
    const QString exact = joinPath(path_, name);
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = QDir(path_).entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return joinPath(path_, entry);
    }
    return exact;
}

bool ProgramFolder::hasFile(const QString& name) const {
    return QFileInfo(file(name)).isFile();
}

} // namespace tav
