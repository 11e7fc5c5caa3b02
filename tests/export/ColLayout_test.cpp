#include "export/ColLayout.h"

#include "export/ClosingSteps.h"
#include "export/ColumnMerge.h"
#include "export/ExportFiles.h"
#include "export/ExportFixture.h"
#include "platform/Database.h"
#include "support/SyscallTrace.h"

#include <optional>
#include <vector>

namespace tav {
namespace {

using test::exportFixture;

class ColLayoutTest : public test::ExportFixture {
protected:
    const QString layoutFile = QStringLiteral("Export/bench_cols.txt");
    const QString tempFile = QStringLiteral("Export/bench_colstmp.txt");

    // A new run of the program for stone AB12 in the Col layout.
    FrmStoneID& startColRun(int bookmark) {
        FrmStoneID& w = startRun();
        w.CBOFORMAT->setCurrentText("Col");
        setCheckValue(w.chkbookmark, bookmark);
        return w;
    }
    // A new run for the second stone of the worked example.
    FrmStoneID& startSecondStone(int bookmark) {
        setTableValue(61.27);
        FrmStoneID& w = startColRun(bookmark);
        w.txtStoneID->setText("CD34");
        w.txtRealWgt->setText("0.4");
        return w;
    }
    void setTableValue(double value) {
        ASSERT_TRUE(
            Database::openExisting(path("Reports.mdb"))->exec("UPDATE T SET F = ?", {value}));
    }
    void exec(const QString& sql) {
        ASSERT_TRUE(Database::openExisting(path("Reports.mdb"))->exec(sql)) << sql.toStdString();
    }
    void expectCleanEnd() {
        EXPECT_FALSE(dir.exists(tempFile));
        EXPECT_TRUE(recording().messages.shown.empty()) << "no file failed";
        EXPECT_EQ(recording().programEnd.endCount, 1);
        EXPECT_FALSE(window().StoneExportStream || window().ExportTextStream ||
                     window().ColumnTempStream);
    }
};

QByteArray linesOf(const std::vector<QString>& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

TEST_F(ColLayoutTest, TwoExportsMatchTheWorkedExampleInEveryForm) {
    const struct {
        int bookmark;
        const char* firstStone;
        const char* firstLayout;
        const char* mergedLayout;
        QByteArray secondStone;
    } cases[] = {
        {0, "col_plain_stone.txt", "col_plain_layout.txt", "col_plain_layout_two.txt",
         "CD34\r\n0.40000\r\n61.3,\r\n\r\n"},
        {1, "col_bookmark_lines.txt", "col_bookmark_lines.txt", "col_bookmark_layout_two.txt",
         "Stone:CD34:,\r\nWeight:0.40000:,\r\nTable:61.3,\r\n\r\n"},
        // Greyed is not 0: the bookmark form.
        {2, "col_bookmark_lines.txt", "col_bookmark_lines.txt", "col_bookmark_layout_two.txt",
         "Stone:CD34:,\r\nWeight:0.40000:,\r\nTable:61.3,\r\n\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bookmark);
        QFile::remove(path(layoutFile));
        setTableValue(57.26);
        startColRun(c.bookmark);

        ASSERT_EQ(exportStone(), ExportOutcome::Completed);

        EXPECT_EQ(window().ColumnMergeMode, 0);
        EXPECT_EQ(dir.read("Export/AB12.txt"), exportFixture(c.firstStone));
        EXPECT_EQ(dir.read("Ascii/AB12.txt"), exportFixture(c.firstStone));
        EXPECT_EQ(dir.read(layoutFile), exportFixture(c.firstLayout)) << "no closing line";
        expectCleanEnd();

        startSecondStone(c.bookmark);
        ASSERT_EQ(exportStone(), ExportOutcome::Completed);

        EXPECT_EQ(window().ColumnMergeMode, -1);
        EXPECT_EQ(dir.read("Export/CD34.txt"), c.secondStone);
        EXPECT_EQ(dir.read(layoutFile), exportFixture(c.mergedLayout));
        expectCleanEnd();
    }
}

// The merged file holds every earlier stone: its data is on the disk before it takes the
// layout file's name, and the new name is on the disk after.
TEST_F(ColLayoutTest, TheMergedFileIsSyncedBeforeItReplacesTheLayoutFile) {
    startColRun(0);
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    startSecondStone(0);

    test::SyscallTrace trace;
    ASSERT_TRUE(trace.attached()) << "strace could not attach";
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    const QStringList calls = trace.stop();

    const QString folder = QDir(path("Export")).canonicalPath();
    const qsizetype synced = calls.indexOf("sync " + folder + "/bench_colstmp.txt");
    const qsizetype renamed = calls.indexOf("rename " + path(tempFile) + " " + path(layoutFile));
    EXPECT_GE(synced, 0) << calls.join(u'\n').toStdString();
    EXPECT_GT(renamed, synced);
    EXPECT_GT(calls.lastIndexOf("sync " + folder), renamed);
    EXPECT_EQ(dir.read(layoutFile), exportFixture("col_plain_layout_two.txt"));
    expectCleanEnd();
}

TEST_F(ColLayoutTest, EveryRowWritesItsLineAndColumnTextIntoANewAndAMergedFile) {
    exec("DELETE FROM Template_GIA");
    const struct {
        const char* insert; // name, label, format code
        const char* plainLine;
        const char* plainColumn;
        const char* bookmarked;
    } rows[] = {
        // Digits of UserData go as text, the same digits of another table as a number.
        {"'UserData.LOT', 'Lot', 0", "0042", "0042,", "Lot:0042,"},
        {"'T.LOT', 'TLot', 0", "42,", "42,", "TLot:42,"},
        // The empty field; with -2 the bookmark form writes an empty line.
        {"'***', '', -2", "", ",", ""},
        {"'***', 'Gap', 1", "", ",", ":,"},
        // -2 ends the line of a text value only; a numeric value goes as a number.
        {"'GIA_LENS_NUMBER', 'Lens', -2", "L1", "L1,", "Lens:L1"},
        {"'T.F', 'Table', -2", "57.26,", "57.26,", "Table"},
        // No format code: as -1.
        {"'T.F', 'Table', NULL", "57.26", "57.26,", "Table:57.26,"},
        {"'T.F', 'Table', 1", "57.3,", "57.3,", "Table:57.3,"},
        {"'GIA_REAL_WGT', 'Weight', -1", "0.51230", "0.51230,", "Weight:0.51230:,"},
        {"'T.NONE', 'None', 2", "", ",", "None:,"},
    };
    for (const auto& row : rows)
        exec(QStringLiteral("INSERT INTO Template_GIA VALUES (%1)").arg(row.insert));

    for (const int bookmark : {0, 1}) {
        std::vector<QString> stone, fresh, old, merged;
        for (const auto& row : rows) {
            const QString line = bookmark ? row.bookmarked : row.plainLine;
            const QString column = bookmark ? row.bookmarked : row.plainColumn;
            stone.push_back(line);
            fresh.push_back(column);
            old.push_back(QStringLiteral("old%1;").arg(old.size() + 1));
            merged.push_back(old.back() + column);
        }
        for (const bool existing : {false, true}) {
            SCOPED_TRACE(testing::Message() << "bookmark " << bookmark << " existing " << existing);
            QFile::remove(path(layoutFile));
            if (existing)
                dir.write(layoutFile, linesOf(old));
            startColRun(bookmark).TxtLotno->setText("0042");

            ASSERT_EQ(exportStone(), ExportOutcome::Completed);

            EXPECT_EQ(dir.read("Export/AB12.txt"), linesOf(stone));
            EXPECT_EQ(dir.read(layoutFile), linesOf(existing ? merged : fresh));
            expectCleanEnd();
        }
    }
}

TEST_F(ColLayoutTest, AnOldFileOfAnotherLengthLosesNoLineAndRepeatsNone) {
    const struct {
        const char* name;
        QByteArray old;
        QByteArray merged;
    } cases[] = {
        // Fewer lines: the rows past its end get their entry alone.
        {"shorter", "X,\r\nY,\r\n", "X,AB12,\r\nY,0.51230,\r\n57.3,\r\n,\r\n"},
        {"no line end at its end", "X,\r\nY,", "X,AB12,\r\nY,0.51230,\r\n57.3,\r\n,\r\n"},
        {"empty", "", exportFixture("col_plain_layout.txt")},
        // More lines (rows removed from the template): they stay, in their order.
        {"longer", "a\r\nb\r\nc\r\nd\r\ne,\r\n\r\nf,\r\n",
         "aAB12,\r\nb0.51230,\r\nc57.3,\r\nd,\r\ne,\r\n\r\nf,\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write(layoutFile, c.old);
        startColRun(0);

        ASSERT_EQ(exportStone(), ExportOutcome::Completed);

        EXPECT_EQ(dir.read(layoutFile), c.merged);
        EXPECT_EQ(dir.read("Export/AB12.txt"), exportFixture("col_plain_stone.txt"));
        expectCleanEnd();
    }

    // An empty template writes nothing and keeps every old line.
    exec("DELETE FROM Template_GIA");
    dir.write(layoutFile, "a,\r\nb,\r\n");
    startColRun(0);
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read(layoutFile), "a,\r\nb,\r\n");
    EXPECT_EQ(dir.read("Export/AB12.txt"), "");
    expectCleanEnd();
}

TEST_F(ColLayoutTest, AnOldFileLargerThanTheReadingBufferKeepsEveryLineInOrder) {
    // Lines far longer than a part of the file read at a time, a CR LF that falls
    // across two parts, every kind of line end, and lines past the template's rows.
    const struct {
        QByteArray text;
        const char* end;
    } old[] = {
        {QByteArray((1 << 20) - 1, 'a'), "\r\n"}, {QByteArray(3 << 20, 'b'), "\n"},   {"c", "\r"},
        {QByteArray(70000, 'd'), "\r\n"},         {QByteArray(1 << 20, 'e'), "\r\n"}, {"f", "\r\n"},
    };
    const char* const columns[] = {"AB12,", "0.51230,", "57.3,", ","};
    QByteArray oldFile;
    QByteArray merged;
    for (std::size_t i = 0; i < std::size(old); ++i) {
        oldFile += old[i].text + old[i].end;
        merged += old[i].text + (i < std::size(columns) ? columns[i] : "") + "\r\n";
    }
    ASSERT_GT(oldFile.size(), 5 << 20);
    dir.write(layoutFile, oldFile);
    startColRun(0);

    ASSERT_EQ(exportStone(), ExportOutcome::Completed);

    EXPECT_TRUE(dir.read(layoutFile) == merged) << "the merged file differs";
    EXPECT_EQ(dir.read("Export/AB12.txt"), exportFixture("col_plain_stone.txt"));
    expectCleanEnd();
}

TEST_F(ColLayoutTest, LinesWrittenAfterTheLayoutPairWithTheNextOldLines) {
    dir.write(layoutFile, "r1\r\nr2\r\nr3\r\nr4\r\ng1 \r\ng2 \r\nkept\r\n");
    dir.writeLines("test_export.txt", {"[NumericalParameters]", "T.F = 57.26"});
    FrmStoneID& w = startColRun(0);
    QString asciiCopyPath;
    ASSERT_TRUE(PrepareExportFiles(w, asciiCopyPath));
    bool tableFileExisted = true;
    OpenExportStreams(w, tableFileExisted);
    ASSERT_EQ(w.ColumnMergeMode, -1);
    const auto rows = readTemplateRows(*w.ReportsConnection, "Template_GIA");
    ASSERT_TRUE(rows);

    ColLayout(w, *rows, "8888");
    EXPECT_EQ(w.ProgressBar1->value(), 4);
    EXPECT_EQ(dir.read(layoutFile), "r1\r\nr2\r\nr3\r\nr4\r\ng1 \r\ng2 \r\nkept\r\n")
        << "the old file is only read";
    // Lines of the grading, written the same way.
    for (const QString line : {"CUT = EX", "SYM = VG"}) {
        w.StoneExportStream->writeLine(line);
        ColumnMergeRule(w, line);
    }
    ExportFailures failures;
    ClosingSteps(w, asciiCopyPath, QString(), failures);

    EXPECT_FALSE(failures.any());
    EXPECT_EQ(dir.read(layoutFile),
              "r1AB12,\r\nr20.5123,\r\nr357.3,\r\nr4,\r\ng1 CUT = EX\r\ng2 SYM = VG\r\nkept\r\n");
    EXPECT_EQ(dir.read("Export/AB12.txt"),
              "AB12\r\n0.5123\r\n57.3,\r\n\r\nCUT = EX\r\nSYM = VG\r\n");
    EXPECT_FALSE(dir.exists(tempFile));
}

TEST_F(ColLayoutTest, WithoutAnOldFileTheRuleWritesWholeLinesToTheLayoutFile) {
    FrmStoneID& w = startColRun(0);
    QString asciiCopyPath;
    ASSERT_TRUE(PrepareExportFiles(w, asciiCopyPath));
    bool tableFileExisted = true;
    OpenExportStreams(w, tableFileExisted);
    ASSERT_EQ(w.ColumnMergeMode, 0);
    for (const QString line : {"CUT = EX", "", "SYM = VG"})
        ColumnMergeRule(w, line);
    ExportFailures failures;
    ClosingSteps(w, asciiCopyPath, QString(), failures);

    EXPECT_EQ(dir.read(layoutFile), "CUT = EX\r\n\r\nSYM = VG\r\n");
    EXPECT_FALSE(dir.exists(tempFile));
}

TEST_F(ColLayoutTest, TheButtonModeEmptiesTheWeightInThePlainFormOnly) {
    const struct {
        int bookmark;
        QByteArray layout;
    } cases[] = {{0, "AB12,\r\n,\r\n57.3,\r\n,\r\n"}, {1, exportFixture("col_bookmark_lines.txt")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bookmark);
        QFile::remove(path(layoutFile));
        startColRun(c.bookmark).ButtonExportMode = 1;
        ASSERT_EQ(exportStone(), ExportOutcome::Completed);
        EXPECT_EQ(dir.read(layoutFile), c.layout);
    }
}

} // namespace
} // namespace tav
