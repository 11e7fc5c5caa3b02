#include "platform/DurableAppend.h"
#include "platform/DurableFile.h"
#include "platform/TextFile.h"
#include "support/ProcessFiles.h"
#include "support/SampleFolder.h"
#include "support/TempProgramFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

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
        // A long template keeps the export files open for a fifth of a second or more, so
        // the kills can be spread over the writing whatever the machine's load; its block
        // spans many fills of the stream's buffer.
        test::addTemplateRows(dir, 40000);
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
        // A balance that does not exist, in the test's own folder.
        environment.insert("TAVEXPORT_COM1", dir.filePath("tty-balance"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(environment);
        // The user's batch file writes into the working folder.
        process.setWorkingDirectory(dir.path());
        process.start(TAV_EXECUTABLE, {"--program-folder", dir.path(), "-platform", "offscreen"});
        ASSERT_TRUE(process.waitForStarted(60000));
    }

    // The export files, as the kernel names them: while one of them is open the export
    // is writing. The per-stone file is written under a hidden name from the first line
    // of the layout to the closing steps, which add the Row block to its layout file;
    // a new layout file is written under a hidden name first too.
    QStringList exportFiles() const {
        const QString folder = QDir(dir.path()).canonicalPath();
        const QString file = folder + u'/' + layoutFile();
        QStringList files{file, replacementPathOf(file),
                          replacementPathOf(folder + QStringLiteral("/Export/K7-10482.txt"))};
        if (layout() == u"Col")
            files.append(folder + QStringLiteral("/Export/bench_colstmp.txt"));
        return files;
    }

    // The layout file as the next export takes it: an append that a kill broke off is
    // cut off first. Worked out on a copy, so the next run meets what the kill left.
    QByteArray layoutAsTheNextExportTakesIt() const {
        QTemporaryDir scratch;
        const QString copy = scratch.filePath(QStringLiteral("layout.txt"));
        const QString record = appendRecordPathOf(dir.filePath(layoutFile()));
        EXPECT_TRUE(QFile::copy(dir.filePath(layoutFile()), copy));
        if (QFileInfo::exists(record)) {
            EXPECT_TRUE(QFile::copy(record, appendRecordPathOf(copy)));
        }
        EXPECT_NE(undoUnfinishedAppend(copy), UnfinishedAppend::Failed);
        QFile file(copy);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    bool exportFilesOpen(const QProcess& process) const {
        const QStringList open = test::openFilesOf(process.processId());
        const QStringList files = exportFiles();
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

    // The file the export writes its block into: the layout file itself, or the merged
    // file of the Col layout.
    QString blockFile() const {
        return dir.filePath(layout() == u"Row" ? layoutFile()
                                               : QStringLiteral("Export/bench_colstmp.txt"));
    }

    // Waits for the export files to open, lets the program go on for that many
    // microseconds (or, with atGrowth, until the block's file has grown), then stops it
    // and kills it. True when the files were still open at the stop; false as well when
    // the program ended by itself before.
    bool exportKilledAfterOpening(qint64 microseconds, bool atGrowth = false) const {
        QProcess process;
        start(process);
        const qint64 sizeBefore = QFileInfo(blockFile()).size();
        const QDeadlineTimer deadline(120000);
        while (!exportFilesOpen(process)) {
            if (process.state() == QProcess::NotRunning || process.waitForFinished(1))
                return false;
            if (deadline.hasExpired()) {
                ADD_FAILURE() << "the program neither opened its export files nor ended";
                return false;
            }
        }
        if (atGrowth) {
            // As soon as the first part of the block is on the file: no later look may
            // come between the growth and the stop.
            while (QFileInfo(blockFile()).size() <= sizeBefore) {
                if (process.state() == QProcess::NotRunning || process.waitForFinished(0))
                    return false;
            }
        } else {
            const qint64 milliseconds = (microseconds + 999) / 1000;
            if (milliseconds > 0 && process.waitForFinished(static_cast<int>(milliseconds)))
                return false;
        }
        // Stopped first, so that what is open is what the kill finds.
        EXPECT_TRUE(test::stopProcess(process.processId()));
        const bool writing = exportFilesOpen(process);
        process.kill();
        EXPECT_TRUE(process.waitForFinished(60000));
        return writing;
    }

    // A Col export: line k of the earlier file followed by entry k.
    static QByteArray merged(const QByteArray& earlier, const QByteArray& entries) {
        const QStringList before = splitLines(QString::fromLatin1(earlier));
        const QStringList added = splitLines(QString::fromLatin1(entries));
        QByteArray lines;
        for (qsizetype k = 0; k < before.size(); ++k)
            lines += (before[k] + added.value(k)).toLatin1() + "\r\n";
        return lines;
    }

    // The layout file with one more export: a whole block appended, or a whole column
    // merged in.
    QByteArray withOneMoreExport(const QByteArray& earlier, const QByteArray& block) const {
        return layout() == u"Row" ? earlier + block : merged(earlier, block);
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

    // One kill in the middle of each quarter of the time the files were open, and two as
    // soon as the block has begun to reach its file: it spans many fills of the
    // stream's buffer, so those two come in the middle of it.
    const int kills = 6;
    const int spread = 4;
    int whileWriting = 0;
    QByteArray layoutLeft = layoutBefore;
    for (int i = 0; i < kills; ++i) {
        const qint64 at = span.length() * (2 * i + 1) / (2 * spread);
        const bool atGrowth = i >= spread;
        SCOPED_TRACE(atGrowth ? testing::Message() << "killed as the block grew"
                              : testing::Message()
                                    << "killed " << at << " us after the export files opened");
        if (exportKilledAfterOpening(at, atGrowth))
            ++whileWriting;

        // Never half a block: the file as it was, or with this export whole.
        const QByteArray layoutNow = layoutAsTheNextExportTakesIt();
        EXPECT_TRUE(layoutNow == layoutLeft ||
                    layoutNow == withOneMoreExport(layoutLeft, layoutBefore))
            << "the layout file holds " << layoutNow.size() << " bytes, before the kill "
            << layoutLeft.size() << ", with the export whole "
            << withOneMoreExport(layoutLeft, layoutBefore).size();
        layoutLeft = layoutNow;
        expectSame("Export/K7-10482.txt", stone);
        expectSame("Ascii/K7-10482.txt", stone);
        expectSame("ExportPa.txt", settings);
        expectDatabaseIntact();
    }
    // Kills that came after the writing would no longer test it.
    EXPECT_GE(3 * whileWriting, kills)
        << "only " << whileWriting << " of " << kills << " kills came while the export files "
        << "were open (" << span.length() << " us in the first export)";

    // Whatever the kills left behind, the next export cuts off a broken append itself
    // and adds its own export whole.
    exportWhole();
    EXPECT_EQ(dir.read(layoutFile()), withOneMoreExport(layoutLeft, layoutBefore));
    EXPECT_FALSE(QFileInfo::exists(appendRecordPathOf(dir.filePath(layoutFile()))));
    expectSame("Export/K7-10482.txt", stone);
    expectSame("ExportPa.txt", settings);
    EXPECT_FALSE(dir.exists("test_export.txt"));
    expectDatabaseIntact();
}

INSTANTIATE_TEST_SUITE_P(Layouts, ExportKillTest, ::testing::Values("Row", "Col"));

} // namespace
} // namespace tav
