#include "export/ExportFixture.h"
#include "platform/TextFile.h"
#include "support/FileSizeLimit.h"

namespace tav {
namespace {

using test::exportFixture;

// Stone AB12 exported in a child process whose files take no byte past a limit: the
// export folder's disk has run full, and every file the export writes meets it.
class DiskFullTest : public test::ExportFixture {
protected:
    // 0 when the export ran to its end and said that files were not written.
    int exportOnAFullDisk(qint64 limit, const QString& layout) {
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
    const int failed = test::runWithFileSizeLimit(10, [&] {
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

} // namespace
} // namespace tav
