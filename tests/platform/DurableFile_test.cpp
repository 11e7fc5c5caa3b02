#include "platform/DurableAppend.h"
#include "platform/DurableFile.h"
#include "platform/FileCopy.h"
#include "platform/TextFile.h"

#include "support/FileSizeLimit.h"
#include "support/ReadOnlyPath.h"
#include "support/SyscallTrace.h"
#include "support/TempProgramFolder.h"

#include <QDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace tav {
namespace {

QStringList everyFileIn(const test::TempProgramFolder& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
}

// What a kill or a power cut can leave of an append, and what is made of it before
// the file is appended to again: only bytes that the record proves to be a broken part
// of its own block are cut.
TEST(DurableFile, AnAppendThatWasBrokenOffIsCutBackOnlyWhereItsRecordProvesIt) {
    const QByteArray before = "K7,0.4,\r\n \r\n";
    const QByteArray block = "AB12,0.5,\r\n \r\n";
    const QByteArray other = "CD34,0.6,\r\n \r\n"; // another bench's whole block
    using Undone = UnfinishedAppend;
    const struct {
        const char* name;
        QByteArray file;
        std::optional<QByteArray> recordedBlock; // recorded with the length of before
        std::optional<QByteArray> rawRecord;     // or a record as it stands
        QByteArray after;
        Undone undone;
    } cases[] = {
        {"no record", before + "AB12,", std::nullopt, std::nullopt, before + "AB12,", Undone::None},
        {"half the block after the record", before + "AB12,0.", block, std::nullopt, before,
         Undone::CutBack},
        {"the record before any byte", before, block, std::nullopt, before, Undone::None},
        {"the block whole after the record", before + block, block, std::nullopt, before + block,
         Undone::None},
        {"the whole block and another writer's after it", before + block + other, block,
         std::nullopt, before + block + other, Undone::None},
        {"another writer's block after a record whose block never began", before + other, block,
         std::nullopt, before + other, Undone::LeftAsFound},
        {"another writer's block after half the block", before + "AB12," + other, block,
         std::nullopt, before + "AB12," + other, Undone::LeftAsFound},
        {"a file shorter than its record", "K7", block, std::nullopt, "K7", Undone::LeftAsFound},
        // Written part-way when the kill came: no byte was appended after it.
        {"a record not whole", before + "AB12,", std::nullopt, "1", before + "AB12,", Undone::None},
        {"a record whose block is not whole", before + "AB12,", std::nullopt, "12 15\r\nAB12,",
         before + "AB12,", Undone::None},
        {"a record of zeros", before, std::nullopt, QByteArray(4, '\0'), before, Undone::None},
        // An earlier build recorded the length alone, which proves nothing.
        {"a length alone before half a block", before + "AB12,", std::nullopt, "12\r\n",
         before + "AB12,", Undone::LeftAsFound},
        {"a length alone before any byte", before, std::nullopt, "12\r\n", before, Undone::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempProgramFolder dir;
        const QString layout = dir.filePath("layout.txt");
        dir.write("layout.txt", c.file);
        if (c.recordedBlock) {
            ASSERT_TRUE(recordAppend(layout, before.size(), *c.recordedBlock));
        }
        if (c.rawRecord)
            dir.write(QFileInfo(appendRecordPathOf(layout)).fileName(), *c.rawRecord);
        EXPECT_EQ(undoUnfinishedAppend(layout), c.undone);
        EXPECT_EQ(dir.read("layout.txt"), c.after);
        EXPECT_EQ(everyFileIn(dir), QStringList({"layout.txt"}));
    }
}

TEST(DurableFile, TheNextAppendAfterAKillStartsFromTheOldEnd) {
    test::TempProgramFolder dir;
    const QByteArray before = "K7,0.4,\r\n \r\n";
    dir.write("layout.txt", before);
    const QString layout = dir.filePath("layout.txt");
    // A run that dies with more than a buffer's worth of its block on the disk: its
    // record is made and part of its block appended, as the append makes them.
    const QByteArray block = QByteArray(100000, 'x') + "\r\n";
    test::runWithFileSizeLimit(1 << 30, [&] {
        recordAppend(layout, before.size(), block);
        QFile file(layout);
        file.open(QIODevice::WriteOnly | QIODevice::Append);
        file.write(block.first(70000));
        file.flush();
        ::_exit(9);
        return 0;
    });
    ASSERT_EQ(dir.read("layout.txt").size(), before.size() + 70000);
    EXPECT_TRUE(QFileInfo::exists(appendRecordPathOf(layout)));

    TextStream next(layout, TextStream::Mode::Append);
    EXPECT_TRUE(next.writeLine("AB12,"));
    EXPECT_TRUE(next.close());
    EXPECT_FALSE(next.leftAsFound());
    EXPECT_EQ(dir.read("layout.txt"), before + "AB12,\r\n");
    EXPECT_EQ(everyFileIn(dir), QStringList({"layout.txt"}));
}

TEST(DurableFile, AReadOnlyFileIsReplacedOnlyWhereThatIsAsked) {
    test::TempProgramFolder dir;
    dir.write("ExportPa.txt", "old\r\n");
    const QString target = dir.filePath("ExportPa.txt");
    {
        const test::ReadOnlyPath readOnly(target);
        FileReplacement kept(target);
        EXPECT_FALSE(kept.open());
        FileReplacement replaced(target);
        ASSERT_TRUE(replaced.open(FileReplacement::ReadOnlyTarget::Replace));
        EXPECT_TRUE(replaced.write("new\r\n") && replaced.commit());
    }
    EXPECT_EQ(dir.read("ExportPa.txt"), "new\r\n");
    EXPECT_EQ(everyFileIn(dir), QStringList({"ExportPa.txt"}));
}

// The new file's data is on the disk before it takes the old one's name, and the new
// name is on the disk after.
TEST(DurableFile, AReplacementIsSyncedBeforeItsRename) {
    test::TempProgramFolder dir;
    dir.write("Hearts.jpg", "photo of the earlier stone");
    dir.write("store.jpg", "photo of this stone");
    const QString folder = QDir(dir.path()).canonicalPath();
    const QString target = dir.filePath("Hearts.jpg");

    test::SyscallTrace trace;
    ASSERT_TRUE(trace.attached()) << "strace could not attach";
    ASSERT_TRUE(copyReplacing(dir.filePath("store.jpg"), target));
    const QStringList calls = trace.stop();

    const qsizetype synced = calls.indexOf("sync " + folder + "/.Hearts.jpg.new");
    const qsizetype renamed = calls.indexOf("rename " + replacementPathOf(target) + " " + target);
    const qsizetype folderSynced = calls.lastIndexOf("sync " + folder);
    EXPECT_GE(synced, 0) << calls.join(u'\n').toStdString();
    EXPECT_GT(renamed, synced);
    EXPECT_GT(folderSynced, renamed);
    EXPECT_EQ(dir.read("Hearts.jpg"), "photo of this stone");
}

} // namespace
} // namespace tav
