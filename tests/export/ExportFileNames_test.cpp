#include "export/ExportFiles.h"

#include "app/ImageCopy.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

ExportNameParts parts(bool brackets, bool subFolder, const QString& layout) {
    ExportNameParts p;
    p.exportFolder = "/e";
    p.asciiFolder = "/a";
    p.stoneId = "AB12";
    p.fileName = "bench";
    p.systemNumber = ".txt";
    p.layoutText = layout;
    p.brackets = brackets;
    p.subFolder = subFolder;
    return p;
}

TEST(ExportFileNamesTest, NamesByBracketsSubFolderAndLayout) {
    const struct {
        bool brackets;
        bool subFolder;
        const char* layout;
        const char* stoneFile;
        const char* asciiCopy;
        const char* layoutFile;
        const char* tempFile;
    } cases[] = {
        {false, false, "Row", "/e/AB12.txt", "/a/AB12.txt", "/e/bench_rows.txt", ""},
        {false, true, "Row", "/e/AB12/AB12.txt", "/a/AB12/AB12.txt", "/e/AB12/bench_rows.txt", ""},
        {true, false, "Row", "/e/[AB12].txt", "/a/[AB12].txt", "/e/bench_rows.txt", ""},
        {true, true, "Row", "/e/AB12/[AB12].txt", "/a/AB12/[AB12].txt", "/e/AB12/bench_rows.txt",
         ""},
        {false, false, "Col", "/e/AB12.txt", "/a/AB12.txt", "/e/bench_cols.txt",
         "/e/bench_colstmp.txt"},
        {true, true, "Col", "/e/AB12/[AB12].txt", "/a/AB12/[AB12].txt", "/e/AB12/bench_cols.txt",
         "/e/AB12/bench_colstmp.txt"},
        {false, false, "Col_Row", "/e/AB12.txt", "/a/AB12.txt", "/e/bench_col_Rows.txt", ""},
        {true, true, "Col_Row", "/e/AB12/[AB12].txt", "/a/AB12/[AB12].txt",
         "/e/AB12/bench_col_Rows.txt", ""},
        {false, false, "Table", "/e/AB12.txt", "/a/AB12.txt", "/e/bench_table.txt", ""},
        {false, true, "Table", "/e/AB12/AB12.txt", "/a/AB12/AB12.txt", "/e/AB12/bench_table.txt",
         ""},
        // None of the four (the comparison is exact): no layout file name.
        {false, false, "Fancy", "/e/AB12.txt", "/a/AB12.txt", "", ""},
        {true, true, "row", "/e/AB12/[AB12].txt", "/a/AB12/[AB12].txt", "", ""},
        {false, false, "", "/e/AB12.txt", "/a/AB12.txt", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.layout) + (c.brackets ? " brackets" : "") +
                     (c.subFolder ? " sub-folder" : ""));
        const ExportFileNames names = formExportFileNames(parts(c.brackets, c.subFolder, c.layout));
        EXPECT_EQ(names.StoneExportFile, c.stoneFile);
        EXPECT_EQ(names.AsciiCopyPath, c.asciiCopy);
        EXPECT_EQ(names.ExportTextFile, c.layoutFile);
        EXPECT_EQ(names.ColumnTempFile, c.tempFile);
    }
}

TEST(ExportFileNamesTest, TheSystemNumberIsAppendedAsItStands) {
    ExportNameParts p = parts(false, false, "Row");
    p.systemNumber = "txt";
    EXPECT_EQ(formExportFileNames(p).StoneExportFile, "/e/AB12txt");
    EXPECT_EQ(formExportFileNames(p).ExportTextFile, "/e/bench_rowstxt");
    p.systemNumber = ".S01";
    EXPECT_EQ(formExportFileNames(p).StoneExportFile, "/e/AB12.S01");
}

TEST(ExportFileNamesTest, WithoutAnAsciiFolderNoCopyPathIsFormed) {
    ExportNameParts p = parts(false, true, "Row");
    p.asciiFolder.clear();
    EXPECT_EQ(formExportFileNames(p).AsciiCopyPath, "");
}

TEST(ExportFileNamesTest, LayoutTextsAreComparedExactly) {
    EXPECT_EQ(exportLayoutOf("Row"), ExportLayout::Row);
    EXPECT_EQ(exportLayoutOf("Col"), ExportLayout::Col);
    EXPECT_EQ(exportLayoutOf("Col_Row"), ExportLayout::ColRow);
    EXPECT_EQ(exportLayoutOf("Table"), ExportLayout::Table);
    for (const char* other : {"ROW", "Row ", "col_row", "", "Fancy"})
        EXPECT_EQ(exportLayoutOf(other), ExportLayout::Other) << other;
}

TEST(ExportFileNamesTest, AStoneIdMustBeOneSafeName) {
    for (const char* unsafe : {"", ".", "..", "a/b", "a\\b", "A:1", "A*", "A?", "A\x01", "A\x7f"})
        EXPECT_FALSE(isSafeStoneId(unsafe)) << unsafe;
    for (const char* safe : {"AB12", "AB12_P1", "7-1", " 7-1 ", "[AB]", "..S", "S.1"})
        EXPECT_TRUE(isSafeStoneId(safe)) << safe;
}

} // namespace
} // namespace tav
