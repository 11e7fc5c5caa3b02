#include "grading/GradingDriver.h"

#include "grading/GradingFixture.h"
#include "grading/LabGrader.h"
#include "platform/StepFailure.h"

#include <QRegularExpression>

#include <functional>
#include <vector>

namespace tav {
namespace {

// The six lines of the optical symmetry when test_export.txt holds none of its keys.
const QStringList noOpticalKeys = {
    "CROWN_AZIMUTH_DEV_IDEAL_DEG_DEV=0",  "PAVILION_AZIMUTH_DEV_IDEAL_DEG_DEV=0",
    "HALVES_AZIMUTH_DEV_IDEAL_DEG_DEV=0", "UPPER_AZIMUTH_DEV_IDEAL_DEG_DEV=0",
    "STAR_AZIMUTH_DEV_IDEAL_DEG_DEV=0",   "GIRDLE_TYPE_DEV=0"};

// GIA table classes for brilliants: three overlapping ranges of TABLE_PC and the
// overall classes at ranks 0 to 5.
const QStringList giaTableClasses = {
    "INSERT INTO CutPara VALUES (1, 'Brilliant', 'TABLE_PC')",
    "INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 3, -1, -1, 54, 70, 'C')",
    "INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 1, -1, -1, 50, 55, 'A')",
    "INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 2, -1, -1, 55, 60, 'B')",
    "INSERT INTO Cut VALUES ('GIA', 0, 'Brilliant', 'EX')",
    "INSERT INTO Cut VALUES ('GIA', 1, 'Brilliant', 'VG')",
    "INSERT INTO Cut VALUES ('GIA', 2, 'Brilliant', 'GD')",
    "INSERT INTO Cut VALUES ('GIA', 3, 'Brilliant', 'FR')",
    "INSERT INTO Cut VALUES ('GIA', 4, 'Brilliant', 'PR')",
};

class GetCutClassTest : public test::GradingFixture {
protected:
    GetCutClassTest() { w().CurrentShape = "Brilliant"; }

    // The per-stone lines of one lookup; the second copies must be the same lines.
    QStringList lookUp(const QString& kind, const QString& lab) {
        openStreams();
        GetCutClass(w(), kind, lab);
        const QStringList first = stoneLines();
        EXPECT_EQ(secondCopies(), first);
        return first;
    }

