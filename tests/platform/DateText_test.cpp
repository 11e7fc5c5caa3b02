#include "platform/DateText.h"

#include "support/BenchLocale.h"

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

// The forms of the C library's settings, as the bench's `date` prints them, whatever
// Qt's locale says; a time of the databases' day zero stands alone.
TEST(DateText, TheFormsAreThoseOfTheBenchsDateCommand) {
    const QDateTime when(QDate(2026, 12, 9), QTime(13, 48, 55));
    const QStringList at = {"-d", "2026-12-09 13:48:55"};
    for (const char* locale : {"C.UTF-8", "C", TAV_COMMA_LOCALE, TAV_BELGIAN_LOCALE}) {
        SCOPED_TRACE(locale);
        const test::BenchLocale bench(locale);
        const QString date = test::dateCommand(at + QStringList{"+%x"});
        const QString time = test::dateCommand(at + QStringList{"+%X"});
        EXPECT_EQ(shortDateText(when.date()), date);
        EXPECT_EQ(timeText(when.time()), time);
        EXPECT_EQ(generalDateTimeText(when), date + " " + time);
        EXPECT_EQ(generalDateTimeText(QDateTime(QDate(1899, 12, 30), when.time())), time);
        EXPECT_TRUE(isDateOrTimeText(date));
        EXPECT_TRUE(isDateOrTimeText(time));
        EXPECT_TRUE(isDateOrTimeText(date + " " + time));
        EXPECT_FALSE(isDateOrTimeText(date + " soon"));
        EXPECT_FALSE(isDateOrTimeText("Weight OK"));
    }
    const test::BenchLocale belgian(TAV_BELGIAN_LOCALE);
    EXPECT_EQ(timeText(when.time()), "13:48:55");
    EXPECT_EQ(shortDateText(when.date()), "09/12/26");
}

// A locale the machine does not have gives the C forms, as `date` falls back to them.
TEST(DateText, AMissingLocaleGivesTheCForms) {
    const test::BenchLocale missing("xx_XX.UTF-8");
    EXPECT_EQ(shortDateText(QDate(2026, 12, 9)), "12/09/26");
    EXPECT_EQ(timeText(QTime(13, 48, 55)), "13:48:55");
}

} // namespace
} // namespace tav
