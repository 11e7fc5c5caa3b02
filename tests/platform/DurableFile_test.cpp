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

#include <fcntl.h>
#include <sys/wait.h>
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

// Another bench in the middle of its append: its record is made and half its block
// written when this one starts, and the rest follows a while later.
TEST(DurableFile, AnAppendWaitsUntilTheWriterBeforeItHasFinished) {
    test::TempProgramFolder dir;
    const QByteArray before = "K7,0.4,\r\n \r\n";
    dir.write("layout.txt", before);
    const QString layout = dir.filePath("layout.txt");
    const QByteArray theirs = QByteArray(50000, 'x') + "\r\n \r\n";
    const QByteArray mine = "AB12,0.5,\r\n \r\n";

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t other = ::fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
        const FileLock lock(layout);
        recordAppend(layout, before.size(), theirs);
        const int fd = ::open(QFile::encodeName(layout).constData(), O_WRONLY | O_APPEND);
        bool written = ::write(fd, theirs.constData(), 20000) == 20000;
        written = ::write(ready[1], "x", 1) == 1 && written;
        ::usleep(300000);
        written = ::write(fd, theirs.constData() + 20000, theirs.size() - 20000) ==
                      theirs.size() - 20000 &&
                  written;
        ::fsync(fd);
        finishAppend(layout);
        ::_exit(written ? 0 : 1);
    }
    char signal = 0;
    ASSERT_EQ(::read(ready[0], &signal, 1), 1);
    const AppendResult added = appendBlock(layout, mine);
    int status = 0;
    ::waitpid(other, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);

    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(added.written) << added.written.cause().toStdString();
    EXPECT_FALSE(added.leftAsFound);
    EXPECT_TRUE(dir.read("layout.txt") == before + theirs + mine)
        << dir.read("layout.txt").size() << " bytes";
    EXPECT_EQ(everyFileIn(dir), QStringList({"layout.txt"}));
}

TEST(DurableFile, ANewFileNeverTakesThePlaceOfOneThatAppearedMeanwhile) {
    test::TempProgramFolder dir;
    const QString target = dir.filePath("bench_table.txt");
    const QByteArray theirs = "Lot;\r\nK7 ;\r\n";
    {
        FileReplacement made(target);
        ASSERT_TRUE(made.open());
        ASSERT_TRUE(made.write("Lot;\r\nAB12;\r\n"));
        // A writer that knows no lock makes the file first.
        dir.write("bench_table.txt", theirs);
        EXPECT_EQ(made.commitNew(), FileReplacement::NewFile::Existed);
    }
    EXPECT_EQ(dir.read("bench_table.txt"), theirs);
    EXPECT_EQ(everyFileIn(dir), QStringList({"bench_table.txt"}));

    // The first lines go in only where the append makes the file.
    QFile::remove(target);
    EXPECT_TRUE(appendOrCreate(target, "Lot;\r\n", "AB12;\r\n").written);
    EXPECT_TRUE(appendOrCreate(target, "Lot;\r\n", "CD34;\r\n").written);
    EXPECT_EQ(dir.read("bench_table.txt"), "Lot;\r\nAB12;\r\nCD34;\r\n");
    EXPECT_EQ(everyFileIn(dir), QStringList({"bench_table.txt"}));
}

// A bench that links a file of the program to a shared one keeps its link, and the
// shared file takes the text.
TEST(DurableFile, ALinkedFileIsWrittenThroughAndTheLinkStays) {
    const struct {
        const char* name;
        QString linkTarget; // as the link holds it
        bool sharedExists;
    } cases[] = {
        {"a link to a file in another folder", "../shared/ExportPa.txt", true},
        {"a link to a link", "../shared/second-link.txt", true},
        {"a link to a file not made yet", "../shared/ExportPa.txt", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempProgramFolder dir;
        QDir().mkpath(dir.filePath("program"));
        if (c.sharedExists)
            dir.write("shared/ExportPa.txt", "old\r\n");
        else
            QDir().mkpath(dir.filePath("shared"));
        ASSERT_TRUE(QFile::link("ExportPa.txt", dir.filePath("shared/second-link.txt")));
        ASSERT_TRUE(QFile::link(c.linkTarget, dir.filePath("program/ExportPa.txt")));
        const QString link = dir.filePath("program/ExportPa.txt");

        EXPECT_TRUE(replaceFileLines(link, {"new"}));
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(dir.read("shared/ExportPa.txt"), "new\r\n");
        TextStream append(link, TextStream::Mode::Append);
        EXPECT_TRUE(append.writeLine("more"));
        EXPECT_TRUE(append.close());
        EXPECT_EQ(dir.read("shared/ExportPa.txt"), "new\r\nmore\r\n");
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(QDir(dir.filePath("shared")).entryList(QDir::Files | QDir::Hidden),
                  QStringList({"ExportPa.txt", "second-link.txt"}));
        EXPECT_EQ(QDir(dir.filePath("program")).entryList(QDir::Files | QDir::Hidden),
                  QStringList({"ExportPa.txt"}));
    }
}

// What killed writers left: replacements that never took their names, the Col layout's
// merged file, lock files. What a live writer holds stays, and so do names that are
// none of these.
TEST(DurableFile, LeftoversGoWhereNoLiveWriterHoldsThem) {
    test::TempProgramFolder dir;
    for (const char* name :
         {"AB12.txt", ".AB12.txt.new", "bench_colstmp.txt", ".bench_rows.txt.lock",
          ".ExportPa.txt.new", "notes.new", ".bench_rows.txt.append", ".CD34.txt.new"})
        dir.write(name, "x");
    const FileLock live(dir.filePath("CD34.txt"));
    ASSERT_TRUE(live.held());

    removeLeftovers(dir.path());

    QStringList left = everyFileIn(dir);
    left.sort();
    EXPECT_EQ(left, QStringList({".CD34.txt.lock", ".CD34.txt.new", ".bench_rows.txt.append",
                                 "AB12.txt", "notes.new"}));
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
