#include "platform/Database.h"

#include "support/AccessFixture.h"
#include "support/DatabaseLock.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <cstdio>

#include <gtest/gtest.h>

namespace tav {
namespace {

using test::accessFixture;

QStringList filesOf(const test::TempProgramFolder& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

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

TEST(Database, AFirstRecordHoldsWhatASelectGivesAndTheDeclaredTypes) {
    test::TempProgramFolder dir;
    dir.createDatabase("Reports.mdb",
                       {"CREATE TABLE Wide (N INTEGER, R REAL, T TEXT, Z, B BLOB, "
                        "\"Q\"\"x\" SINGLE, D DATETIME)",
                        "INSERT INTO Wide VALUES (-7, 2.5, 'caf\u00e9', NULL, x'00ff41', '3', "
                        "'2026-03-01 14:30:05')",
                        "INSERT INTO Wide VALUES (1, 1, 'second', 1, 1, 1, 1)",
                        "CREATE TABLE Empty (A TEXT)",
                        "CREATE VIEW WideView AS SELECT N, R || 'x' AS E FROM Wide"});
    const auto db = Database::openExisting(dir.filePath("Reports.mdb"));
    ASSERT_NE(db, nullptr);
    for (const QString table : {"Wide", "wide", "WideView"}) {
        const auto record = db->firstRecord(table);
        const auto selected = db->select("SELECT * FROM " + Database::quoteIdentifier(table));
        ASSERT_TRUE(record && selected) << table.toStdString();
        EXPECT_EQ(record->columns, selected->columns);
        ASSERT_EQ(record->values.size(), selected->rows.first().size());
        for (int i = 0; i < record->values.size(); ++i) {
            EXPECT_EQ(record->values[i].metaType(), selected->rows.first()[i].metaType());
            EXPECT_EQ(record->values[i], selected->rows.first()[i]);
            EXPECT_EQ(record->values[i].isNull(), selected->rows.first()[i].isNull());
        }
    }
    EXPECT_EQ(db->firstRecord("Wide")->declaredTypes,
              QStringList({"INTEGER", "REAL", "TEXT", "", "BLOB", "SINGLE", "DATETIME"}));
    EXPECT_EQ(db->firstRecord("WideView")->declaredTypes, QStringList({"INTEGER", ""}));
    const auto empty = db->firstRecord("Empty");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->columns, QStringList({"A"}));
    EXPECT_TRUE(empty->values.isEmpty());
    EXPECT_FALSE(db->firstRecord("Missing"));
}

// "SELECT *" gives generated columns and leaves out the hidden ones of a virtual table.
TEST(Database, TheDeclaredTypesPairWithTheColumnsOfAFirstRecord) {
    test::TempProgramFolder dir;
    dir.createDatabase("Reports.mdb",
                       {"CREATE TABLE Derived (N INTEGER, G AS (N + 1), S INT AS (N * 2) STORED, "
                        "T TEXT)",
                        "INSERT INTO Derived (N, T) VALUES (3, 'x')",
                        "CREATE VIRTUAL TABLE Words USING fts5(A, B)",
                        "INSERT INTO Words VALUES ('a', 'b')"});
    const auto db = Database::openExisting(dir.filePath("Reports.mdb"));
    ASSERT_NE(db, nullptr);
    const auto derived = db->firstRecord("Derived");
    ASSERT_TRUE(derived);
    EXPECT_EQ(derived->columns, QStringList({"N", "G", "S", "T"}));
    EXPECT_EQ(derived->declaredTypes, QStringList({"INTEGER", "", "INT", "TEXT"}));
    EXPECT_EQ(derived->values, QVariantList({qlonglong(3), qlonglong(4), qlonglong(6), "x"}));
    const auto words = db->firstRecord("Words");
    ASSERT_TRUE(words);
    EXPECT_EQ(words->columns, QStringList({"A", "B"}));
    EXPECT_EQ(words->declaredTypes, QStringList({"", ""}));
    EXPECT_EQ(words->values, QVariantList({"a", "b"}));
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

// A connection keeps what it read of the schema only while the schema stays as it was:
// another program that changes it is seen at the next read.
TEST(Database, WhatAConnectionKnowsOfTheSchemaFollowsAnotherProgramsChanges) {
    test::TempProgramFolder dir;
    const QString file = dir.filePath("Reports.mdb");
    dir.createDatabase("Reports.mdb", {"CREATE TABLE T (A TEXT)", "INSERT INTO T VALUES ('1')",
                                       "CREATE TABLE Gone (B TEXT)"});
    const auto db = Database::openExisting(file);
    ASSERT_TRUE(db);
    ASSERT_TRUE(db->firstRecord("T"));
    EXPECT_EQ(db->firstRecord("T")->declaredTypes, QStringList{"TEXT"});
    EXPECT_EQ(db->userTables(), QStringList({"T", "Gone"}));

    test::runInOtherProgram(file, "DROP TABLE Gone; DROP TABLE T; CREATE TABLE T (A BOOLEAN, "
                                  "C REAL); INSERT INTO T VALUES (1, 2.5); CREATE TABLE Fresh "
                                  "(D TEXT);");
    const auto record = db->firstRecord("T");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->columns, QStringList({"A", "C"}));
    EXPECT_EQ(record->declaredTypes, QStringList({"BOOLEAN", "REAL"}));
    EXPECT_EQ(record->values, QVariantList({qlonglong(1), 2.5}));
    QStringList tables = db->userTables();
    tables.sort();
    EXPECT_EQ(tables, QStringList({"Fresh", "T"}));
    EXPECT_FALSE(db->hasTable("Gone"));
}

// Rows read after another program changed a table's columns have the new columns, also
// on a connection that read the table before.
TEST(Database, RowsReadAfterAnotherProgramChangedTheColumnsHaveTheNewColumns) {
    test::TempProgramFolder dir;
    const QString file = dir.filePath("Reports.mdb");
    dir.createDatabase("Reports.mdb", {"CREATE TABLE T (A TEXT)", "INSERT INTO T VALUES ('1')"});
    const auto db = Database::openExisting(file);
    ASSERT_TRUE(db);
    ASSERT_TRUE(db->selectAll("T"));
    ASSERT_TRUE(db->firstRecord("T"));
    test::runInOtherProgram(file, "ALTER TABLE T ADD COLUMN B TEXT DEFAULT 'x'; "
                                  "ALTER TABLE T ADD COLUMN C TEXT DEFAULT 'y';");
    const auto rows = db->selectAll("T");
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->columns, QStringList({"A", "B", "C"}));
    ASSERT_EQ(rows->rows.size(), 1);
    EXPECT_EQ(rows->rows[0], QVariantList({"1", "x", "y"}));

