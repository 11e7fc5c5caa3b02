#include "app/FrmStoneID.h"
#include "app/StartUp.h"
#include "export/ExportProcedure.h"
#include "platform/Database.h"
#include "platform/DateText.h"
#include "scan/KeyFileBuilder.h"
#include "scan/ValueHelpers.h"
#include "support/AccessFixture.h"
#include "support/RecordingPlatform.h"
#include "support/SampleFolder.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <map>

namespace tav {
namespace {

using test::accessFixture;
using test::TempProgramFolder;

struct Conversion {
    int exitCode = -1;
    QString errors;
};

// The converter as a bench runs it, in the folder of the files; tools in toolFolder
// come before the installed ones.
Conversion convertAccess(const QString& folder, const QStringList& files,
                         const QString& toolFolder = {}) {
    QProcess script;
    script.setWorkingDirectory(folder);
    if (!toolFolder.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", toolFolder + ":" + environment.value("PATH"));
        script.setProcessEnvironment(environment);
    }
    script.start(QStringLiteral(TAV_SCRIPTS_DIR "/convert-access.sh"), files);
    EXPECT_TRUE(script.waitForStarted());
    EXPECT_TRUE(script.waitForFinished(-1));
    EXPECT_EQ(script.exitStatus(), QProcess::NormalExit);
    return {script.exitCode(), QString::fromUtf8(script.readAllStandardError())};
}

QStringList filesOf(const TempProgramFolder& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

qsizetype rowCount(const Database& database, const QString& table) {
    const auto rows = database.selectAll(table);
    EXPECT_TRUE(rows) << table.toStdString();
    return rows ? rows->rows.size() : -1;
}

// Every table of the two Access files with its rows, in the files' own order.
const std::vector<std::pair<QString, qsizetype>> northwindTables = {
    {"Order Details", 2155}, {"Orders", 830},   {"Products", 77},
    {"Shippers", 3},         {"Categories", 8}, {"Customers", 91},
    {"Employees", 9},        {"Suppliers", 29}, {QString::fromUtf8("Umsätze"), 830},
};
const std::vector<std::pair<QString, qsizetype>> dateTestTables = {{"DateTest", 6}};

TEST(ConvertAccess, EveryTableAndRowOfBothFilesAndTheOriginalsKept) {
    TempProgramFolder dir;
    dir.write("nwind.mdb", accessFixture("nwind.mdb"));
    dir.write("DateTestDatabase.mdb", accessFixture("DateTestDatabase.mdb"));

    const Conversion run = convertAccess(dir.path(), {"nwind.mdb", "DateTestDatabase.mdb"});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();

    EXPECT_EQ(filesOf(dir), (QStringList{"DateTestDatabase.mdb", "DateTestDatabase.mdb.access",
                                         "nwind.mdb", "nwind.mdb.access"}));
    const struct {
        const char* file;
        const std::vector<std::pair<QString, qsizetype>>& tables;
    } files[] = {{"nwind.mdb", northwindTables}, {"DateTestDatabase.mdb", dateTestTables}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        EXPECT_EQ(dir.read(QString(f.file) + ".access"), accessFixture(f.file));
        const DatabaseOpening opening = Database::open(dir.filePath(f.file));
        ASSERT_TRUE(opening.database) << int(opening.problem);
        QStringList names;
        for (const auto& [table, rows] : f.tables) {
            names.append(table);
            EXPECT_EQ(rowCount(*opening.database, table), rows) << table.toStdString();
        }
        EXPECT_EQ(opening.database->userTables(), names);
    }
}

TEST(ConvertAccess, PicturesBecomeBlobsAndNamesKeepTheirBlanksAndLetters) {
    TempProgramFolder dir;
    dir.write("Reports.mdb", accessFixture("nwind.mdb"));
    ASSERT_EQ(convertAccess(dir.path(), {"Reports.mdb"}).exitCode, 0);
    const auto database = Database::openExisting(dir.filePath("Reports.mdb"));
    ASSERT_TRUE(database);

    // Each category's picture: an OLE object wrapping a Paint bitmap.
    const auto pictures = database->select(
        "SELECT CategoryName, typeof(Picture), Picture FROM Categories ORDER BY CategoryID");
    ASSERT_TRUE(pictures);
    ASSERT_EQ(pictures->rows.size(), 8);
    EXPECT_EQ(pictures->rows[0][0].toString(), "Beverages");
    for (const QVariantList& row : pictures->rows) {
        SCOPED_TRACE(row[0].toString().toStdString());
        EXPECT_EQ(row[1].toString(), "blob");
        const QByteArray picture = row[2].toByteArray();
        EXPECT_EQ(picture.size(), 10746);
        EXPECT_TRUE(picture.startsWith(QByteArray("\x15\x1c\x2f\x00", 4)));
        EXPECT_TRUE(picture.contains(QByteArray("Paint.Picture\0", 14)));
        EXPECT_TRUE(picture.contains("BM"));
    }
    const auto photos = database->select("SELECT count(*) FROM Employees WHERE typeof(Photo) = "
                                         "'blob' AND length(Photo) > 0");
    EXPECT_EQ(photos->rows[0][0].toInt(), 9);

    // The program finds the tables under their own names, without regard to case.
    EXPECT_TRUE(IsExistingTable(dir.folder(), "Order Details"));
    EXPECT_TRUE(IsExistingTable(dir.folder(), QString::fromUtf8("UMSÄTZE")));
    const auto city = database->select(
        QString::fromUtf8("SELECT ShipCity FROM \"Umsätze\" WHERE OrderID = ?"), {10249});
    ASSERT_TRUE(city && city->rows.size() == 1);
    EXPECT_EQ(city->rows[0][0].toString(), QString::fromUtf8("Münster"));
    const auto order = database->select(
        "SELECT ProductID, Quantity FROM \"Order Details\" WHERE OrderID = ? ORDER BY ProductID",
        {10248});
    ASSERT_TRUE(order);
    EXPECT_EQ(order->rows, (QList<QVariantList>{{11, 12}, {42, 10}, {72, 5}}));
}

TEST(ConvertAccess, RefusesWhatItMustNotConvertAndLeavesItAsItWas) {
    TempProgramFolder dir;
    dir.write("Text.mdb", "Reports\r\n");
    dir.createDatabase("Converted.mdb", {"CREATE TABLE T (A TEXT)"});
    dir.write("Twice.mdb", accessFixture("DateTestDatabase.mdb"));
    dir.write("Twice.mdb.access", "an earlier original");
    dir.write("Good.mdb", accessFixture("DateTestDatabase.mdb"));
    const QByteArray converted = dir.read("Converted.mdb");

    const struct {
        QStringList files;
        const char* says;
    } cases[] = {
        {{"Text.mdb"}, "Text.mdb: not a Microsoft Access file"},
        {{"Converted.mdb"}, "Converted.mdb: not a Microsoft Access file"},
        {{"Twice.mdb"}, "Twice.mdb: Twice.mdb.access already exists"},
        {{"Missing.mdb"}, "Missing.mdb: no such file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const Conversion run = convertAccess(dir.path(), c.files);
        EXPECT_NE(run.exitCode, 0);
        EXPECT_TRUE(run.errors.contains(c.says)) << run.errors.toStdString();
    }
    const QStringList untouched{"Converted.mdb", "Good.mdb", "Text.mdb", "Twice.mdb",
                                "Twice.mdb.access"};
    EXPECT_EQ(filesOf(dir), untouched) << "no temporary file left behind";
    EXPECT_EQ(dir.read("Text.mdb"), "Reports\r\n");
    EXPECT_EQ(dir.read("Converted.mdb"), converted);
    EXPECT_EQ(dir.read("Twice.mdb"), accessFixture("DateTestDatabase.mdb"));
    EXPECT_EQ(dir.read("Twice.mdb.access"), "an earlier original");

    // A count that does not match: mdbtools' counter sees a row the copy does not have.
    TempProgramFolder tools;
    tools.write("mdb-count", "#!/bin/sh\necho 7\n");
    QFile::setPermissions(tools.filePath("mdb-count"), QFile::ReadOwner | QFile::ExeOwner);
    const Conversion mismatch = convertAccess(dir.path(), {"Good.mdb"}, tools.path());
    EXPECT_NE(mismatch.exitCode, 0);
    EXPECT_TRUE(mismatch.errors.contains("table 'DateTest' has 7 rows, the conversion 6"))
        << mismatch.errors.toStdString();
    EXPECT_EQ(filesOf(dir), untouched);
    EXPECT_EQ(dir.read("Good.mdb"), accessFixture("DateTestDatabase.mdb"));

    // One refusal among several files still converts the others.
    const Conversion run = convertAccess(dir.path(), {"Text.mdb", "Good.mdb"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(dir.read("Good.mdb.access"), accessFixture("DateTestDatabase.mdb"));
    EXPECT_TRUE(Database::openExisting(dir.filePath("Good.mdb")));
    EXPECT_EQ(dir.read("Text.mdb"), "Reports\r\n");
}

// Each Access type is kept in a declared type that the program reads as that type, so
// the key file writes what the Access values mean: a Single 0.15 (mdbtools writes
// 0.15000001), a Yes/No True (mdbtools writes 1), a Currency and a Date/Time as such.
TEST(ConvertAccess, EveryAccessTypeKeepsItsMeaningInTheKeyFile) {
    TempProgramFolder dir;
    TempProgramFolder dates;
    dir.write("Reports.mdb", accessFixture("nwind.mdb"));
    dates.write("Reports.mdb", accessFixture("DateTestDatabase.mdb"));
    ASSERT_EQ(convertAccess(dir.path(), {"Reports.mdb"}).exitCode, 0);
    ASSERT_EQ(convertAccess(dates.path(), {"Reports.mdb"}).exitCode, 0);

    const struct {
        const TempProgramFolder& folder;
        const char* table;
        const char* column;
        const char* declared; // for the Access type in the comment
    } columns[] = {
        {dir, "Order Details", "OrderID", "INTEGER"},    // Long Integer
        {dir, "Order Details", "Quantity", "INTEGER"},   // Integer
        {dir, "Order Details", "UnitPrice", "CURRENCY"}, // Currency
        {dir, "Order Details", "Discount", "SINGLE"},    // Single
        {dir, "Products", "Discontinued", "BOOLEAN"},    // Yes/No
        {dir, "Orders", "OrderDate", "DATETIME"},        // Date/Time
        {dir, "Orders", "ShipName", "VARCHAR"},          // Text
        {dir, "Categories", "Description", "TEXT"},      // Memo
        {dir, "Categories", "Picture", "BLOB"},          // OLE object
        {dates, "DateTest", "IDCol", "INTEGER"},         // Long Integer
        {dates, "DateTest", "TimeCol", "DATETIME"},      // Date/Time
        {dates, "DateTest", "LongTextCol", "TEXT"},      // Memo
        {dates, "DateTest", "ShortTextCol", "VARCHAR"},  // Text
    };
    for (const auto& c : columns) {
        SCOPED_TRACE(std::string(c.table) + "." + c.column);
        const auto database = Database::openExisting(c.folder.filePath("Reports.mdb"));
        ASSERT_TRUE(database);
        const auto info = database->select("SELECT type FROM pragma_table_info(?) WHERE name = ?",
                                           {QString(c.table), QString(c.column)});
        ASSERT_TRUE(info && info->rows.size() == 1);
        EXPECT_EQ(info->rows[0][0].toString(), c.declared);
    }

    // The key file writes the first record: rows before the ones that show the types go.
    {
        const auto database = Database::openExisting(dir.filePath("Reports.mdb"));
        ASSERT_TRUE(database);
        ASSERT_TRUE(database->exec("DELETE FROM \"Order Details\" WHERE rowid < (SELECT "
                                   "min(rowid) FROM \"Order Details\" WHERE Discount > 0)"));
        ASSERT_TRUE(database->exec("DELETE FROM Products WHERE rowid < (SELECT min(rowid) "
                                   "FROM Products WHERE Discontinued)"));
    }
    dir.write("testSetting.txt", "Order Details\r\nProducts\r\nOrders\r\n");
    dates.write("testSetting.txt", "DateTest\r\n");
    test::RecordingMessageBoxes messages;
    BuildTestExport(dir.folder(), messages);
    BuildTestExport(dates.folder(), messages);
    const QByteArray keys = dir.read("test_export.txt");
    const QByteArray dateKeys = dates.read("test_export.txt");
    const QByteArray expected[] = {
        "\r\nOrder Details.OrderID = 10250\r\n",
        "\r\nOrder Details.UnitPrice = 42.4\r\n",
        "\r\nOrder Details.Quantity = 35\r\n",
        "\r\nOrder Details.Discount = 0.15\r\n",
        "\r\nProducts.ProductName = Chef Anton's Gumbo Mix\r\n",
        "\r\nProducts.UnitPrice = 21.35\r\n",
        "\r\nProducts.Discontinued = True\r\n",
        "\r\nOrders.OrderDate = " + shortDateText(QDate(1994, 11, 16)).toLocal8Bit() + "\r\n",
        "\r\nOrders.Freight = 12.75\r\n",
    };
    for (const QByteArray& line : expected)
        EXPECT_TRUE(keys.contains(line)) << line.constData() << keys.constData();
    EXPECT_TRUE(dateKeys.contains(
        "\r\nDateTest.DateTimeCol = " + shortDateText(QDate(2021, 12, 2)).toLocal8Bit() + "\r\n"))
        << dateKeys.constData();
    EXPECT_TRUE(messages.shown.empty());
}

// A bench that moved over: its Reports.mdb was an Access file holding the sample's
// tables beside others; converted, start-up reads it and the stone exports as before.
using ConvertedBenchTest = test::SampleFolderTest;

TEST_F(ConvertedBenchTest, TheProgramStartsAndExportsOnAConvertedAccessFile) {
    dir.write("Reports.mdb", accessFixture("nwind.mdb"));
    ASSERT_EQ(convertAccess(dir.path(), {"Reports.mdb"}).exitCode, 0);
    {
        QProcess sqlite;
        sqlite.setStandardInputFile(QStringLiteral(TAV_SAMPLE_SCRIPT));
        sqlite.start("sqlite3", {dir.filePath("Reports.mdb")});
        ASSERT_TRUE(sqlite.waitForFinished(-1));
        ASSERT_EQ(sqlite.exitCode(), 0) << sqlite.readAllStandardError().toStdString();
    }
    dir.write("testSetting.txt", dir.read("testSetting.txt") + "Order Details\r\nUms\xe4tze\r\n");

    FrmStoneID w(dir.folder(), services, program);
    ASSERT_EQ(Form_Load(w), StartUpOutcome::Waiting);
    EXPECT_TRUE(w.ReportsConnection);
    EXPECT_TRUE(recording.messages.shown.empty());
    const QByteArray keys = dir.read("test_export.txt");
    EXPECT_TRUE(keys.contains("\r\nOrder Details.OrderID = 10248\r\n")) << keys.constData();
    EXPECT_TRUE(keys.contains("\r\nUms\xe4tze.ShipCity = Barquisimeto\r\n"));

    w.Cmd_OK->click();
    EXPECT_EQ(dir.read("Export/K7-10482.txt"),
              "K7-10482,,,ROUND-P8_8-P8_8,ROUND,8888,G,VS1,EX,EX,None,57.3,34.5,40.8,61.7,5.12,"
              "K7,Asha,\r\n");
    EXPECT_EQ(recording.programEnd.endCount, 1);
    EXPECT_TRUE(recording.messages.shown.empty());
    const auto database = Database::openExisting(dir.filePath("Reports.mdb"));
    ASSERT_TRUE(database);
    EXPECT_EQ(rowCount(*database, "Orders"), 830) << "the bench's other tables stay";
}

} // namespace
} // namespace tav
