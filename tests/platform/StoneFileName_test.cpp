#include "platform/StoneFileName.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(StoneFileNameTest, AStoneIdMustBeOneSafeName) {
    for (const char* unsafe : {"", ".", "..", "a/b", "a\\b", "A:1", "A*", "A?", "A\x01", "A\x7f"})
        EXPECT_FALSE(isSafeStoneId(unsafe)) << unsafe;
    for (const char* safe : {"AB12", "AB12_P1", "7-1", " 7-1 ", "[AB]", "..S", "S.1"})
        EXPECT_TRUE(isSafeStoneId(safe)) << safe;
}

} // namespace
} // namespace tav
