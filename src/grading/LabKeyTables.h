#pragma once

#include "grading/LabGrader.h"

#include <optional>
#include <span>

// What each grading system of the outside component is given and what it writes:
// the data that drives the one lab adapter engine (LabAdapters.cpp).
namespace tav {

// One number passed to the component: the proportion of that key, less the
// proportion of `minus` when one is named.
struct ProportionArgument {
    const char* key;
    const char* minus = nullptr;
};

enum class LineSource {
    Property,          // the grader's property
    UpperCaseProperty, // the grader's property, upper-cased whole
    Overall,           // what FindGrade returned
    FacetwareTotalDepth,
    FacetwareGirdle,
    Strict, // Strict(own property, companion grader's property)
    Blank,  // the key alone; nothing is read
};

struct LabLine {
    const char* key; // after the system's prefix, up to and with the "="
    LineSource source;
    const char* property = nullptr;
    const char* companionProperty = nullptr;
};

struct LabSystem {
    GradingSystem system;
    const char* prefix;
    std::span<const ProportionArgument> findGradeArguments;
    std::span<const LabLine> lines;
    // FWGirdle and FWTotalHeight run before FindGrade, which takes both by reference.
    bool facetware = false;
    // A second grader graded after this one, for the Strict line.
    std::optional<GradingSystem> companion;
};

// The arguments of FWGirdle and FWTotalHeight.
std::span<const ProportionArgument> facetwareArguments();

const LabSystem& labSystem(GradingSystem system);

} // namespace tav
