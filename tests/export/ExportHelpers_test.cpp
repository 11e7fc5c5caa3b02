#include "export/ExportHelpers.h"

#include <gtest/gtest.h>

#include <limits>

namespace tav {
namespace {

TEST(ExportHelpers, ANumberBeyondTheSingleRangeFailsTheStatement) {
    EXPECT_EQ(narrowToSingle(57.5), 57.5f);
    EXPECT_EQ(narrowToSingle(-double(std::numeric_limits<float>::max())),
              -std::numeric_limits<float>::max());
    for (const double value : {1e300, -1e39}) {
        try {
            narrowToSingle(value);
            ADD_FAILURE() << value << " was narrowed";
        } catch (const StepFailure& failure) {
            EXPECT_EQ(failure.number(), 6) << value;
        }
    }
    EXPECT_THROW(singleQuotient(1e300, 1e-300), StepFailure);
    EXPECT_THROW(singleQuotient(1, 0), StepFailure);
}

} // namespace
} // namespace tav