    // A fresh Class.mdb grading TABLE_PC with the given rows, looked up for the value 55.
    QStringList lookUpTablePc(const QStringList& rows) {
        w().ClassDbConnection.reset();
        QFile::remove(dir.filePath("Class.mdb"));
        createClassDatabase(QStringList{"INSERT INTO CutPara VALUES (1, 'Brilliant', 'TABLE_PC')"} +
                            rows);
        writeKeys({"TABLE_PC = 55"});
        return lookUp("Cut", "GIA");
    }
};

TEST_F(GetCutClassTest, AValueMatchesTheLowestRankWhoseBoundsHoldItBothEndsIncluded) {
    createClassDatabase(giaTableClasses);
    const struct {
        const char* value;
        QStringList lines;
    } cases[] = {
        {"50", {"GIA_CUT_TABLE_PC=A", "GIA_CUT_Over=EX"}},
        // 55 lies in all three ranges, 57 in the second and third.
        {"55", {"GIA_CUT_TABLE_PC=A", "GIA_CUT_Over=EX"}},
        {"57.5", {"GIA_CUT_TABLE_PC=B", "GIA_CUT_Over=VG"}},
        {"60", {"GIA_CUT_TABLE_PC=B", "GIA_CUT_Over=VG"}},
        {"60.01", {"GIA_CUT_TABLE_PC=C", "GIA_CUT_Over=GD"}},
        {"70", {"GIA_CUT_TABLE_PC=C", "GIA_CUT_Over=GD"}},
        // Outside every range, and the key missing: the kind as given.
        {"70.01", {"GIA_Cut_TABLE_PC=-", "GIA_CUT_Over=-"}},
        {"49.99", {"GIA_Cut_TABLE_PC=-", "GIA_CUT_Over=-"}},
        {nullptr, {"GIA_Cut_TABLE_PC=-", "GIA_CUT_Over=-"}},
        // The leading number of the key's text.
        {"57.5 %", {"GIA_CUT_TABLE_PC=B", "GIA_CUT_Over=VG"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "missing");
        writeKeys(c.value ? QStringList{QStringLiteral("TABLE_PC = ") + c.value} : QStringList{});
        EXPECT_EQ(lookUp("Cut", "GIA"), c.lines);
    }
}

TEST_F(GetCutClassTest, AMissingKeyWritesTheKindAsGiven) {
    createClassDatabase({
        "INSERT INTO SymPara VALUES (1, 'Brilliant', 'TABLE_PC')",
        "INSERT INTO SymData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 1, -1, -1, 0, 100, 'A')",
    });
    writeKeys({"CROWN_ANGLE_DEG = 34.5"});
    EXPECT_EQ(lookUp("Sym", "GIA"), (QStringList{"GIA_Sym_TABLE_PC=-", "GIA_SYM_Over=-"}));
}

TEST_F(GetCutClassTest, OnlyIncludedParametersRaiseTheRankOfTheOverallClass) {
    createClassDatabase({
        "INSERT INTO CutPara VALUES (3, 'Brilliant', 'CULET_PC')",
        "INSERT INTO CutPara VALUES (1, 'Brilliant', 'TABLE_PC')",
        "INSERT INTO CutPara VALUES (2, 'Brilliant', 'CROWN_ANGLE_DEG')",
        "INSERT INTO CutPara VALUES (4, 'Brilliant', 'GIRDLE_PC')",
        "INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 2, -1, -1, 50, 60, 'T2')",
        "INSERT INTO CutData VALUES ('GIA', 'CROWN_ANGLE_DEG', 'Brilliant', 5, -1, -1, 30, 40, "
        "'C5')",
        // Not included: its line is written, its rank of 7 does not count.
        "INSERT INTO CutData VALUES ('GIA', 'CULET_PC', 'Brilliant', 7, 0, -1, 0, 10, 'K7')",
        // GIRDLE_PC has no class rows at all.
        "INSERT INTO Cut VALUES ('GIA', 4, 'Brilliant', 'Rank4')",
        "INSERT INTO Cut VALUES ('GIA', 5, 'Brilliant', 'Rank5')",
        "INSERT INTO Cut VALUES ('GIA', 6, 'Brilliant', 'Rank6')",
        "INSERT INTO Cut VALUES ('GIA', 4, 'Oval', 'OvalRank4')",
        "INSERT INTO Cut VALUES ('AGS', 4, 'Brilliant', 'AgsRank4')",
    });
    writeKeys({"TABLE_PC = 57", "CROWN_ANGLE_DEG = 34.5", "CULET_PC = 1.2", "GIRDLE_PC = 3"});
    EXPECT_EQ(lookUp("Cut", "GIA"),
              (QStringList{"GIA_CUT_TABLE_PC=T2", "GIA_CUT_CROWN_ANGLE_DEG=C5",
                           "GIA_CUT_CULET_PC=K7", "GIA_Cut_GIRDLE_PC=-", "GIA_CUT_Over=Rank4"}));
}

TEST_F(GetCutClassTest, TheOverallClassStaysOpenWithoutARankAboveZeroOrAClassRow) {
    const struct {
        const char* name;
        QStringList rows;
        QStringList lines;
    } cases[] = {
        {"every match at rank 0",
         {"INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 0, -1, -1, 50, 60, 'EX')",
          "INSERT INTO Cut VALUES ('GIA', 0, 'Brilliant', 'X')"},
         {"GIA_CUT_TABLE_PC=EX", "GIA_CUT_Over=-"}},
        {"no included parameter",
         {"INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 3, 0, -1, 50, 60, 'GD')",
          "INSERT INTO Cut VALUES ('GIA', 2, 'Brilliant', 'X')"},
         {"GIA_CUT_TABLE_PC=GD", "GIA_CUT_Over=-"}},
        {"no class row at the rank",
         {"INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 3, -1, -1, 50, 60, 'GD')",
          "INSERT INTO Cut VALUES ('GIA', 3, 'Brilliant', 'X')"},
         {"GIA_CUT_TABLE_PC=GD", "GIA_CUT_Over=-"}},
        {"a Null class",
         {"INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 3, -1, -1, 50, 60, 'GD')",
          "INSERT INTO Cut VALUES ('GIA', 2, 'Brilliant', NULL)"},
         {"GIA_CUT_TABLE_PC=GD", "GIA_CUT_Over=-"}},
        {"Show off",
         {"INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 3, -1, 0, 50, 60, 'GD')",
          "INSERT INTO Cut VALUES ('GIA', 2, 'Brilliant', 'X')"},
         {"GIA_CUT_TABLE_PC=-", "GIA_CUT_Over=X"}},
        {"Show Null",
         {"INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 3, -1, NULL, 50, 60, 'GD')",
          "INSERT INTO Cut VALUES ('GIA', 2, 'Brilliant', 'X')"},
         {"GIA_CUT_TABLE_PC=-", "GIA_CUT_Over=X"}},
        {"yes stored as 1",
         {"INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 3, 1, 1, 50, 60, 'GD')",
          "INSERT INTO Cut VALUES ('GIA', 2, 'Brilliant', 'X')"},
         {"GIA_CUT_TABLE_PC=GD", "GIA_CUT_Over=X"}},
        {"a Null bound never matches",
         {"INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 1, -1, -1, NULL, 60, 'A')",
          "INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 2, -1, -1, 50, NULL, 'B')",
          "INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 3, -1, -1, 50, 60, 'C')",
          "INSERT INTO Cut VALUES ('GIA', 2, 'Brilliant', 'X')"},
         {"GIA_CUT_TABLE_PC=C", "GIA_CUT_Over=X"}},
        {"bounds stored as text",
         {"INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 3, -1, -1, '50 %', '60', "
          "'GD')",
          "INSERT INTO Cut VALUES ('GIA', 2, 'Brilliant', 'X')"},
         {"GIA_CUT_TABLE_PC=GD", "GIA_CUT_Over=X"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(lookUpTablePc(c.rows), c.lines);
    }
}

TEST_F(GetCutClassTest, NumberBoundsAreTakenFromTheirFifteenDigitText) {
    createClassDatabase({
        "INSERT INTO CutPara VALUES (1, 'Brilliant', 'TABLE_PC')",
        // 0.1 + 0.2 is stored as 0.30000000000000004, whose text is 0.3.
        "INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 1, -1, -1, 0.1 + 0.2, 1, "
        "'A')",
        "INSERT INTO Cut VALUES ('GIA', 0, 'Brilliant', 'EX')",
    });
    writeKeys({"TABLE_PC = 0.3"});
    EXPECT_EQ(lookUp("Cut", "GIA"), (QStringList{"GIA_CUT_TABLE_PC=A", "GIA_CUT_Over=EX"}));
}

TEST_F(GetCutClassTest, TheOverallClassFollowsTheHighestIncludedRankInAnyParameterOrder) {
    // Three included parameters ranked 4, 6 and 2 in parameter order: the highest, not
    // the last, decides.
    createClassDatabase({
        "INSERT INTO CutPara VALUES (1, 'Brilliant', 'TABLE_PC')",
        "INSERT INTO CutPara VALUES (2, 'Brilliant', 'CROWN_ANGLE_DEG')",
        "INSERT INTO CutPara VALUES (3, 'Brilliant', 'CULET_PC')",
        "INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 4, -1, -1, 50, 60, 'T4')",
        "INSERT INTO CutData VALUES ('GIA', 'CROWN_ANGLE_DEG', 'Brilliant', 6, -1, -1, 30, 40, "
        "'C6')",
        "INSERT INTO CutData VALUES ('GIA', 'CULET_PC', 'Brilliant', 2, -1, -1, 0, 10, 'K2')",
        "INSERT INTO Cut VALUES ('GIA', 1, 'Brilliant', 'Rank1')",
        "INSERT INTO Cut VALUES ('GIA', 3, 'Brilliant', 'Rank3')",
        "INSERT INTO Cut VALUES ('GIA', 5, 'Brilliant', 'Rank5')",
    });
    writeKeys({"TABLE_PC = 57", "CROWN_ANGLE_DEG = 34.5", "CULET_PC = 1.2"});
    EXPECT_EQ(lookUp("Cut", "GIA"),
              (QStringList{"GIA_CUT_TABLE_PC=T4", "GIA_CUT_CROWN_ANGLE_DEG=C6",
                           "GIA_CUT_CULET_PC=K2", "GIA_CUT_Over=Rank5"}));
}

TEST_F(GetCutClassTest, IncludeAndShowComeFromTheFirstClassRowOnly) {
    const struct {
        const char* name;
        QStringList rows;
        QStringList lines;
    } cases[] = {
        // The matching second row says yes to both; the first row's no holds.
        {"first row off",
         {"INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 1, 0, 0, 0, 50, 'A')",
          "INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 3, -1, -1, 50, 60, 'C')"},
         {"GIA_CUT_TABLE_PC=-", "GIA_CUT_Over=-"}},
        // The matching second row says no to both; the first row's yes holds.
        {"first row on",
         {"INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 1, -1, -1, 0, 50, 'A')",
          "INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 3, 0, 0, 50, 60, 'C')"},
         {"GIA_CUT_TABLE_PC=C", "GIA_CUT_Over=X"}},
        // First in Serial order, not in stored order.
        {"first by rank",
         {"INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 3, 0, 0, 50, 60, 'C')",
          "INSERT INTO CutData VALUES ('GIA', 'TABLE_PC', 'Brilliant', 1, -1, -1, 0, 50, 'A')"},
         {"GIA_CUT_TABLE_PC=C", "GIA_CUT_Over=X"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(lookUpTablePc(QStringList{"INSERT INTO Cut VALUES ('GIA', 2, 'Brilliant', 'X')"} +
                                c.rows),
                  c.lines);
    }
}

TEST_F(GetCutClassTest, ShapeLabAndParameterTextsAreBoundAndMatchWithoutCase) {
    w().CurrentShape = "Old Miner's";
    createClassDatabase({
        "INSERT INTO SymPara VALUES (1, 'old miner''s', 'Sym''s ''x''')",
        "INSERT INTO SymData VALUES ('o''lab', 'SYM''S ''X''', 'OLD MINER''S', 2, -1, -1, 0, 9, "
        "'it''s')",
        "INSERT INTO Sym VALUES ('O''LAB', 1, 'Old Miner''s', 'Good')",
    });
    writeKeys({"Sym's 'x' = 4"});
    EXPECT_EQ(lookUp("Sym", "O'Lab"),
              (QStringList{"O'Lab_SYM_Sym's 'x'=it's", "O'Lab_SYM_Over=Good"}));
}

TEST_F(GetCutClassTest, NoParametersForTheShapeWriteOnlyTheOverallLine) {
    createClassDatabase(giaTableClasses);
    w().CurrentShape = "Heart";
    writeKeys({"TABLE_PC = 57"});
    EXPECT_EQ(lookUp("Cut", "GIA"), QStringList{"GIA_CUT_Over=-"});
}

TEST_F(GetCutClassTest, MergingAppendsEachLineToTheNextOldLine) {
    createClassDatabase(giaTableClasses);
    writeKeys({"TABLE_PC = 57"});
    openStreams({"old1,", "old2,", "old3,"});
    GetCutClass(w(), "Cut", "GIA");
    EXPECT_EQ(stoneLines(), (QStringList{"GIA_CUT_TABLE_PC=B", "GIA_CUT_Over=VG"}));
    EXPECT_EQ(secondCopies(), (QStringList{"old1,GIA_CUT_TABLE_PC=B", "old2,GIA_CUT_Over=VG"}));
    EXPECT_EQ(dir.read("layout.txt"), "old1,\r\nold2,\r\nold3,\r\n") << "only read";
}

// A grading component that notes which system each adapter asks for first after
// giving it the program folder; its graders give nothing, so the adapters write no
// lines.
class RecordingGrader final : public LabGrader {
public:
    explicit RecordingGrader(std::function<void()> onAppPath = {}) : onAppPath_(onAppPath) {}
    void SetAppPath(const QString&) override {
        if (onAppPath_)
            onAppPath_();
    }
    QVariant FindGrade(const std::vector<double>&, FacetwareMeasures*) override {
        throw StepFailure("no grade");
    }
    double FWGirdle(double, double, double, double) override { throw StepFailure("none"); }
    double FWTotalHeight(double, double, double, double) override { throw StepFailure("none"); }
    QVariant Strict(const QVariant&, const QVariant&) override { throw StepFailure("none"); }
    std::optional<QVariant> property(const QString&) override { return std::nullopt; }

private:
    std::function<void()> onAppPath_;
};

class RecordingProvider final : public LabGraderProvider {
public:
    LabGrader* appPathObject() override { return &appPath_; }
    LabGrader* grader(GradingSystem system) override {
        if (awaitingFirst_)
            asked.push_back(system);
        awaitingFirst_ = false;
        return &grader_;
    }
    std::vector<GradingSystem> asked;

private:
    bool awaitingFirst_ = false;
    RecordingGrader appPath_{[this] { awaitingFirst_ = true; }};
    RecordingGrader grader_;
};

class GradingDriverTest : public test::GradingFixture {
protected:
    GradingDriverTest() {
        w().CurrentShape = "Brilliant";
        w().gradingComponent = &provider;
        writeKeys({"TABLE_PC = 57"});
    }
    // Parameter TABLE_PC graded alike for every kind and laboratory named.
    static QStringList tableClasses(const QString& shape, const QStringList& labs) {
        QStringList rows;
        for (const QString kind : {"Cut", "Sym"}) {
            rows.append(
                QString("INSERT INTO %1Para VALUES (1, '%2', 'TABLE_PC')").arg(kind, shape));
            for (const QString& lab : labs)
                rows.append(
                    QString("INSERT INTO %1Data VALUES ('%2', 'TABLE_PC', '%3', 1, 0, -1, 0, 100, "
                            "'%2%1')")
                        .arg(kind, lab, shape));
        }
        return rows;
    }
    RecordingProvider provider;
};

TEST_F(GradingDriverTest, MultiDataRowsGoToTheAdaptersOrTheClassTables) {
    createClassDatabase(QStringList{
                            "INSERT INTO MultiData VALUES ('Brilliant', 'Lab1', 'Lab2')",
                            "INSERT INTO MultiData VALUES ('Oval', 'Lab3', 'Lab3')",
                            "INSERT INTO MultiData VALUES ('Brilliant', 'AGS', 'Lab2')",
                            "INSERT INTO MultiData VALUES ('Brilliant', 'GIA', 'Lab1')",
                            "INSERT INTO MultiData VALUES ('BRILLIANT', 'AGSGOLD', 'Lab2')",
                            "INSERT INTO MultiData VALUES ('Brilliant', 'HRD-HA', 'Lab2')",
                            "INSERT INTO MultiData VALUES ('Brilliant', 'HRD-2009', 'Lab2')",
                            // Matched with case: the class tables, not the adapter.
                            "INSERT INTO MultiData VALUES ('Brilliant', 'ags', 'Lab2')",
                            // Brilliants never walk CutLab and SymLab.
                            "INSERT INTO CutLab VALUES ('Brilliant', 'Lab3')",
                            "INSERT INTO SymLab VALUES ('Brilliant', 'Lab3')",
                        } +
                        tableClasses("Brilliant", {"Lab1", "Lab2", "Lab3", "ags", "AGS", "GIA"}));
    openStreams();
    SetCutSymData(w());

    // The adapters' own lines lie between; these are the class tables' lines.
    const auto classLines = [](const QStringList& lines) {
        return lines.mid(0, 6) +
               lines.mid(6).filter(QRegularExpression(QStringLiteral("_TABLE_PC=|_Over=")));
    };
    const QStringList expected =
        noOpticalKeys + QStringList{"Lab1_CUT_TABLE_PC=Lab1Cut", "Lab1_CUT_Over=-",
                                    "Lab2_SYM_TABLE_PC=Lab2Sym", "Lab2_SYM_Over=-",
                                    "Lab2_SYM_TABLE_PC=Lab2Sym", "Lab2_SYM_Over=-",
                                    "Lab1_SYM_TABLE_PC=Lab1Sym", "Lab1_SYM_Over=-",
                                    "Lab2_SYM_TABLE_PC=Lab2Sym", "Lab2_SYM_Over=-",
                                    "Lab2_SYM_TABLE_PC=Lab2Sym", "Lab2_SYM_Over=-",
                                    "Lab2_SYM_TABLE_PC=Lab2Sym", "Lab2_SYM_Over=-",
                                    "ags_CUT_TABLE_PC=agsCut",   "ags_CUT_Over=-",
                                    "Lab2_SYM_TABLE_PC=Lab2Sym", "Lab2_SYM_Over=-"};
    const QStringList first = stoneLines();
    EXPECT_EQ(classLines(first), expected);
    EXPECT_EQ(secondCopies(), first);
    EXPECT_EQ(provider.asked, (std::vector<GradingSystem>{
                                  GradingSystem::AGS, GradingSystem::GIA, GradingSystem::AGSGold,
                                  GradingSystem::HRDHA, GradingSystem::HRD2009}));
}

TEST_F(GradingDriverTest, OtherShapesWalkSymLabPairingCutLabRowsByPosition) {
    const QString shape = "Old Miner's";
    w().CurrentShape = shape;
    const struct {
        const char* name;
        QStringList cutLabs;
        QStringList symLabs;
        QStringList lines;
    } cases[] = {
        {"as many of each",
         {"C1", "C2"},
         {"S1", "S2"},
         {"C1_CUT_TABLE_PC=C1Cut", "C1_CUT_Over=-", "S1_SYM_TABLE_PC=S1Sym", "S1_SYM_Over=-",
          "C2_CUT_TABLE_PC=C2Cut", "C2_CUT_Over=-", "S2_SYM_TABLE_PC=S2Sym", "S2_SYM_Over=-"}},
        {"more symmetry laboratories",
         {"C1"},
         {"S1", "S2"},
         {"C1_CUT_TABLE_PC=C1Cut", "C1_CUT_Over=-", "S1_SYM_TABLE_PC=S1Sym", "S1_SYM_Over=-",
          "S2_SYM_TABLE_PC=S2Sym", "S2_SYM_Over=-"}},
        // The walk ends with SymLab: C2 is not graded.
        {"more cut laboratories",
         {"C1", "C2"},
         {"S1"},
         {"C1_CUT_TABLE_PC=C1Cut", "C1_CUT_Over=-", "S1_SYM_TABLE_PC=S1Sym", "S1_SYM_Over=-"}},
        {"no cut laboratory", {}, {"S1"}, {"S1_SYM_TABLE_PC=S1Sym", "S1_SYM_Over=-"}},
        {"no symmetry laboratory", {"C1", "C2"}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(dir.filePath("Class.mdb"));
        QStringList rows = tableClasses("old miner''s", {"C1", "C2", "S1", "S2", "M1", "M2"});
        rows.append("INSERT INTO MultiData VALUES ('OLD MINER''S', 'M1', 'M2')");
        rows.append("INSERT INTO CutLab VALUES ('Oval', 'C9')");
        for (const QString& lab : c.cutLabs)
            rows.append("INSERT INTO CutLab VALUES ('Old Miner''s', '" + lab + "')");
        for (const QString& lab : c.symLabs)
            rows.append("INSERT INTO SymLab VALUES ('old miner''s', '" + lab + "')");
        createClassDatabase(rows);
        openStreams();
        SetCutSymData(w());

        const QStringList expected = noOpticalKeys +
                                     QStringList{"M1_CUT_TABLE_PC=M1Cut", "M1_CUT_Over=-",
                                                 "M2_SYM_TABLE_PC=M2Sym", "M2_SYM_Over=-"} +
                                     c.lines;
        EXPECT_EQ(stoneLines(), expected);
        EXPECT_EQ(secondCopies(), expected);
    }
    EXPECT_TRUE(provider.asked.empty());
}

TEST_F(GradingDriverTest, ANullLaboratoryFailsTheCallWhereItIsRead) {
    const QString shape = "Oval";
    const struct {
        const char* name;
        QStringList rows;
        QStringList lines; // written before the failure
    } cases[] = {
        {"cut laboratory of MultiData",
         {"INSERT INTO MultiData VALUES ('Oval', 'M1', 'M2')",
          "INSERT INTO MultiData VALUES ('Oval', NULL, 'M2')"},
         {"M1_CUT_TABLE_PC=M1Cut", "M1_CUT_Over=-", "M2_SYM_TABLE_PC=M2Sym", "M2_SYM_Over=-"}},
        {"symmetry laboratory of MultiData",
         {"INSERT INTO MultiData VALUES ('Oval', 'M1', NULL)"},
         {}},
        {"CutLab",
         {"INSERT INTO CutLab VALUES ('Oval', NULL)", "INSERT INTO SymLab VALUES ('Oval', 'S1')"},
         {}},
        {"second SymLab row",
         {"INSERT INTO CutLab VALUES ('Oval', 'C1')", "INSERT INTO SymLab VALUES ('Oval', 'S1')",
          "INSERT INTO SymLab VALUES ('Oval', NULL)"},
         {"C1_CUT_TABLE_PC=C1Cut", "C1_CUT_Over=-", "S1_SYM_TABLE_PC=S1Sym", "S1_SYM_Over=-"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w().CurrentShape = shape;
        QFile::remove(dir.filePath("Class.mdb"));
        createClassDatabase(c.rows + tableClasses(shape, {"C1", "S1", "M1", "M2"}));
        openStreams();
        try {
            SetCutSymData(w());
            ADD_FAILURE() << "no failure";
        } catch (const StepFailure& failure) {
            EXPECT_EQ(failure.number(), 94);
        }
        const QStringList expected = noOpticalKeys + c.lines;
        EXPECT_EQ(stoneLines(), expected);
        EXPECT_EQ(secondCopies(), expected);
    }
}

TEST_F(GradingDriverTest, AMissingClassDatabaseFailsTheCallBeforeAnyLine) {
    openStreams();
    EXPECT_THROW(SetCutSymData(w()), StepFailure);
    EXPECT_EQ(stoneLines(), QStringList());
    EXPECT_EQ(secondCopies(), QStringList());
    EXPECT_FALSE(dir.exists("Class.mdb"));
}

TEST_F(GradingDriverTest, EachCallOpensTheClassDatabaseAfresh) {
    createClassDatabase(QStringList{"INSERT INTO MultiData VALUES ('Brilliant', 'Lab1', 'Lab2')"} +
                        tableClasses("Brilliant", {"Lab1", "Lab2"}));
    openStreams();
    SetCutSymData(w());
    stoneLines();

    // Another program folder's database replaces the open one.
    QFile::remove(dir.filePath("Class.mdb"));
    createClassDatabase(QStringList{"INSERT INTO MultiData VALUES ('Brilliant', 'Lab3', 'Lab3')"} +
                        tableClasses("Brilliant", {"Lab3"}));
    openStreams();
    SetCutSymData(w());
    const QStringList expected =
        noOpticalKeys + QStringList{"Lab3_CUT_TABLE_PC=Lab3Cut", "Lab3_CUT_Over=-",
                                    "Lab3_SYM_TABLE_PC=Lab3Sym", "Lab3_SYM_Over=-"};
    EXPECT_EQ(stoneLines(), expected);
}

} // namespace
} // namespace tav
