#include "export/ExportFiles.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

ExportNameParts parts(bool brackets, bool subFolder, const QString& layout) {
    ExportNameParts p;
    p.exportFolder = "/e";
    p.asciiFolder = "/a";
    p.stoneId = "AB12-345";
    p.fileName = "GIAEXP";
    p.systemNumber = "125";
    p.layoutText = layout;
    p.brackets = brackets;
    p.subFolder = subFolder;
    return p;
}

// The system number is the extension of every file, after a dot of its own.
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
        {false, false, "Row", "/e/AB12-345.125", "/a/AB12-345.125", "/e/GIAEXP_rows.125", ""},
        {false, true, "Row", "/e/AB12-345/AB12-345.125", "/a/AB12-345/AB12-345.125",
         "/e/AB12-345/GIAEXP_rows.125", ""},
        {true, false, "Row", "/e/[AB12-345].125", "/a/[AB12-345].125", "/e/GIAEXP_rows.125", ""},
        {true, true, "Row", "/e/AB12-345/[AB12-345].125", "/a/AB12-345/[AB12-345].125",
         "/e/AB12-345/GIAEXP_rows.125", ""},
        {false, false, "Col", "/e/AB12-345.125", "/a/AB12-345.125", "/e/GIAEXP_cols.125",
         "/e/GIAEXP_colstmp.125"},
        {false, true, "Col", "/e/AB12-345/AB12-345.125", "/a/AB12-345/AB12-345.125",
         "/e/AB12-345/GIAEXP_cols.125", "/e/AB12-345/GIAEXP_colstmp.125"},
        {true, false, "Col", "/e/[AB12-345].125", "/a/[AB12-345].125", "/e/GIAEXP_cols.125",
         "/e/GIAEXP_colstmp.125"},
        {true, true, "Col", "/e/AB12-345/[AB12-345].125", "/a/AB12-345/[AB12-345].125",
         "/e/AB12-345/GIAEXP_cols.125", "/e/AB12-345/GIAEXP_colstmp.125"},
        {false, false, "Col_Row", "/e/AB12-345.125", "/a/AB12-345.125", "/e/GIAEXP_col_Rows.125",
         ""},
        {false, true, "Col_Row", "/e/AB12-345/AB12-345.125", "/a/AB12-345/AB12-345.125",
         "/e/AB12-345/GIAEXP_col_Rows.125", ""},
        {true, false, "Col_Row", "/e/[AB12-345].125", "/a/[AB12-345].125", "/e/GIAEXP_col_Rows.125",
         ""},
        {true, true, "Col_Row", "/e/AB12-345/[AB12-345].125", "/a/AB12-345/[AB12-345].125",
         "/e/AB12-345/GIAEXP_col_Rows.125", ""},
        {false, false, "Table", "/e/AB12-345.125", "/a/AB12-345.125", "/e/GIAEXP_table.125", ""},
        {false, true, "Table", "/e/AB12-345/AB12-345.125", "/a/AB12-345/AB12-345.125",
         "/e/AB12-345/GIAEXP_table.125", ""},
        {true, false, "Table", "/e/[AB12-345].125", "/a/[AB12-345].125", "/e/GIAEXP_table.125", ""},
        {true, true, "Table", "/e/AB12-345/[AB12-345].125", "/a/AB12-345/[AB12-345].125",
         "/e/AB12-345/GIAEXP_table.125", ""},
        // None of the four (the comparison is exact): no layout file name.
        {false, false, "Fancy", "/e/AB12-345.125", "/a/AB12-345.125", "", ""},
        {true, true, "row", "/e/AB12-345/[AB12-345].125", "/a/AB12-345/[AB12-345].125", "", ""},
        {false, false, "", "/e/AB12-345.125", "/a/AB12-345.125", "", ""},
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

TEST(ExportFileNamesTest, TheSystemNumberFollowsADotAsItStands) {
    const struct {
        const char* systemNumber;
        const char* stoneFile;
        const char* layoutFile;
    } cases[] = {
        {"txt", "/e/AB12-345.txt", "/e/GIAEXP_rows.txt"},
        {"S01", "/e/AB12-345.S01", "/e/GIAEXP_rows.S01"},
        // A system number that brings its own dot keeps it.
        {".txt", "/e/AB12-345..txt", "/e/GIAEXP_rows..txt"},
        {"", "/e/AB12-345.", "/e/GIAEXP_rows."},
    };
    for (const auto& c : cases) {
        ExportNameParts p = parts(false, false, "Row");
        p.systemNumber = c.systemNumber;
        const ExportFileNames names = formExportFileNames(p);
        EXPECT_EQ(names.StoneExportFile, c.stoneFile) << c.systemNumber;
        EXPECT_EQ(names.ExportTextFile, c.layoutFile) << c.systemNumber;
    }
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

} // namespace
} // namespace tav
