#pragma once

#include <array>
#include <cstddef>

namespace tav {

// The stone's proportions as the grading reads them, one field per key of the key
// file and in the order the loader reads them. Every field starts at 0.
struct PolishData {
    double DIAMETER_MM = 0;
    double TABLE_PC = 0;
    double PAVILION_ANGLE_DEG = 0;
    double PAVILION_DEPTH_PC = 0;
    double CROWN_ANGLE_DEG = 0;
    double CROWN_HEIGHT_PC = 0;
    double DEPTH_GIRDLE_FACET = 0;
    double STAR_RATIO_PC = 0;
    double GIRDLE_WIDE_BEZEL = 0;
    double GIRDLE_WIDE_BEZEL_MIN = 0;
    double GIRDLE_WIDE_BEZEL_MAX = 0;
    double GIRDLE_WIDE_BONE = 0;
    double GIRDLE_WIDE_BONE_MIN = 0;
    double GIRDLE_WIDE_BONE_MAX = 0;
    double GIRDLE_NARROW = 0;
    double GIRDLE_NARROW_MIN = 0;
    double GIRDLE_NARROW_MAX = 0;
    double TOTAL_DEPTH_PC = 0;
    double CULET_PC = 0;
    double CULET_MM = 0;
    double SPREAD_PC = 0;
    // A shape name in the scan files; the field keeps the number its text begins with.
    double CUTTING_TYPE = 0;
    double TOTAL_DEPTH_MM = 0;
    double DIAMETER_MM_MAX = 0;
    double DIAMETER_DEV_PC = 0;
    double CORRECTED_MASS = 0;
    double LENGTH_GIRDLE_FACET = 0;
    double MODEL_IS_SEMI_POLISHED = 0;
    double FISH_EYE_DEG = 0;
    double KOZIBE_DEG = 0;

    static constexpr std::size_t fieldCount = 30;

    // The key of each field, in field order.
    static constexpr std::array<const char*, fieldCount> keys = {
        "DIAMETER_MM",
        "TABLE_PC",
        "PAVILION_ANGLE_DEG",
        "PAVILION_DEPTH_PC",
        "CROWN_ANGLE_DEG",
        "CROWN_HEIGHT_PC",
        "DEPTH_GIRDLE_FACET",
        "STAR_RATIO_PC",
        "GIRDLE_WIDE_BEZEL",
        "GIRDLE_WIDE_BEZEL_MIN",
        "GIRDLE_WIDE_BEZEL_MAX",
        "GIRDLE_WIDE_BONE",
        "GIRDLE_WIDE_BONE_MIN",
        "GIRDLE_WIDE_BONE_MAX",
        "GIRDLE_NARROW",
        "GIRDLE_NARROW_MIN",
        "GIRDLE_NARROW_MAX",
        "TOTAL_DEPTH_PC",
        "CULET_PC",
        "CULET_MM",
        "SPREAD_PC",
        "CUTTING_TYPE",
        "TOTAL_DEPTH_MM",
        "DIAMETER_MM_MAX",
        "DIAMETER_DEV_PC",
        "CORRECTED_MASS",
        "LENGTH_GIRDLE_FACET",
        "MODEL_IS_SEMI_POLISHED",
        "FISH_EYE_DEG",
        "KOZIBE_DEG",
    };

    // The field of keys[index]; throws std::out_of_range past the last field.
    double& field(std::size_t index);
    double field(std::size_t index) const;
};

namespace detail {
inline constexpr std::array<double PolishData::*, PolishData::fieldCount> polishDataFields = {
    &PolishData::DIAMETER_MM,
    &PolishData::TABLE_PC,
    &PolishData::PAVILION_ANGLE_DEG,
    &PolishData::PAVILION_DEPTH_PC,
    &PolishData::CROWN_ANGLE_DEG,
    &PolishData::CROWN_HEIGHT_PC,
    &PolishData::DEPTH_GIRDLE_FACET,
    &PolishData::STAR_RATIO_PC,
    &PolishData::GIRDLE_WIDE_BEZEL,
    &PolishData::GIRDLE_WIDE_BEZEL_MIN,
    &PolishData::GIRDLE_WIDE_BEZEL_MAX,
    &PolishData::GIRDLE_WIDE_BONE,
    &PolishData::GIRDLE_WIDE_BONE_MIN,
    &PolishData::GIRDLE_WIDE_BONE_MAX,
    &PolishData::GIRDLE_NARROW,
    &PolishData::GIRDLE_NARROW_MIN,
    &PolishData::GIRDLE_NARROW_MAX,
    &PolishData::TOTAL_DEPTH_PC,
    &PolishData::CULET_PC,
    &PolishData::CULET_MM,
    &PolishData::SPREAD_PC,
    &PolishData::CUTTING_TYPE,
    &PolishData::TOTAL_DEPTH_MM,
    &PolishData::DIAMETER_MM_MAX,
    &PolishData::DIAMETER_DEV_PC,
    &PolishData::CORRECTED_MASS,
    &PolishData::LENGTH_GIRDLE_FACET,
    &PolishData::MODEL_IS_SEMI_POLISHED,
    &PolishData::FISH_EYE_DEG,
    &PolishData::KOZIBE_DEG,
};
} // namespace detail

inline double& PolishData::field(std::size_t index) {
    return this->*detail::polishDataFields.at(index);
}

inline double PolishData::field(std::size_t index) const {
    return this->*detail::polishDataFields.at(index);
}

} // namespace tav
