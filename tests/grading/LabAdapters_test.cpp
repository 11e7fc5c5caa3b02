#include "grading/LabAdapters.h"

#include "app/FrmStoneID.h"
#include "export/ColumnMerge.h"
#include "grading/FakeLabGrader.h"
#include "grading/LabGradingScript.h"
#include "platform/TextFile.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tav {
namespace {

using test::agsLines;
using test::expectedLines;
using test::FakeGraderProvider;
using test::FakeLabGrader;
using test::GraderCall;
using test::scriptAll;

using Adapter = void (*)(FrmStoneID&);

struct AdapterCase {
    const char* name;
    Adapter adapter;
    GradingSystem system;
};

const AdapterCase allAdapters[] = {
    {"DataAGS", DataAGS, GradingSystem::AGS},
    {"DataAGSGOLD", DataAGSGOLD, GradingSystem::AGSGold},
    {"DataGIA", DataGIA, GradingSystem::GIA},
    {"DataHRDHA", DataHRDHA, GradingSystem::HRDHA},
    {"DataHRD09", DataHRD09, GradingSystem::HRD2009},
};

// The proportions of the test stone by key. TABLE_PC carries more digits than the
// component is given; the girdle difference is negative.
const std::map<std::string, double> stone = {
    {"DIAMETER_MM", 6.51},
    {"TABLE_PC", 57.123456789012345},
    {"PAVILION_ANGLE_DEG", 40.8},
    {"PAVILION_DEPTH_PC", 43.1},
    {"CROWN_ANGLE_DEG", 34.5},
    {"CROWN_HEIGHT_PC", 15.2},
    {"DEPTH_GIRDLE_FACET", 77.5},
    {"STAR_RATIO_PC", 50.25},
    {"GIRDLE_WIDE_BEZEL", 2.5},
    {"GIRDLE_WIDE_BEZEL_MIN", 2.1},
    {"GIRDLE_WIDE_BEZEL_MAX", 2.9},
    {"GIRDLE_WIDE_BONE", 3.1},
    {"GIRDLE_WIDE_BONE_MIN", 2.8},
    {"GIRDLE_WIDE_BONE_MAX", 3.4},
    {"GIRDLE_NARROW", 1.2},
    {"GIRDLE_NARROW_MIN", 1.05},
    {"GIRDLE_NARROW_MAX", 1.4},
    {"TOTAL_DEPTH_PC", 61.7},
    {"CULET_PC", 0.1 + 0.2},
    {"CULET_MM", 0.02},
    {"SPREAD_PC", 3.5},
    {"CUTTING_TYPE", 1},
    {"TOTAL_DEPTH_MM", 4.01},
    {"DIAMETER_MM_MAX", 6.55},
    {"DIAMETER_DEV_PC", 0.6},
    {"CORRECTED_MASS", 1.01},
    {"LENGTH_GIRDLE_FACET", 78.25},
    {"MODEL_IS_SEMI_POLISHED", 0},
    {"FISH_EYE_DEG", 9.5},
    {"KOZIBE_DEG", 11.75},
};

// A stone value as the component receives it (15 significant digits).
double given(const char* key) {
    const std::string k(key);
    if (k == "TABLE_PC")
        return 57.1234567890123;
    if (k == "CULET_PC")
        return 0.3;
    return stone.at(k);
}

QVariantList givenValues(std::initializer_list<const char*> keys) {
    QVariantList values;
    for (const char* key : keys)
        values << given(key);
    return values;
}

class LabAdaptersTest : public ::testing::Test {
protected:
    LabAdaptersTest() : window(dir.folder(), platform, program) {
        for (std::size_t i = 0; i < PolishData::fieldCount; ++i)
            window.PolishData.field(i) = stone.at(PolishData::keys[i]);
        window.CurrentShape = QStringLiteral("Brilliant");
        window.gradingComponent = &component;
    }

