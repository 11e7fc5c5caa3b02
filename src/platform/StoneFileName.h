#pragma once

#include <QString>

namespace tav {

// True when the stone id can stand as one file or folder name: not empty, not "." or
// "..", without a path separator ("/" or "\"), ":", "*", "?" or control characters,
// and made of characters the code page holds.
bool isSafeStoneId(const QString& stoneId);

} // namespace tav
