#pragma once

#include <QString>

namespace tav {

// Where a name or value taken from a file reaches a message box or the status line,
// past this length no one reads it any more, and laying it out can hold the window for
// a long time.
inline constexpr qsizetype kReadableLength = 300;

// The text cut to kReadableLength characters with "..." at the cut; a shorter text
// unchanged. A character made of two UTF-16 units is never split. The files keep the
// whole text.
QString readableText(const QString& text);

} // namespace tav
