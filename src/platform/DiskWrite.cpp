#include "platform/DiskWrite.h"

#include <QDir>

#include <algorithm>
#include <optional>

namespace tav {
namespace {

struct DiskFull {
    QString folder;
    qint64 freeBytes = 0;
};

std::optional<DiskFull>& simulated() {
    static std::optional<DiskFull> disk;
    return disk;
}

// Qt names files with "/" whatever the platform's separator.
bool onSimulatedDisk(const QString& path) {
    return path.startsWith(simulated()->folder + u'/');
}

} // namespace

bool writeBytes(QFileDevice& file, QByteArrayView bytes) {
    std::optional<DiskFull>& disk = simulated();
    if (disk && onSimulatedDisk(file.fileName())) {
        const qint64 fits = std::min<qint64>(disk->freeBytes, bytes.size());
        disk->freeBytes -= fits;
        if (fits < bytes.size()) {
            file.write(bytes.data(), fits);
            return false;
        }
    }
    return file.write(bytes.data(), bytes.size()) == bytes.size();
}

SimulatedDiskFull::SimulatedDiskFull(const QString& folder, qint64 freeBytes) {
    simulated() = DiskFull{QDir::cleanPath(folder), freeBytes};
}

SimulatedDiskFull::~SimulatedDiskFull() {
    simulated().reset();
}

} // namespace tav
