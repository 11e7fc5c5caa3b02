#include "platform/FileCopy.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

#include "support/FileSizeLimit.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace tav {
namespace {

QStringList everyFileIn(const test::TempProgramFolder& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
}

TEST(TextFile, AcceptsEveryLineEndAndKeepsEveryByte) {
    test::TempProgramFolder dir;
    QByteArray bytes("crlf\r\ncr\rlf\n\r\nhigh\xe9\xff\x80");
    dir.write("mixed.txt", bytes);
    const auto lines = readLines(dir.filePath("mixed.txt"));
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines,
              QStringList({"crlf", "cr", "lf", "", QString::fromUtf16(u"high\u00e9\u00ff\u20ac")}));
    EXPECT_FALSE(readLines(dir.filePath("missing.txt")));

    ASSERT_TRUE(replaceFileLines(dir.filePath("out.txt"), *lines));
    EXPECT_EQ(dir.read("out.txt"), QByteArray("crlf\r\ncr\r\nlf\r\n\r\nhigh\xe9\xff\x80\r\n"));
}

TEST(TextFile, ListItemsFollowTheSequentialReader) {
    const struct {
        const char* text;
        QStringList items;
    } cases[] = {
        {"Reports\r\nUserData\r\n", {"Reports", "UserData"}},
        {"  a ,b,  c  \n", {"a", "b", "c"}},
        {"\"C:\\img, store\\\",\"D:\\out\\\",1\r\n", {"C:\\img, store\\", "D:\\out\\", "1"}},
        {"\"quoted\"  ,next", {"quoted", "next"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"", {}},
        {"last", {"last"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readListItems(QString::fromLatin1(c.text)), c.items) << c.text;
}

TEST(TextFile, ReplaceNeverCreatesAFileThatMustExist) {
    test::TempProgramFolder dir;
    EXPECT_FALSE(replaceFileLines(dir.filePath("ExportPa.txt"), {"x"}, true));
    EXPECT_FALSE(dir.exists("ExportPa.txt"));
    dir.write("ExportPa.txt", "old content that is longer\r\n");
    EXPECT_TRUE(replaceFileLines(dir.filePath("ExportPa.txt"), {"a", "b"}, true));
    EXPECT_EQ(dir.read("ExportPa.txt"), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(everyFileIn(dir), QStringList({"ExportPa.txt"}));
}

TEST(TextFile, StreamsCreateAppendAndRead) {
    test::TempProgramFolder dir;
    const QString path = dir.filePath("layout.txt");
    {
        TextStream append(path, TextStream::Mode::Append);
        EXPECT_FALSE(append.isOpen());
        EXPECT_FALSE(append.write("lost"));
    }
    EXPECT_FALSE(dir.exists("layout.txt"));
    {
        TextStream create(path, TextStream::Mode::Create);
        ASSERT_TRUE(create.isOpen());
        EXPECT_TRUE(create.write("AB12,"));
        EXPECT_TRUE(create.writeLine("0.51230,"));
        EXPECT_TRUE(create.close());
    }
    {
        TextStream append(path, TextStream::Mode::Append);
        EXPECT_TRUE(append.writeLine(" "));
    }
    EXPECT_EQ(dir.read("layout.txt"), QByteArray("AB12,0.51230,\r\n \r\n"));
    TextStream read(path, TextStream::Mode::Read);
    EXPECT_EQ(read.readLine(), QString("AB12,0.51230,"));
    EXPECT_EQ(read.readLine(), QString(" "));
    EXPECT_FALSE(read.readLine());
    EXPECT_TRUE(read.atEnd());
}

TEST(TextFile, StreamReadsLinesLongerThanWhatItReadsAtATime) {
    test::TempProgramFolder dir;
    // Line ends at and around every border of the parts read, of each kind.
    QByteArray bytes;
    QStringList expected;
    const char* const ends[] = {"\r\n", "\r", "\n"};
    // The first CR LF falls across the first border of the parts read at a time.
    for (int i = 0; i < 12; ++i) {
        const QByteArray text(i == 0 ? (1 << 20) - 1 : (1 << 18) + i * 7919, char('a' + i % 26));
        bytes += text + ends[i % 3];
        expected.append(QString::fromLatin1(text));
    }
    bytes += "last";
    expected.append("last");
    dir.write("long.txt", bytes);

    TextStream read(dir.filePath("long.txt"), TextStream::Mode::Read);
    QStringList lines;
    while (const std::optional<QString> line = read.readLine())
        lines.append(*line);
    EXPECT_TRUE(lines == expected) << lines.size();
    EXPECT_TRUE(read.atEnd());
}

TEST(TextFile, StreamWriteFailureIsReported) {
    TextStream full("/dev/full", TextStream::Mode::Create);
    ASSERT_TRUE(full.isOpen());
    full.writeLine(QString(100000, u'x'));
    EXPECT_FALSE(full.close());
    EXPECT_TRUE(full.failed());
}

TEST(TextFile, AReplacementLeavesTheOldFileUntilItsClose) {
    test::TempProgramFolder dir;
    dir.write("AB12.txt", "earlier export\r\n");
    {
        TextStream stone(dir.filePath("AB12.txt"), TextStream::Mode::Replace);
        ASSERT_TRUE(stone.isOpen());
        EXPECT_TRUE(stone.writeLine("AB12,"));
        EXPECT_EQ(dir.read("AB12.txt"), "earlier export\r\n") << "a kill here keeps it";
        EXPECT_TRUE(stone.close());
    }
    EXPECT_EQ(dir.read("AB12.txt"), "AB12,\r\n");
    EXPECT_EQ(everyFileIn(dir), QStringList({"AB12.txt"}));
    {
        TextStream missingFolder(dir.filePath("none/AB12.txt"), TextStream::Mode::Replace);
        EXPECT_FALSE(missingFolder.isOpen());
        EXPECT_FALSE(missingFolder.writeLine("lost"));
    }
}

// The disk runs full while the stream writes: short text meets it at the close, when
// the stream's buffer goes out, long text at the write itself.
TEST(TextFile, AWriteThatDoesNotLandWholeLeavesTheFileAsItWasOpened) {
    const QByteArray before = "K7,0.4,\r\n \r\n";
    const QByteArray shortText = "AB12,0.51230,\r\n";
    const QByteArray longText = QByteArray(40000, 'x') + "\r\n";
    const struct {
        TextStream::Mode mode;
        qint64 limit; // the size no file may grow past
        bool longLine;
        QByteArray after; // with the stream closed
    } cases[] = {
        {TextStream::Mode::Append, 12, false, before},
        {TextStream::Mode::Append, 20, false, before},
        {TextStream::Mode::Append, 27, false, before + shortText},
        {TextStream::Mode::Append, 20000, true, before},
        {TextStream::Mode::Replace, 9, false, before},
        {TextStream::Mode::Replace, 15, false, shortText},
        {TextStream::Mode::Replace, 20000, true, before},
        {TextStream::Mode::Create, 9, false, ""},
        {TextStream::Mode::Create, 15, false, shortText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.mode) << " " << c.limit);
        test::TempProgramFolder dir;
        dir.write("layout.txt", before);
        const QByteArray text = c.longLine ? longText : shortText;
        const bool fits = c.after.endsWith(text);
        // 0: as it should be; 1: opening failed; 2: the close said otherwise.
        const int result = test::runWithFileSizeLimit(c.limit, [&] {
            TextStream stream(dir.filePath("layout.txt"), c.mode);
            if (!stream.isOpen())
                return 1;
            const bool written = stream.writeRaw(text.first(5)) && stream.writeRaw(text.sliced(5));
            const bool closed = stream.close();
            return closed == fits && (written || !fits) && stream.failed() != fits ? 0 : 2;
        });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(dir.read("layout.txt"), c.after);
        EXPECT_EQ(everyFileIn(dir), QStringList({"layout.txt"}));
    }
}

TEST(TextFile, AFullDiskKeepsTheFilesThatAreReplacedWhole) {
    test::TempProgramFolder dir;
    dir.write("ExportPa.txt", "old\r\n");
    dir.write("source.txt", "AB12,\r\n");
    const int landed = test::runWithFileSizeLimit(3, [&] {
        return (replaceFileLines(dir.filePath("ExportPa.txt"), {"new settings"}) ? 1 : 0) |
               (copyReplacing(dir.filePath("source.txt"), dir.filePath("ExportPa.txt")) ? 2 : 0);
    });
    EXPECT_EQ(landed, 0);
    EXPECT_EQ(dir.read("ExportPa.txt"), "old\r\n");
    EXPECT_EQ(everyFileIn(dir), QStringList({"ExportPa.txt", "source.txt"}));
}

TEST(ProgramFolder, FindsFilesWhateverTheCaseOfTheirNames) {
    test::TempProgramFolder dir;
    dir.write("Reports.mdb", "x");
    dir.write("test.txt", "x");
    const ProgramFolder folder = dir.folder();
    EXPECT_EQ(folder.file("reports.mdb"), dir.path() + QDir::separator() + "Reports.mdb");
    EXPECT_EQ(folder.file("Test.txt"), dir.path() + QDir::separator() + "test.txt");
    EXPECT_TRUE(folder.hasFile("REPORTS.MDB"));
    EXPECT_FALSE(folder.hasFile("ExportPa.txt"));
    EXPECT_EQ(folder.file("ExportPa.txt"), dir.path() + QDir::separator() + "ExportPa.txt");
    EXPECT_EQ(joinPath("a", "b"), QString("a") + QDir::separator() + "b");
}

} // namespace
} // namespace tav
