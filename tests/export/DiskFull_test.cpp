#include "export/ExportFixture.h"
#include "platform/DiskWrite.h"

namespace tav {
namespace {

using test::exportFixture;

class DiskFullTest : public test::ExportFixture {};

// The disk of the export folder fills during a Row export of AB12. The export writes
// there, in turn: "AB12," (5 bytes) to the stone's file and to the layout file,
// "0.51230," (8) to both, "57.3," (5) to both, the line end (2) to both, then the
// closing line " \r\n" to the layout file alone.
TEST_F(DiskFullTest, ARowAppendThatFailsPartWayLeavesTheLayoutFileAsItWas) {
    const QByteArray layoutBefore = "K7,0.4,\r\n \r\n";
    const QByteArray stoneBefore = "earlier export of AB12\r\n";
    const QByteArray stoneNew = exportFixture("row_plain_stone.txt");
    const struct {
        qint64 freeBytes;
        bool stoneLands;
    } cases[] = {
        {0, false},  // nothing fits
        {12, false}, // the stone's second entry lands part-way
        {21, false}, // the layout file's second entry lands part-way
        {41, true},  // all but the closing line
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.freeBytes);
        dir.write("Export/bench_rows.txt", layoutBefore);
        dir.write("Export/AB12.txt", stoneBefore);
        startRun();
        {
            const SimulatedDiskFull disk(path("Export"), c.freeBytes);
            ASSERT_EQ(exportStone(), ExportOutcome::Completed);
        }

        EXPECT_EQ(dir.read("Export/bench_rows.txt"), layoutBefore);
        EXPECT_EQ(dir.read("Export/AB12.txt"), c.stoneLands ? stoneNew : stoneBefore);
        EXPECT_EQ(QDir(path("Export")).entryList(QDir::Files),
                  QStringList({"AB12.txt", "bench_rows.txt"}));
        // Reported as every file that did not land is.
        QString reported = "Export file could not be written : " + path("Export/bench_rows.txt");
        if (!c.stoneLands)
            reported.prepend("Export file could not be written : " + path("Export/AB12.txt") +
                             "\n\r");
        EXPECT_EQ(dir.read("Logs/AB12.log"), ("\n\r" + reported + "\r\n").toLocal8Bit());
        ASSERT_EQ(recording().messages.shown.size(), 1u);
        EXPECT_EQ(recording().messages.shown[0].title, "EXPORT NOT COMPLETE");
        EXPECT_EQ(recording().programEnd.endCount, 1);

        // With room on the disk again, the next export carries on from the old end.
        startRun();
        ASSERT_EQ(exportStone(), ExportOutcome::Completed);
        EXPECT_EQ(dir.read("Export/bench_rows.txt"), layoutBefore + stoneNew + " \r\n");
        EXPECT_EQ(dir.read("Export/AB12.txt"), stoneNew);
        EXPECT_TRUE(recording().messages.shown.empty());
    }
}

} // namespace
} // namespace tav
