#include "platform/NumberText.h"

#include "support/CommaLocale.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace tav {
namespace {

TEST(NumberText, LeadingNumberReadsTheNumberATextBeginsWith) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"57.5", 57.5}, {"  0.512 ct", 0.512}, {"1.2c3", 1.2}, {"-3.5x", -3.5},
        {"1e3", 1000},  {"2.5E-1 mm", 0.25},   {"", 0},        {"abc", 0},
        {"c0.5", 0},    {".5", 0.5},           {"12.", 12},    {"+7", 7},
        {"1,234", 1},   {"0.00400", 0.004},    {"1E", 1},      {"3D2", 300},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(NumberText, WholeNumberAcceptsOnlyACompleteNumber) {
    const struct {
        const char* text;
        bool numeric;
        double value;
    } cases[] = {
        {"1", true, 1},      {" 1.0 ", true, 1},  {"-2.5", true, -2.5}, {"1.5E+3", true, 1500},
        {"0", true, 0},      {".5", true, 0.5},   {"", false, 0},       {"  ", false, 0},
        {"inf", false, 0},   {"nan", false, 0},   {"0x1A", false, 0},   {"&H1A", false, 0},
        {"1.2.3", false, 0}, {"12abc", false, 0}, {"-", false, 0},      {"1e999", false, 0},
    };
    for (const auto& c : cases) {
        const auto value = wholeNumber(QString::fromLatin1(c.text));
        EXPECT_EQ(value.has_value(), c.numeric) << c.text;
        if (value) {
            EXPECT_DOUBLE_EQ(*value, c.value) << c.text;
        }
    }
}

TEST(NumberText, SingleAndDoubleTextsKeepTheirSignificantDigits) {
    EXPECT_EQ(singleToText(1.005f), "1.005");
    EXPECT_EQ(singleToText(0.1234567891f), "0.1234568");
    EXPECT_EQ(singleToText(7.0f), "7");
    EXPECT_EQ(singleToText(57.5f), "57.5");
    EXPECT_EQ(singleToText(-0.06f), "-0.06");
    EXPECT_EQ(singleToText(0.0f), "0");
    EXPECT_EQ(singleToText(1.5e20f), "1.5E+20");
    EXPECT_EQ(doubleToText(std::fabs(2.5 - 3.1)), "0.6");
    EXPECT_EQ(doubleToText(57.50), "57.5");
    EXPECT_EQ(doubleToText(101), "101");
    EXPECT_EQ(doubleToText(1.0 / 3.0), "0.333333333333333");
    // Where the exponent form starts, and how printf writes it.
    EXPECT_EQ(doubleToText(999999999999999.0), "999999999999999");
    EXPECT_EQ(doubleToText(1e15), "1E+15");
    EXPECT_EQ(doubleToText(-1.25e-5), "-1.25E-05");
    EXPECT_EQ(doubleToText(0.0001), "0.0001");
    EXPECT_EQ(doubleToText(1e300 * 1e300), "INF");
    EXPECT_EQ(singleToText(-0.0f), "0");
}

// Values written from their shortest text and values rounded to their digits come out
// alike: each as printf's "%.15G" ("%.7G" for a single) with the trailing zeros dropped.
TEST(NumberText, EveryFormOfASignificantTextIsPrintfs) {
    const struct {
        double value;
        const char* text;
    } doubles[] = {
        {100000000000000.0, "100000000000000"},
        {120000.0, "120000"},
        {123.456, "123.456"},
        {-0.001234, "-0.001234"},
        {0.00012, "0.00012"},
        {0.000012, "1.2E-05"},
        {1.5e-300, "1.5E-300"},
        {-2e100, "-2E+100"},
        {1234567890123456.0, "1.23456789012346E+15"},
        {0.1 + 0.2, "0.3"},
        {1.0000000000000002, "1"},
        {5e-324, "4.94065645841247E-324"},
        {1.7976931348623157e308, "1.79769313486232E+308"},
    };
    for (const auto& c : doubles)
        EXPECT_EQ(doubleToText(c.value), c.text) << c.text;
    EXPECT_EQ(singleToText(1234567.0f), "1234567");
    EXPECT_EQ(singleToText(12345678.0f), "1.234568E+07");
    EXPECT_EQ(singleToText(0.1f), "0.1");
    EXPECT_EQ(singleToText(-3.0e-5f), "-3E-05");
}

TEST(NumberText, PlainIntegerTakesOnlyDigitsADoubleHoldsWhole) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"2141438167", 2141438167.0},
        {" -87654321 ", -87654321.0},
        {"+16777217", 16777217.0},
        {"007", 7.0},
        {"-0", 0.0},
        {"999999999999999", 999999999999999.0},
        {"1000000000000000", std::nullopt}, // 10^15: past the digits written
        {"12.0", std::nullopt},
        {"12.", std::nullopt},
        {"1E+3", std::nullopt},
        {"12 ct", std::nullopt},
        {"-", std::nullopt},
        {"", std::nullopt},
        {"1-2", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plainInteger(c.text), c.value) << c.text;
    EXPECT_FALSE(std::signbit(*plainInteger("-0")));
}

