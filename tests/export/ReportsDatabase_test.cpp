#include "export/ExportFixture.h"

#include "support/AccessFixture.h"

namespace tav {
namespace {

class ReportsDatabaseTest : public test::ExportFixture {};

// Today's undefined-template message would send the operator looking for a table; a
// file that is no usable database is named with its cause instead.
TEST_F(ReportsDatabaseTest, AnExportOnADatabaseThatCannotBeReadSaysWhyAndWritesNothing) {
    const QString file = QDir::toNativeSeparators(path("Reports.mdb"));
    const struct {
        const char* name;
        QByteArray bytes;
        QString cause;
    } cases[] = {
        {"Access file", test::accessFixture("DateTestDatabase.mdb"),
         " is a Microsoft Access file. It must be converted once with scripts/convert-access.sh: "
         "see the README section \"Moving a bench's databases over\"."},
        {"no database", QByteArray(2048, 'Z'),
         " is not a database: the file is of another kind, cut short or damaged."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("Reports.mdb", c.bytes);
        startRun();
        EXPECT_EQ(exportStone(), ExportOutcome::ProgramEnded);

        std::vector<test::ShownMessage> critical;
        for (const test::ShownMessage& shown : recording().messages.shown) {
            EXPECT_NE(shown.title, "TEMPLATE NOT DEFINED");
            if (shown.icon == MessageIcon::Critical)
                critical.push_back(shown);
        }
        ASSERT_EQ(critical.size(), 1u);
        EXPECT_EQ(critical[0].text, file + c.cause);
        EXPECT_EQ(critical[0].title, "REPORTS.MDB NOT USABLE");
        EXPECT_EQ(recording().programEnd.endCount, 1);
        EXPECT_EQ(dir.read("Reports.mdb"), c.bytes);
        EXPECT_FALSE(dir.exists("Export/bench_rows.txt"));
    }
}

} // namespace
} // namespace tav
