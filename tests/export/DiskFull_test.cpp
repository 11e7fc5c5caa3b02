#include "export/ExportFixture.h"
#include "platform/TextFile.h"
#include "support/FileSizeLimit.h"
#include "support/SyscallTrace.h"

#include <QScopeGuard>

#include <cerrno>
#include <cstring>

namespace tav {
namespace {

using test::exportFixture;

// Stone AB12 exported in a child process whose files take no byte past a limit: the
// export folder's disk has run full, and every file the export writes meets it.
class DiskFullTest : public test::ExportFixture {
protected:
    // 0 when the export ran to its end and said that files were not written. The
    // program folder lies on another disk, with room: its key file, which on a full disk
    // stops the export before any export file, goes to /dev/null, past the size limit.
    // (The values the export looks up in it come back blank; none of its files land.)
    int exportOnAFullDisk(qint64 limit, const QString& layout) {
        const QString keyFile = path("test_export.txt");
        QFile::remove(keyFile);
        EXPECT_TRUE(QFile::link("/dev/null", keyFile));
        const auto removeKeyFile = qScopeGuard([&] { QFile::remove(keyFile); });
        return test::runWithFileSizeLimit(limit, [&] {
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
    EXPECT_EQ(shown[0].text,
              "The key file " + path("test_export.txt") +
                  " could not be rebuilt : " + QString::fromLocal8Bit(std::strerror(ENOSPC)) +
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
