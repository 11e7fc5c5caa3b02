#include "platform/ReadableText.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(ReadableText, ATextLongerThanAnyoneReadsIsCutWithThreeDotsAtTheCut) {
    const QString a300(300, u'a');
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E"); // two UTF-16 units
    const struct {
        const char* name;
        QString text;
        QString shown;
    } cases[] = {
        {"empty", "", ""},
        {"short", "Grades", "Grades"},
        {"exactly the length", a300, a300},
        {"one more", a300 + "b", a300 + "..."},
        {"far longer", QString(4'000'000, u'x'), QString(300, u'x') + "..."},
        {"a pair of units at the cut stays whole", QString(299, u'a') + clef + "b",
         QString(299, u'a') + "..."},
        {"a pair of units just before the cut", QString(298, u'a') + clef + "b",
         QString(298, u'a') + clef + "..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readableText(c.text), c.shown) << c.name;
}

} // namespace
} // namespace tav