    // Opens the export's streams; with old layout lines the run merges into them.
    void openStreams(const QStringList& oldLayoutLines = {}) {
        window.StoneExportStream =
            std::make_unique<TextStream>(dir.filePath("stone.txt"), TextStream::Mode::Create);
        if (oldLayoutLines.isEmpty()) {
            window.ExportTextStream =
                std::make_unique<TextStream>(dir.filePath("layout.txt"), TextStream::Mode::Create);
            window.ColumnMergeMode = 0;
            return;
        }
        dir.writeLines("layout.txt", oldLayoutLines);
        window.ExportTextStream =
            std::make_unique<TextStream>(dir.filePath("layout.txt"), TextStream::Mode::Read);
        window.ColumnTempStream =
            std::make_unique<TextStream>(dir.filePath("layout_tmp.txt"), TextStream::Mode::Create);
        window.ColumnMergeMode = -1;
    }

    // Closes the streams the way the export does (old lines no one reached carried over).
    void closeStreams() {
        carryOverOldLines(window);
        for (auto* stream :
             {&window.StoneExportStream, &window.ExportTextStream, &window.ColumnTempStream}) {
            if (*stream)
                (*stream)->close();
            stream->reset();
        }
    }

    QStringList linesOf(const QString& name) const {
        if (!dir.exists(name))
            return {};
        return splitLines(QString::fromLatin1(dir.read(name)));
    }
    QStringList stoneLines() const { return linesOf("stone.txt"); }
    QStringList layoutLines() const { return linesOf("layout.txt"); }
    QStringList mergedLines() const { return linesOf("layout_tmp.txt"); }

    // Runs the adapter with the streams open (merge mode with old lines), then closes them.
    void run(Adapter adapter, const QStringList& oldLayoutLines = {}) {
        openStreams(oldLayoutLines);
        adapter(window);
        closeStreams();
    }

