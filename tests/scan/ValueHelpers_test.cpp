#include "scan/KeyReader.h"
#include "scan/ValueHelpers.h"

#include "platform/Database.h"
#include "platform/StepFailure.h"
#include "support/CommaLocale.h"
#include "support/DatabaseLock.h"
#include "support/TempProgramFolder.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(GetString, TranslatesWholeGiaGradesOnlyWhenSwitchedOn) {
    test::TempProgramFolder dir;
    dir.write("test.txt", "[NumericalParameters]\r\nA=GIA-V\r\nB=gia-v\r\nC=\"GIA-V \"\r\n"
                          "D=GIA-VG\r\nE=GIA-E\r\nF=GIA-G\r\nG=GIA-P\r\nH=\r\n");
    const QString file = dir.filePath("test.txt");
    const struct {
        const char* key;
        qint16 translate;
        const char* expected;
    } cases[] = {
        {"A", -1, "VG"},     {"A", 0, "GIA-V"},   {"B", -1, "gia-v"}, {"C", -1, "GIA-V "},
        {"D", -1, "GIA-VG"}, {"E", 1, "EX"},      {"F", -1, "GD"},    {"G", -1, "PR"},
        {"H", -1, ""},       {"MISSING", -1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetString("NumericalParameters", c.key, file, c.translate), c.expected)
            << c.key << " " << c.translate;
    EXPECT_EQ(GetString("NumericalParameters", "A", dir.filePath("none.txt"), 0), "");
}

TEST(RoundToDecimals, RoundsHalfUpOnTheDecimalText) {
    const struct {
        float value;
        qint16 places;
        qint16 fixed;
        double number;
        const char* text; // nullptr: the result stays a number
    } cases[] = {
        {1.005f, 2, 0, 1.01, nullptr},
        {2.5f, 0, 0, 3, nullptr},
        {1.24f, 1, 0, 1.2, nullptr},
        {0.05f, 1, 0, 0.1, nullptr},
        {1.5f, 3, 0, 1.5, nullptr},
        {7.0f, 2, 0, 7, nullptr},
        {7.0f, 2, 1, 7, "7.00"},
        {0.1234f, 5, 1, 0.1234, "0.12340"},
        {3.14159f, 6, 1, 3.14159, nullptr},
        {57.26f, 1, 0, 57.3, nullptr},
        {0.5123f, 5, 1, 0.5123, "0.51230"},
        {2.4f, 0, 1, 2, "2"},
        // a negative value rounds its magnitude and keeps the sign
        {-0.06f, 1, 0, -0.1, nullptr},
        {-1.27f, 1, 0, -1.3, nullptr},
        {-1.24f, 1, 0, -1.2, nullptr},
        {-0.001f, 2, 1, 0, "0.00"},
        // an exponent is written out first
        {1.5e-7f, 2, 0, 0, nullptr},
        {1.5e-7f, 7, 0, 0.0000002, nullptr},
    };
    test::inRunAndCommaLocale([&] {
        for (const auto& c : cases) {
            const auto result = RoundToDecimals(c.value, c.places, c.fixed);
            ASSERT_TRUE(result) << c.value;
            EXPECT_DOUBLE_EQ(result->number, c.number) << c.value << " to " << c.places;
            EXPECT_EQ(result->isText(), c.text != nullptr) << c.value;
            if (c.text) {
                EXPECT_EQ(result->text(), c.text) << c.value;
            }
        }
        EXPECT_EQ(RoundToDecimals(57.26f, 1, 0)->text(), "57.3");
    });
    EXPECT_FALSE(RoundToDecimals(1.5f, -2, 0));
}