    // Another connection reads the new columns first; this one's own copy of the schema is
    // still the old one when it asks for them.
    test::runInOtherProgram(file, "ALTER TABLE T ADD COLUMN D TEXT DEFAULT 'z';");
    ASSERT_TRUE(Database::openExisting(file)->firstRecord("T"));
    const auto record = db->firstRecord("T");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->columns, QStringList({"A", "B", "C", "D"}));
    EXPECT_EQ(record->values, QVariantList({"1", "x", "y", "z"}));
}

// The key file reads the same tables again in every export: each read has the rows as
// they are then, and between reads the connection holds no lock that keeps another
// program from writing.
TEST(Database, AFirstRecordReadAgainHasTheRowsAsTheyAreNow) {
    test::TempProgramFolder dir;
    const QString file = dir.filePath("Reports.mdb");
    dir.createDatabase("Reports.mdb",
                       {"CREATE TABLE T (A TEXT, B REAL)", "INSERT INTO T VALUES ('1', 1.5)",
                        "CREATE TABLE Other (C TEXT)"});
    const auto db = Database::openExisting(file);
    ASSERT_TRUE(db);
    ASSERT_EQ(db->firstRecord("T")->values, QVariantList({"1", 1.5}));
    test::runInOtherProgram(file, "UPDATE T SET A = '2'; INSERT INTO Other VALUES ('c');");
    EXPECT_EQ(db->firstRecord("T")->values, QVariantList({"2", 1.5}));
    EXPECT_EQ(db->firstRecord("Other")->values, QVariantList({"c"}));
    ASSERT_TRUE(db->exec("UPDATE T SET B = 4.25"));
    EXPECT_EQ(db->firstRecord("T")->values, QVariantList({"2", 4.25}));
    test::runInOtherProgram(file, "DELETE FROM T; DELETE FROM Other;");
    EXPECT_TRUE(db->firstRecord("T")->values.isEmpty());
    EXPECT_TRUE(db->firstRecord("Other")->values.isEmpty());
}