TEST(NumberText, PlainDecimalTextWritesOutTheExponent) {
    EXPECT_EQ(plainDecimalText("1.5E-07"), "0.00000015");
    EXPECT_EQ(plainDecimalText("-1.5E-07"), "-0.00000015");
    EXPECT_EQ(plainDecimalText("1.5E+20"), "150000000000000000000");
    EXPECT_EQ(plainDecimalText("2.5E+01"), "25");
    EXPECT_EQ(plainDecimalText("0.125"), "0.125");
}

TEST(NumberText, SingleConversionChecksTheRangeBeforeItNarrows) {
    const float max = std::numeric_limits<float>::max();
    const struct {
        double value;
        std::optional<float> single;
    } cases[] = {
        {0.1, 0.1f},
        {-57.5, -57.5f},
        {double(max), max},
        {-double(max), -max},
        {1e300, std::nullopt},
        {-1e39, std::nullopt},
        {std::nextafter(double(max), 1e300), std::nullopt},
        {INFINITY, std::nullopt},
        {NAN, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toSingle(c.value), c.single) << c.value;
}

TEST(NumberText, Int16ConversionRoundsHalfToEvenAndChecksTheRange) {
    const struct {
        const char* text;
        bool ok;
        int value;
    } cases[] = {
        {"1", true, 1},      {"1.0", true, 1},       {"1.5", true, 2},         {"2.5", true, 2},
        {"-2.5", true, -2},  {"32767", true, 32767}, {"-32768", true, -32768}, {"32768", false, 0},
        {"40000", false, 0}, {"", false, 0},         {"abc", false, 0},        {" 3 ", true, 3},
    };
    for (const auto& c : cases) {
        const auto value = toInt16(QString::fromLatin1(c.text));
        EXPECT_EQ(value.has_value(), c.ok) << c.text;
        if (value) {
            EXPECT_EQ(*value, c.value) << c.text;
        }
    }
    EXPECT_EQ(toInt32(QStringLiteral("70000")), 70000);
    EXPECT_FALSE(toInt32(QStringLiteral("3000000000")).has_value());
}

TEST(NumberText, FixedDecimalTextHasExactlyThePlacesAsked) {
    const struct {
        double value;
        int places;
        const char* expected;
    } cases[] = {
        {57.3, 2, "57.30"},
        {7, 2, "7.00"},
        {0.51230, 5, "0.51230"},
        {-1.5, 1, "-1.5"},
        {-0.0, 2, "-0.00"},
        {12345678, 2, "12345678.00"},
        {1e20, 1, "100000000000000000000.0"},
        {0.1, 20, "0.10000000000000000555"},
        // a value exactly halfway goes away from zero, as a "0.0" pattern writes it
        {2.5, 0, "3"},
        {0.125, 2, "0.13"},
        {-2.5, 0, "-3"},
        {1278757.25, 1, "1278757.3"},
        {4061308.5, 0, "4061309"},
        {492409.03125, 4, "492409.0313"},
        {9.5, 0, "10"},
        {-99.95, 1, "-100.0"}, // no tie: the double lies below -99.95
        {-999.5, 0, "-1000"},
        {0.5, 0, "1"},
        // near a half but not on it, the nearer side
        {2.675, 2, "2.67"}, // the double lies below 2.675
        {1.0000000000000002, 0, "1"},
        {std::nextafter(2.5, 3.0), 0, "3"},
        {std::nextafter(2.5, 2.0), 0, "2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fixedDecimalText(c.value, c.places), c.expected) << c.value;
    const QString many = fixedDecimalText(1.0 / 3.0, 1000);
    EXPECT_EQ(many.size(), 1002);
    EXPECT_TRUE(many.startsWith("0.3333333333333333148")) << many.left(30).toStdString();
}

// Neither the C library's locale nor Qt's default locale reaches a number text.
TEST(NumberText, TextsAndReadingsAreTheSameUnderADecimalCommaLocale) {
    const auto texts = [] {
        return QStringList{singleToText(57.3f),
                           doubleToText(0.6),
                           fixedDecimalText(57.3, 2),
                           plainDecimalText("1.5E-07"),
                           doubleToText(leadingNumber("  0.512 ct")),
                           doubleToText(wholeNumber("-2.5E+3").value_or(0)),
                           QString::number(toInt16("2.5").value_or(0))};
    };
    const QStringList expected{"57.3", "0.6", "57.30", "0.00000015", "0.512", "-2500", "2"};
    EXPECT_EQ(texts(), expected);
    const QLocale kept;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    {
        const test::CommaLocale comma;
        EXPECT_EQ(texts(), expected);
        EXPECT_EQ(leadingNumber("1,234"), 1);
        EXPECT_FALSE(wholeNumber("1,5"));
    }
    QLocale::setDefault(kept);
}

} // namespace
} // namespace tav
