#include "export/ExportProcedure.h"
#include "export/UserDataRow.h"

#include "app/FrmStoneID.h"
#include "platform/Database.h"
#include "platform/DateText.h"
#include "support/BenchLocale.h"
#include "support/RecordingPlatform.h"
#include "support/StartedWindow.h"
#include "support/TempProgramFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace tav {
namespace {

// The 31 columns of the row, all text but the computed numbers.
const QString fullUserData = QStringLiteral(
    "CREATE TABLE UserData (ID INTEGER, COLOR TEXT, CLARITY TEXT, FLAURASANSE TEXT, LOT TEXT, "
    "FILENAME TEXT, OPERATOR TEXT, COMPANY TEXT, STONE_ID TEXT, ExportDataFile TEXT, "
    "ExportAsciiFile TEXT, Symbol TEXT, isBookmark TEXT, DecimalPoint TEXT, LenNumber TEXT, "
    "FileFormat TEXT, SystemNumber TEXT, ShapeName TEXT, RealWeight TEXT, Polish TEXT, "
    "DATE TEXT, TIME TEXT, L_D_CALC REAL, SYMMETRY TEXT, B_N_CALC REAL, SHAPE TEXT, "
    "RepID TEXT, Stn1 TEXT, Stn2 TEXT, Stn3 TEXT, PROCESS TEXT, ZED_TBLMAX REAL)");

void setComboText(QComboBox* box, const QString& text) {
    box->setEditable(true);
    box->setEditText(text);
}

class UserDataRowTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.writeLines("test.txt",
                       {"[NumericalParameters]", "TABLE_MM_MAX = 3.5", "Width_mm = 5.1",
                        "Length_mm = 7.25", "GIRDLE_WIDE_BEZEL = 3.456", "GIRDLE_WIDE_BONE = 1.2"});
    }

    // The window over a Reports.mdb made of the statements.
    FrmStoneID& openWindow(const QStringList& statements) {
        dir.createDatabase("Reports.mdb", statements);
        test::writeStartUpFiles(dir);
        window = std::make_unique<FrmStoneID>(dir.folder(), platform, program);
        EXPECT_EQ(test::startUp(*window, recording), StartUpOutcome::Waiting);
        // An export that goes on past the row writes into the test's folder, never into
        // the working folder that the tests running side by side share.
        window->TxtExport->setText(dir.filePath("Export"));
        window->TxtACExport->setText(dir.filePath("Ascii"));
        return *window;
    }

    // An export, which writes the row before any check; where it ends after that (the
    // empty weight, the missing template table) does not matter here.
    void writeRow() { ExportData(*window); }

    std::unique_ptr<Database> reports() const {
        return Database::openExisting(dir.filePath("Reports.mdb"));
    }

    // The stored text of a column of the one row; nothing for a NULL.
    std::optional<QString> stored(const QString& column) const {
        const QString name = Database::quoteIdentifier(column);
        const auto rows =
            reports()->select(QStringLiteral("SELECT typeof(%1), %1 FROM UserData").arg(name));
        EXPECT_TRUE(rows && rows->rows.size() == 1) << column.toStdString();
        if (!rows || rows->rows.size() != 1 || rows->rows[0][0].toString() == u"null")
            return std::nullopt;
        return rows->rows[0][1].toString();
    }

    QString storageClass(const QString& column) const {
        const auto rows = reports()->select(QStringLiteral("SELECT typeof(%1) FROM UserData")
                                                .arg(Database::quoteIdentifier(column)));
        return rows && !rows->isEmpty() ? rows->rows[0][0].toString() : QString();
    }

    test::TempProgramFolder dir;
    test::StartUpBalance balance;
    test::RecordingPlatform recording;
    Platform platform = recording.platform();
    ProgramWide program;
    std::unique_ptr<FrmStoneID> window;
};

