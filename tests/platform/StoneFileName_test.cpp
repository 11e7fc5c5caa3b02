#include "platform/StoneFileName.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(StoneFileNameTest, AStoneIdMustBeOneSafeName) {
    for (const char* unsafe : {"", ".", "..", "a/b", "a\\b", "A:1", "A*", "A?", "A\x01", "A\x7f"})
        EXPECT_FALSE(isSafeStoneId(unsafe)) << unsafe;
    for (const char* safe : {"AB12", "AB12_P1", "7-1", " 7-1 ", "[AB]", "..S", "S.1"})
        EXPECT_TRUE(isSafeStoneId(safe)) << safe;
    // The files that carry the id hold only what the code page holds.
    EXPECT_TRUE(isSafeStoneId(QStringLiteral("Stein-\u00e4")));
    EXPECT_FALSE(isSafeStoneId(QStringLiteral("\u041a\u0430\u043c\u0435\u043d\u044c")));
}

} // namespace
} // namespace tav
