#include "platform/DatabaseSchema.h"

#include <QFile>

#include <map>

#include <sys/stat.h>

namespace tav {

void DatabaseSchema::useCookie(qint64 current) {
    if (cookie == current)
        return;
    cookie = current;
    objects.reset();
    columns.clear();
}

std::optional<FileIdentity> fileIdentity(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileIdentity{quint64(status.st_dev), quint64(status.st_ino)};
}

std::shared_ptr<DatabaseSchema> sharedSchema(const FileIdentity& file) {
    // All connections live on the one user-interface thread.
    static std::map<std::pair<quint64, quint64>, std::weak_ptr<DatabaseSchema>> open;
    std::erase_if(open, [](const auto& entry) { return entry.second.expired(); });
    std::weak_ptr<DatabaseSchema>& entry = open[{file.device, file.inode}];
    std::shared_ptr<DatabaseSchema> schema = entry.lock();
    if (!schema) {
        schema = std::make_shared<DatabaseSchema>();
        entry = schema;
    }
    return schema;
}

} // namespace tav
