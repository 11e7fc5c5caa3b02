#pragma once

#include <QString>

namespace tav {

// "3.10.1" from major 3, minor 10, revision 1.
QString versionText(int major, int minor, int revision);
// The program's own version numbers in that form.
QString programVersionText();

} // namespace tav
