#include "platform/ProgramVersion.h"

namespace tav {

QString versionText(int major, int minor, int revision) {
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString programVersionText() {
    return versionText(TAV_VERSION_MAJOR, TAV_VERSION_MINOR, TAV_VERSION_REVISION);
}

} // namespace tav