// The texts written with fixed decimals off and on. A value whose 7-digit text has no
// point comes back as it is; a whole number up to 2^24, which the single-precision value
// holds exactly, keeps every digit where that text would need an exponent, for every
// format code (0, 1, 2); beyond, the single's digits would be noise and its 7 digits stay.
TEST(RoundToDecimals, AValueWithoutPointInItsTextKeepsThatTextAndAWholeNumberAllItsDigits) {
    const struct {
        float value;
        qint16 places;
        const char* unfixed;
        const char* fixed;
    } cases[] = {
        {34.999998f, 1, "35", "35.0"},
        {57.000004f, 2, "57", "57.00"},
        {1.0000001f, 2, "1", "1.00"},
        {1234567.4f, 0, "1234567", "1234567"},
        {-34.999998f, 1, "-35", "-35.0"},
        {1.5e20f, 6, "1.5E+20", "1.5E+20"}, // no fixed form past 5 places
        {7.0f, 2, "7", "7.00"},
        {57.26f, 1, "57.3", "57.3"},
        {1.005f, 2, "1.01", "1.01"},
        {1.005f, 0, "1", "1"},
        {1.005f, 1, "1", "1.0"},
        {12345678.0f, 0, "12345678", "12345678"},
        {12345678.0f, 2, "12345678", "12345678.00"},
        {12345678.0f, 1, "12345678", "12345678.0"},
        {16777216.0f, 2, "16777216", "16777216.00"},
        {20000000.0f, 2, "2E+07", "20000000.00"},
        {-12345678.0f, 2, "-12345678", "-12345678.00"},
        // very large and very small magnitudes
        {1e20f, 2, "1E+20", "100000002004087734272.00"},
        {1e-7f, 2, "0", "0.00"},
        {1e-7f, 7, "1E-07", "1E-07"},
    };
    test::inRunAndCommaLocale([&] {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.unfixed);
            EXPECT_EQ(RoundToDecimals(c.value, c.places, 0)->text(), c.unfixed);
            EXPECT_EQ(RoundToDecimals(c.value, c.places, 1)->text(), c.fixed);
        }
    });
}

// A number given as text: a whole number keeps its own digits, which its single-precision
// value holds only up to 2^24; a value with a fraction is narrowed as before, and its fixed
// text rounds a tie of the single away from zero.
TEST(RoundToDecimals, AWholeNumberTextKeepsItsOwnDigits) {
    const struct {
        const char* text;
        qint16 places;
        const char* unfixed;
        const char* fixed;
    } cases[] = {
        {"87654321", 0, "87654321", "87654321"},
        {"123456789", 0, "123456789", "123456789"},
        {"2141438167", 2, "2141438167", "2141438167.00"},
        {"4763400000", 0, "4763400000", "4763400000"},
        {"16777217", 1, "16777217", "16777217.0"},
        {"-123456789", 2, "-123456789", "-123456789.00"},
        {" 0042 ", 1, "42", "42.0"},
        {"999999999999999", 6, "999999999999999", "999999999999999"},
        {"57.26", 1, "57.3", "57.3"},
        {"1278757.25", 1, "1278757", "1278757.3"},
        {"4061308.5", 0, "4061308", "4061309"},
        {"492409.045", 4, "492409", "492409.0313"},
        {"-4061308.5", 0, "-4061308", "-4061309"},
    };
    test::inRunAndCommaLocale([&] {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.text);
            EXPECT_EQ(RoundToDecimals(QString(c.text), c.places, 0)->text(), c.unfixed);
            EXPECT_EQ(RoundToDecimals(QString(c.text), c.places, 1)->text(), c.fixed);
        }
    });
    EXPECT_EQ(RoundToDecimals(QStringLiteral("1000000000000000"), 0, 0)->text(), "1E+15");
    EXPECT_FALSE(RoundToDecimals(QStringLiteral("87654321"), -1, 0));
    EXPECT_FALSE(RoundToDecimals(QStringLiteral("1E+39"), 2, 0)) << "beyond single precision";
}

TEST(GetMaxLenthString, PadsButNeverCuts) {
    EXPECT_EQ(getMaxLenthString("AB", 5), "AB   ");
    EXPECT_EQ(getMaxLenthString("ABCDEF", 3), "ABCDEF");
    EXPECT_EQ(getMaxLenthString("AB", 0), "AB");
    EXPECT_EQ(getMaxLenthString("AB", -4), "AB");
}

TEST(CountNumberedKeys, CountsConsecutiveNumericKeys) {
    test::TempProgramFolder dir;
    QByteArray many = "[NumericalParameters]\r\n";
    for (int i = 1; i <= 25; ++i)
        many += "Z_" + QByteArray::number(i) + " = " + QByteArray::number(i * 1.5) + "\r\n";
    dir.write("test_export.txt", "[NumericalParameters]\r\nA_1 = 1\r\nA_2 = 0\r\nA_4 = 4\r\n"
                                 "B_2 = 2\r\nC_1 = x\r\nD_1 = 1\r\nD_10 = 1\r\n" +
                                     many.mid(23));
    const QString file = dir.filePath("test_export.txt");
    const struct {
        const char* prefix;
        int count;
    } cases[] = {{"A_", 2}, {"B_", 0}, {"C_", 0}, {"D_", 1}, {"Z_", 19}, {"a_", 2}};
    for (const auto& c : cases)
        EXPECT_EQ(CountNumberedKeys(c.prefix, file), c.count) << c.prefix;
}

