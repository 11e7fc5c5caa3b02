#pragma once

#include "grading/FakeLabGrader.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <map>

// The values the fake graders return for the test stone and the lines each system
// must write from them.
namespace tav::test {

using Properties = std::map<QString, QVariant>;

inline const Properties agsProperties = {
    {"Table", 57.5},
    {"Crown", 34.25},
    {"Pavilion", 40.8},
    {"LowerFacetValue", 0.1 + 0.2},
    {"StarFacetValue", 50},
    {"TBCClass", "0"},
    {"LowerClass", "Ideal"},
    {"StarClass", "ex"},
    {"BezelClass", 2},
    {"BoneClass", ""},
    {"NarrowClass", true},
    {"CuletClass", "1"},
    {"CuletDesc", "Very Small"},
    {"Deduction", 1.5},
};

inline const QStringList agsLines = {
    "AGS_TABLE_PC=57.5",
    "AGS_CROWN_DEG=34.25",
    "AGS_PAVILION_DEG=40.8",
    "AGS_LOWER_HALVES_PC=0.3",
    "AGS_STAR_PC=50",
    "AGS_TPC=0",
    "AGS_LOWER_HALVES=Ideal",
    "AGS_STAR=ex",
    "AGS_GIRDLE_BEZEL_MAX=2",
    "AGS_GIRDLE_BONE_MAX=",
    "AGS_GIRDLE_NARROW_MIN=True",
    "AGS_CULET=1",
    "AGS_CULET_DESCRIPTION=VERY SMALL",
    "AGS_DEDUCTION=1.5",
    "AGS_OVERALL=AGS Ideal 0",
};

inline const Properties giaProperties = {
    {"Table", 57.0},
    {"Crown", 34.5},
    {"Pavilion", 40.75},
    {"LowerFacetValue", 77.5},
    {"StarFacetValue", 50.0},
    {"TBCClass", "EX"},
    {"LowerClass", "VG"},
    {"StarClass", "EX"},
    {"BezelClass", "GD"},
    {"BoneClass", "EX"},
    {"NarrowClass", "VG"},
    {"BezelMinDesc", "Thin"},
    {"BezelMaxDesc", "Medium"},
    {"BoneMinDesc", "Slightly Thick"},
    {"BoneMaxDesc", "Thick"},
    {"NarrowMinDesc", "Very Thin"},
    {"NarrowMaxDesc", "thin"},
    {"FinalGrdClass", "VG"},
    {"FinalGrdDesc", "Thin to Medium"},
    {"DigPaintClass", "Painted"},
    {"GirdleType", "Faceted"},
    {"TotalDepthClass", "EX"},
    {"CuletClass", "EX"},
    {"CuletDesc", "None or pointed"},
    {"SpreadClass", 0},
    {"GrdThkClass", "VG"},
    {"TotalDepth_GIAClass", 61.7},
    {"ClassGIA", "EX"},
};

inline const QStringList giaLines = {
    "GIA_TABLE_PC=57",
    "GIA_CROWN_DEG=34.5",
    "GIA_PAVILION_DEG=40.75",
    "GIA_LOWER_HALVES_PC=77.5",
    "GIA_STAR_PC=50",
    "GIA_FACETWARE_TOTALDEPTH_PC=61.4",
    "GIA_FACETWARE_GIRDLE_PC=2.95",
    "GIA_TPC=EX",
    "GIA_LOWER_HALVES=VG",
    "GIA_STAR=EX",
    "GIA_GIRDLE_BEZEL_MAX=GD",
    "GIA_GIRDLE_BONE_MAX=EX",
    "GIA_GIRDLE_NARROW_MIN=VG",
    "GIA_GIRDLE_BEZEL_MIN_DESCRIPTION=Thin",
    "GIA_GIRDLE_BEZEL_MAX_DESCRIPTION=Medium",
    "GIA_GIRDLE_BONE_MIN_DESCRIPTION=Slightly Thick",
    "GIA_GIRDLE_BONE_MAX_DESCRIPTION=Thick",
    "GIA_GIRDLE_NARROW_MIN_DESCRIPTION=Very Thin",
    "GIA_GIRDLE_NARROW_MAX_DESCRIPTION=thin",
    "GIA_FINAL_GIRDLE=VG",
    "GIA_FINAL_GIRDLE_DESCRIPTION=Thin to Medium",
    "GIA_GIRDLE_TYPE=Painted",
    "GIA_GIRDLE_TYPE_DESCRIPTION=Faceted",
    "GIA_TOTAL_DEPTH=EX",
    "GIA_CULET=EX",
    "GIA_CULET_DESCRIPTION=NONE OR POINTED",
    "GIA_DEDUCTION=0",
    "GIA_GIA_GIRDLE=VG",
    "GIA_GIA_TOTALDEPTH=61.7",
    "GIA_STRICT=EX/0",
    "GIA_OVERALL=Excellent",
};

inline const Properties hrdHaProperties = {
    {"Table", 56.5},         {"Crown", 33.9},          {"Pavilion", 41.0},
    {"LowerFacetValue", 78}, {"StarFacetValue", 49},   {"TBCClass", "EX"},
    {"LowerClass", "VG"},    {"StarClass", "NEVER"},   {"BezelClass", "EX"},
    {"NarrowClass", "GD"},   {"BezelDesc", "Medium"},  {"NarrowDesc", "Thin"},
    {"CuletClass", "EX"},    {"CuletDesc", "pointed"},
};

inline const QStringList hrdHaLines = {
    "HRDHA_TABLE_PC=56.5",
    "HRDHA_CROWN_DEG=33.9",
    "HRDHA_PAVILION_DEG=41",
    "HRDHA_LOWER_HALVES_PC=78",
    "HRDHA_STAR_PC=49",
    "HRDHA_TPC=EX",
    "HRDHA_LOWER_HALVES=VG",
    "HRDHA_STAR=",
    "HRDHA_GIRDLE_BEZEL=EX",
    "HRDHA_GIRDLE_NARROW=GD",
    "HRDHA_GIRDLE_BEZEL_DESCRIPTION=Medium",
    "HRDHA_GIRDLE_NARROW_DESCRIPTION=Thin",
    "HRDHA_CULET=EX",
    "HRDHA_CULET_DESCRIPTION=POINTED",
    "HRDHA_OVERALL=HA",
};

inline const Properties hrd2009Properties = {
    {"TableClass", "EX"},        {"PavlionDepthClass", "VG"}, {"PavlionAngleClass", "EX"},
    {"CrownHeightClass", "GD"},  {"CrownAngleClass", "EX"},   {"HalvesClass", "VG"},
    {"StarClass", "EX"},         {"GirdleClass", "EX"},       {"GirdleDesc", "Medium"},
    {"TotalDepthClass", 1},      {"CuletClass", "EX"},        {"CuletDesc", "Very small"},
    {"FishEyeClass", "none"},    {"KozibeClass", 2.25},       {"SumABClass", "EX"},
    {"HRD09Class", "Excellent"},
};

inline const QStringList hrd2009Lines = {
    "HRD2009_TABLE=EX",
    "HRD2009_PAVILION_DEPTH=VG",
    "HRD2009_PAVILION_ANGLE=EX",
    "HRD2009_CROWN_HEIGHT=GD",
    "HRD2009_CROWN_ANGLE=EX",
    "HRD2009_LOWER_HALVES=VG",
    "HRD2009_STAR=EX",
    "HRD2009_GIRDLE_BEZEL=EX",
    "HRD2009_GIRDLE_BEZEL_DESCRIPTION=Medium",
    "HRD2009_TOTAL_DEPTH=1",
    "HRD2009_CULET=EX",
    "HRD2009_CULET_DESCRIPTION=VERY SMALL",
    "HRD2009_FISHEYE=none",
    "HRD2009_KOZIBE=2.25",
    "HRD2009_SUM_AB=EX",
    "HRD2009_OVERALL=Excellent",
};

inline QStringList withPrefix(const QStringList& lines, const QString& from, const QString& to) {
    QStringList result;
    for (const QString& line : lines)
        result << to + line.mid(from.size());
    return result;
}

// Every grader scripted with the values of the tables above; AGS Gold gets the AGS
// values except its overall.
inline void scriptAll(FakeGraderProvider& c) {
    c.ags.properties = agsProperties;
    c.ags.properties["ClassAGS"] = 0;
    c.ags.findGradeResult = "AGS Ideal 0";
    c.agsGold.properties = agsProperties;
    c.agsGold.properties["CuletDesc"] = "sMall";
    c.agsGold.findGradeResult = "Gold 1";
    c.gia.properties = giaProperties;
    c.gia.fwGirdleResult = 2.95;
    c.gia.fwTotalHeightResult = 61.4;
    c.gia.findGradeResult = "Excellent";
    c.gia.strictResult = "EX/0";
    c.hrdHa.properties = hrdHaProperties;
    c.hrdHa.findGradeResult = "HA";
    c.hrd2009.properties = hrd2009Properties;
    c.hrd2009.findGradeResult = "not the overall";
}

inline QStringList expectedLines(GradingSystem system) {
    switch (system) {
    case GradingSystem::AGS:
        return agsLines;
    case GradingSystem::AGSGold: {
        QStringList gold = withPrefix(agsLines, "AGS_", "AGSGOLD_");
        gold[12] = "AGSGOLD_CULET_DESCRIPTION=SMALL";
        gold[14] = "AGSGOLD_OVERALL=Gold 1";
        return gold;
    }
    case GradingSystem::GIA:
        return giaLines;
    case GradingSystem::HRDHA:
        return hrdHaLines;
    case GradingSystem::HRD2009:
        break;
    }
    return hrd2009Lines;
}

} // namespace tav::test
