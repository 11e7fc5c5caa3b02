#pragma once

#include <QString>

namespace tav {

class IniFile;

// The section every reader of the scan files uses, and the key file's only section.
inline const QString numericalParameters = QStringLiteral("NumericalParameters");

// The one reader of the scan files (test.txt, test_export.txt): a key of a section,
// "" when there is none. With translateGiaGrades non-zero, a whole value "GIA-E",
// "GIA-V", "GIA-G" or "GIA-P" comes back as "EX", "VG", "GD" or "PR".
QString GetString(const QString& section, const QString& key, const QString& filePath,
                  qint16 translateGiaGrades);
// The same from a file already read, for many lookups in one go.
QString GetString(const QString& section, const QString& key, const IniFile& file,
                  qint16 translateGiaGrades);

} // namespace tav