TEST(IsExistingTable, IgnoresCaseAndFailsWithoutDatabase) {
    test::TempProgramFolder dir;
    EXPECT_THROW(IsExistingTable(dir.folder(), "x"), StepFailure);
    dir.createDatabase("Reports.mdb", {"CREATE TABLE Template_GIAPear (A TEXT)"});
    EXPECT_TRUE(IsExistingTable(dir.folder(), "template_giapear"));
    EXPECT_TRUE(IsExistingTable(dir.folder(), "TEMPLATE_GIAPEAR"));
    EXPECT_FALSE(IsExistingTable(dir.folder(), "Template_GIAOval"));
}

// While the run's own connection holds the catalogue, the test reads it from there, and
// sees every table that another program makes or drops meanwhile.
TEST(IsExistingTable, SeesTheTablesAsTheyStandWhileTheRunsConnectionIsOpen) {
    test::TempProgramFolder dir;
    dir.createDatabase("Reports.mdb", {"CREATE TABLE Template_GIAPear (A TEXT)"});
    const auto reports = Database::openExisting(dir.filePath("Reports.mdb"));
    ASSERT_TRUE(reports);
    EXPECT_FALSE(IsExistingTable(dir.folder(), "Template_GIAOval"));
    test::runInOtherProgram(dir.filePath("Reports.mdb"),
                            "CREATE TABLE Template_GIAOval (A TEXT); DROP TABLE Template_GIAPear;");
    EXPECT_TRUE(IsExistingTable(dir.folder(), "template_giaoval"));
    EXPECT_FALSE(IsExistingTable(dir.folder(), "Template_GIAPear"));
    EXPECT_EQ(reports->userTables(), QStringList{"Template_GIAOval"});
}

TEST(IsExistingTable, GivesTheNameAsTheDatabaseListsIt) {
    test::TempProgramFolder dir;
    dir.createDatabase("Reports.mdb", {"CREATE TABLE Template_GIAPear (A TEXT)",
                                       "CREATE TABLE \"Template_GIAC\u0152ur\" (A TEXT)"});
    QString listed = "kept";
    EXPECT_FALSE(IsExistingTable(dir.folder(), "Template_GIAOval", &listed));
    EXPECT_EQ(listed, "kept");
    EXPECT_TRUE(IsExistingTable(dir.folder(), "template_giapear", &listed));
    EXPECT_EQ(listed, "Template_GIAPear");
    // Lower-cased, as the test compares, the two names are the same.
    EXPECT_TRUE(IsExistingTable(dir.folder(), QString::fromUtf8("Template_GIAC\u0153ur"), &listed));
    EXPECT_EQ(listed, QString::fromUtf8("Template_GIAC\u0152ur"));
}

} // namespace
} // namespace tav

#include "scan/PolishDataReader.h"

namespace tav {
namespace {

TEST(GetPolishData, TakesOnlyBareKeys) {
    test::TempProgramFolder dir;
    dir.write("test_export.txt", "[NumericalParameters]\r\nReports.TABLE_PC = 61\r\n"
                                 "TABLE_PC = 57.5\r\nKOZIBE_DEG = 1.25 deg\r\n"
                                 "CUTTING_TYPE = Brilliant\r\n");
    PolishData data;
    data.DIAMETER_MM = 9;
    GetPolishData(data, dir.filePath("test_export.txt"));
    EXPECT_DOUBLE_EQ(data.TABLE_PC, 57.5);
    EXPECT_DOUBLE_EQ(data.KOZIBE_DEG, 1.25);
    EXPECT_DOUBLE_EQ(data.CUTTING_TYPE, 0);
    EXPECT_DOUBLE_EQ(data.DIAMETER_MM, 0);

    dir.write("test_export.txt", "[NumericalParameters]\r\nReports.TABLE_PC = 61\r\n");
    GetPolishData(data, dir.filePath("test_export.txt"));
    for (std::size_t i = 0; i < PolishData::fieldCount; ++i)
        EXPECT_DOUBLE_EQ(data.field(i), 0) << PolishData::keys[i];
}

} // namespace
} // namespace tav
