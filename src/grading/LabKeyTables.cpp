#include "grading/LabKeyTables.h"

#include <array>

namespace tav {

namespace {

using enum LineSource;

constexpr std::array<ProportionArgument, 14> agsArguments{{
    {"DIAMETER_MM"},
    {"TABLE_PC"},
    {"PAVILION_ANGLE_DEG"},
    {"CROWN_ANGLE_DEG"},
    {"GIRDLE_WIDE_BEZEL_MIN"},
    {"GIRDLE_WIDE_BEZEL_MAX"},
    {"GIRDLE_NARROW_MIN"},
    {"GIRDLE_NARROW_MAX"},
    {"GIRDLE_WIDE_BONE_MAX"},
    {"GIRDLE_WIDE_BONE_MIN"},
    {"CULET_MM"},
    {"SPREAD_PC"},
    {"DEPTH_GIRDLE_FACET"},
    {"STAR_RATIO_PC"},
}};

constexpr std::array<ProportionArgument, 15> giaArguments{{
    {"TABLE_PC"},
    {"PAVILION_ANGLE_DEG"},
    {"CROWN_ANGLE_DEG"},
    {"GIRDLE_WIDE_BEZEL_MIN"},
    {"GIRDLE_WIDE_BEZEL_MAX"},
    {"GIRDLE_NARROW_MIN"},
    {"GIRDLE_NARROW_MAX"},
    {"GIRDLE_WIDE_BONE_MAX"},
    {"GIRDLE_WIDE_BONE_MIN"},
    {"CULET_PC"},
    {"SPREAD_PC"},
    {"LENGTH_GIRDLE_FACET"},
    {"STAR_RATIO_PC"},
    {"TOTAL_DEPTH_PC"},
    {"GIRDLE_WIDE_BEZEL", "GIRDLE_WIDE_BONE"},
}};

constexpr std::array<ProportionArgument, 8> hrdHaArguments{{
    {"TABLE_PC"},
    {"PAVILION_ANGLE_DEG"},
    {"CROWN_ANGLE_DEG"},
    {"GIRDLE_WIDE_BEZEL"},
    {"GIRDLE_NARROW"},
    {"CULET_PC"},
    {"LENGTH_GIRDLE_FACET"},
    {"STAR_RATIO_PC"},
}};

constexpr std::array<ProportionArgument, 12> hrd2009Arguments{{
    {"TABLE_PC"},
    {"PAVILION_ANGLE_DEG"},
    {"PAVILION_DEPTH_PC"},
    {"CROWN_ANGLE_DEG"},
    {"CROWN_HEIGHT_PC"},
    {"GIRDLE_WIDE_BEZEL"},
    {"CULET_PC"},
    {"DEPTH_GIRDLE_FACET"},
    {"STAR_RATIO_PC"},
    {"TOTAL_DEPTH_PC"},
    {"FISH_EYE_DEG"},
    {"KOZIBE_DEG"},
}};

constexpr std::array<ProportionArgument, 4> fwArguments{{
    {"PAVILION_ANGLE_DEG"},
    {"CROWN_ANGLE_DEG"},
    {"TABLE_PC"},
    {"TOTAL_DEPTH_PC"},
}};

// AGS and AGS Gold write the same lines under their own prefixes.
constexpr std::array<LabLine, 15> agsLines{{
    {"TABLE_PC=", Property, "Table"},
    {"CROWN_DEG=", Property, "Crown"},
    {"PAVILION_DEG=", Property, "Pavilion"},
    {"LOWER_HALVES_PC=", Property, "LowerFacetValue"},
    {"STAR_PC=", Property, "StarFacetValue"},
    {"TPC=", Property, "TBCClass"},
    {"LOWER_HALVES=", Property, "LowerClass"},
    {"STAR=", Property, "StarClass"},
    {"GIRDLE_BEZEL_MAX=", Property, "BezelClass"},
    {"GIRDLE_BONE_MAX=", Property, "BoneClass"},
    {"GIRDLE_NARROW_MIN=", Property, "NarrowClass"},
    {"CULET=", Property, "CuletClass"},
    {"CULET_DESCRIPTION=", UpperCaseProperty, "CuletDesc"},
    {"DEDUCTION=", Property, "Deduction"},
    {"OVERALL=", Overall},
}};

constexpr std::array<LabLine, 31> giaLines{{
    {"TABLE_PC=", Property, "Table"},
    {"CROWN_DEG=", Property, "Crown"},
    {"PAVILION_DEG=", Property, "Pavilion"},
    {"LOWER_HALVES_PC=", Property, "LowerFacetValue"},
    {"STAR_PC=", Property, "StarFacetValue"},
    {"FACETWARE_TOTALDEPTH_PC=", FacetwareTotalDepth},
    {"FACETWARE_GIRDLE_PC=", FacetwareGirdle},
    {"TPC=", Property, "TBCClass"},
    {"LOWER_HALVES=", Property, "LowerClass"},
    {"STAR=", Property, "StarClass"},
    {"GIRDLE_BEZEL_MAX=", Property, "BezelClass"},
    {"GIRDLE_BONE_MAX=", Property, "BoneClass"},
    {"GIRDLE_NARROW_MIN=", Property, "NarrowClass"},
    {"GIRDLE_BEZEL_MIN_DESCRIPTION=", Property, "BezelMinDesc"},
    {"GIRDLE_BEZEL_MAX_DESCRIPTION=", Property, "BezelMaxDesc"},
    {"GIRDLE_BONE_MIN_DESCRIPTION=", Property, "BoneMinDesc"},
    {"GIRDLE_BONE_MAX_DESCRIPTION=", Property, "BoneMaxDesc"},
    {"GIRDLE_NARROW_MIN_DESCRIPTION=", Property, "NarrowMinDesc"},
    {"GIRDLE_NARROW_MAX_DESCRIPTION=", Property, "NarrowMaxDesc"},
    {"FINAL_GIRDLE=", Property, "FinalGrdClass"},
    {"FINAL_GIRDLE_DESCRIPTION=", Property, "FinalGrdDesc"},
    {"GIRDLE_TYPE=", Property, "DigPaintClass"},
    {"GIRDLE_TYPE_DESCRIPTION=", Property, "GirdleType"},
    {"TOTAL_DEPTH=", Property, "TotalDepthClass"},
    {"CULET=", Property, "CuletClass"},
    {"CULET_DESCRIPTION=", UpperCaseProperty, "CuletDesc"},
    {"DEDUCTION=", Property, "SpreadClass"},
    {"GIA_GIRDLE=", Property, "GrdThkClass"},
    {"GIA_TOTALDEPTH=", Property, "TotalDepth_GIAClass"},
    {"STRICT=", Strict, "ClassGIA", "ClassAGS"},
    {"OVERALL=", Overall},
}};

constexpr std::array<LabLine, 15> hrdHaLines{{
    {"TABLE_PC=", Property, "Table"},
    {"CROWN_DEG=", Property, "Crown"},
    {"PAVILION_DEG=", Property, "Pavilion"},
    {"LOWER_HALVES_PC=", Property, "LowerFacetValue"},
    {"STAR_PC=", Property, "StarFacetValue"},
    {"TPC=", Property, "TBCClass"},
    {"LOWER_HALVES=", Property, "LowerClass"},
    {"STAR=", Blank},
    {"GIRDLE_BEZEL=", Property, "BezelClass"},
    {"GIRDLE_NARROW=", Property, "NarrowClass"},
    {"GIRDLE_BEZEL_DESCRIPTION=", Property, "BezelDesc"},
    {"GIRDLE_NARROW_DESCRIPTION=", Property, "NarrowDesc"},
    {"CULET=", Property, "CuletClass"},
    {"CULET_DESCRIPTION=", UpperCaseProperty, "CuletDesc"},
    {"OVERALL=", Overall},
}};

// The overall class of HRD 2009 is a property; what FindGrade returns is not used.
constexpr std::array<LabLine, 16> hrd2009Lines{{
    {"TABLE=", Property, "TableClass"},
    {"PAVILION_DEPTH=", Property, "PavlionDepthClass"},
    {"PAVILION_ANGLE=", Property, "PavlionAngleClass"},
    {"CROWN_HEIGHT=", Property, "CrownHeightClass"},
    {"CROWN_ANGLE=", Property, "CrownAngleClass"},
    {"LOWER_HALVES=", Property, "HalvesClass"},
    {"STAR=", Property, "StarClass"},
    {"GIRDLE_BEZEL=", Property, "GirdleClass"},
    {"GIRDLE_BEZEL_DESCRIPTION=", Property, "GirdleDesc"},
    {"TOTAL_DEPTH=", Property, "TotalDepthClass"},
    {"CULET=", Property, "CuletClass"},
    {"CULET_DESCRIPTION=", UpperCaseProperty, "CuletDesc"},
    {"FISHEYE=", Property, "FishEyeClass"},
    {"KOZIBE=", Property, "KozibeClass"},
    {"SUM_AB=", Property, "SumABClass"},
    {"OVERALL=", Property, "HRD09Class"},
}};

const LabSystem systems[] = {
    {GradingSystem::AGS, "AGS_", agsArguments, agsLines, false, std::nullopt},
    {GradingSystem::AGSGold, "AGSGOLD_", agsArguments, agsLines, false, std::nullopt},
    {GradingSystem::GIA, "GIA_", giaArguments, giaLines, true, GradingSystem::AGS},
    {GradingSystem::HRDHA, "HRDHA_", hrdHaArguments, hrdHaLines, false, std::nullopt},
    {GradingSystem::HRD2009, "HRD2009_", hrd2009Arguments, hrd2009Lines, false, std::nullopt},
};

} // namespace

std::span<const ProportionArgument> facetwareArguments() {
    return fwArguments;
}

const LabSystem& labSystem(GradingSystem system) {
    for (const LabSystem& s : systems)
        if (s.system == system)
            return s;
    return systems[0]; // every system has a row above
}

} // namespace tav
