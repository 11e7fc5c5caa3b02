#include "platform/TextFile.h"
#include "support/ProcessFiles.h"
#include "support/SampleFolder.h"
#include "support/TempProgramFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <algorithm>

namespace tav {
namespace {

// How long the export files stayed open in a run, in microseconds from the first look
// that found them open to the last; none when no look found them open.
struct OpenSpan {
    qint64 from = -1;
    qint64 to = -1;

    bool seen() const { return from >= 0; }
    qint64 length() const { return to - from; }
};

// The real program on a copy of the sample folder, exporting the sample stone at
// start-up in manual-weight mode, killed at points spread over the time its export
// files are open. Start-up and the pause before the export take most of a run, so each
// kill is timed from the moment the program is seen holding the files open.
class ExportKillTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        test::copySampleFolder(dir);
        test::setLine(dir, "ExportPa.txt", 8, layout());
        test::setLine(dir, "ExportPa.txt", 18, "1"); // export at start-up
        lengthenTemplate();
    }

    // A long template keeps the export files open for a fifth of a second or more, so the
    // kills can be spread over the writing whatever the machine's load.
    void lengthenTemplate() const {
        withReports(QStringLiteral("template"), [](QSqlDatabase& db) {
            QSqlQuery rows(db);
            ASSERT_TRUE(rows.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                                  "FROM n WHERE i < 40000) INSERT INTO Template_GIA SELECT "
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

    // The files of the layout, as the kernel names them: the per-stone file is opened
    // just after them and closed just before them, so while one of them is open the
    // export is writing.
    QStringList layoutFiles() const {
        const QString folder = QDir(dir.path()).canonicalPath() + u'/';
        QStringList files{folder + layoutFile()};
        if (layout() == u"Col")
            files.append(folder + QStringLiteral("Export/bench_colstmp.txt"));
        return files;
    }

    bool exportFilesOpen(const QProcess& process) const {
        const QStringList open = test::openFilesOf(process.processId());
        const QStringList files = layoutFiles();
        return std::any_of(files.begin(), files.end(),
                           [&open](const QString& file) { return open.contains(file); });
    }

    // An export left to its end, looked at every millisecond.
    OpenSpan exportWhole() const {
        QElapsedTimer clock;
        clock.start();
        QProcess process;
        start(process);
        OpenSpan span;
        const QDeadlineTimer deadline(120000);
        while (process.state() != QProcess::NotRunning && !process.waitForFinished(1) &&
               !deadline.hasExpired()) {
            if (exportFilesOpen(process)) {
                span.to = clock.nsecsElapsed() / 1000;
                if (!span.seen())
                    span.from = span.to;
            }
        }
        EXPECT_TRUE(process.state() == QProcess::NotRunning || process.waitForFinished(1000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
        return span;
    }

    // Waits for the export files to open, lets the program go on for that many
    // microseconds, then stops it and kills it. True when the files were still open at
    // the stop; false as well when the program ended by itself before.
    bool exportKilledAfterOpening(qint64 microseconds) const {
        QProcess process;
        start(process);
        const QDeadlineTimer deadline(120000);
        while (!exportFilesOpen(process)) {
            if (process.state() == QProcess::NotRunning || process.waitForFinished(1))
                return false;
            if (deadline.hasExpired()) {
                ADD_FAILURE() << "the program neither opened its export files nor ended";
                return false;
            }
        }
        const qint64 milliseconds = (microseconds + 999) / 1000;
        if (milliseconds > 0 && process.waitForFinished(static_cast<int>(milliseconds)))
            return false;
        // Stopped first, so that what is open is what the kill finds.
        EXPECT_TRUE(test::stopProcess(process.processId()));
        const bool writing = exportFilesOpen(process);
        process.kill();
        EXPECT_TRUE(process.waitForFinished(60000));
        return writing;
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

TEST_P(ExportKillTest, AKillWhileTheExportWritesKeepsEveryEarlierFileAndTheNextExportWorks) {
    // The first export leaves the earlier stone and shows how long the files stay open.
    const OpenSpan span = exportWhole();
    ASSERT_TRUE(span.seen()) << "the export files were never seen open";
    const QByteArray layoutBefore = dir.read(layoutFile());
    const QByteArray stone = dir.read("Export/K7-10482.txt");
    const QByteArray settings = dir.read("ExportPa.txt");
    ASSERT_FALSE(layoutBefore.isEmpty());
    ASSERT_FALSE(stone.isEmpty());
    ASSERT_EQ(dir.read("Ascii/K7-10482.txt"), stone);

    const int kills = 6;
    int whileWriting = 0;
    for (int i = 0; i < kills; ++i) {
        // One kill in the middle of each sixth of the time the files were open.
        const qint64 at = span.length() * (2 * i + 1) / (2 * kills);
        SCOPED_TRACE(testing::Message() << "killed " << at << " us after the export files opened");
        if (exportKilledAfterOpening(at))
            ++whileWriting;

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
    // Kills that came after the writing would no longer test it.
    EXPECT_GE(3 * whileWriting, kills)
        << "only " << whileWriting << " of " << kills << " kills came while the export files "
        << "were open (" << span.length() << " us in the first export)";

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
