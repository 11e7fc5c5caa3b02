#include "export/TableLayout.h"

#include "export/ExportFixture.h"
#include "export/TemplateItems.h"
#include "platform/Database.h"

#include <memory>

namespace tav {
namespace {

using test::exportFixture;

TemplateItem item(const QString& stored, std::optional<QString> label,
                  std::optional<double> format) {
    return test::templateItem(stored, std::move(label), format);
}

// The entries of single rows, worked out against a key file of their own.
class TableEntryTest : public ::testing::Test {
protected:
    TableEntryTest() {
        dir.writeLines("test_export.txt",
                       {"[NumericalParameters]", "T.F = 57.26", "T.LOT = 0042", "T.NAME = Stone Co",
                        "UserData.LOT = 0042", "UserData.STONE_ID = [AB12]"});
        window = std::make_unique<FrmStoneID>(dir.folder(), platform, program);
        window->txtStoneID->setText("AB12");
        window->txtRealWgt->setText("0.51230");
        window->TXTSYMBOL->setText(";");
        window->Txt_Book->setText(":");
    }

    TableEntry entryOf(const TemplateItem& i) {
        TemplateRows rows;
        rows.items = {i};
        return tableEntry(*window,
                          EvaluateTemplateItems(*window, rows, ItemRules::Bookmarked, "8888")[0]);
    }

