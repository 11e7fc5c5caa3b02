#include "export/ExportFixture.h"

#include "platform/Database.h"
#include "support/ReadOnlyPath.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <ostream>

namespace tav {
namespace {

class ExportStepFailuresTest;

void runSql(const QString& databaseFile, const QStringList& statements) {
    const auto database = Database::openExisting(databaseFile);
    ASSERT_TRUE(database);
    for (const QString& statement : statements)
        ASSERT_TRUE(database->exec(statement)) << statement.toStdString();
}

// One way a step before the layouts can fail, and the lines that say so.
struct FailureCase {
    const char* name;
    void (*setUp)(ExportStepFailuresTest&);
    QStringList (*failures)(const ExportStepFailuresTest&);
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

class ExportStepFailuresTest : public test::ExportFixture,
                               public ::testing::WithParamInterface<FailureCase> {
public:
    using test::ExportFixture::dir;
    QString file(const QString& name) const { return path(name); }

    // In force for the whole export; given back before the folder goes.
    std::unique_ptr<test::ReadOnlyPath> readOnly;
};

// A step that could not be done before the layouts (the UserData row, a listed table,
// the template table) leaves columns blank: it is said on the status line,
// in the problem log and in the closing message, and the export still runs to its end.
TEST_P(ExportStepFailuresTest, AStepThatFailsIsReportedAndTheExportGoesOn) {
    GetParam().setUp(*this);
    startRun();
    const QStringList failures = GetParam().failures(*this);

    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    readOnly.reset();

    const QString lines = "\n\r" + failures.join("\n\r");
    EXPECT_EQ(window().msgb1->text().toStdString(), lines.toStdString());
    EXPECT_EQ(run->program.ExportWarningFlag, -1);
    EXPECT_EQ(dir.read("Logs/AB12.log"), (lines + "\r\n").toLocal8Bit());
    ASSERT_EQ(recording().messages.shown.size(), 1u);
    const test::ShownMessage& box = recording().messages.shown[0];
    EXPECT_EQ(box.title, "EXPORT NOT COMPLETE");
    EXPECT_EQ(box.icon, MessageIcon::Critical);
    for (const QString& failure : failures)
        EXPECT_TRUE(box.text.contains(failure)) << failure.toStdString();
    // Skipped and gone on: the stone's files were written and the run ended as usual.
    EXPECT_TRUE(dir.read("Export/AB12.txt").startsWith("AB12,0.51230,"));
    EXPECT_EQ(recording().batches.started.size(), 1u);
    EXPECT_EQ(recording().programEnd.endCount, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ExportStepFailuresTest,
    ::testing::Values(
        FailureCase{"ReadOnlyDatabaseFile",
                    [](ExportStepFailuresTest& t) {
                        t.readOnly = std::make_unique<test::ReadOnlyPath>(t.file("Reports.mdb"));
                    },
                    [](const ExportStepFailuresTest& t) {
                        return QStringList{"UserData row could not be written : " +
                                           t.file("Reports.mdb")};
                    }},
        FailureCase{"ListedTableMissingFromTheDatabase",
                    [](ExportStepFailuresTest& t) {
                        t.dir.writeLines("testSetting.txt", {"T", "Grades", "UserData"});
                    },
                    [](const ExportStepFailuresTest&) {
                        return QStringList{
                            "Table named in testSetting.txt could not be read : Grades"};
                    }},
        FailureCase{"TemplateTableOfTwoColumns",
                    [](ExportStepFailuresTest& t) {
                        runSql(t.file("Reports.mdb"),
                               {"CREATE TABLE Narrow AS SELECT ItemName, Label FROM Template_GIA",
                                "DROP TABLE Template_GIA",
                                "ALTER TABLE Narrow RENAME TO Template_GIA"});
                    },
                    [](const ExportStepFailuresTest&) {
                        return QStringList{"Template table could not be read : Template_GIA "
                                           "has fewer than three columns"};
                    }}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

class ExportKeyFileTest : public test::ExportFixture {};

// SQLite cannot make its journal beside the database there, and the key file cannot be
// made: every value the layouts look up in it would go out blank. The export stops
// before any export file, says why, and the program stays open for another try.
TEST_F(ExportKeyFileTest, AProgramFolderThatMayNotBeWrittenStopsTheExportAtTheKeyFile) {
    QDir().mkpath(path("Ascii"));
    // The key file that start-up built is gone, so the rebuild has to make it anew.
    QFile::remove(path("test_export.txt"));
    {
        const test::ReadOnlyPath readOnly(dir.path());
        EXPECT_EQ(exportStone(), ExportOutcome::Left);
    }
    const QString status = window().msgb1->text();
    EXPECT_TRUE(status.contains("UserData row could not be written : " + path("Reports.mdb")))
        << status.toStdString();
    EXPECT_TRUE(status.contains("Key file could not be written : " + path("test_export.txt")))
        << status.toStdString();
    ASSERT_EQ(recording().messages.shown.size(), 1u);
    const test::ShownMessage& box = recording().messages.shown[0];
    EXPECT_EQ(box.title, "KEY FILE NOT WRITTEN");
    EXPECT_EQ(box.icon, MessageIcon::Critical);
    EXPECT_TRUE(box.text.contains(QString::fromLocal8Bit(std::strerror(EACCES))))
        << box.text.toStdString();
    EXPECT_TRUE(QDir(path("Export")).isEmpty());
    EXPECT_TRUE(QDir(path("Ascii")).isEmpty());
    EXPECT_TRUE(recording().batches.started.empty());
    EXPECT_EQ(recording().programEnd.endCount, 0);
}

class ExportWithoutFailuresTest : public test::ExportFixture {};

// Keys that are simply absent (a listed table without rows) stay empty without a word,
// and an export without failures says what it always said.
TEST_F(ExportWithoutFailuresTest, AnExportWithoutFailuresStaysQuiet) {
    runSql(path("Reports.mdb"), {"CREATE TABLE Empty (X TEXT)"});
    dir.writeLines("testSetting.txt", {"T", "Empty", "UserData"});
    startRun();

    ASSERT_EQ(exportStone(), ExportOutcome::Completed);

    EXPECT_EQ(window().msgb1->text(), "");
    EXPECT_EQ(run->program.ExportWarningFlag, 0);
    EXPECT_FALSE(dir.exists("Logs/AB12.log"));
    EXPECT_TRUE(recording().messages.shown.empty());
    EXPECT_EQ(dir.read("Export/AB12.txt"), test::exportFixture("row_plain_stone.txt"));
}

} // namespace
} // namespace tav
