#include "scan/FieldText.h"
#include "scan/KeyFileBuilder.h"

#include "platform/Database.h"
#include "platform/DateText.h"
#include "platform/Interaction.h"
#include "platform/StepFailure.h"
#include "platform/TextFile.h"
#include "support/BenchLocale.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

namespace tav {
namespace {

class KeyFileBuilderTest : public ::testing::Test {
protected:
    void createReports() {
        dir.createDatabaseFromScript("Reports.mdb", TAV_FIXTURES_DIR "/keyfile/reports.sql");
    }
    QByteArray keyFile() const { return dir.read("test_export.txt"); }
    void build() { BuildTestExport(dir.folder(), messages); }

    test::TempProgramFolder dir;
    test::RecordingMessageBoxes messages;
};

// The golden key file: two tables, the first of three rows, with a Null, a boolean, a
// date, a date with a time, a real 57.50, a line break in a value; a listed table that
// does not exist, a blank item, a quoted item, a table without rows and an MSys table.
TEST_F(KeyFileBuilderTest, GoldenKeyFileFromTheFixture) {
    const test::BenchLocale bench("C.UTF-8"); // dates as the C library's own forms write them
    createReports();
    dir.write("testSetting.txt", "Stone\r\nNoSuchTable\r\n\r\n \"Limits\" \r\nEmpty\r\n"
                                 "MSysObjects\r\n");
    build();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(keyFile().toStdString(), QByteArray("[NumericalParameters]\r\n"
                                                  "Stone.ID = 7\r\n"
                                                  "Stone.COLOR = D\r\n"
                                                  "Stone.TABLE_PC = 57.5\r\n"
                                                  "Stone.POLISHED = True\r\n"
                                                  "Stone.SCANNED = 03/01/26\r\n"
                                                  "Stone.NOTE = \r\n"
                                                  "Stone.WEIGHT = 0.123456789012346\r\n"
                                                  "Stone.TOUCHED = 03/01/26 14:30:05\r\n"
                                                  "Stone.REMARK = line1  line2\r\n"
                                                  "Limits.SHAPE = BR\r\n"
                                                  "Limits.MIN_WGT = 0.005\r\n"
                                                  "Limits.ACTIVE = False\r\n"
                                                  "Limits.NEG = -3\r\n"
                                                  "Limits.FACTOR = 100\r\n"
                                                  "MSysObjects.Id = 1\r\n"
                                                  "MSysObjects.Name = hidden\r\n")
                                           .toStdString());
}

TEST_F(KeyFileBuilderTest, MissingReportsShowsTheBoxAndLeavesTheOldKeyFile) {
    dir.write("testSetting.txt", "Stone\r\n");
    dir.write("test_export.txt", "[NumericalParameters]\r\nold = 1\r\n");
    build();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Report File does not Exists");
    EXPECT_EQ(messages.shown[0].title, "REPORTS.MDB ABSENT");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(keyFile(), "[NumericalParameters]\r\nold = 1\r\n");
}

TEST_F(KeyFileBuilderTest, MissingReportsCreatesNoKeyFile) {
    build();
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_FALSE(dir.exists("test_export.txt"));
}

TEST_F(KeyFileBuilderTest, NoTestSettingGivesOnlyTheSectionLine) {
    createReports();
    dir.write("test_export.txt", "[NumericalParameters]\r\nold = 1\r\nolder = 2\r\n");
    build();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(keyFile(), "[NumericalParameters]\r\n");
}

TEST_F(KeyFileBuilderTest, ReportsFileNameMatchesWithoutRegardToCase) {
    dir.createDatabaseFromScript("reports.MDB", TAV_FIXTURES_DIR "/keyfile/reports.sql");
    dir.write("TESTSETTING.TXT", "Limits\r\n");
    build();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(keyFile().startsWith("[NumericalParameters]\r\nLimits.SHAPE = BR\r\n"));
}

TEST_F(KeyFileBuilderTest, ADatabaseThatCannotBeOpenedLeavesTheSectionLine) {
    dir.write("Reports.mdb", "this is not a database");
    dir.write("testSetting.txt", "Stone\r\n");
    build();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(keyFile(), "[NumericalParameters]\r\n");
}

TEST_F(KeyFileBuilderTest, OnlyTheFirst101NamesAreWrittenInFileOrder) {
    QStringList statements{QStringLiteral("BEGIN")};
    QByteArray listing;
    // Listed in reverse creation order, so file order and table order differ.
    for (int i = 0; i < 105; ++i) {
        const QString name = QStringLiteral("T%1").arg(i, 3, 10, QLatin1Char('0'));
        statements << QStringLiteral("CREATE TABLE %1 (V INTEGER)").arg(name)
                   << QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(name).arg(i);
    }
    statements.append(QStringLiteral("COMMIT"));
    for (int i = 104; i >= 0; --i)
        listing += QStringLiteral("T%1\r\n").arg(i, 3, 10, QLatin1Char('0')).toLatin1();
    dir.createDatabase("Reports.mdb", statements);
    dir.write("testSetting.txt", listing);

    EXPECT_EQ(ReadTableSlots(dir.folder()).size(), 101);
    build();
    QByteArray expected = "[NumericalParameters]\r\n";
    for (int i = 104; i >= 4; --i)
        expected +=
            QStringLiteral("T%1.V = %2\r\n").arg(i, 3, 10, QLatin1Char('0')).arg(i).toLatin1();
    EXPECT_EQ(keyFile().toStdString(), expected.toStdString());
}

TEST_F(KeyFileBuilderTest, SlotsFollowTheSequentialReader) {
    dir.write("testSetting.txt", "A, B\r\n\r\n\"C, D\"\r\n  E  \r\n");
    EXPECT_EQ(ReadTableSlots(dir.folder()), (QStringList{"A", "B", "", "C, D", "E"}));
    EXPECT_TRUE(ReadTableSlots(test::TempProgramFolder().folder()).isEmpty());
}

TEST_F(KeyFileBuilderTest, ATableIsLookedUpWithoutRegardToCaseAndWrittenUnderTheListedName) {
    createReports();
    dir.write("testSetting.txt", "limits\r\n");
    build();
    EXPECT_TRUE(keyFile().startsWith("[NumericalParameters]\r\nlimits.SHAPE = BR\r\n"));
}

TEST_F(KeyFileBuilderTest, WriteKeyFileSkipsEmptyNamesAndUnreadableTables) {
    createReports();
    const KeyFileProblems problems = WriteKeyFile(dir.folder(), {"", "Nope", "Limits"});
    EXPECT_FALSE(problems.notWritten);
    EXPECT_EQ(problems.unreadTables, QStringList{"Nope"});
    EXPECT_EQ(keyFile(), "[NumericalParameters]\r\nLimits.SHAPE = BR\r\nLimits.MIN_WGT = 0.005\r\n"
                         "Limits.ACTIVE = False\r\nLimits.NEG = -3\r\nLimits.FACTOR = 100\r\n");
}

TEST_F(KeyFileBuilderTest, ExportTableFailsForAMissingOrEmptyTableAndWritesNothing) {
    createReports();
    const auto database = Database::openExisting(dir.filePath("Reports.mdb"));
    ASSERT_TRUE(database);
    {
        TextStream out(dir.filePath("out.txt"), TextStream::Mode::Create);
        EXPECT_THROW(ExportTableToTestExport(*database, out, "Empty"), StepFailure);
        EXPECT_THROW(ExportTableToTestExport(*database, out, "NoSuchTable"), StepFailure);
        EXPECT_NO_THROW(ExportTableToTestExport(*database, out, "msysLower"));
    }
    EXPECT_EQ(dir.read("out.txt"), "msysLower.B = shown in Form1\r\n");
}

// SQLite keeps a storage class per value, which the column's affinity may have changed
// on the way in; the key file's text comes from the stored value and the declared type.
TEST_F(KeyFileBuilderTest, StoredValuesAgainstDeclaredTypesGiveTheirKeyLines) {
    const struct {
        const char* column; // name and declared type
        const char* value;  // SQL literal
        const char* text;   // after "Mixed.<name> = "
    } cases[] = {
        {"RealInText TEXT", "2.5", "2.5"},
        {"IntInText VARCHAR(10)", "-7", "-7"},
        {"TextInReal REAL", "'abc'", "abc"},
        {"IntInReal REAL", "3", "3"},
        {"RealInInteger INTEGER", "2.5", "2.5"},
        {"WholeRealInInteger INTEGER", "3.0", "3"},
        {"TextNumberInInteger INTEGER", "'42'", "42"},
        {"PaddedNumberInNumeric NUMERIC", "'0050'", "50"},
        {"BlobInText TEXT", "x'4142e9'", "AB\xe9"},
        {"BlobUntyped", "x'41'", "A"},
        {"IntInBlob BLOB", "7", "7"},
        {"NullInReal REAL", "NULL", ""},
        {"NullInBoolean BOOLEAN", "NULL", ""},
        {"NullInDate DATE", "NULL", ""},
        {"NullUntyped", "NULL", ""},
        {"TextNumberInBoolean BOOLEAN", "'1'", "True"},
        {"WordInBoolean BOOLEAN", "'yes'", "yes"},
        {"IntInDate DATE", "20260301", "20260301"},
        {"RealInSingle SINGLE", "0.1", "0.1"},
        {"WideIntInSingle SINGLE", "16777217", "1.677722E+07"},
        {"TextInSingle SINGLE", "'n/a'", "n/a"},
        {"HugeRealInSingle SINGLE", "-1e300", "-1E+300"},
        {"RealUntyped", "0.30000000000000004", "0.3"},
        {"TextUntyped", "'0.30000000000000004'", "0.30000000000000004"},
    };
    QStringList columns;
    QStringList values;
    QByteArray expected = "[NumericalParameters]\r\n";
    for (const auto& c : cases) {
        columns.append(QString::fromLatin1(c.column));
        values.append(QString::fromLatin1(c.value));
        expected += "Mixed." + QByteArray(c.column).split(' ').front() + " = " + c.text + "\r\n";
    }
    dir.createDatabase("Reports.mdb", {"CREATE TABLE Mixed (" + columns.join(", ") + ")",
                                       "INSERT INTO Mixed VALUES (" + values.join(", ") + ")"});
    dir.write("testSetting.txt", "Mixed\r\n");
    build();
    EXPECT_EQ(keyFile().toStdString(), expected.toStdString());
}

// --- FieldText ---------------------------------------------------------------------

TEST(FieldText, DeclaredTypesGiveTheirKinds) {
    const struct {
        const char* type;
        FieldKind kind;
    } cases[] = {
        {"", FieldKind::Untyped},           {"BOOLEAN", FieldKind::Boolean},
        {"bool", FieldKind::Boolean},       {"BIT", FieldKind::Boolean},
        {"YESNO", FieldKind::Boolean},      {"DATE", FieldKind::Date},
        {"DateTime", FieldKind::Date},      {"TIMESTAMP", FieldKind::Date},
        {"SINGLE", FieldKind::Single},      {"REAL", FieldKind::Real},
        {"DOUBLE", FieldKind::Real},        {"FLOAT", FieldKind::Real},
        {"NUMERIC(10,2)", FieldKind::Real}, {"DECIMAL", FieldKind::Real},
        {"CURRENCY", FieldKind::Real},      {"INTEGER", FieldKind::Integer},
        {"SMALLINT", FieldKind::Integer},   {"LONG", FieldKind::Integer},
        {"COUNTER", FieldKind::Integer},    {"BYTE", FieldKind::Integer},
        {"TEXT", FieldKind::Text},          {"VARCHAR(50)", FieldKind::Text},
        {"LONGTEXT", FieldKind::Text},      {"MEMO", FieldKind::Text},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fieldKindOf(c.type), c.kind) << c.type;
}

TEST(FieldText, ValuesPrintAsTheOriginalEngineDid) {
    const QVariant null(QMetaType(QMetaType::QString));
    const struct {
        QVariant value;
        const char* type;
        const char* text;
    } cases[] = {
        {null, "TEXT", ""},
        {null, "INTEGER", ""},
        {null, "BOOLEAN", ""},
        {QVariant(), "DATE", ""},
        {QVariant(qlonglong(1)), "BOOLEAN", "True"},
        {QVariant(qlonglong(-1)), "BIT", "True"},
        {QVariant(qlonglong(0)), "BOOLEAN", "False"},
        {QVariant(QStringLiteral("true")), "BOOLEAN", "True"},
        {QVariant(QStringLiteral("False")), "BOOLEAN", "False"},
        {QVariant(QStringLiteral("maybe")), "BOOLEAN", "maybe"},
        {QVariant(57.50), "REAL", "57.5"},
        {QVariant(qlonglong(55)), "REAL", "55"},
        {QVariant(1e20), "DOUBLE", "1E+20"},
        {QVariant(0.1), "SINGLE", "0.1"},
        {QVariant(57.123456789), "SINGLE", "57.12346"},
        {QVariant(qlonglong(-42)), "INTEGER", "-42"},
        {QVariant(qlonglong(1234567890123)), "LONG", "1234567890123"},
        {QVariant(3.5), "INTEGER", "3.5"},
        {QVariant(QStringLiteral("n/a")), "INTEGER", "n/a"},
        {QVariant(QStringLiteral("2026-03-01")), "DATE", "03/01/26"},
        {QVariant(QStringLiteral("2026-12-09 00:00:00")), "DATETIME", "12/09/26"},
        {QVariant(QStringLiteral("2026-12-09T14:30:05")), "DATETIME", "12/09/26 14:30:05"},
        {QVariant(QStringLiteral("1899-12-30 13:48:55")), "DATETIME", "13:48:55"},
        {QVariant(QStringLiteral("soon")), "DATE", "soon"},
        {QVariant(QStringLiteral("D")), "TEXT", "D"},
        {QVariant(QStringLiteral(" padded ")), "TEXT", " padded "},
        {QVariant(qlonglong(12)), "", "12"},
        {QVariant(0.25), "", "0.25"},
        {QVariant(QByteArray("blob")), "", "blob"},
    };
    const test::BenchLocale bench("C.UTF-8");
    for (const auto& c : cases)
        EXPECT_EQ(fieldText(c.value, QString::fromLatin1(c.type)), c.text)
            << c.type << " " << c.value.toString().toStdString();
}

TEST(FieldText, DatesFollowTheSharedDateHelpers) {
    EXPECT_EQ(fieldText(QVariant(QStringLiteral("2026-03-01")), "DATE"),
              shortDateText(QDate(2026, 3, 1)));
    EXPECT_EQ(fieldText(QVariant(QStringLiteral("2026-03-01 14:30:05")), "DATE"),
              generalDateTimeText(QDateTime(QDate(2026, 3, 1), QTime(14, 30, 5))));
    EXPECT_EQ(fieldText(QVariant(QStringLiteral("14:30:05")), "TIME"), timeText(QTime(14, 30, 5)));
}

TEST(FieldText, LineBreaksBecomeBlanks) {
    EXPECT_EQ(lineBreaksToBlanks("a\r\nb\rc\nd"), "a  b c d");
}

} // namespace
} // namespace tav