    test::TempProgramFolder dir;
    test::RecordingPlatform recording;
    Platform platform = recording.platform();
    ProgramWide program;
    std::unique_ptr<FrmStoneID> window;
};

TEST_F(TableEntryTest, EveryRowGivesItsTitleAndItsPaddedValue) {
    const struct {
        const char* name;
        std::optional<QString> label;
        std::optional<double> format;
        const char* header;
        const char* value;
    } cases[] = {
        {"T.F", "Table", 1, "Table", "57.3 "},
        {"T.F", "Table", 0, "Table", "57   "},
        // A value longer than its title is written whole.
        {"T.F", "T", 1, "T", "57.3"},
        {"T.NAME", "Name", -1, "Name", "Stone Co"},
        // -3 trims and never pads.
        {"T.F", "Table", -3, "Table", "57.26"},
        {"T.NAME", "Company name", -3, "Company name", "Stone Co"},
        {"T.MISSING", "Missing", -3, "Missing", ""},
        // A number with a negative code keeps its looked-up text.
        {"T.F", "Table width", -2, "Table width", "57.26      "},
        {"T.F", "Table %", std::nullopt, "Table %", "57.26  "},
        // All digits of UserData stay text; of another table they are a number.
        {"UserData.LOT", "Lot number", 1, "Lot number", "0042      "},
        {"T.LOT", "Lot", 1, "Lot", "42 "},
        // A label cell without a value is an empty title: the value is still written.
        {"T.F", std::nullopt, 1, "", "57.3"},
        {"T.NAME", std::nullopt, -1, "", "Stone Co"},
        {"***", "", -1, "", ""},
        // A special item's value goes into its title; its own lookup is empty.
        {"GIA_REAL_WGT", "Weight", -1, "Weight:0.51230", "              "},
        {"GIA_REAL_WGT", "Weight", -3, "Weight:0.51230", ""},
        {"GIA_FACETIDENTY", "Facets", 2, "GIA_FACETIDENTY:8888", "                    "},
        {"CUTTING_TYPE", "Cut", -1, "Cut", "   "},
        // Without brackets the stone ID items are ordinary.
        {"UserData.STONE_ID", "Stone", 0, "Stone", "[AB12]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.format.value_or(99)));
        const TableEntry entry = entryOf(item(c.name, c.label, c.format));
        EXPECT_EQ(entry.header, c.header);
        EXPECT_EQ(entry.value, c.value);
    }
}

TEST_F(TableEntryTest, BracketedStoneIdHasABlankTitleAndTheWeightIsNeverEmptied) {
    window->BracketStoneId = -1;
    window->NoWeightAutoExport = 1;
    window->ButtonExportMode = 1;
    const struct {
        const char* name;
        double format;
        const char* header;
        const char* value;
    } cases[] = {
        {"UserData.STONE_ID", 0, "      ", "[AB12]"},
        {"UserData.STONE_ID", -3, "      ", "[AB12]"},
        {"UserData.STONE_ID", -1, "[AB12]", "[AB12]"},
        {"STONE_ID", 0, "", ""},
        {"GIA_STONE_ID", -1, "Stone:[AB12]", "            "},
        {"GIA_REAL_WGT", -1, "Stone:0.51230", "             "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.format));
        const TableEntry entry = entryOf(item(c.name, "Stone", c.format));
        EXPECT_EQ(entry.header, c.header);
        EXPECT_EQ(entry.value, c.value);
    }
    EXPECT_EQ(window->txtRealWgt->text(), "0.51230");
}

TEST_F(TableEntryTest, TheLinesJoinTheEntriesEachFollowedByTheSeparator) {
    TemplateRows rows;
    rows.items = {item("T.F", "Table", 1), item("***", "", -2), item("T.NAME", "N", -1)};
    const TableLines lines =
        tableLines(*window, EvaluateTemplateItems(*window, rows, ItemRules::Bookmarked, "8888"));
    EXPECT_EQ(lines.header, "Table;;N;");
    EXPECT_EQ(lines.values, "57.3 ;;Stone Co;");
    EXPECT_EQ(tableLines(*window, {}).header, "");
}

// Whole exports of stone AB12 with the template of the worked example.
class TableExportTest : public test::ExportFixture {
protected:
    TableExportTest() {
        setTemplate({"('UserData.LOT', 'Lot', -1)", "('T.F', 'Table', 1)",
                     "('UserData.COLOR', 'Color', -3)", "('GIA_REAL_WGT', 'Weight', -1)"});
        setUp(window());
    }
    void setTemplate(const QStringList& rows) const {
        const auto database = Database::openExisting(path("Reports.mdb"));
        ASSERT_TRUE(database->exec("DELETE FROM Template_GIA"));
        for (const QString& row : rows)
            ASSERT_TRUE(database->exec("INSERT INTO Template_GIA VALUES " + row));
    }
    static void setUp(FrmStoneID& w, const QString& lot = "K7", const QString& colour = "G") {
        w.CBOFORMAT->setCurrentText("Table");
        w.TXTSYMBOL->setText(";");
        w.TxtLotno->setText(lot);
        w.cbColor->setEditable(true);
        w.cbColor->setEditText(colour);
    }
    FrmStoneID& nextRun(int bookmark = 0) {
        FrmStoneID& w = startRun();
        setUp(w);
        setCheckValue(w.chkbookmark, bookmark);
        return w;
    }
};

TEST_F(TableExportTest, ANewFileGetsTheHeaderAndLaterExportsOnlyTheirValueLines) {
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Export/AB12.txt"), exportFixture("table_stone.txt"));
    EXPECT_EQ(dir.read("Export/bench_table.txt"), exportFixture("table_layout.txt"));
    EXPECT_EQ(dir.read("Ascii/AB12.txt"), exportFixture("table_stone.txt"));

    FrmStoneID& w = nextRun();
    w.txtStoneID->setText("CD34");
    w.txtRealWgt->setText("0.4");
    setUp(w, "K8", "D");
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Export/bench_table.txt"), exportFixture("table_layout_two.txt"));
    EXPECT_EQ(dir.read("Export/CD34.txt"), "K8 ;57.3 ;D;              ;\r\n");
}

TEST_F(TableExportTest, OnlyTheTickedBookmarkBoxPutsTheHeaderIntoTheStoneFile) {
    const struct {
        int bookmark;
        const char* stoneGolden;
    } cases[] = {{0, "table_stone.txt"}, {1, "table_layout.txt"}, {2, "table_stone.txt"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bookmark);
        QFile::remove(path("Export/bench_table.txt"));
        nextRun(c.bookmark);
        ASSERT_EQ(exportStone(), ExportOutcome::Completed);
        EXPECT_EQ(dir.read("Export/AB12.txt"), exportFixture(c.stoneGolden));
        // The same lines whatever the box holds: no closing line either.
        EXPECT_EQ(dir.read("Export/bench_table.txt"), exportFixture("table_layout.txt"));
    }
}

TEST_F(TableExportTest, AnEmptyLayoutFileLeftByAnEarlierExportNeverGetsAHeader) {
    dir.write("Export/bench_table.txt", "");
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Export/bench_table.txt"), exportFixture("table_stone.txt"));
}

TEST_F(TableExportTest, AnEmptyTemplateWritesEmptyLines) {
    setTemplate({});
    nextRun(1);
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Export/AB12.txt"), "\r\n\r\n");
    EXPECT_EQ(dir.read("Export/bench_table.txt"), "\r\n\r\n");

    nextRun(0);
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Export/AB12.txt"), "\r\n");
    EXPECT_EQ(dir.read("Export/bench_table.txt"), "\r\n\r\n\r\n");
}

} // namespace
} // namespace tav
