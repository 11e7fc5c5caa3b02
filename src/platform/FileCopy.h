#pragma once

#include "platform/FileError.h"

#include <QString>

namespace tav {

// Copies the file over the target through a temporary file beside it, so the target is
// either the old or the new file. Fails when the copy did not land.
WriteResult copyReplacing(const QString& source, const QString& target);

} // namespace tav
