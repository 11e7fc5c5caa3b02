#include "export/ColRowLayout.h"

#include "export/ExportFixture.h"
#include "export/TemplateItems.h"
#include "platform/Database.h"

#include <QDir>

#include <memory>

namespace tav {
namespace {

using test::exportFixture;

TemplateItem item(const QString& name, std::optional<QString> label, std::optional<double> format) {
    return test::templateItem(name, std::move(label), format);
}

// The lines of single rows, worked out against a key file of their own.
class ColRowLineTest : public ::testing::Test {
protected:
    ColRowLineTest() {
        dir.writeLines("test_export.txt",
                       {"[NumericalParameters]", "T.F = 57.26", "T.NAME = Stone Co",
                        "UserData.STONE_ID = [AB12]", "*** = star"});
        window = std::make_unique<FrmStoneID>(dir.folder(), platform, program);
        window->txtStoneID->setText("AB12");
        window->txtRealWgt->setText("0.51230");
        window->TXTSYMBOL->setText(",");
        window->Txt_Book->setText(":");
    }

    std::optional<QString> lineOf(const TemplateItem& i, bool bookmarks) {
        TemplateRows rows;
        rows.items = {i};
        const ItemRules rules = bookmarks ? ItemRules::ColRowBookmarked : ItemRules::ColRowPlain;
        return colRowLine(*window, EvaluateTemplateItems(*window, rows, rules, "8888")[0],
                          bookmarks);
    }

