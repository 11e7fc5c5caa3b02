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

ReadOnlyPath::ReadOnlyPath(QString path)
    : path_(std::move(path)), permissions_(QFile::permissions(path_)),
      effectiveCapabilities_(currentCapabilities().data[0].effective) {
    QFile::setPermissions(path_, permissions_ & ~writeBits);
    setEffective(effectiveCapabilities_ & ~permissionOverrides);
}

ReadOnlyPath::~ReadOnlyPath() {
    setEffective(effectiveCapabilities_);
    QFile::setPermissions(path_, permissions_);
}

} // namespace tav::test
