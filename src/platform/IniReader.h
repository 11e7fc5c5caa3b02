#pragma once

#include <QString>

namespace tav {

// One value of an INI file, read afresh from disk on every call: section and key
// match without regard to case, blanks around key and value are trimmed, one pair
// of surrounding quotes is dropped, comment lines (";") are skipped, the first match
// wins and at most 254 characters come back. A missing file, section or key gives "".
QString readIniValue(const QString& section, const QString& key, const QString& filePath);

} // namespace tav
