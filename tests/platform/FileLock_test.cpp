#include "platform/FileLock.h"

#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace tav {
namespace {

using std::chrono::milliseconds;

TEST(FileLock, AHeldLockKeepsOthersOffAndLeavesNoFileBehind) {
    test::TempProgramFolder dir;
    dir.write("shared/bench_rows.txt", "");
    const QString file = dir.filePath("shared/bench_rows.txt");
    ASSERT_TRUE(QFile::link(file, dir.filePath("bench_rows.txt")));
    {
        const FileLock first(file);
        ASSERT_TRUE(first.held());
        EXPECT_TRUE(QFileInfo::exists(dir.filePath("shared/.bench_rows.txt.lock")));
        const FileLock second(file, milliseconds(0));
        EXPECT_FALSE(second.held());
        EXPECT_EQ(second.error(), "in use by another program");
        // Through a link it is the linked file's lock.
        const FileLock linked(dir.filePath("bench_rows.txt"), milliseconds(20));
        EXPECT_FALSE(linked.held());
    }
    EXPECT_EQ(QDir(dir.filePath("shared")).entryList(QDir::Files | QDir::Hidden),
              QStringList({"bench_rows.txt"}));
    const FileLock again(dir.filePath("bench_rows.txt"), milliseconds(0));
    EXPECT_TRUE(again.held());
}

TEST(FileLock, ALockThatCannotBeMadeSaysWhy) {
    test::TempProgramFolder dir;
    dir.write("Export", "a plain file where the folder should be");
    const FileLock lock(dir.filePath("Export/bench_rows.txt"), milliseconds(0));
    EXPECT_FALSE(lock.held());
    EXPECT_EQ(lock.error(), "Not a directory");
}

} // namespace
} // namespace tav
