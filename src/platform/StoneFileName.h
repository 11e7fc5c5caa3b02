#pragma once

#include <QString>

namespace tav {

// True when the stone id can stand as one file or folder name: not empty, not "." or
// "..", without a path separator ("/" or "\"), ":", "*", "?" or control characters,
// and made of characters the code page holds.
bool isSafeStoneId(const QString& stoneId);

// True when every file the export names after the stone fits in a file name (NAME_MAX
// bytes as the file system is given it): the per-stone file, its copy, the problem log
// and the ASCII file, each also under the hidden name it is written as first
// (".NAME.new"). systemNumber is the extension of the per-stone file; with brackets the
// files carry the ID in square brackets.
bool stoneFileNamesFit(const QString& stoneId, const QString& systemNumber, bool brackets);

// True when a folder text from the window or the settings can name a folder: not empty
// (that would join to a path at the root of the file system), and held whole by the
// code page, without a "?" (what the settings file gives back for a character it lost).
bool namesFolder(const QString& folder);

} // namespace tav
