#include "platform/Database.h"

#include "support/TempProgramFolder.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(Database, NeverCreatesAMissingFile) {
    test::TempProgramFolder dir;
    EXPECT_EQ(Database::openExisting(dir.filePath("Reports.mdb")), nullptr);
    EXPECT_FALSE(dir.exists("Reports.mdb"));
    dir.write("Reports.mdb", "this is no database at all, just some text bytes.......");
    EXPECT_EQ(Database::openExisting(dir.filePath("Reports.mdb")), nullptr);
}

TEST(Database, ListsFindsAndQueriesTablesSafely) {
    test::TempProgramFolder dir;
    dir.createDatabase("Reports.mdb",
                       {"CREATE TABLE Template_GIAPear (Item TEXT, Label TEXT, Fmt INTEGER)",
                        "CREATE TABLE \"Weight_Limits\" (Shape TEXT, G REAL)",
                        "INSERT INTO Weight_Limits VALUES ('Old Miner''s', 1.5)",
                        "INSERT INTO Weight_Limits VALUES ('Brilliant', 2.5)"});
    const auto db = Database::openExisting(dir.filePath("Reports.mdb"));
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(db->userTables(), QStringList({"Template_GIAPear", "Weight_Limits"}));
    EXPECT_EQ(db->findTable("template_giapear"), QString("Template_GIAPear"));
    EXPECT_FALSE(db->hasTable("Template_GIA"));

    const auto miner = db->select("SELECT * FROM Weight_Limits WHERE Shape = ? COLLATE NOCASE",
                                  {QString("old miner's")});
    ASSERT_TRUE(miner);
    ASSERT_EQ(miner->rows.size(), 1);
    EXPECT_EQ(miner->columns, QStringList({"Shape", "G"}));
    EXPECT_DOUBLE_EQ(miner->rows[0][1].toDouble(), 1.5);

    EXPECT_FALSE(db->selectAll("No\"Such Table"));
    const auto all = db->selectAll("weight_limits");
    ASSERT_TRUE(all);
    EXPECT_EQ(all->rows.size(), 2);
    EXPECT_TRUE(db->exec("DELETE FROM " + Database::quoteIdentifier("Weight_Limits")));
    EXPECT_TRUE(db->selectAll("Weight_Limits")->isEmpty());
}

TEST(Database, TheSchemaListingHoldsViewsWhereTheTableListDoesNot) {
    test::TempProgramFolder dir;
    dir.createDatabase("Reports.mdb",
                       {"CREATE TABLE Stone (A TEXT)",
                        "CREATE VIEW StoneView AS SELECT A FROM Stone",
                        "CREATE TABLE Limits (B TEXT)", "CREATE INDEX StoneA ON Stone (A)"});
    const auto db = Database::openExisting(dir.filePath("Reports.mdb"));
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(db->userTables(), QStringList({"Stone", "Limits"}));
    EXPECT_EQ(db->tablesAndViews(), QStringList({"Stone", "StoneView", "Limits"}));
}

TEST(Database, SeveralConnectionsLiveSideBySide) {
    test::TempProgramFolder dir;
    dir.createDatabase("Reports.mdb", {"CREATE TABLE T (A TEXT)"});
    auto first = Database::openExisting(dir.filePath("Reports.mdb"));
    auto second = Database::openExisting(dir.filePath("reports.mdb").replace("reports", "Reports"));
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(first->exec("INSERT INTO T VALUES (?)", {QString("x")}));
    first.reset();
    EXPECT_EQ(second->selectAll("T")->rows.size(), 1);
}

} // namespace
} // namespace tav
