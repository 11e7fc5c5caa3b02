#include "export/ExportFixture.h"
#include "platform/DurableAppend.h"
#include "platform/FileLock.h"
#include "support/ReadOnlyPath.h"

#include <QFileInfo>

namespace tav {
namespace {

using test::exportFixture;

// Exports into folders that other benches share, link into, or may not list, and after
// runs that were killed.
class SharedExportFolderTest : public test::ExportFixture {
protected:
    // Stone AB12 of the fixture, or another one of the same scan.
    void exportStoneAs(const QString& stoneId) {
        startRun();
        window().txtStoneID->setText(stoneId);
        ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    }
    static QByteArray rowBlock(const char* stoneId) {
        return QByteArray(stoneId) + ",0.51230,57.3,\r\n \r\n";
    }
    QStringList filesIn(const QString& folder) const {
        QStringList files = QDir(path(folder)).entryList(QDir::Files | QDir::Hidden);
        files.sort();
        return files;
    }
};

// A folder the bench may write into but not list cannot be opened to be synced; its
// files are synced all the same.
TEST_F(SharedExportFolderTest, ADropBoxExportFolderTakesEveryBlockAndKeepsNoRecord) {
    {
        const test::DropBoxFolder dropBox(path("Export"));
        for (const char* stone : {"AB12", "CD34"}) {
            SCOPED_TRACE(stone);
            exportStoneAs(stone);
            EXPECT_EQ(window().msgb1->text(), "");
            EXPECT_TRUE(recording().messages.shown.empty());
        }
    }
    EXPECT_EQ(dir.read("Export/bench_rows.txt"), rowBlock("AB12") + rowBlock("CD34"));
    EXPECT_EQ(filesIn("Export"), QStringList({"AB12.txt", "CD34.txt", "bench_rows.txt"}));
}

// A bench that links its files to shared ones keeps the links, and the shared files
// take the export's text.
TEST_F(SharedExportFolderTest, LinkedFilesAreWrittenThroughAndTheLinksStay) {
    const QString shared = path("Shared");
    QDir().mkpath(shared);
    const char* linked[] = {"ExportPa.txt", "winpos_TAV.txt", "Export/AB12.txt", "Ascii/AB12.asc"};
    for (const char* name : linked) {
        const QString sharedFile = joinPath(shared, QFileInfo(name).fileName());
        QFile::remove(path(name));
        QDir().mkpath(path(QFileInfo(name).path()));
        dir.write("Shared/" + QFileInfo(name).fileName(), "old shared text\r\n");
        ASSERT_TRUE(QFile::link(sharedFile, path(name))) << name;
    }
    dir.write("AB12.asc", "H OEDF StoneId=SCAN\r\nH OEDF Weight=0.51\r\nH OEDF Shape=RBC\r\n"
                          "H OEDF Version=7\r\n");
    window().AsciiExportOn = true;
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);

    for (const char* name : linked) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(QFileInfo(path(name)).isSymLink());
        const QByteArray text = dir.read("Shared/" + QFileInfo(name).fileName());
        EXPECT_NE(text, "old shared text\r\n");
        EXPECT_FALSE(text.isEmpty());
    }
    EXPECT_EQ(dir.read("Shared/AB12.txt"), exportFixture("row_plain_stone.txt"));
    EXPECT_TRUE(dir.read("Shared/ExportPa.txt").startsWith(path("Export").toLocal8Bit() + "\r\n"));
    EXPECT_TRUE(dir.read("Shared/AB12.asc").startsWith("H OEDF StoneId=AB12\r\n"));
    EXPECT_EQ(filesIn("Shared"),
              QStringList({"AB12.asc", "AB12.txt", "ExportPa.txt", "winpos_TAV.txt"}));
    EXPECT_EQ(window().msgb1->text(), "");
}

// A killed export leaves its record beside the layout file, and another writer (a bench
// on an older build, which knows no lock) appends its whole block after it. The next
// export never cuts that block: it leaves the file as found and says so. Its own block
// lands all the same, so its stone is marked.
TEST_F(SharedExportFolderTest, AStaleRecordNeverCostsAnotherWriterItsBlock) {
    const QByteArray killed = rowBlock("EF56");
    dir.write("Export/ZUV/ZUV", "");
    for (const qsizetype written : {qsizetype(0), qsizetype(9)}) {
        SCOPED_TRACE(written);
        QFile::remove(path("Export/bench_rows.txt"));
        for (const char* marker : {"Export/ZUV/AB12_0", "Export/ZUV/GH78_0"})
            QFile::remove(path(marker));
        exportStoneAs("AB12");
        const QString layout = path("Export/bench_rows.txt");
        const QByteArray before = dir.read("Export/bench_rows.txt");
        ASSERT_TRUE(recordAppend(layout, before.size(), killed));
        const QByteArray other = rowBlock("CD34");
        dir.write("Export/bench_rows.txt", before + killed.first(written) + other);

        exportStoneAs("GH78");
        EXPECT_EQ(dir.read("Export/bench_rows.txt"),
                  before + killed.first(written) + other + rowBlock("GH78"));
        EXPECT_EQ(window().msgb1->text(), "\n\rExport file left as found, a broken-off export "
                                          "in it was not cut off : " +
                                              layout);
        EXPECT_FALSE(QFileInfo::exists(appendRecordPathOf(layout)));
        EXPECT_EQ(dir.read("Export/ZUV/GH78_0"), "GH78_0\r\n");
    }
}

// Files that a killed run never put in place, and its lock files, are removed from
// every folder the export writes to; one that a live writer holds stays.
TEST_F(SharedExportFolderTest, TheNextExportRemovesWhatKilledRunsLeftButNotWhatIsInUse) {
    const char* leftovers[] = {".testSetting.txt.new",         "Export/.EF56.txt.new",
                               "Export/bench_colstmp.txt",     "Export/.bench_table.txt.new",
                               "Export/.bench_table.txt.lock", "Ascii/.EF56.txt.new",
                               "Ascii/.EF56.asc.new",          "Logs/.EF56.log.new"};
    for (const char* name : leftovers)
        dir.write(name, "left by a killed run");
    // Another bench writing its stone's file into the shared folder right now.
    dir.write("Export/.CD34.txt.new", "being written");
    const FileLock live(path("Export/CD34.txt"));
    ASSERT_TRUE(live.held());

    ASSERT_EQ(exportStone(), ExportOutcome::Completed);

    for (const char* name : leftovers)
        EXPECT_FALSE(dir.exists(name)) << name;
    EXPECT_EQ(dir.read("Export/.CD34.txt.new"), "being written");
    EXPECT_EQ(filesIn("Export"),
              QStringList({".CD34.txt.lock", ".CD34.txt.new", "AB12.txt", "bench_rows.txt"}));
}

} // namespace
} // namespace tav