    test::TempProgramFolder dir;
    test::RecordingPlatform recording;
    Platform platform = recording.platform();
    ProgramWide program;
    FrmStoneID window;
    FakeGraderProvider component;
};

TEST_F(LabAdaptersTest, EachSystemWritesItsLinesToTheStoneFileThenTheLayoutFile) {
    for (const AdapterCase& c : allAdapters) {
        SCOPED_TRACE(c.name);
        scriptAll(component);
        run(c.adapter);
        EXPECT_EQ(stoneLines(), expectedLines(c.system));
        EXPECT_EQ(layoutLines(), expectedLines(c.system));
    }
}

TEST_F(LabAdaptersTest, FindGradeGetsEachSystemsProportionsInOrder) {
    const struct {
        const char* name;
        Adapter adapter;
        std::vector<GraderCall> calls;
    } cases[] = {
        {"DataAGS",
         DataAGS,
         {{"AppPath", "SetAppPath", {dir.path()}},
          {"AGS", "FindGrade",
           givenValues({"DIAMETER_MM", "TABLE_PC", "PAVILION_ANGLE_DEG", "CROWN_ANGLE_DEG",
                        "GIRDLE_WIDE_BEZEL_MIN", "GIRDLE_WIDE_BEZEL_MAX", "GIRDLE_NARROW_MIN",
                        "GIRDLE_NARROW_MAX", "GIRDLE_WIDE_BONE_MAX", "GIRDLE_WIDE_BONE_MIN",
                        "CULET_MM", "SPREAD_PC", "DEPTH_GIRDLE_FACET", "STAR_RATIO_PC"})}}},
        {"DataAGSGOLD",
         DataAGSGOLD,
         {{"AppPath", "SetAppPath", {dir.path()}},
          {"AGSGOLD", "FindGrade",
           givenValues({"DIAMETER_MM", "TABLE_PC", "PAVILION_ANGLE_DEG", "CROWN_ANGLE_DEG",
                        "GIRDLE_WIDE_BEZEL_MIN", "GIRDLE_WIDE_BEZEL_MAX", "GIRDLE_NARROW_MIN",
                        "GIRDLE_NARROW_MAX", "GIRDLE_WIDE_BONE_MAX", "GIRDLE_WIDE_BONE_MIN",
                        "CULET_MM", "SPREAD_PC", "DEPTH_GIRDLE_FACET", "STAR_RATIO_PC"})}}},
        {"DataGIA",
         DataGIA,
         {{"AppPath", "SetAppPath", {dir.path()}},
          {"GIA", "FWGirdle",
           givenValues({"PAVILION_ANGLE_DEG", "CROWN_ANGLE_DEG", "TABLE_PC", "TOTAL_DEPTH_PC"})},
          {"GIA", "FWTotalHeight",
           givenValues({"PAVILION_ANGLE_DEG", "CROWN_ANGLE_DEG", "TABLE_PC", "TOTAL_DEPTH_PC"})},
          {"GIA", "FindGrade",
           givenValues({"TABLE_PC", "PAVILION_ANGLE_DEG", "CROWN_ANGLE_DEG",
                        "GIRDLE_WIDE_BEZEL_MIN", "GIRDLE_WIDE_BEZEL_MAX", "GIRDLE_NARROW_MIN",
                        "GIRDLE_NARROW_MAX", "GIRDLE_WIDE_BONE_MAX", "GIRDLE_WIDE_BONE_MIN",
                        "CULET_PC", "SPREAD_PC", "LENGTH_GIRDLE_FACET", "STAR_RATIO_PC",
                        "TOTAL_DEPTH_PC"})
               << 2.5 - 3.1 << 2.95 << 61.4},
          {"AGS", "FindGrade",
           givenValues({"DIAMETER_MM", "TABLE_PC", "PAVILION_ANGLE_DEG", "CROWN_ANGLE_DEG",
                        "GIRDLE_WIDE_BEZEL_MIN", "GIRDLE_WIDE_BEZEL_MAX", "GIRDLE_NARROW_MIN",
                        "GIRDLE_NARROW_MAX", "GIRDLE_WIDE_BONE_MAX", "GIRDLE_WIDE_BONE_MIN",
                        "CULET_MM", "SPREAD_PC", "DEPTH_GIRDLE_FACET", "STAR_RATIO_PC"})}}},
        {"DataHRDHA",
         DataHRDHA,
         {{"AppPath", "SetAppPath", {dir.path()}},
          {"HRDHA", "FindGrade",
           givenValues({"TABLE_PC", "PAVILION_ANGLE_DEG", "CROWN_ANGLE_DEG", "GIRDLE_WIDE_BEZEL",
                        "GIRDLE_NARROW", "CULET_PC", "LENGTH_GIRDLE_FACET", "STAR_RATIO_PC"})}}},
        {"DataHRD09",
         DataHRD09,
         {{"AppPath", "SetAppPath", {dir.path()}},
          {"HRD2009", "FindGrade",
           givenValues({"TABLE_PC", "PAVILION_ANGLE_DEG", "PAVILION_DEPTH_PC", "CROWN_ANGLE_DEG",
                        "CROWN_HEIGHT_PC", "GIRDLE_WIDE_BEZEL", "CULET_PC", "DEPTH_GIRDLE_FACET",
                        "STAR_RATIO_PC", "TOTAL_DEPTH_PC", "FISH_EYE_DEG", "KOZIBE_DEG"})}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        component.calls.clear();
        scriptAll(component);
        run(c.adapter);
        EXPECT_EQ(component.gradingCalls(), c.calls);
    }
}

TEST_F(LabAdaptersTest, FindGradeGetsFifteenSignificantDigits) {
    scriptAll(component);
    run(DataAGS);
    const std::vector<GraderCall> calls = component.gradingCalls();
    ASSERT_GE(calls.size(), 2u);
    ASSERT_GE(calls[1].arguments.size(), 2);
    const double table = calls[1].arguments[1].toDouble();
    EXPECT_EQ(table, 57.1234567890123);
    EXPECT_NE(table, stone.at("TABLE_PC"));
}

TEST_F(LabAdaptersTest, OnlyTheExactShapeBrilliantIsGraded) {
    for (const char* shape : {"Oval", "brilliant", "BRILLIANT", " Brilliant", ""}) {
        for (const AdapterCase& c : allAdapters) {
            SCOPED_TRACE(std::string(c.name) + " for '" + shape + "'");
            component.calls.clear();
            scriptAll(component);
            window.CurrentShape = QString::fromLatin1(shape);
            run(c.adapter, {"old 1", "old 2"});
            EXPECT_EQ(component.calls, std::vector<GraderCall>{});
            EXPECT_EQ(stoneLines(), QStringList{});
            EXPECT_EQ(mergedLines(), (QStringList{"old 1", "old 2"})) << "only carried over";
        }
    }
}

TEST_F(LabAdaptersTest, MergingAppendsEachLineToTheNextOldLine) {
    QStringList oldLines;
    for (int i = 1; i <= 33; ++i)
        oldLines << QStringLiteral("row%1,").arg(i);
    for (const AdapterCase& c : allAdapters) {
        SCOPED_TRACE(c.name);
        scriptAll(component);
        run(c.adapter, oldLines);
        const QStringList expected = expectedLines(c.system);
        QStringList merged;
        for (qsizetype i = 0; i < oldLines.size(); ++i)
            merged << oldLines[i] + (i < expected.size() ? expected[i] : QString());
        EXPECT_EQ(stoneLines(), expected);
        EXPECT_EQ(mergedLines(), merged);
        EXPECT_EQ(layoutLines(), oldLines) << "the old file is only read";
    }
}

TEST_F(LabAdaptersTest, MergedFirstLineGetsKeyAndValueWithNothingBetween) {
    scriptAll(component);
    run(DataAGS, {"AB12,", "0.5123,"});
    EXPECT_EQ(mergedLines().value(0), "AB12,AGS_TABLE_PC=57.5");
    EXPECT_EQ(mergedLines().value(1), "0.5123,AGS_CROWN_DEG=34.25");
}

TEST_F(LabAdaptersTest, AnUnreadablePropertyLeavesItsLineOutAndKeepsTheOldLine) {
    const struct {
        const char* name;
        Adapter adapter;
        std::function<void(FakeGraderProvider&)> spoil;
        QString missingLine;
        qsizetype position;
    } cases[] = {
        {"AGS Crown", DataAGS, [](auto& c) { c.ags.properties.erase("Crown"); },
         "AGS_CROWN_DEG=34.25", 1},
        {"AGS culet description", DataAGS, [](auto& c) { c.ags.properties.erase("CuletDesc"); },
         "AGS_CULET_DESCRIPTION=VERY SMALL", 12},
        {"GIA Strict fails", DataGIA, [](auto& c) { c.gia.failing.insert("Strict"); },
         "GIA_STRICT=EX/0", 29},
        {"GIA class of the AGS grader", DataGIA,
         [](auto& c) { c.ags.properties.erase("ClassAGS"); }, "GIA_STRICT=EX/0", 29},
        {"HRD 2009 overall class", DataHRD09,
         [](auto& c) { c.hrd2009.properties.erase("HRD09Class"); }, "HRD2009_OVERALL=Excellent",
         15},
        {"a value with no text", DataHRDHA,
         [](auto& c) {
             c.hrdHa.properties["Table"] = QVariantList{1, 2};
         },
         "HRDHA_TABLE_PC=56.5", 0},
    };
    QStringList oldLines;
    for (int i = 1; i <= 31; ++i)
        oldLines << QStringLiteral("row%1,").arg(i);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scriptAll(component);
        c.spoil(component);
        QStringList expected;
        for (const AdapterCase& a : allAdapters)
            if (a.adapter == c.adapter)
                expected = expectedLines(a.system);
        ASSERT_EQ(expected.value(c.position), c.missingLine);

        run(c.adapter);
        QStringList without = expected;
        without.removeAt(c.position);
        EXPECT_EQ(stoneLines(), without);
        EXPECT_EQ(layoutLines(), without);

        run(c.adapter, oldLines);
        QStringList merged;
        for (qsizetype i = 0; i < oldLines.size(); ++i)
            merged << oldLines[i] +
                          (i < expected.size() && i != c.position ? expected[i] : QString());
        EXPECT_EQ(mergedLines(), merged) << "the old line stays where it was, unchanged";
    }
}

TEST_F(LabAdaptersTest, FailingFindGradeLeavesTheOverallEmpty) {
    const struct {
        const char* name;
        Adapter adapter;
        FakeLabGrader FakeGraderProvider::*grader;
        qsizetype overallLine;
        QString emptyOverall;
    } cases[] = {
        {"DataAGS", DataAGS, &FakeGraderProvider::ags, 14, "AGS_OVERALL="},
        {"DataAGSGOLD", DataAGSGOLD, &FakeGraderProvider::agsGold, 14, "AGSGOLD_OVERALL="},
        {"DataGIA", DataGIA, &FakeGraderProvider::gia, 30, "GIA_OVERALL="},
        {"DataHRDHA", DataHRDHA, &FakeGraderProvider::hrdHa, 14, "HRDHA_OVERALL="},
        // The HRD 2009 overall is a property: it stands.
        {"DataHRD09", DataHRD09, &FakeGraderProvider::hrd2009, 15, "HRD2009_OVERALL=Excellent"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scriptAll(component);
        (component.*c.grader).failing.insert("FindGrade");
        component.appPath.failing.insert("SetAppPath");
        QStringList expected;
        for (const AdapterCase& a : allAdapters)
            if (a.adapter == c.adapter)
                expected = expectedLines(a.system);
        expected[c.overallLine] = c.emptyOverall;

        run(c.adapter);
        EXPECT_EQ(stoneLines(), expected);
        EXPECT_EQ(layoutLines(), expected);
        (component.*c.grader).failing.clear();
        component.appPath.failing.clear();
    }
}

TEST_F(LabAdaptersTest, GiaWritesTheFacetwareValuesThatFindGradeLeaves) {
    scriptAll(component);
    component.gia.facetwareAfterFindGrade = FacetwareMeasures{3.125, 0.1 + 0.2};
    run(DataGIA);
    EXPECT_EQ(stoneLines().value(5), "GIA_FACETWARE_TOTALDEPTH_PC=0.3");
    EXPECT_EQ(stoneLines().value(6), "GIA_FACETWARE_GIRDLE_PC=3.125");
    EXPECT_EQ(layoutLines().value(5), "GIA_FACETWARE_TOTALDEPTH_PC=0.3");
    EXPECT_EQ(layoutLines().value(6), "GIA_FACETWARE_GIRDLE_PC=3.125");
}

TEST_F(LabAdaptersTest, GiaFacetwareThatFailsOrIsNoNumberStaysZero) {
    const struct {
        const char* name;
        std::function<void(FakeLabGrader&)> spoil;
        double girdle;
        double totalDepth;
    } cases[] = {
        {"FWGirdle fails", [](auto& g) { g.failing.insert("FWGirdle"); }, 0, 61.4},
        {"FWTotalHeight fails", [](auto& g) { g.failing.insert("FWTotalHeight"); }, 2.95, 0},
        {"no number", [](auto& g) { g.fwGirdleResult = std::nan(""); }, 0, 61.4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        component.calls.clear();
        scriptAll(component);
        c.spoil(component.gia);
        run(DataGIA);
        EXPECT_EQ(stoneLines().value(5),
                  "GIA_FACETWARE_TOTALDEPTH_PC=" + QString::number(c.totalDepth));
        EXPECT_EQ(stoneLines().value(6), "GIA_FACETWARE_GIRDLE_PC=" + QString::number(c.girdle));
        const std::vector<GraderCall> calls = component.gradingCalls();
        ASSERT_GE(calls.size(), 4u);
        EXPECT_EQ(calls[3].member, "FindGrade");
        EXPECT_EQ(calls[3].arguments.mid(15), (QVariantList{c.girdle, c.totalDepth}));
        component.gia.failing.clear();
        component.gia.fwGirdleResult = 2.95;
    }
}

TEST_F(LabAdaptersTest, StrictGetsBothClassesOncePerCopy) {
    scriptAll(component);
    component.ags.failing.insert("FindGrade"); // ClassAGS is what the AGS grader holds
    run(DataGIA);
    std::vector<GraderCall> strictCalls;
    for (const GraderCall& call : component.calls)
        if (call.member == QLatin1String("Strict"))
            strictCalls.push_back(call);
    const GraderCall strict{"GIA", "Strict", {QVariant("EX"), QVariant(0)}};
    EXPECT_EQ(strictCalls, (std::vector<GraderCall>{strict, strict}));
    EXPECT_EQ(stoneLines().value(29), "GIA_STRICT=EX/0");
}

TEST_F(LabAdaptersTest, PropertiesAreReadAgainForTheSecondCopy) {
    scriptAll(component);
    run(DataHRDHA);
    QStringList reads;
    for (const GraderCall& call : component.calls)
        if (call.member == QLatin1String("property"))
            reads << call.object + "." + call.arguments.value(0).toString();
    const QStringList onePass = {
        "HRDHA.Table",          "HRDHA.Crown",     "HRDHA.Pavilion",   "HRDHA.LowerFacetValue",
        "HRDHA.StarFacetValue", "HRDHA.TBCClass",  "HRDHA.LowerClass", "HRDHA.BezelClass",
        "HRDHA.NarrowClass",    "HRDHA.BezelDesc", "HRDHA.NarrowDesc", "HRDHA.CuletClass",
        "HRDHA.CuletDesc"};
    EXPECT_EQ(reads, onePass + onePass) << "StarClass is never read";
}

TEST_F(LabAdaptersTest, AgsAndAgsGoldForOneStoneWriteTwoBlocks) {
    scriptAll(component);
    component.agsGold.properties["Table"] = 58.0;
    openStreams();
    DataAGS(window);
    DataAGSGOLD(window);
    closeStreams();
    QStringList gold = expectedLines(GradingSystem::AGSGold);
    gold[0] = "AGSGOLD_TABLE_PC=58";
    EXPECT_EQ(stoneLines(), agsLines + gold);
    EXPECT_EQ(layoutLines(), agsLines + gold);
}

TEST_F(LabAdaptersTest, WithoutTheComponentNothingIsCalledAndOnlyFixedLinesAreWritten) {
    const struct {
        const char* name;
        Adapter adapter;
        QStringList lines;
    } cases[] = {
        {"DataAGS", DataAGS, {"AGS_OVERALL="}},
        {"DataAGSGOLD", DataAGSGOLD, {"AGSGOLD_OVERALL="}},
        {"DataGIA",
         DataGIA,
         {"GIA_FACETWARE_TOTALDEPTH_PC=0", "GIA_FACETWARE_GIRDLE_PC=0", "GIA_OVERALL="}},
        {"DataHRDHA", DataHRDHA, {"HRDHA_STAR=", "HRDHA_OVERALL="}},
        {"DataHRD09", DataHRD09, {}},
    };
    for (bool noProvider : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (noProvider ? " without provider" : " no objects"));
            component.calls.clear();
            scriptAll(component);
            if (noProvider) {
                window.gradingComponent = nullptr;
            } else {
                window.gradingComponent = &component;
                component.appPathMissing = true;
                for (const AdapterCase& a : allAdapters)
                    component.missing.insert(a.system);
            }
            run(c.adapter);
            EXPECT_EQ(component.calls, std::vector<GraderCall>{});
            EXPECT_EQ(stoneLines(), c.lines);
            EXPECT_EQ(layoutLines(), c.lines);
        }
    }
}

TEST_F(LabAdaptersTest, ClosedStreamsAreSkipped) {
    scriptAll(component);
    DataAGS(window); // no stream is open
    openStreams();
    window.StoneExportStream.reset();
    DataAGS(window);
    closeStreams();
    EXPECT_EQ(layoutLines(), agsLines);
}

} // namespace
} // namespace tav
