#include "export/ExportFixture.h"

#include "platform/Database.h"

namespace tav {
namespace {

// Key-file numbers as a Row export writes them, with fixed decimals off and on. A whole
// number keeps its own digits, which a single-precision value holds only up to 2^24; a
// value with a fraction goes through single precision, and its fixed text rounds a tie
// of that single away from zero.
class ExportedNumbersTest : public test::ExportFixture {};

TEST_F(ExportedNumbersTest, WholeNumbersKeepTheirDigitsAndAFixedTieGoesAwayFromZero) {
    const struct {
        const char* column; // column of table N, declared type and stored value
        const char* type;
        const char* stored;
        int code;
        const char* unfixed;
        const char* fixed;
    } cases[] = {
        {"REPORT", "INTEGER", "2141438167", 0, "2141438167", "2141438167"},
        {"REPORT2", "INTEGER", "2141438167", 2, "2141438167", "2141438167.00"},
        {"BIG", "INTEGER", "123456789", 0, "123456789", "123456789"},
        {"EIGHT", "INTEGER", "87654321", 0, "87654321", "87654321"},
        {"TEN", "INTEGER", "4763400000", 0, "4763400000", "4763400000"},
        {"POW24", "INTEGER", "16777217", 1, "16777217", "16777217.0"},
        {"NEG", "INTEGER", "-87654321", 2, "-87654321", "-87654321.00"},
        {"TEXT", "TEXT", "'123456789'", 1, "123456789", "123456789.0"},
        {"TIE1", "REAL", "1278757.25", 1, "1278757", "1278757.3"},
        {"TIE0", "REAL", "4061308.5", 0, "4061308", "4061309"},
        {"TIE4", "REAL", "492409.045", 4, "492409", "492409.0313"},
        {"NEGTIE", "REAL", "-4061308.5", 0, "-4061308", "-4061309"},
        {"PLAIN", "REAL", "57.26", 1, "57.3", "57.3"},
    };
    QStringList columns, values, items;
    QByteArray unfixed, fixed;
    for (const auto& c : cases) {
        columns.append(QString("%1 %2").arg(c.column, c.type));
        values.append(c.stored);
        items.append(QString("INSERT INTO Template_GIA VALUES ('N.%1', '%1', %2)")
                         .arg(c.column)
                         .arg(c.code));
        unfixed += QByteArray(c.unfixed) + ",";
        fixed += QByteArray(c.fixed) + ",";
    }
    {
        const auto reports = Database::openExisting(path("Reports.mdb"));
        ASSERT_TRUE(reports);
        ASSERT_TRUE(reports->exec("CREATE TABLE N (" + columns.join(", ") + ")"));
        ASSERT_TRUE(reports->exec("INSERT INTO N VALUES (" + values.join(", ") + ")"));
        ASSERT_TRUE(reports->exec("DELETE FROM Template_GIA"));
        for (const QString& item : items)
            ASSERT_TRUE(reports->exec(item)) << item.toStdString();
    }
    dir.writeLines("testSetting.txt", {"N", "UserData"});

    for (const qint16 fixedDecimals : {0, 1}) {
        SCOPED_TRACE(fixedDecimals);
        startRun();
        window().FixedDecimalFormat = fixedDecimals;
        ASSERT_EQ(exportStone(), ExportOutcome::Completed);
        EXPECT_EQ(dir.read("Export/AB12.txt").toStdString(),
                  (fixedDecimals ? fixed : unfixed).toStdString());
    }
}

} // namespace
} // namespace tav
