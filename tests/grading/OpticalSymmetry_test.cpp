#include "grading/OpticalSymmetry.h"

#include "grading/GradingFixture.h"

#include <vector>

namespace tav {
namespace {

class OpticalSymTest : public test::GradingFixture {
protected:
    // The six lines of a stone whose file holds the given keys.
    QStringList linesFor(const QStringList& keys) {
        writeKeys(keys);
        openStreams();
        OpticalSym(w());
        const QStringList first = stoneLines();
        EXPECT_EQ(secondCopies(), first);
        return first;
    }
};

QStringList sixLines(const char* crown, const char* pavilion, const char* halves, const char* upper,
                     const char* star, const char* girdle) {
    return {QStringLiteral("CROWN_AZIMUTH_DEV_IDEAL_DEG_DEV=") + crown,
            QStringLiteral("PAVILION_AZIMUTH_DEV_IDEAL_DEG_DEV=") + pavilion,
            QStringLiteral("HALVES_AZIMUTH_DEV_IDEAL_DEG_DEV=") + halves,
            QStringLiteral("UPPER_AZIMUTH_DEV_IDEAL_DEG_DEV=") + upper,
            QStringLiteral("STAR_AZIMUTH_DEV_IDEAL_DEG_DEV=") + star,
            QStringLiteral("GIRDLE_TYPE_DEV=") + girdle};
}

TEST_F(OpticalSymTest, EachGroupGivesItsLargestAbsoluteDeviation) {
    const struct {
        const char* name;
        QStringList keys;
        QStringList lines;
    } cases[] = {
        {"no keys", {}, sixLines("0", "0", "0", "0", "0", "0")},
        {"crown with a negative value",
         {"CROWN_AZIMUTH_DEV_IDEAL_DEG_1 = -0.3", "CROWN_AZIMUTH_DEV_IDEAL_DEG_2 = 0.1",
          "CROWN_AZIMUTH_DEV_IDEAL_DEG_3 = 0.25"},
         sixLines("0.3", "0", "0", "0", "0", "0")},
        {"the last key of each group",
         {"CROWN_AZIMUTH_DEV_IDEAL_DEG_1 = 0.2", "CROWN_AZIMUTH_DEV_IDEAL_DEG_8 = 0.9",
          "PAVILION_AZIMUTH_DEV_IDEAL_DEG_8 = -1.5", "HALVES_AZIMUTH_DEV_IDEAL_DEG_1 = 0.4",
          "HALVES_AZIMUTH_DEV_IDEAL_DEG_16 = 1.2", "UPPER_AZIMUTH_DEV_IDEAL_DEG_16 = 2.25",
          "STAR_AZIMUTH_DEV_IDEAL_DEG_8 = 0.7",
          // Beyond the group: not read.
          "CROWN_AZIMUTH_DEV_IDEAL_DEG_9 = 5", "STAR_AZIMUTH_DEV_IDEAL_DEG_9 = 5"},
         sixLines("0.9", "1.5", "1.2", "2.25", "0.7", "0")},
        {"girdle widths",
         {"GIRDLE_WIDE_BEZEL = 2.5", "GIRDLE_WIDE_BONE = 3.1"},
         sixLines("0", "0", "0", "0", "0", "0.6")},
        {"a negative girdle width and text after the numbers",
         {"GIRDLE_WIDE_BEZEL = -2.5 mm", "GIRDLE_WIDE_BONE = 1",
          "STAR_AZIMUTH_DEV_IDEAL_DEG_3 = 0.5 deg"},
         sixLines("0", "0", "0", "0", "0.5", "1.5")},
        {"one girdle width only",
         {"GIRDLE_WIDE_BONE = 3.1"},
         sixLines("0", "0", "0", "0", "0", "3.1")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(linesFor(c.keys), c.lines);
    }
}

TEST_F(OpticalSymTest, TheFiveGroupLinesGoFirstThenTheirSecondCopiesThenTheGirdleLine) {
    writeKeys({"CROWN_AZIMUTH_DEV_IDEAL_DEG_4 = 0.5", "GIRDLE_WIDE_BEZEL = 2.5",
               "GIRDLE_WIDE_BONE = 3.1"});
    // Merging shows the order of the second copies against the old lines.
    openStreams({"a", "b", "c", "d", "e", "f", "g"});
    OpticalSym(w());
    const QStringList lines = sixLines("0.5", "0", "0", "0", "0", "0.6");
    EXPECT_EQ(stoneLines(), lines);
    QStringList merged;
    for (int i = 0; i < lines.size(); ++i)
        merged.append(QString(QChar(u'a' + i)) + lines[i]);
    EXPECT_EQ(secondCopies(), merged);
}

TEST(OpticalStatistics, MinMaxAndAverageLeaveZerosOut) {
    const std::vector<double> zeroFirst{0, 2, 1};
    const std::vector<double> averaged{0, 2, 4};
    const std::vector<double> negatives{-1, 0, -3, 2};
    const std::vector<double> empty;
    const struct {
        const char* name;
        double result;
        double expected;
    } cases[] = {
        {"MIN from a zero start", MIN(zeroFirst, 3, 0), 0},
        {"MIN from start 1", MIN(zeroFirst, 3, 1), 1},
        {"MIN of a part", MIN(zeroFirst, 2, 1), 2},
        {"MIN with an end past the list", MIN(zeroFirst, 20, 1), 1},
        {"MIN with a start past the list", MIN(zeroFirst, 3, 5), 0},
        {"AVG", AVG(averaged, 3, 0), 3},
        {"AVG from start 2", AVG(averaged, 3, 2), 4},
        {"AVG of zeros only", AVG(averaged, 1, 0), 0},
        {"AVG of an empty list", AVG(empty, 3, 0), 0},
        {"MAX", MAX(averaged, 3), 4},
        {"MAX of the first two", MAX(averaged, 2), 2},
        {"MAX keeps a larger first element", MAX(negatives, 3), -1},
        {"MAX with a count past the list", MAX(negatives, 16), 2},
        {"MAX of zeros", MAX(std::vector<double>(8, 0.0), 8), 0},
        {"MAX of an empty list", MAX(empty, 8), 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.result, c.expected) << c.name;
}

} // namespace
} // namespace tav
