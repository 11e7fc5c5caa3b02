#include "export/TemplateItems.h"

#include "app/FrmStoneID.h"
#include "export/RowLayout.h"
#include "platform/Database.h"
#include "support/RecordingPlatform.h"
#include "support/StartedWindow.h"
#include "support/TempProgramFolder.h"

#include "export/ExportFixture.h"

#include <gtest/gtest.h>

#include <memory>

namespace tav {
namespace {

TemplateItem item(const QString& stored, std::optional<QString> label,
                  std::optional<double> format) {
    return test::templateItem(stored, std::move(label), format);
}

class TemplateItemsTest : public ::testing::Test {
protected:
    TemplateItemsTest() {
        writeKeyFile();
        window = std::make_unique<FrmStoneID>(dir.folder(), platform, program);
        FrmStoneID& w = *window;
        w.txtStoneID->setText("AB12");
        w.txtLenNumber->setText("L1");
        w.TxtFileName->setText("bench");
        w.txtSysnumber->setText(".txt");
        w.txtRealWgt->setText("0.51230");
        w.WeightMessage = "Weight OK";
        w.TemplateShapeName = "ROUND-P8_8-P8_8";
        w.CuttingFamily = "ROUND";
        w.cboShape->setEditable(true);
        w.cboShape->setEditText("Brilliant");
        w.TXTSYMBOL->setText(",");
        w.Txt_Book->setText(":");
        w.TranslateGiaGrades = -1;
    }

    void writeKeyFile() const {
        dir.writeLines("test_export.txt",
                       {"[NumericalParameters]", "T.F = 57.26", "T.LOT = 0042", "T.NAME = Stone Co",
                        "T.NEG = -2.5", "T.GRADE = GIA-V", "UserData.LOT = 0042",
                        "UserData.STONE_ID = [AB12]", "CUTTING_TYPE = Round", "*** = star",
                        "T.NEAR35 = 34.999998", "T.NEAR57 = 57.000004", "T.NEAR1 = 1.0000001",
                        "T.BIG = 1234567.4", "T.REPORT = 12345678", "T.POW24 = 16777216",
                        "T.EIGHT = 20000000"});
    }

    std::vector<ItemValue> evaluate(const std::vector<TemplateItem>& items, ItemRules rules) {
        TemplateRows rows;
        rows.items = items;
        return EvaluateTemplateItems(*window, rows, rules, QStringLiteral("8888"));
    }
    QString valueOf(const TemplateItem& i, ItemRules rules) {
        return evaluate({i}, rules)[0].value;
    }

    static QString shown(const RowText& text) {
        return text.text + (text.endsLine ? QStringLiteral("\r\n") : QString());
    }

