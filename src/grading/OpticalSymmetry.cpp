#include "grading/OpticalSymmetry.h"

#include "app/FrmStoneID.h"
#include "export/ColumnMerge.h"
#include "export/ExportHelpers.h"
#include "platform/IniReader.h"
#include "platform/NumberText.h"
#include "scan/KeyReader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace tav {
namespace {

struct FacetGroup {
    const char* prefix;
    qint16 keys;
};

constexpr std::array<FacetGroup, 5> facetGroups{{
    {"CROWN_AZIMUTH_DEV_IDEAL_DEG_", 8},
    {"PAVILION_AZIMUTH_DEV_IDEAL_DEG_", 8},
    {"HALVES_AZIMUTH_DEV_IDEAL_DEG_", 16},
    {"UPPER_AZIMUTH_DEV_IDEAL_DEG_", 16},
    {"STAR_AZIMUTH_DEV_IDEAL_DEG_", 8},
}};

// A bound kept within the list, so no element past its end is read.
qsizetype boundOf(std::span<const double> values, qint16 bound) {
    return std::clamp<qsizetype>(bound, 0, static_cast<qsizetype>(values.size()));
}

} // namespace

double MAX(std::span<const double> values, qint16 n) {
    if (values.empty())
        return 0;
    double m = values[0];
    for (qsizetype i = 0; i < boundOf(values, n); ++i) {
        if (values[i] != 0 && values[i] > m)
            m = values[i];
    }
    return m;
}

double MIN(std::span<const double> values, qint16 end, qint16 start) {
    if (start < 0 || start >= static_cast<qsizetype>(values.size()))
        return 0;
    double m = values[start];
    for (qsizetype i = start; i < boundOf(values, end); ++i) {
        if (values[i] != 0 && values[i] < m)
            m = values[i];
    }
    return m;
}

double AVG(std::span<const double> values, qint16 end, qint16 start) {
    double sum = 0;
    int count = 0;
    for (qsizetype i = std::max<qsizetype>(start, 0); i < boundOf(values, end); ++i) {
        if (values[i] != 0) {
            sum += values[i];
            ++count;
        }
    }
    return count == 0 ? 0 : sum / count;
}

void writeGradingLine(FrmStoneID& w, const QString& line) {
    if (w.StoneExportStream)
        w.StoneExportStream->writeLine(line);
    ColumnMergeRule(w, line);
}

void OpticalSym(FrmStoneID& w) {
    const std::shared_ptr<const IniFile> keyFile = w.scanFile(w.keyFile());
    const auto absoluteValue = [&](const QString& key) {
        return std::abs(leadingNumber(w.GetString(numericalParameters, key, *keyFile)));
    };

    QStringList lines;
    for (const FacetGroup& group : facetGroups) {
        const QString prefix = QString::fromLatin1(group.prefix);
        std::vector<double> entries;
        for (int i = 1; i <= group.keys; ++i)
            entries.push_back(absoluteValue(prefix + QString::number(i)));
        lines.append(prefix + QStringLiteral("DEV=") +
                     doubleToText(std::abs(MAX(entries, group.keys))));
    }
    for (const QString& line : lines) {
        if (w.StoneExportStream)
            w.StoneExportStream->writeLine(line);
    }
    for (const QString& line : lines)
        ColumnMergeRule(w, line);

    const double bezel = absoluteValue(QStringLiteral("GIRDLE_WIDE_BEZEL"));
    const double bone = absoluteValue(QStringLiteral("GIRDLE_WIDE_BONE"));
    writeGradingLine(w, QStringLiteral("GIRDLE_TYPE_DEV=") + doubleToText(std::abs(bezel - bone)));
}

} // namespace tav
