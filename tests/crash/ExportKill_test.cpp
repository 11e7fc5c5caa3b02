#include "platform/TextFile.h"
#include "support/SampleFolder.h"
#include "support/TempProgramFolder.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <algorithm>

namespace tav {
namespace {

// The real program on a copy of the sample folder, exporting the sample stone at
// start-up in manual-weight mode, killed at points spread over its whole export.
class ExportKillTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        test::copySampleFolder(dir);
        test::setLine(dir, "ExportPa.txt", 8, layout());
        test::setLine(dir, "ExportPa.txt", 18, "1"); // export at start-up
        lengthenTemplate();
    }

    // A long template makes the writing a fair share of the run, so that some kills
    // land while the export files are open.
    void lengthenTemplate() const {
        withReports(QStringLiteral("template"), [](QSqlDatabase& db) {
            QSqlQuery rows(db);
            ASSERT_TRUE(rows.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                  "FROM n WHERE i < 8000) INSERT INTO Template_GIA SELECT "
                                  "'Proportions.TABLE_PC', 'Table', 1 FROM n"));
        });
    }

    // Runs `use` on a connection of its own to the folder's Reports.mdb, closed after.
    template <class Use> void withReports(const QString& name, Use use) const {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
            db.setDatabaseName(dir.filePath("Reports.mdb"));
            ASSERT_TRUE(db.open());
            use(db);
        }
        QSqlDatabase::removeDatabase(name);
    }

    QString layout() const { return QString::fromLatin1(GetParam()); }
    QString layoutFile() const {
        return layout() == u"Row" ? QStringLiteral("Export/bench_rows.txt")
                                  : QStringLiteral("Export/bench_cols.txt");
    }

    void start(QProcess& process) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TAVEXPORT_COM1", "/nonexistent/tty-balance");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(environment);
        // The user's batch file writes into the working folder.
        process.setWorkingDirectory(dir.path());
        process.start(TAV_EXECUTABLE, {"--program-folder", dir.path(), "-platform", "offscreen"});
        ASSERT_TRUE(process.waitForStarted(60000));
    }

    // An export left to its end; its run time in milliseconds.
    qint64 exportWhole() const {
        QElapsedTimer clock;
        clock.start();
        QProcess process;
        start(process);
        EXPECT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
        return clock.elapsed();
    }

    // SIGKILL after that long, unless the program has ended by itself before.
    void exportKilledAfter(qint64 milliseconds) const {
        QElapsedTimer clock;
        clock.start();
        QProcess process;
        start(process);
        const qint64 left = std::max<qint64>(1, milliseconds - clock.elapsed());
        if (process.waitForFinished(static_cast<int>(left)))
            return;
        process.kill();
        EXPECT_TRUE(process.waitForFinished(60000));
    }

    // Line k of a column file extends line k of the earlier one.
    static void expectColumnsExtended(const QByteArray& earlier, const QByteArray& now) {
        const QStringList before = splitLines(QString::fromLatin1(earlier));
        const QStringList after = splitLines(QString::fromLatin1(now));
        ASSERT_EQ(after.size(), before.size());
        for (qsizetype k = 0; k < before.size(); ++k)
            EXPECT_TRUE(after[k].startsWith(before[k])) << k;
    }

    // The long files are told apart by their length in a failure.
    void expectSame(const QString& name, const QByteArray& whole) const {
        const QByteArray now = dir.read(name);
        EXPECT_TRUE(now == whole) << name.toStdString() << " holds " << now.size() << " of "
                                  << whole.size() << " bytes";
    }

    void expectDatabaseIntact() const {
        withReports(QStringLiteral("crash-check"), [](QSqlDatabase& db) {
            QSqlQuery check(db);
            ASSERT_TRUE(check.exec("PRAGMA integrity_check") && check.next());
            EXPECT_EQ(check.value(0).toString(), "ok");
            QSqlQuery rows(db);
            ASSERT_TRUE(rows.exec("SELECT count(*) FROM UserData") && rows.next());
            EXPECT_LE(rows.value(0).toInt(), 1);
        });
    }

    test::TempProgramFolder dir;
};

TEST_P(ExportKillTest, AKillAnywhereKeepsEveryEarlierFileAndTheNextExportWorks) {
    // The first export leaves the earlier stone and times a whole run.
    const qint64 duration = exportWhole();
    const QByteArray layoutBefore = dir.read(layoutFile());
    const QByteArray stone = dir.read("Export/K7-10482.txt");
    const QByteArray settings = dir.read("ExportPa.txt");
    ASSERT_FALSE(layoutBefore.isEmpty());
    ASSERT_FALSE(stone.isEmpty());
    ASSERT_EQ(dir.read("Ascii/K7-10482.txt"), stone);

    const int kills = 12;
    for (int i = 1; i <= kills; ++i) {
        const qint64 at = duration * i / (kills + 1);
        SCOPED_TRACE(testing::Message() << "killed after " << at << " ms");
        exportKilledAfter(at);

        const QByteArray layoutNow = dir.read(layoutFile());
        if (layout() == u"Row")
            EXPECT_TRUE(layoutNow.startsWith(layoutBefore));
        else
            expectColumnsExtended(layoutBefore, layoutNow);
        expectSame("Export/K7-10482.txt", stone);
        expectSame("Ascii/K7-10482.txt", stone);
        expectSame("ExportPa.txt", settings);
        expectDatabaseIntact();
    }

    // Whatever the kills left behind, the next export runs through.
    const QByteArray layoutLeft = dir.read(layoutFile());
    exportWhole();
    const QByteArray layoutAfter = dir.read(layoutFile());
    if (layout() == u"Row") {
        EXPECT_EQ(layoutAfter, layoutLeft + layoutBefore);
    } else {
        const QStringList left = splitLines(QString::fromLatin1(layoutLeft));
        const QStringList entries = splitLines(QString::fromLatin1(layoutBefore));
        QStringList expected;
        for (qsizetype k = 0; k < left.size(); ++k)
            expected.append(left[k] + entries.value(k));
        EXPECT_EQ(splitLines(QString::fromLatin1(layoutAfter)), expected);
    }
    expectSame("Export/K7-10482.txt", stone);
    expectSame("ExportPa.txt", settings);
    EXPECT_FALSE(dir.exists("test_export.txt"));
    expectDatabaseIntact();
}

INSTANTIATE_TEST_SUITE_P(Layouts, ExportKillTest, ::testing::Values("Row", "Col"));

} // namespace
} // namespace tav
