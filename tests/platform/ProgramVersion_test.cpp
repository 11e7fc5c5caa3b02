#include "platform/ProgramVersion.h"

#include <gtest/gtest.h>

#include <vector>

namespace tav {
namespace {

TEST(ProgramVersion, PlainDecimalParts) {
    struct Case {
        int major, minor, revision;
        QString text;
    };
    const std::vector<Case> cases = {
        {3, 10, 1, "3.10.1"}, {1, 0, 0, "1.0.0"}, {12, 3, 45, "12.3.45"}};
    for (const Case& c : cases)
        EXPECT_EQ(versionText(c.major, c.minor, c.revision), c.text);
}

} // namespace
} // namespace tav