TEST_F(UserDataRowTest, WritesTheThirtyOneValuesIntoOneRow) {
    FrmStoneID& w = openWindow({fullUserData, "INSERT INTO UserData (ID, COLOR) VALUES (7, 'old')",
                                "INSERT INTO UserData (ID, COLOR) VALUES (8, 'older')"});
    setComboText(w.cbColor, " D ");
    setComboText(w.cbClarity, "VS1 ");
    setComboText(w.cbFlaurosance, "NON");
    setComboText(w.cbPolish, "EX");
    setComboText(w.CbSym, "VG");
    setComboText(w.cboShape, " Brilliant");
    setComboText(w.CBODECIMAL, "3");
    w.TxtLotno->setText(" L-7 ");
    w.TxtFileName->setText("bench ");
    w.txtOperator->setText(" Ravi");
    w.txtCompanyName->setText("Acme Gems");
    w.txtStoneID->setText(" 7-1 ");
    w.BracketStoneId = -1;
    w.TxtExport->setText(" " + dir.filePath("missing/export") + " ");
    w.TxtACExport->setText(dir.filePath("missing/ascii"));
    w.TXTSYMBOL->setText(";");
    w.Txt_Book->setText(" : ");
    setCheckValue(w.chkbookmark, 1);
    w.txtLenNumber->setText("12");
    w.txtSysnumber->setText("S01");
    w.txtRealWgt->setText(" 0.512 ct");
    w.TxtShape->setText(" RD ");
    w.TxtRepID->setText("bench-operator ");
    w.ProcessLabel = " P1 ";
    writeRow();

    const auto all = reports()->selectAll("UserData");
    ASSERT_TRUE(all);
    ASSERT_EQ(all->rows.size(), 1);
    EXPECT_EQ(all->rows[0][0].toInt(), 101);
    const QDateTime now = recording.clock.time;
    const struct {
        const char* column;
        QString text;
    } cases[] = {
        {"COLOR", "D"},
        {"CLARITY", "VS1"},
        {"FLAURASANSE", "NON"},
        {"LOT", "L-7"},
        {"FILENAME", "bench"},
        {"OPERATOR", "Ravi"},
        {"COMPANY", "Acme Gems"},
        {"STONE_ID", "[7-1]"},
        {"ExportDataFile", dir.filePath("missing/export")},
        {"ExportAsciiFile", dir.filePath("missing/ascii")},
        {"Symbol", ":"},
        {"isBookmark", "1"},
        {"DecimalPoint", "3"},
        {"LenNumber", "12"},
        {"FileFormat", "bench"},
        {"SystemNumber", "S01"},
        {"ShapeName", "Brilliant"},
        {"RealWeight", "0.512 ct"},
        {"Polish", "EX"},
        {"DATE", shortDateText(now.date())},
        {"TIME", timeText(now.time())},
        {"L_D_CALC", "1.42"},
        {"SYMMETRY", "VG"},
        {"B_N_CALC", "2.26"},
        {"SHAPE", "RD"},
        {"RepID", "bench-operator"},
        {"Stn1", " 7"},
        {"Stn2", "1"},
        {"Stn3", " "},
        {"PROCESS", " P1 "},
        {"ZED_TBLMAX", "68.62745"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stored(c.column), std::optional<QString>(c.text)) << c.column;
    EXPECT_FLOAT_EQ(program.TablePercent, 100 * 3.5f / 5.1f);
}

TEST_F(UserDataRowTest, ValuesTheColumnRefusesAreLeftEmptyAndTheRestIsStored) {
    FrmStoneID& w = openWindow({"CREATE TABLE UserData (ID INTEGER, color TEXT, LOT INTEGER, "
                                "OPERATOR VARCHAR(5), COMPANY VARCHAR(5), SystemNumber INTEGER, "
                                "DATE DATE, TIME DATETIME, isBookmark BOOLEAN, RealWeight REAL, "
                                "ShapeName NUMERIC, STONE_ID TEXT)"});
    setComboText(w.cbColor, "D");
    w.TxtLotno->setText("K-12");
    w.txtOperator->setText("Ramesh");
    w.txtCompanyName->setText("Acme");
    w.txtSysnumber->setText("42");
    setCheckValue(w.chkbookmark, 0);
    w.txtRealWgt->setText("0.512 ct");
    setComboText(w.cboShape, "Pear");
    w.txtStoneID->setText("AB-1");
    writeRow();

    const struct {
        const char* column;
        std::optional<QString> text;
    } cases[] = {
        {"color", std::nullopt},    // the name differs in case
        {"LOT", std::nullopt},      // a text in a number column
        {"OPERATOR", std::nullopt}, // six letters in a column of five
        {"COMPANY", "Acme"},        //
        {"SystemNumber", "42"},     // a numeric text is taken as the number
        {"DATE", shortDateText(recording.clock.time.date())},
        {"TIME", timeText(recording.clock.time.time())},
        {"isBookmark", "0"},          //
        {"RealWeight", std::nullopt}, // a weight with its unit is no number
        {"ShapeName", std::nullopt},  //
        {"STONE_ID", "AB-1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stored(c.column), c.text) << c.column;
    EXPECT_EQ(storageClass("SystemNumber"), "integer");
    EXPECT_EQ(stored("ID"), std::optional<QString>("101"));
}

// DATE and TIME in the forms of the bench's own settings, what its `date +%x` and
// `date +%X` print; Qt's forms differ (fr_BE: "13 h 48 min 55 s", C: "9 Dec 2026"). The
// date and time columns take these texts as dates and times.
TEST_F(UserDataRowTest, DateAndTimeAreWhatTheBenchsDateCommandPrints) {
    openWindow({"CREATE TABLE UserData (ID INTEGER, DATE DATE, TIME TIME)"});
    recording.clock.time = QDateTime(QDate(2026, 12, 9), QTime(13, 48, 55));
    const struct {
        const char* locale;
        const char* date;
        const char* time;
    } cases[] = {
        {"C.UTF-8", "12/09/26", "13:48:55"},
        {TAV_COMMA_LOCALE, "09.12.2026", "13:48:55"},
        {TAV_BELGIAN_LOCALE, "09/12/26", "13:48:55"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        const test::BenchLocale bench(c.locale);
        writeRow();
        EXPECT_EQ(stored("DATE"), test::dateCommand({"-d", "2026-12-09 13:48:55", "+%x"}));
        EXPECT_EQ(stored("TIME"), test::dateCommand({"-d", "2026-12-09 13:48:55", "+%X"}));
        EXPECT_EQ(stored("DATE"), c.date);
        EXPECT_EQ(stored("TIME"), c.time);
    }
}

TEST_F(UserDataRowTest, StoneIdPartsAsTheRowKeepsThem) {
    const QString none = QStringLiteral("<none>");
    const struct {
        const char* stoneId;
        qint16 brackets;
        QString stoneIdColumn, stn1, stn2, stn3;
    } cases[] = {
        {"AB-123X", 0, "AB-123X", "AB", "123", "X"},
        {"AB-1234", 0, "AB-1234", "AB", "123", "4"},
        {"A-55", 0, "A-55", none, "5", "5"},
        {"ABC123", 0, "ABC123", none, "ABC12", "3"},
        {"AB-", 0, "AB-", "AB", none, "-"},
        {"AB-1", 0, "AB-1", "AB", "", "1"},
        {"", 0, "", none, none, ""},
        {" 7-1 ", -1, "[7-1]", " 7", "1", " "},
    };
    FrmStoneID& w = openWindow({"CREATE TABLE UserData (ID INTEGER, STONE_ID TEXT, Stn1 TEXT, "
                                "Stn2 TEXT, Stn3 TEXT)"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stoneId);
        w.txtStoneID->setText(c.stoneId);
        w.BracketStoneId = c.brackets;
        writeRow();
        const auto expected = [&](const QString& text) {
            return text == none ? std::nullopt : std::optional<QString>(text);
        };
        EXPECT_EQ(stored("STONE_ID"), expected(c.stoneIdColumn));
        EXPECT_EQ(stored("Stn1"), expected(c.stn1));
        EXPECT_EQ(stored("Stn2"), expected(c.stn2));
        EXPECT_EQ(stored("Stn3"), expected(c.stn3));
    }
}

// The rounded difference comes back unchanged and whole: stored with every digit.
TEST_F(UserDataRowTest, AWholeGirdleDifferenceOfEightDigitsKeepsThemAll) {
    openWindow({"CREATE TABLE UserData (ID INTEGER, B_N_CALC REAL)"});
    dir.writeLines("test.txt", {"[NumericalParameters]", "GIRDLE_WIDE_BEZEL = 12345679",
                                "GIRDLE_WIDE_BONE = 1"});
    writeRow();
    EXPECT_EQ(stored("B_N_CALC"), std::optional<QString>("12345678"));
}

TEST_F(UserDataRowTest, ScanKeysThatGiveNoNumberLeaveTheirColumnsEmpty) {
    const struct {
        QStringList scan;
        std::optional<QString> lengthToWidth, girdleDifference;
        float tablePercentAfter;
        QString storedTablePercent;
    } cases[] = {
        // a zero width leaves the ratio and the table percentage as they were
        {{"Length_mm = 7.25", "Width_mm = 0", "TABLE_MM_MAX = 3.5", "GIRDLE_WIDE_BEZEL = 3",
          "GIRDLE_WIDE_BONE = 3.5"},
         std::nullopt,
         "-0.5",
         12.5f,
         "12.5"},
        // a missing width as well
        {{"Length_mm = 7.25", "GIRDLE_WIDE_BEZEL = 3"}, std::nullopt, std::nullopt, 12.5f, "12.5"},
        // a width with a unit has a leading number for the percentage but is no number
        {{"Length_mm = 7", "Width_mm = 3.5 mm", "TABLE_MM_MAX = 2", "GIRDLE_WIDE_BEZEL = x",
          "GIRDLE_WIDE_BONE = 1"},
         std::nullopt,
         std::nullopt,
         100 * 2.0f / 3.5f,
         "57.14286"},
    };
    openWindow({"CREATE TABLE UserData (ID INTEGER, L_D_CALC REAL, B_N_CALC "
                "REAL, ZED_TBLMAX REAL)"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scan.join(", ").toStdString());
        dir.writeLines("test.txt", QStringList{"[NumericalParameters]"} + c.scan);
        program.TablePercent = 12.5f;
        writeRow();
        EXPECT_EQ(stored("L_D_CALC"), c.lengthToWidth);
        EXPECT_EQ(stored("B_N_CALC"), c.girdleDifference);
        EXPECT_FLOAT_EQ(program.TablePercent, c.tablePercentAfter);
        EXPECT_EQ(stored("ZED_TBLMAX"), std::optional<QString>(c.storedTablePercent));
    }
}

TEST_F(UserDataRowTest, FixedDecimalsStoreTheRoundedTexts) {
    FrmStoneID& w =
        openWindow({"CREATE TABLE UserData (ID INTEGER, L_D_CALC TEXT, B_N_CALC TEXT)"});
    w.FixedDecimalFormat = 1;
    dir.writeLines("test.txt", {"[NumericalParameters]", "Length_mm = 7", "Width_mm = 3.5",
                                "GIRDLE_WIDE_BEZEL = 3", "GIRDLE_WIDE_BONE = 1"});
    writeRow();
    EXPECT_EQ(stored("L_D_CALC"), std::optional<QString>("2.00"));
    EXPECT_EQ(stored("B_N_CALC"), std::optional<QString>("2.00"));
}

TEST_F(UserDataRowTest, WithoutTheTableOrTheConnectionNothingIsWrittenAndNothingShown) {
    openWindow({"CREATE TABLE Other (ID INTEGER)"});
    writeRow();
    window->ReportsConnection.reset();
    writeRow();
    EXPECT_TRUE(recording.messages.shown.empty());
    EXPECT_EQ(reports()->userTables(), QStringList{"Other"});
}

TEST(UserDataRowTable, ColumnsPastTheHundredthAreNeverFilled) {
    test::TempProgramFolder dir;
    QStringList columns{"ID INTEGER"};
    for (int i = 1; i <= 100; ++i)
        columns << QStringLiteral("C%1 TEXT").arg(i);
    columns << "COLOR TEXT";
    dir.createDatabase("Reports.mdb", {"CREATE TABLE UserData (" + columns.join(", ") + ")"});
    const auto database = Database::openExisting(dir.filePath("Reports.mdb"));
    WriteUserDataRow(*database, {{"COLOR", QVariant("D")}, {"C100", QVariant("last")}});
    const auto rows = database->select("SELECT ID, C100, COLOR FROM UserData");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->rows.size(), 1);
    EXPECT_EQ(rows->rows[0][0].toInt(), 101);
    EXPECT_EQ(rows->rows[0][1].toString(), "last");
    EXPECT_TRUE(rows->rows[0][2].isNull());
}

} // namespace
} // namespace tav
