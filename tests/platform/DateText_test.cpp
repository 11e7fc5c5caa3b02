#include "platform/DateText.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(DateText, GeneralDateLeavesOutMidnight) {
    const QDate day(2026, 12, 9);
    EXPECT_EQ(generalDateTimeText(QDateTime(day, QTime(0, 0))), shortDateText(day));
    EXPECT_EQ(generalDateTimeText(QDateTime(day, QTime(14, 30, 5))),
              shortDateText(day) + " " + timeText(QTime(14, 30, 5)));
    EXPECT_TRUE(timeText(QTime(14, 30, 5)).contains("30:05"));
}

} // namespace
} // namespace tav