    test::TempProgramFolder dir;
    test::RecordingPlatform recording;
    Platform platform = recording.platform();
    ProgramWide program;
    std::unique_ptr<FrmStoneID> window;
};

TEST_F(ColRowLineTest, EveryRowGivesItsLineInBothForms) {
    const std::optional<QString> none;
    const struct {
        const char* name;
        std::optional<QString> label;
        std::optional<double> format;
        bool brackets;
        std::optional<QString> plain;
        std::optional<QString> bookmarked;
    } cases[] = {
        {"**TXTSYMBOL*", "", -1, false, ",", ":,"},
        {"**TXTSYMBOL*", "", -2, false, "", ""},
        // "***" is an ordinary name here, looked up in the key file.
        {"***", "", -1, false, "star,", ":star,"},
        {"***", "", -2, false, "star", ""},
        {"T.NAME", "Name", -2, false, "Stone Co", "Name"},
        {"T.NAME", std::nullopt, -2, false, "Stone Co", none},
        {"T.MISSING", std::nullopt, -2, false, "", none},
        // A number goes on the number path before the -2 rule, label or not.
        {"T.F", std::nullopt, -2, false, "57.26,", ":57.26,"},
        {"T.F", "Table", 1, false, "57.3,", "Table:57.3,"},
        {"T.F", "Table", std::nullopt, false, "57.26,", "Table:57.26,"},
        {"GIA_REAL_WGT", "Weight", 2, false, "0.51,", "Weight:0.51230:,"},
        {"GIA_REAL_WGT", "Weight", -2, false, "0.51230,", "Weight:0.51230"},
        {"GIA_STONE_ID", "Stone", -1, false, "AB12,", "Stone:AB12:,"},
        {"GIA_STONE_ID", "Stone", -1, true, "[AB12],", "[AB12],"},
        {"GIA_STONE_ID", "Stone", 0, true, "[AB12],", "[AB12]:,"},
        {"UserData.STONE_ID", "Stored", 0, true, "[AB12],", "[AB12],"},
        {"UserData.STONE_ID", "Stored", -1, true, "[AB12],", "[AB12],"},
        {"UserData.STONE_ID", "Stored", 0, false, "[AB12],", "Stored:[AB12],"},
        {"STONE_ID", "Stored", -2, true, "", ","},
        // A head that begins with a bracket goes alone while brackets are on.
        {"T.NAME", "[Name]", -1, true, "Stone Co,", "[Name],"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.format.value_or(99)));
        window->BracketStoneId = c.brackets ? -1 : 0;
        const TemplateItem i = item(c.name, c.label, c.format);
        EXPECT_EQ(lineOf(i, false), c.plain);
        EXPECT_EQ(lineOf(i, true), c.bookmarked);
    }
}

TEST_F(ColRowLineTest, AnExportWithoutWeightCheckEmptiesTheWeightInThePlainFormOnly) {
    window->NoWeightAutoExport = 1;
    EXPECT_EQ(lineOf(item("GIA_REAL_WGT", "Weight", -1), true), "Weight:0.51230:,");
    EXPECT_EQ(window->txtRealWgt->text(), "0.51230");
    EXPECT_EQ(lineOf(item("GIA_REAL_WGT", "Weight", -1), false), ",");
    EXPECT_EQ(window->txtRealWgt->text(), "");
}

// Whole exports of stone AB12 (lot K7, colour G) with a small Col_Row template.
class ColRowExportTest : public test::ExportFixture {
protected:
    ColRowExportTest() {
        const auto database = Database::openExisting(path("Reports.mdb"));
        const char* rows[] = {
            "('GIA_STONE_ID', 'Stone', -1)",
            "('GIA_REAL_WGT', 'Weight', -1)",
            "('T.F', 'Table', 1)",
            // A number with -2 goes on the number path, with the separator.
            "('T.F', 'Table', -2)",
            // A text with -2 goes without it.
            "('UserData.LOT', 'Lot', -2)",
            "('UserData.STONE_ID', 'Stored', 0)",
            "('**TXTSYMBOL*', 'Sep', -1)",
            // In the bookmark form a -2 row without a label has no head and no line.
            "('UserData.COLOR', NULL, -2)",
        };
        EXPECT_TRUE(database->exec("DELETE FROM Template_GIA"));
        for (const char* row : rows)
            EXPECT_TRUE(database->exec(QStringLiteral("INSERT INTO Template_GIA VALUES ") + row));
        nextRun();
    }
    FrmStoneID& nextRun(int bookmark = 0, const QString& layout = "Col_Row") {
        FrmStoneID& w = startRun();
        w.CBOFORMAT->setEditable(true);
        w.CBOFORMAT->setEditText(layout);
        w.TxtLotno->setText("K7");
        w.cbColor->setEditable(true);
        w.cbColor->setEditText("G");
        setCheckValue(w.chkbookmark, bookmark);
        return w;
    }
};

TEST_F(ColRowExportTest, BothFormsWriteOneLineToEachFileAndTheLayoutFileClosesTheBlock) {
    const struct {
        int bookmark;
        bool brackets;
        const char* stoneFile;
        const char* golden;
    } cases[] = {{0, false, "AB12.txt", "colrow_plain_stone.txt"},
                 {1, false, "AB12.txt", "colrow_bookmark_stone.txt"},
                 {2, true, "[AB12].txt", "colrow_bookmark_brackets_stone.txt"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.golden);
        QFile::remove(path("Export/bench_col_Rows.txt"));
        nextRun(c.bookmark).BracketStoneId = c.brackets ? -1 : 0;

        ASSERT_EQ(exportStone(), ExportOutcome::Completed);

        const QByteArray stone = exportFixture(c.golden);
        EXPECT_EQ(dir.read("Export/" + QString(c.stoneFile)), stone);
        EXPECT_EQ(dir.read("Export/bench_col_Rows.txt"), stone + " \r\n");
    }
}

TEST_F(ColRowExportTest, EveryExportAppendsItsBlock) {
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    nextRun().txtStoneID->setText("CD34");
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);

    const QByteArray first = exportFixture("colrow_plain_stone.txt");
    const QByteArray second = dir.read("Export/CD34.txt");
    EXPECT_TRUE(second.startsWith("CD34,\r\n"));
    EXPECT_EQ(dir.read("Export/bench_col_Rows.txt"), first + " \r\n" + second + " \r\n");
}

TEST_F(ColRowExportTest, ATextNamingNoLayoutWritesColRowLinesWithoutLayoutFileOrClosingLine) {
    nextRun(0, "Fancy");
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Export/AB12.txt"), exportFixture("colrow_plain_stone.txt"));
    EXPECT_EQ(window().ExportTextFile, "");
    EXPECT_EQ(QDir(path("Export")).entryList(QDir::Files), QStringList{"AB12.txt"});
    EXPECT_TRUE(recording().messages.shown.empty());
}

} // namespace
} // namespace tav
