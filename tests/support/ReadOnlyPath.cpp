#include "support/ReadOnlyPath.h"

#include <QFile>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tav::test {
namespace {

struct Capabilities {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
};

Capabilities currentCapabilities() {
    Capabilities caps;
    syscall(SYS_capget, &caps.header, caps.data);
    return caps;
}

// Only the calling thread changes: capabilities belong to threads on Linux.
void setEffective(std::uint32_t effective) {
    Capabilities caps = currentCapabilities();
    caps.data[0].effective = effective;
    syscall(SYS_capset, &caps.header, caps.data);
}

constexpr std::uint32_t permissionOverrides =
    (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

constexpr QFileDevice::Permissions writeBits = QFileDevice::WriteOwner | QFileDevice::WriteUser |
                                               QFileDevice::WriteGroup | QFileDevice::WriteOther;

} // namespace

PathPermissions::PathPermissions(QString path, QFileDevice::Permissions permissions)
    : path_(std::move(path)), permissions_(QFile::permissions(path_)),
      effectiveCapabilities_(currentCapabilities().data[0].effective) {
    QFile::setPermissions(path_, permissions);
    setEffective(effectiveCapabilities_ & ~permissionOverrides);
}

PathPermissions::~PathPermissions() {
    setEffective(effectiveCapabilities_);
    QFile::setPermissions(path_, permissions_);
}

ReadOnlyPath::ReadOnlyPath(const QString& path)
    : PathPermissions(path, QFile::permissions(path) & ~writeBits) {}

// The owner's read bit is taken as well: the test's process owns the folder, where a
// bench would be one of the others.
DropBoxFolder::DropBoxFolder(const QString& path)
    : PathPermissions(path, QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                QFileDevice::WriteOther | QFileDevice::ExeOther) {}

} // namespace tav::test