// Reads inside one snapshot share one check of the schema, but a change the connection
// makes itself is seen at once.
TEST(Database, ASnapshotSeesTheSchemaChangesOfItsOwnConnection) {
    test::TempProgramFolder dir;
    dir.createDatabase("Reports.mdb", {"CREATE TABLE T (A TEXT)", "INSERT INTO T VALUES ('1')"});
    const auto db = Database::openExisting(dir.filePath("Reports.mdb"));
    ASSERT_TRUE(db);
    {
        const Database::ReadSnapshot snapshot(*db);
        ASSERT_EQ(db->firstRecord("T")->columns, QStringList{"A"});
        ASSERT_TRUE(db->exec("ALTER TABLE T ADD COLUMN B TEXT DEFAULT 'b'"));
        const auto record = db->firstRecord("T");
        ASSERT_TRUE(record);
        EXPECT_EQ(record->columns, QStringList({"A", "B"}));
        EXPECT_EQ(record->values, QVariantList({"1", "b"}));
    }
    EXPECT_EQ(db->firstRecord("T")->declaredTypes, QStringList({"TEXT", "TEXT"}));
}

// Connections open on one file share what they read of its schema; a file put in its
// place is another file, whose schema is read anew even where its version number is
// the same.
TEST(Database, ConnectionsShareTheSchemaOfTheirFileOnlyWhileItIsTheSameFile) {
    test::TempProgramFolder dir;
    const QString file = dir.filePath("Reports.mdb");
    dir.createDatabase("Reports.mdb", {"CREATE TABLE Old (A TEXT)"});
    dir.createDatabase("Copy.mdb", {"CREATE TABLE Fresh (B TEXT)"});
    const auto first = Database::openExisting(file);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->userTables(), QStringList{"Old"});
    const auto second = Database::openExisting(file);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->userTables(), QStringList{"Old"});
    EXPECT_TRUE(first->opensFileAt(file));

    ASSERT_EQ(::rename(QFile::encodeName(dir.filePath("Copy.mdb")).constData(),
                       QFile::encodeName(file).constData()),
              0);
    EXPECT_FALSE(first->opensFileAt(file));
    EXPECT_EQ(first->userTables(), QStringList{"Old"}) << "the file it has open";
    const auto third = Database::openExisting(file);
    ASSERT_TRUE(third);
    EXPECT_TRUE(third->opensFileAt(file));
    EXPECT_EQ(third->userTables(), QStringList{"Fresh"});
    EXPECT_EQ(third->firstRecord("Fresh")->declaredTypes, QStringList{"TEXT"});
}

TEST(Database, SaysWhatAFileThatIsNoUsableDatabaseIsAndLeavesItAsItWas) {
    // An Access 2007 file begins like this; the rest does not matter here.
    QByteArray ace("\x00\x01\x00\x00Standard ACE DB\x00", 20);
    ace.append(4076, '\x11');
    QByteArray damaged("SQLite format 3\x00", 16);
    damaged.append(4080, '\x7f');
    const struct {
        const char* name;
        QByteArray bytes;
        DatabaseProblem problem;
    } cases[] = {
        {"Access 2000 file", accessFixture("DateTestDatabase.mdb"), DatabaseProblem::AccessFile},
        {"Access 97 file", accessFixture("nwind.mdb"), DatabaseProblem::AccessFile},
        {"Access 2007 file", ace, DatabaseProblem::AccessFile},
        {"text", "this is no database at all, just some text bytes.......",
         DatabaseProblem::NotADatabase},
        {"empty file", "", DatabaseProblem::NotADatabase},
        {"damaged database", damaged, DatabaseProblem::NotADatabase},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempProgramFolder dir;
        dir.write("Reports.mdb", c.bytes);
        const DatabaseOpening opening = Database::open(dir.filePath("Reports.mdb"));
        EXPECT_EQ(opening.problem, c.problem);
        EXPECT_FALSE(opening.database);
        EXPECT_EQ(dir.read("Reports.mdb"), c.bytes);
        EXPECT_EQ(filesOf(dir), QStringList{"Reports.mdb"}) << "no journal beside it";
    }
    test::TempProgramFolder dir;
    EXPECT_EQ(Database::open(dir.filePath("Class.mdb")).problem, DatabaseProblem::Missing);
    EXPECT_FALSE(dir.exists("Class.mdb"));
}

