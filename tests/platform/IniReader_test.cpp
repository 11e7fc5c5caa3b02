#include "platform/IniReader.h"

#include "support/TempProgramFolder.h"

#include <QFile>

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(IniReader, ReadsValuesAsTheProfileReaderDoes) {
    test::TempProgramFolder dir;
    dir.write("test.txt", "[Other]\r\nSTONE_ID = wrong\r\n"
                          "[NumericalParameters]\r\n"
                          "; STONE_ID = commented\r\n"
                          "  stone_id  =  AB12  \r\n"
                          "STONE_ID = second\r\n"
                          "QUOTED = \"  spaced \"\r\n"
                          "HALFQUOTE = \"open\r\n"
                          "EMPTY =\r\n"
                          "EQUALS = a=b\r\n"
                          "LONG = " +
                              QByteArray(300, 'x') +
                              "\r\n"
                              "LATIN = caf\xe9\n"
                              "\xc9"
                              "CLAT = bright\r\n"
                              "[numericalparameters]\r\nLATER = found\r\n");
    const QString file = dir.filePath("test.txt");
    const struct {
        const char* section;
        QString key;
        QString expected;
    } cases[] = {
        {"NumericalParameters", "STONE_ID", "AB12"},
        {"NUMERICALPARAMETERS", "Stone_Id", "AB12"},
        {"NumericalParameters", "QUOTED", "  spaced "},
        {"NumericalParameters", "HALFQUOTE", "\"open"},
        {"NumericalParameters", "EMPTY", ""},
        {"NumericalParameters", "EQUALS", "a=b"},
        {"NumericalParameters", "LONG", QString(254, u'x')},
        {"NumericalParameters", "LATIN", QString::fromLatin1("caf\xe9")},
        {"NumericalParameters",
         QString::fromLatin1("\xe9"
                             "Clat"),
         "bright"},
        {"NumericalParameters", "MISSING", ""},
        {"Missing", "STONE_ID", ""},
        {"NumericalParameters", "LATER", "found"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readIniValue(c.section, c.key, file), c.expected) << c.key.toStdString();
}

TEST(IniReader, MissingFileGivesEmptyAndEveryCallReadsAfresh) {
    test::TempProgramFolder dir;
    const QString file = dir.filePath("test.txt");
    EXPECT_EQ(readIniValue("NumericalParameters", "A", file), "");
    dir.write("test.txt", "[NumericalParameters]\nA=1\n");
    EXPECT_EQ(readIniValue("NumericalParameters", "A", file), "1");
    dir.write("test.txt", "[NumericalParameters]\nA=2\n");
    EXPECT_EQ(readIniValue("NumericalParameters", "A", file), "2");
}

TEST(IniReader, AFileReadOnceAnswersEveryLookupFromThatRead) {
    test::TempProgramFolder dir;
    dir.write("test_export.txt", "[NumericalParameters]\r\nT.F = 57.26\r\nt.f = second\r\n"
                                 "[Other]\r\nT.F = other\r\n");
    const IniFile file = IniFile::read(dir.filePath("test_export.txt"));
    dir.write("test_export.txt", "[NumericalParameters]\r\nT.F = changed\r\n");
    EXPECT_EQ(file.value("numericalparameters", "t.F"), "57.26");
    EXPECT_EQ(file.value("Other", "T.F"), "other");
    EXPECT_EQ(file.value("NumericalParameters", "missing"), "");
    EXPECT_EQ(IniFile::read(dir.filePath("none.txt")).value("NumericalParameters", "T.F"), "");
}

TEST(IniReader, TheCacheParsesAFileAgainOnlyWhenItsBytesChange) {
    test::TempProgramFolder dir;
    const QString path = dir.filePath("test_export.txt");
    IniFileCache cache;
    EXPECT_EQ(cache.read(path)->value("NumericalParameters", "A"), "");
    dir.write("test_export.txt", "[NumericalParameters]\r\nA = 1\r\n");
    const auto first = cache.read(path);
    EXPECT_EQ(first->value("NumericalParameters", "a"), "1");
    EXPECT_EQ(cache.read(path), first) << "unchanged bytes, same reading";
    // Rewritten at once with the same length: the dates may not tell, the bytes do.
    dir.write("test_export.txt", "[NumericalParameters]\r\nA = 2\r\n");
    EXPECT_EQ(cache.read(path)->value("NumericalParameters", "A"), "2");
    EXPECT_EQ(first->value("NumericalParameters", "A"), "1") << "a reading in use stays";
    QFile::remove(path);
    EXPECT_EQ(cache.read(path)->value("NumericalParameters", "A"), "");
}

// A scan file of thousands of keys: a change far into it, with the length kept, is seen.
TEST(IniReader, TheCacheSeesAChangeAnywhereInALargeFile) {
    test::TempProgramFolder dir;
    const QString path = dir.filePath("test.txt");
    const auto scanFile = [](char last) {
        QByteArray bytes = "[NumericalParameters]\r\n";
        for (int key = 0; key < 20000; ++key)
            bytes += "KEY_" + QByteArray::number(key) + " = " + QByteArray::number(key) + "\r\n";
        return bytes + "LAST = " + last + "\r\n";
    };
    IniFileCache cache;
    dir.write("test.txt", scanFile('1'));
    const auto first = cache.read(path);
    EXPECT_EQ(first->value("NumericalParameters", "KEY_19999"), "19999");
    EXPECT_EQ(first->value("NumericalParameters", "LAST"), "1");
    EXPECT_EQ(cache.read(path), first);
    dir.write("test.txt", scanFile('2'));
    EXPECT_EQ(cache.read(path)->value("NumericalParameters", "LAST"), "2");
    dir.write("test.txt", scanFile('2') + "MORE = 3\r\n");
    EXPECT_EQ(cache.read(path)->value("NumericalParameters", "MORE"), "3");
}

} // namespace
} // namespace tav
