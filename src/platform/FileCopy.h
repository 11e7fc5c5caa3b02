#pragma once

#include <QString>

namespace tav {

// Copies the file over the target through a temporary file beside it, so the target is
// either the old or the new file. False when the copy did not land.
bool copyReplacing(const QString& source, const QString& target);

} // namespace tav
