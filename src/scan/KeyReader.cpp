#include "scan/KeyReader.h"

#include "platform/IniReader.h"

#include <array>
#include <utility>

namespace tav {
namespace {

QString translatedGrade(const QString& value, qint16 translateGiaGrades) {
    if (translateGiaGrades == 0)
        return value;
    static const std::array<std::pair<const char*, const char*>, 4> grades{{
        {"GIA-E", "EX"},
        {"GIA-V", "VG"},
        {"GIA-G", "GD"},
        {"GIA-P", "PR"},
    }};
    for (const auto& [gia, shortGrade] : grades) {
        if (value == QLatin1String(gia))
            return QString::fromLatin1(shortGrade);
    }
    return value;
}

} // namespace

QString GetString(const QString& section, const QString& key, const QString& filePath,
                  qint16 translateGiaGrades) {
    return translatedGrade(readIniValue(section, key, filePath), translateGiaGrades);
}

QString GetString(const QString& section, const QString& key, const IniFile& file,
                  qint16 translateGiaGrades) {
    return translatedGrade(file.value(section, key), translateGiaGrades);
}

} // namespace tav