    test::TempProgramFolder dir;
    test::RecordingPlatform recording;
    Platform platform = recording.platform();
    ProgramWide program;
    std::unique_ptr<FrmStoneID> window;
};

TEST(UsedItemNameTest, ANameLosesItsCommentAndTheCharacterBeforeTheEquals) {
    const struct {
        const char* stored;
        const char* used;
    } cases[] = {{"Proportions.TABLE_PC = table width", "Proportions.TABLE_PC"},
                 {"AB=1", "A"},
                 {"=AB", "=AB"},
                 {"T.F", "T.F"},
                 {"X=", ""},
                 {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(usedItemName(c.stored), c.used) << c.stored;
}

TEST_F(TemplateItemsTest, EveryItemWritesItsRowTextInBothForms) {
    const struct {
        const char* name;
        std::optional<QString> label;
        std::optional<double> format;
        const char* plain;
        const char* bookmarked;
    } cases[] = {
        {"***", "", -2, "\r\n", "\r\n"},
        // The key file of this fixture has a key "***", which the bookmark form adds.
        {"***", "", -1, ",", ":star,"},
        {"GIA_STONE_ID", "Stone", -1, "AB12,", "Stone:AB12:,"},
        {"GIA_REAL_WGT", "Weight", -1, "0.51230,", "Weight:0.51230:,"},
        {"GIA_WGT_MESSAGE", "Check", -1, "Weight OK,", "Check:Weight OK:,"},
        {"GIA_LENS_NUMBER", "Lens", -1, "L1,", "Lens:L1:,"},
        {"GIA_File_Name", "File", -1, "bench,", "File:bench:,"},
        {"GIS_SYS_NUMBER", "System", -1, ".txt,", "System:.txt:,"},
        {"GIA_FACETIDENTY", "Facets", -1, "8888,", "GIA_FACETIDENTY:8888:,"},
        {"GIA_FACETIDENTY", "Facets", 0, "8888,", "GIA_FACETIDENTY:8888:,"},
        {"GIA_SHAPE_NAME", "Shape", -1, "ROUND-P8_8-P8_8,", "GIA_SHAPE_NAME:ROUND-P8_8-P8_8:,"},
        {"GIA_SHAPE_NAME1", "Family", -1, "ROUND,", "GIA_SHAPE_NAME1:ROUND:,"},
        {"CUTTING_TYPE", "Cut", -1, "Round,", "Cut:Round,"},
        {"T.F = table in percent", "Table", 1, "57.3,", "Table:57.3,"},
        {"T.F", "Table", 0, "57,", "Table:57,"},
        // A negative code other than -1 has no places: the text goes unrounded.
        {"T.F", "Table", -2, "57.26,", "Table\r\n"},
        {"T.F", "Table", -3, "57.26,", "Table:57.26,"},
        {"T.F", "Table", std::nullopt, "57.26,", "Table:57.26,"},
        {"T.NAME", "Name", -2, "Stone Co\r\n", "Name\r\n"},
        {"T.NAME", "Name", 2, "Stone Co,", "Name:Stone Co,"},
        {"T.LOT", "Lot", 1, "42,", "Lot:42,"},
        {"UserData.LOT", "Lot", 1, "0042,", "Lot:0042,"},
        {"T.NEG", "Neg", 0, "-3,", "Neg:-3,"},
        {"T.GRADE", "Grade", -1, "VG,", "Grade:VG,"},
        {"T.MISSING", std::nullopt, 1, ",", ":,"},
        {"gia_stone_id", "Stone", -1, ",", "Stone:,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.format.value_or(99)));
        const TemplateItem i = item(c.name, c.label, c.format);
        EXPECT_EQ(shown(plainRowText(*window, evaluate({i}, ItemRules::Plain)[0])), c.plain);
        EXPECT_EQ(shown(bookmarkedRowText(*window, evaluate({i}, ItemRules::Bookmarked)[0])),
                  c.bookmarked);
    }
}

// A whole number keeps all its digits, where its 7-digit text would need an exponent.
TEST_F(TemplateItemsTest, AValueWhoseSevenDigitTextHasNoPointGoesOutAsThatTextOrAllItsDigits) {
    const struct {
        const char* name;
        double format;
        const char* unfixed;
        const char* fixed;
    } cases[] = {
        {"T.NEAR35", 1, "35,", "35.0,"},
        {"T.NEAR57", 2, "57,", "57.00,"},
        {"T.NEAR1", 2, "1,", "1.00,"},
        {"T.BIG", 0, "1234567,", "1234567,"},
        {"T.F", 1, "57.3,", "57.3,"},
        {"T.REPORT", 0, "12345678,", "12345678,"},
        {"T.REPORT", 2, "12345678,", "12345678.00,"},
        {"T.REPORT", 1, "12345678,", "12345678.0,"},
        {"T.POW24", 2, "16777216,", "16777216.00,"},
        {"T.EIGHT", 2, "20000000,", "20000000.00,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TemplateItem i = item(c.name, "Label", c.format);
        window->FixedDecimalFormat = 0;
        EXPECT_EQ(shown(plainRowText(*window, evaluate({i}, ItemRules::Plain)[0])), c.unfixed);
        window->FixedDecimalFormat = 1;
        EXPECT_EQ(shown(plainRowText(*window, evaluate({i}, ItemRules::Plain)[0])), c.fixed);
    }
}

TEST_F(TemplateItemsTest, BracketsButtonModeAndHeartChangeTheSpecialItems) {
    FrmStoneID& w = *window;
    w.BracketStoneId = -1;
    w.ButtonExportMode = 1;
    w.cboShape->setEditText("Heart");
    const auto row = [&](const char* name, ItemRules rules, double format = -1) {
        const ItemValue value = evaluate({item(name, "Label", format)}, rules)[0];
        return shown(rules == ItemRules::Plain ? plainRowText(w, value)
                                               : bookmarkedRowText(w, value));
    };
    EXPECT_EQ(row("GIA_STONE_ID", ItemRules::Plain), "[AB12],");
    EXPECT_EQ(row("GIA_STONE_ID", ItemRules::Bookmarked), "Label:[AB12]:,");
    // The button mode empties the weight items in the plain form only.
    EXPECT_EQ(row("GIA_REAL_WGT", ItemRules::Plain), ",");
    EXPECT_EQ(row("GIA_WGT_MESSAGE", ItemRules::Plain), ",");
    EXPECT_EQ(row("GIA_REAL_WGT", ItemRules::Bookmarked), "Label:0.51230:,");
    EXPECT_EQ(row("CUTTING_TYPE", ItemRules::Plain), "Heart,");
    EXPECT_EQ(row("CUTTING_TYPE", ItemRules::Bookmarked), "Label:Round,");
    // The bracketed stone ID of the UserData row, without a label.
    EXPECT_EQ(row("UserData.STONE_ID", ItemRules::Bookmarked, 0), "[AB12],");
    EXPECT_EQ(row("STONE_ID", ItemRules::Bookmarked, 0), ",");
    EXPECT_EQ(row("UserData.STONE_ID", ItemRules::Bookmarked, -1), "[AB12]:[AB12],");

    // The Col_Row rules: their own empty field, and the bracketed ID without label.
    EXPECT_EQ(valueOf(item("**TXTSYMBOL*", "", -1), ItemRules::ColRowPlain), "");
    EXPECT_EQ(valueOf(item("***", "", -1), ItemRules::ColRowPlain), "star");
    EXPECT_EQ(valueOf(item("***", "", -1), ItemRules::Plain), "");
    EXPECT_EQ(valueOf(item("GIA_STONE_ID", "Stone", -1), ItemRules::ColRowBookmarked), "[AB12]");
    EXPECT_EQ(valueOf(item("**TXTSYMBOL*", "Sep", -1), ItemRules::ColRowBookmarked), "Sep");
}

TEST_F(TemplateItemsTest, AnExportWithoutWeightCheckEmptiesTheWeightInThePlainFormOnly) {
    FrmStoneID& w = *window;
    w.NoWeightAutoExport = 1;
    const std::vector<TemplateItem> items = {item("GIA_REAL_WGT", "Weight", -1),
                                             item("GIA_WGT_MESSAGE", "Check", -1)};
    const auto bookmarked = evaluate(items, ItemRules::Bookmarked);
    EXPECT_EQ(bookmarked[0].value, "Weight:0.51230");
    EXPECT_EQ(w.txtRealWgt->text(), "0.51230");

    const auto plain = evaluate(items, ItemRules::Plain);
    EXPECT_EQ(plain[0].value, "");
    EXPECT_EQ(plain[1].value, "");
    EXPECT_EQ(w.txtRealWgt->text(), "");
    EXPECT_EQ(w.WeightMessage, "");

    // An empty template blanks nothing.
    w.txtRealWgt->setText("0.4");
    evaluate({}, ItemRules::Plain);
    EXPECT_EQ(w.txtRealWgt->text(), "0.4");
}

TEST_F(TemplateItemsTest, RowsAreReadByPositionAndOnlyChangedNamesAreStoredBack) {
    dir.createDatabase(
        "Reports.mdb",
        {"CREATE TABLE Tpl (Name TEXT, Caption TEXT, Code INTEGER, Extra TEXT)",
         "INSERT INTO Tpl VALUES ('T.F = table', 'Table', 1, 'x')",
         "INSERT INTO Tpl VALUES ('GIA_STONE_ID', 'Stone', -1, 'y')",
         "INSERT INTO Tpl VALUES ('T.F = again', NULL, NULL, NULL)",
         "CREATE TABLE Touched (Old TEXT)",
         "CREATE TRIGGER Logged AFTER UPDATE ON Tpl BEGIN INSERT INTO Touched VALUES "
         "(old.Name); END"});
    // A window of the program's own start-up, which opens the connection; its key file
    // then is the fixture's again.
    test::StartUpBalance balance;
    test::writeStartUpFiles(dir);
    window = std::make_unique<FrmStoneID>(dir.folder(), platform, program);
    ASSERT_EQ(test::startUp(*window, recording), StartUpOutcome::Waiting);
    ASSERT_TRUE(window->ReportsConnection);
    writeKeyFile();
    const auto rows = readTemplateRows(*window->ReportsConnection, "tpl");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->items.size(), 3u);
    EXPECT_EQ(rows->items[0].name, "T.F");
    EXPECT_EQ(rows->items[0].label, "Table");
    EXPECT_EQ(rows->items[0].formatCode, 1);
    EXPECT_EQ(rows->items[2].label, std::nullopt);
    EXPECT_EQ(rows->items[2].formatCode, std::nullopt);

    const auto values = EvaluateTemplateItems(*window, *rows, ItemRules::Plain, "8888");
    EXPECT_EQ(values[0].valueNumber, "57.3");

    const auto database = Database::openExisting(dir.filePath("Reports.mdb"));
    const auto stored = database->select("SELECT Name, Extra FROM Tpl ORDER BY rowid");
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->rows.size(), 3);
    EXPECT_EQ(stored->rows[0][0].toString(), "T.F");
    EXPECT_EQ(stored->rows[1][0].toString(), "GIA_STONE_ID");
    EXPECT_EQ(stored->rows[2][0].toString(), "T.F");
    EXPECT_EQ(stored->rows[0][1].toString(), "x");
    const auto touched = database->select("SELECT Old FROM Touched ORDER BY rowid");
    ASSERT_TRUE(touched);
    ASSERT_EQ(touched->rows.size(), 2);
    EXPECT_EQ(touched->rows[0][0].toString(), "T.F = table");
    EXPECT_EQ(touched->rows[1][0].toString(), "T.F = again");

    EXPECT_FALSE(readTemplateRows(*window->ReportsConnection, "NoSuchTemplate"));
}

} // namespace
} // namespace tav