TEST(Database, ADatabaseLockedByAnotherProgramIsSaidSoAndOpensOnceItIsFree) {
    test::TempProgramFolder dir;
    dir.createDatabase("Reports.mdb", {"CREATE TABLE T (A TEXT)", "INSERT INTO T VALUES ('x')"});
    const QByteArray before = dir.read("Reports.mdb");
    test::DatabaseLock lock(dir.filePath("Reports.mdb"));
    const DatabaseOpening opening = Database::open(dir.filePath("Reports.mdb"));
    EXPECT_EQ(opening.problem, DatabaseProblem::Locked);
    EXPECT_FALSE(opening.database);
    lock.release();
    EXPECT_EQ(dir.read("Reports.mdb"), before);
    const auto database = Database::openExisting(dir.filePath("Reports.mdb"));
    ASSERT_TRUE(database);
    EXPECT_EQ(database->selectAll("T")->rows.size(), 1);
}

// A writer killed inside its transaction leaves the journal that puts the file back.
TEST(Database, AWriteCutOffByAKillIsRolledBackWhenTheDatabaseIsOpened) {
    test::TempProgramFolder dir;
    dir.createDatabase("Reports.mdb", {"CREATE TABLE T (A BLOB)", "INSERT INTO T VALUES ('x')"});
    QProcess writer;
    writer.start("sqlite3", {"-batch", dir.filePath("Reports.mdb")});
    ASSERT_TRUE(writer.waitForStarted());
    // A small page cache makes the shell write into the file before the commit.
    writer.write("PRAGMA cache_size = 1;\nBEGIN;\nINSERT INTO T SELECT randomblob(5000) FROM "
                 "(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
                 "SELECT i FROM n);\nSELECT 'written';\n");
    QByteArray answer;
    while (!answer.contains("written") && writer.waitForReadyRead())
        answer += writer.readAllStandardOutput();
    ASSERT_TRUE(answer.contains("written"));
    writer.kill();
    writer.waitForFinished();
    ASSERT_TRUE(dir.exists("Reports.mdb-journal"));

    const DatabaseOpening opening = Database::open(dir.filePath("Reports.mdb"));
    ASSERT_TRUE(opening.database) << int(opening.problem) << opening.detail.toStdString();
    EXPECT_EQ(opening.database->selectAll("T")->rows.size(), 1);
}

TEST(Database, TheMessageNamesTheFileAndTheCause) {
    const QString file = QDir::toNativeSeparators("/bench/Class.mdb");
    const struct {
        DatabaseProblem problem;
        QString text;
    } cases[] = {
        {DatabaseProblem::AccessFile,
         file + " is a Microsoft Access file. It must be converted once with "
                "scripts/convert-access.sh: see the README section \"Moving a bench's "
                "databases over\"."},
        {DatabaseProblem::NotADatabase,
         file + " is not a database: the file is of another kind, cut short or damaged."},
        {DatabaseProblem::Locked,
         file + " is locked by another program. Close that program and try again."},
        {DatabaseProblem::Unreadable, file + " can not be read: Permission denied"},
        {DatabaseProblem::Missing, file + " does not exist."},
    };
    for (const auto& c : cases) {
        DatabaseOpening opening;
        opening.problem = c.problem;
        opening.detail = "Permission denied";
        EXPECT_EQ(databaseProblemText("/bench/Class.mdb", opening), c.text);
    }
    EXPECT_EQ(databaseProblemTitle("/bench/Class.mdb"), "CLASS.MDB NOT USABLE");
    EXPECT_EQ(databaseProblemText("/bench/Class.mdb", DatabaseOpening{}), "");
}

} // namespace
} // namespace tav
