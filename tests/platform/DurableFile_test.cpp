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
// the file is appended to again.
TEST(DurableFile, AnAppendThatWasBrokenOffIsCutBackToTheRecordedLength) {
    const QByteArray before = "K7,0.4,\r\n \r\n";
    const struct {
        const char* name;
        QByteArray file;
        std::optional<QByteArray> record;
        QByteArray after;
    } cases[] = {
        {"no record", before + "AB12,", std::nullopt, before + "AB12,"},
        {"half a block after the record", before + "AB12,0.5", "12\r\n", before},
        {"the record before any byte", before, "12\r\n", before},
        // Written part-way when the kill came: no byte was appended after it.
        {"a record not whole", before + "AB12,", "1", before + "AB12,"},
        {"a record of zeros", before, QByteArray(4, '\0'), before},
        {"a file shorter than its record", "K7", "12\r\n", "K7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempProgramFolder dir;
        const QString layout = dir.filePath("layout.txt");
        dir.write("layout.txt", c.file);
        if (c.record)
            dir.write(QFileInfo(appendRecordPathOf(layout)).fileName(), *c.record);
        EXPECT_TRUE(undoUnfinishedAppend(layout));
        EXPECT_EQ(dir.read("layout.txt"), c.after);
        EXPECT_EQ(everyFileIn(dir), QStringList({"layout.txt"}));
    }
}

TEST(DurableFile, TheNextAppendAfterAKillStartsFromTheOldEnd) {
    test::TempProgramFolder dir;
    const QByteArray before = "K7,0.4,\r\n \r\n";
    dir.write("layout.txt", before);
    const QString layout = dir.filePath("layout.txt");
    // A run that dies with more than a buffer's worth of its block on the disk.
    test::runWithFileSizeLimit(1 << 30, [&] {
        TextStream stream(layout, TextStream::Mode::Append);
        stream.writeLine(QString(100000, u'x'));
        ::_exit(9);
        return 0;
    });
    ASSERT_GT(dir.read("layout.txt").size(), before.size());
    EXPECT_TRUE(QFileInfo::exists(appendRecordPathOf(layout)));

    TextStream next(layout, TextStream::Mode::Append);
    EXPECT_TRUE(next.writeLine("AB12,"));
    EXPECT_TRUE(next.close());
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
