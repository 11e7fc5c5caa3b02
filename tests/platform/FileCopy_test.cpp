#include "platform/FileCopy.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(CopyReplacingTest, ReplacesTheTargetWholeOrNotAtAll) {
    QTemporaryDir dir;
    const QString source = dir.filePath("source.txt");
    const QString target = dir.filePath("target.txt");
    QFile out(source);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("new\r\n");
    out.close();
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("a much longer old content\r\n");
    old.close();

    EXPECT_TRUE(copyReplacing(source, target));
    QFile check(target);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), "new\r\n");

    EXPECT_FALSE(copyReplacing(dir.filePath("missing.txt"), target));
    EXPECT_FALSE(copyReplacing(source, dir.filePath("no/such/folder/target.txt")));
}

} // namespace
} // namespace tav
