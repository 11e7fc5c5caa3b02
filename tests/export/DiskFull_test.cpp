#include "export/ExportFixture.h"
#include "platform/TextFile.h"
#include "support/FileSizeLimit.h"
#include "support/SyscallTrace.h"

#include <QScopeGuard>

#include <functional>

namespace tav {
namespace {

using test::exportFixture;

// Stone AB12 exported in a child process whose files take no byte past a limit: the
// export folder's disk has run full, and every file the export writes meets it.
class DiskFullTest : public test::ExportFixture {
protected:
    // Runs body in a child process whose files take no byte past the limit: the export
    // folder's disk has run full. The program folder lies on another disk, with room: its
    // key file, which on a full disk stops the export before any export file, goes to
    // /dev/null, past the size limit. (The values the export looks up in it come back
    // blank; none of its files land.)
    int runOnAFullDisk(qint64 limit, const std::function<int()>& body) {
        const QString keyFile = path("test_export.txt");
        QFile::remove(keyFile);
        EXPECT_TRUE(QFile::link("/dev/null", keyFile));
        const auto removeKeyFile = qScopeGuard([&] { QFile::remove(keyFile); });
        return test::runWithFileSizeLimit(limit, body);
    }
    // 0 when the export ran to its end and said that files were not written.
    int exportOnAFullDisk(qint64 limit, const QString& layout) {
        return runOnAFullDisk(limit, [&] {
            startRun().CBOFORMAT->setCurrentText(layout);
            const bool completed = exportStone() == ExportOutcome::Completed;
            const auto& shown = recording().messages.shown;
            const bool told = !shown.empty() && shown.back().title == "EXPORT NOT COMPLETE";
            return completed && told && recording().programEnd.endCount == 1 ? 0 : 1;
        });
    }
    void exportNormally(const QString& layout, int bookmark = 0) {
        FrmStoneID& w = startRun();
        w.CBOFORMAT->setCurrentText(layout);
        setCheckValue(w.chkbookmark, bookmark);
        ASSERT_EQ(exportStone(), ExportOutcome::Completed);
        EXPECT_TRUE(recording().messages.shown.empty());
    }
    // Hidden ones too: nothing half-done may be left beside the export files.
    QStringList exportFolderFiles() const {
        return QDir(path("Export")).entryList(QDir::Files | QDir::Hidden);
    }
};

TEST_F(DiskFullTest, AnExistingLayoutFileStaysAsItWasAndTheNextExportCarriesOn) {
    const struct {
        const char* layout;
        const char* file;
    } cases[] = {{"Row", "bench_rows.txt"},
                 {"Col_Row", "bench_col_Rows.txt"},
                 {"Table", "bench_table.txt"},
                 {"Col", "bench_cols.txt"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        const QString layoutFile = QStringLiteral("Export/") + c.file;
        exportNormally(c.layout);
        const QByteArray before = dir.read(layoutFile);
        const QByteArray stone = dir.read("Export/AB12.txt");
        ASSERT_FALSE(before.isEmpty());
        // Room for a few bytes of the new block only.
        for (const qint64 room : {0, 5}) {
            SCOPED_TRACE(room);
            EXPECT_EQ(exportOnAFullDisk(before.size() + room, c.layout), 0);
            EXPECT_EQ(dir.read(layoutFile), before);
            EXPECT_EQ(exportFolderFiles(), QStringList({"AB12.txt", c.file}));
        }

        // With room on the disk again, the next export carries on from the old end.
        exportNormally(c.layout);
        const QStringList lines = splitLines(QString::fromLatin1(before));
        QByteArray expected = before + before;
        if (c.layout == QLatin1String("Table")) {
            expected = before + lines.last().toLatin1() + "\r\n";
        } else if (c.layout == QLatin1String("Col")) {
            expected.clear();
            for (const QString& line : lines)
                expected += (line + line).toLatin1() + "\r\n";
        }
        EXPECT_EQ(dir.read(layoutFile), expected);
        EXPECT_EQ(dir.read("Export/AB12.txt"), stone);
        QFile::remove(path(layoutFile));
    }
}

TEST_F(DiskFullTest, ANewLayoutFileThatCouldNotBeWrittenIsNotLeftBehind) {
    for (const char* layout : {"Row", "Col", "Col_Row", "Table"}) {
        SCOPED_TRACE(layout);
        EXPECT_EQ(exportOnAFullDisk(10, layout), 0);
        EXPECT_EQ(exportFolderFiles(), QStringList()) << "not even the stone's file";
    }
    // So the next Table export starts the file with its header, as a first export does;
    // with the bookmark box ticked the stone's file holds the same two lines.
    exportNormally("Table", 1);
    const QByteArray layout = dir.read("Export/bench_table.txt");
    EXPECT_EQ(splitLines(QString::fromLatin1(layout)).size(), 2);
    EXPECT_EQ(layout, dir.read("Export/AB12.txt"));
}

// Every file that did not land is named with the system's cause, so the operator knows
// to free the disk; the ASCII box gives it too, and the closing box, whose problem log
// could not be written either, holds the list itself.
TEST_F(DiskFullTest, EveryFileThatDidNotLandIsNamedWithTheSystemsCause) {
    exportNormally("Row");
    dir.write("AB12.asc", "H OEDF StoneId=SCAN\r\nH OEDF Weight=0.51\r\nH OEDF Shape=RBC\r\n"
                          "H OEDF Version=7\r\n");
    const QString cause = " (File too large)";
    const QStringList files = {
        "Export file could not be written : " + path("Export/AB12.txt") + cause,
        "Export file could not be written : " + path("Export/bench_rows.txt") + cause,
        "Settings file could not be written : " + path("ExportPa.txt") + cause,
        "ASCII file could not be written : " + path("Ascii/AB12.asc") + cause,
        "Export file could not be copied to : " + path("Ascii/AB12.txt") + cause,
        "Problem log could not be written : " + path("Logs/AB12.log") + cause,
    };
    // Each check that fails sets its bit.
    const int failed = runOnAFullDisk(10, [&] {
        startRun().AsciiExportOn = true;
        exportStone();
        const auto& shown = recording().messages.shown;
        if (shown.size() != 2)
            return 1;
        int bits = 0;
        if (shown[0].text != " Error No:   75 Description of Error :  File too large"
                             "\n\r\n\r.....ASCII File not Exported ........")
            bits |= 2;
        if (!shown[1].text.startsWith("Export finished with errors, listed below\n\n"))
            bits |= 4;
        for (const QString& line : files) {
            if (!shown[1].text.split(u'\n').contains(line))
                bits |= 8;
        }
        return bits;
    });
    EXPECT_EQ(failed, 0);
}

// The program folder's disk has run full while the export folder lies on another: the
// key file, where the layouts look every value up, cannot be rebuilt. Nothing goes out in
// place of the stone's good files, and the operator is told why.
TEST_F(DiskFullTest, AKeyFileThatCouldNotBeRebuiltStopsTheExportBeforeAnyExportFile) {
    exportNormally("Row");
    const QStringList files{"Export/AB12.txt", "Export/bench_rows.txt", "Ascii/AB12.txt"};
    QList<QByteArray> before;
    for (const QString& file : files)
        before.append(dir.read(file));
    ASSERT_EQ(before[0], exportFixture("row_plain_stone.txt"));

    startRun();
    {
        const test::FullDisk full({QDir(dir.path()).canonicalPath() + "/test_export.txt"});
        ASSERT_TRUE(full.attached()) << "strace could not attach";
        EXPECT_EQ(exportStone(), ExportOutcome::Left);
    }
    const auto& shown = recording().messages.shown;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "The key file " + path("test_export.txt") +
                                 " could not be rebuilt : No space left on device"
                                 "  - Nothing is exported......Please correct it and Export "
                                 "again....");
    EXPECT_EQ(shown[0].title, "KEY FILE NOT WRITTEN");
    EXPECT_EQ(shown[0].icon, MessageIcon::Critical);
    for (qsizetype i = 0; i < files.size(); ++i)
        EXPECT_EQ(dir.read(files[i]), before[i]) << files[i].toStdString();
    EXPECT_EQ(exportFolderFiles(), QStringList({"AB12.txt", "bench_rows.txt"}));
    EXPECT_EQ(recording().programEnd.endCount, 0);
    EXPECT_TRUE(recording().batches.started.empty());

    // With room again, the operator exports once more.
    EXPECT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Export/AB12.txt"), before[0]);
}

// The marker stops every later export of the stone, so it stands only for files that
// landed: after an export whose files did not, the stone is exported once there is room.
TEST_F(DiskFullTest, AnExportWhoseFilesFailedLeavesNoMarker) {
    dir.write("Export/ZUV/ZUV", "");
    EXPECT_EQ(exportOnAFullDisk(10, "Row"), 0);
    EXPECT_FALSE(dir.exists("Export/ZUV/AB12_0"));
    EXPECT_EQ(exportFolderFiles(), QStringList());

    exportNormally("Row");
    EXPECT_EQ(dir.read("Export/AB12.txt"), exportFixture("row_plain_stone.txt"));
    EXPECT_EQ(dir.read("Export/ZUV/AB12_0"), "AB12_0\r\n");
}

} // namespace
} // namespace tav
