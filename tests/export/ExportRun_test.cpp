#include "export/ExportFixture.h"

#include "platform/Database.h"

#include <QDirIterator>
#include <QFileInfo>

namespace tav {
namespace {

using test::exportFixture;

class ExportRunTest : public test::ExportFixture {
protected:
    QByteArray settingsGolden() const {
        QByteArray golden = exportFixture("export_settings_after_row.txt");
        return golden.replace("@FOLDER@", dir.path().toLocal8Bit());
    }
    // The files under a folder of the program folder, by their paths below it.
    QStringList filesUnder(const QString& folder) const {
        QStringList files;
        QDirIterator it(path(folder), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(QDir(path(folder)).relativeFilePath(it.next()));
        files.sort();
        return files;
    }
    QStringList templateNames() const {
        const auto database = Database::openExisting(path("Reports.mdb"));
        const auto rows = database->selectAll("Template_GIA");
        QStringList names;
        for (const QVariantList& row : rows->rows)
            names.append(row.value(0).toString());
        return names;
    }
};

TEST_F(ExportRunTest, PlainAndBookmarkedRowExportsMatchTheWorkedExample) {
    const struct {
        int bookmark;
        const char* stoneGolden;
        const char* layoutGolden;
    } cases[] = {{0, "row_plain_stone.txt", "row_plain_layout.txt"},
                 {1, "row_bookmark_stone.txt", "row_bookmark_layout.txt"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stoneGolden);
        QFile::remove(path("Export/bench_rows.txt"));
        startRun();
        setCheckValue(window().chkbookmark, c.bookmark);

        ASSERT_EQ(exportStone(), ExportOutcome::Completed);

        EXPECT_EQ(dir.read("Export/AB12.txt"), exportFixture(c.stoneGolden));
        EXPECT_EQ(dir.read("Export/bench_rows.txt"), exportFixture(c.layoutGolden));
        EXPECT_EQ(dir.read("Ascii/AB12.txt"), exportFixture(c.stoneGolden));
        EXPECT_FALSE(dir.exists("test_export.txt"));
        EXPECT_TRUE(dir.exists("winpos_TAV.txt")) << "the window was unloaded";
        EXPECT_FALSE(dir.exists("Logs/AB12.log")) << "green, and no warning";
        EXPECT_TRUE(recording().messages.shown.empty());
        ASSERT_EQ(recording().batches.started.size(), 1u);
        EXPECT_EQ(recording().batches.started[0].file, path("user_1.bat"));
        EXPECT_EQ(recording().batches.started[0].workingFolder, previousFolder);
        EXPECT_EQ(recording().programEnd.endCount, 1);
        EXPECT_EQ(window().ProgressBar1->value(), 5);
        EXPECT_FALSE(window().ReportsConnection);
        EXPECT_FALSE(window().StoneExportStream || window().ExportTextStream);
    }
    // The item name lost its comment in the table for good.
    EXPECT_EQ(templateNames(), (QStringList{"GIA_STONE_ID", "GIA_REAL_WGT", "T.F", "***"}));
}

TEST_F(ExportRunTest, SettingsFileHoldsTheValuesOfTheExport) {
    window().LoadingGuard = -1; // the closing rewrite does not look at it
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("ExportPa.txt"), settingsGolden());
}

TEST_F(ExportRunTest, EveryExportAppendsItsBlockToTheLayoutFile) {
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    startRun();
    window().txtStoneID->setText("CD34");
    window().txtRealWgt->setText("0.4");
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);

    EXPECT_EQ(dir.read("Export/bench_rows.txt"), exportFixture("row_plain_layout_two.txt"));
    EXPECT_EQ(dir.read("Export/AB12.txt"), exportFixture("row_plain_stone.txt"));
    EXPECT_EQ(dir.read("Export/CD34.txt"), "CD34,0.40000,57.3,\r\n");
}

// What a kill in the middle of a Row export leaves: its record, and part of its block.
TEST_F(ExportRunTest, AnyLayoutsExportCutsOffABlockThatAKillBrokeOff) {
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    const QByteArray rows = dir.read("Export/bench_rows.txt");
    dir.write("Export/bench_rows.txt", rows + "CD34,0.4");
    dir.write("Export/.bench_rows.txt.append", QByteArray::number(rows.size()) + "\r\n");

    startRun().CBOFORMAT->setCurrentText("Table");
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Export/bench_rows.txt"), rows);
    EXPECT_EQ(QDir(path("Export")).entryList(QDir::Files | QDir::Hidden),
              QStringList({"AB12.txt", "bench_rows.txt", "bench_table.txt"}));
}

TEST_F(ExportRunTest, TheMarkedStoneEndsTheSecondRunSilentlyAndKeepsTheFirstRunsFiles) {
    dir.write("Export/ZUV/ZUV", "");
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Export/ZUV/AB12_0"), "AB12_0\r\n");
    // The user's batch file runs in the marker folder.
    ASSERT_EQ(recording().batches.started.size(), 1u);
    EXPECT_EQ(recording().batches.started[0].workingFolder, path("Export/ZUV"));
    const QByteArray stone = dir.read("Export/AB12.txt");
    const QByteArray layout = dir.read("Export/bench_rows.txt");
    const QByteArray copy = dir.read("Ascii/AB12.txt");

    startRun();
    setCheckValue(window().chkbookmark, 1); // would write other bytes
    EXPECT_EQ(exportStone(), ExportOutcome::ProgramEnded);
    EXPECT_EQ(recording().programEnd.endCount, 1);
    EXPECT_TRUE(recording().messages.shown.empty());
    EXPECT_TRUE(recording().batches.started.empty());
    EXPECT_TRUE(dir.exists("test_export.txt")) << "no unload steps run";
    EXPECT_EQ(dir.read("Export/AB12.txt"), stone);
    EXPECT_EQ(dir.read("Export/bench_rows.txt"), layout);
    EXPECT_EQ(dir.read("Ascii/AB12.txt"), copy);

    // A semi-polished scan of the stone has a marker of its own.
    QDir::setCurrent(previousFolder);
    writeScan("AB12", "0.5123", "1");
    const auto database = Database::openExisting(path("Reports.mdb"));
    ASSERT_TRUE(database->exec("CREATE TABLE Template_GIA_semi AS SELECT * FROM Template_GIA"));
    startRun();
    EXPECT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Export/ZUV/AB12_1"), "AB12_1\r\n");
}

TEST_F(ExportRunTest, AFolderNamedZuvAloneArmsNoMarker) {
    QDir().mkpath(path("Export/ZUV/ZUV"));
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_FALSE(dir.exists("Export/ZUV/AB12_0"));
    EXPECT_EQ(recording().batches.started[0].workingFolder, previousFolder);
}

TEST_F(ExportRunTest, AMissingExportFolderLeavesTheExportAndTheProgramOpen) {
    window().TxtExport->setText(path("Missing/Export"));
    EXPECT_EQ(exportStone(), ExportOutcome::Left);
    ASSERT_EQ(recording().messages.shown.size(), 1u);
    EXPECT_EQ(recording().messages.shown[0].text,
              "Export path Does not exists......Please Enable Entry and Select Proper Path.......");
    EXPECT_EQ(recording().messages.shown[0].title, "EXPORT PATH ABSENT");
    EXPECT_EQ(recording().programEnd.endCount, 0);
    EXPECT_TRUE(dir.exists("test_export.txt"));
    EXPECT_FALSE(dir.exists("Missing"));

    // The operator picks the folder and exports again.
    window().TxtExport->setText(path("Export"));
    EXPECT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Export/AB12.txt"), exportFixture("row_plain_stone.txt"));
}

TEST_F(ExportRunTest, AnExportThatStopsEarlyLeavesNoLayoutFileAndTruncatesNone) {
    // Another layout's file of earlier days.
    dir.write("Export/bench_rows.txt", "OLD,1,\r\n \r\n");
    // A blank in front of the folder: the folder check fails after the names were formed.
    window().TxtExport->setText(" " + path("Export"));
    EXPECT_EQ(exportStone(), ExportOutcome::Left);
    // Corrected, and a layout text that is none of the four: no layout file at all.
    window().TxtExport->setText(path("Export"));
    window().CBOFORMAT->setEditable(true);
    window().CBOFORMAT->setEditText("Fancy");
    EXPECT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Export/bench_rows.txt"), "OLD,1,\r\n \r\n");
    EXPECT_EQ(window().ExportTextFile, "");

    // An undefined template ends the program before any export file is opened.
    startRun();
    window().cboShape->setEditText("Oval");
    window().CBOFORMAT->setCurrentText("Table");
    EXPECT_EQ(exportStone(), ExportOutcome::ProgramEnded);
    ASSERT_EQ(recording().messages.shown.size(), 1u);
    EXPECT_EQ(recording().messages.shown[0].text,
              " '[ Template_GIAOval ]' not defined in the reports.mdb , Please define and add "
              "fields ...Exiting...");
    EXPECT_EQ(recording().messages.shown[0].title, "TEMPLATE NOT DEFINED");
    EXPECT_EQ(recording().programEnd.endCount, 1);
    EXPECT_FALSE(dir.exists("Export/bench_table.txt"));
    EXPECT_TRUE(dir.exists("test_export.txt")) << "no unload steps run";
}

TEST_F(ExportRunTest, AStoneIdThatIsNoFileNameIsRefusedBeforeAnythingIsMade) {
    const QString unsafe[] = {"", ".", "..", "a/b", "a\\b", "A:1", "A*", "A?", "A\x01"};
    for (const QString& id : unsafe) {
        SCOPED_TRACE(id.toStdString());
        startRun();
        window().txtStoneID->setText(id);
        window().TxtExport->setText(path("NewExport"));
        window().TxtACExport->setText(path("NewAscii"));
        EXPECT_EQ(exportStone(), ExportOutcome::Left);
        ASSERT_EQ(recording().messages.shown.size(), 1u);
        EXPECT_EQ(recording().messages.shown[0].text, "Stone ID '" + id +
                                                          "' can not be used as a file name "
                                                          "......Please correct the Stone ID");
        EXPECT_EQ(recording().messages.shown[0].title, "STONE ID NOT VALID");
        EXPECT_EQ(recording().messages.shown[0].icon, MessageIcon::Critical);
        EXPECT_FALSE(dir.exists("NewExport"));
        EXPECT_FALSE(dir.exists("NewAscii"));
        EXPECT_EQ(recording().programEnd.endCount, 0);
    }
    // The process label is applied first: the ID it gives is the one checked.
    writeScan("../AB12", "0.5123");
    startRun();
    window().ProcessLabel = "P1";
    EXPECT_EQ(exportStone(), ExportOutcome::Left);
    EXPECT_EQ(window().txtStoneID->text(), "../AB12_P1");
    EXPECT_EQ(recording().messages.shown.at(0).title, "STONE ID NOT VALID");
}

// Every file named after the stone must take its name: the longest is the hidden name
// under which the per-stone file, its copy, the log or the ASCII file is written first,
// ".AB12.txt.new", which may hold 255 bytes as the file system is given it.
TEST_F(ExportRunTest, AStoneIdTooLongForItsFilesIsRefusedBeforeAnythingIsMade) {
    const QString e = QString::fromUtf8("\u00E9"); // two bytes in a file name
    const struct {
        QString id;
        bool brackets;
        bool refused;
    } cases[] = {
        {QString(254, u'A'), false, true},  {QString(247, u'A'), false, true},
        {QString(246, u'A'), false, false}, {QString(245, u'A'), true, true},
        {QString(244, u'A'), true, false},  {e.repeated(124), false, true},
        {e.repeated(123), false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("%1 characters%2")
                         .arg(c.id.size())
                         .arg(c.brackets ? ", brackets" : "")
                         .toStdString());
        QDir(path("NewExport")).removeRecursively();
        QDir(path("NewAscii")).removeRecursively();
        QDir(path("NewLogs")).removeRecursively();
        QDir().mkpath(path("NewLogs"));
        if (!c.refused)
            dir.writeLines(c.id + ".asc", {"H OEDF StoneId " + c.id});
        startRun();
        FrmStoneID& w = window();
        w.txtStoneID->setText(c.id);
        w.BracketStoneId = c.brackets ? -1 : 0;
        w.AsciiExportOn = true;
        w.LogFolder = path("NewLogs");
        w.appendWarning("a warning, so the stone gets its log");
        w.TxtExport->setText(path("NewExport"));
        w.TxtACExport->setText(path("NewAscii"));
        const QString named = c.brackets ? "[" + c.id + "]" : c.id;
        if (c.refused) {
            EXPECT_EQ(exportStone(), ExportOutcome::Left);
            ASSERT_EQ(recording().messages.shown.size(), 1u);
            EXPECT_EQ(recording().messages.shown[0].text,
                      "Stone ID '" + c.id +
                          "' can not be used as a file name ......Please correct the Stone ID");
            EXPECT_EQ(recording().messages.shown[0].title, "STONE ID NOT VALID");
            EXPECT_FALSE(dir.exists("NewExport"));
            EXPECT_FALSE(dir.exists("NewAscii"));
            EXPECT_TRUE(QDir(path("NewLogs")).isEmpty());
            EXPECT_EQ(recording().programEnd.endCount, 0);
        } else {
            EXPECT_EQ(exportStone(), ExportOutcome::Completed);
            // No file failed: at most the success box of the bracket setting.
            for (const test::ShownMessage& shown : recording().messages.shown)
                EXPECT_EQ(shown.title, "EXPORT SUCCESSFUL!!!") << shown.text.toStdString();
            EXPECT_TRUE(dir.read("NewExport/" + named + ".txt").startsWith(named.toLatin1()));
            EXPECT_TRUE(dir.exists("NewAscii/" + named + ".txt"));
            EXPECT_TRUE(dir.exists("NewAscii/" + c.id + ".asc"));
            EXPECT_TRUE(dir.exists("NewLogs/" + named + ".log"));
        }
        QFile::remove(path(c.id + ".asc"));
        QDir::setCurrent(previousFolder);
    }
}

// A "?" in a name read back from the settings file stands for a character it lost; a
// character the code page can not hold would be lost there.
TEST_F(ExportRunTest, ANameTheFilesCanNotHoldIsRefusedBeforeAnythingIsMade) {
    const QString cyrillic = QString::fromUtf8("\u041A\u0430\u043C");
    const struct {
        QLineEdit* FrmStoneID::*field;
        QString text;
        const char* what;
        const char* title;
    } cases[] = {
        {&FrmStoneID::txtStoneID, "AB" + cyrillic, "Stone ID", "STONE ID NOT VALID"},
        {&FrmStoneID::TxtFileName, cyrillic, "File Name", "FILE NAME NOT VALID"},
        {&FrmStoneID::TxtFileName, "???", "File Name", "FILE NAME NOT VALID"},
        {&FrmStoneID::txtSysnumber, cyrillic, "System Number", "SYSTEM NUMBER NOT VALID"},
        {&FrmStoneID::txtSysnumber, "t?t", "System Number", "SYSTEM NUMBER NOT VALID"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title + (" " + c.text.toStdString()));
        startRun();
        (window().*c.field)->setText(c.text);
        window().TxtExport->setText(path("NewExport"));
        window().TxtACExport->setText(path("NewAscii"));
        EXPECT_EQ(exportStone(), ExportOutcome::Left);
        ASSERT_EQ(recording().messages.shown.size(), 1u);
        EXPECT_EQ(recording().messages.shown[0].text,
                  QString(c.what) + " '" + c.text +
                      "' can not be used as a file name ......Please correct the " + c.what);
        EXPECT_EQ(recording().messages.shown[0].title, c.title);
        EXPECT_EQ(recording().messages.shown[0].icon, MessageIcon::Critical);
        EXPECT_FALSE(dir.exists("NewExport"));
        EXPECT_FALSE(dir.exists("NewAscii"));
        EXPECT_EQ(recording().programEnd.endCount, 0);
    }
}

// Such a folder is a folder that does not exist, even where an earlier program made one
// of the name the settings file gave back.
TEST_F(ExportRunTest, AFolderTheSettingsFileCanNotHoldCountsAsMissing) {
    const QString cyrillic = QString::fromUtf8("\u042D\u043A\u0441\u043F\u043E\u0440\u0442");
    QDir().mkpath(path("Made/???????"));
    for (const QString& folder :
         {path("New/") + cyrillic, path("New/???????"), path("Made/???????")}) {
        SCOPED_TRACE(folder.toStdString());
        for (const qint16 subFolder : {0, 1}) {
            startRun();
            window().StoneSubFolder = subFolder;
            window().TxtExport->setText(folder);
            EXPECT_EQ(exportStone(), ExportOutcome::Left);
            ASSERT_EQ(recording().messages.shown.size(), 1u);
            EXPECT_EQ(recording().messages.shown[0].title, "EXPORT PATH ABSENT");
            EXPECT_FALSE(dir.exists("New"));
            EXPECT_TRUE(QDir(path("Made/???????")).isEmpty());
        }
    }

    // As the ASCII folder: nothing is made or written in its name, and the copy that did
    // not land is reported.
    for (const QString& folder : {path("New/") + cyrillic, path("Made/???????")}) {
        for (const qint16 subFolder : {0, 1}) {
            SCOPED_TRACE(folder.toStdString() + (subFolder ? " per stone" : ""));
            const QString stoneFile = subFolder ? "AB12/AB12.txt" : "AB12.txt";
            startRun();
            window().StoneSubFolder = subFolder;
            window().AsciiExportOn = true;
            dir.writeLines("AB12.asc", {"H OEDF StoneId AB12"});
            window().TxtACExport->setText(folder);
            EXPECT_EQ(exportStone(), ExportOutcome::Completed);
            EXPECT_EQ(dir.read("Export/" + stoneFile), exportFixture("row_plain_stone.txt"));
            EXPECT_FALSE(dir.exists("New"));
            EXPECT_TRUE(QDir(path("Made/???????")).isEmpty());
            const QString status = window().msgb1->text();
            EXPECT_TRUE(
                status.contains("Export file could not be copied to : " + folder + "/" + stoneFile))
                << status.toStdString();
            EXPECT_TRUE(status.contains("ASCII file could not be written"));
        }
    }
}

TEST_F(ExportRunTest, TheProcessLabelNamesTheStoneAndItsFiles) {
    writeScan("AB12", "0.5123");
    window().txtStoneID->setText("typed");
    window().ProcessLabel = "P1";
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Export/AB12_P1.txt"), "AB12_P1,0.51230,57.3,\r\n");
    EXPECT_TRUE(dir.exists("Ascii/AB12_P1.txt"));
}

// The table test ignores case in every letter, the database's own lookup only in ASCII
// ones: the table is opened, and its shortened names stored back, by its listed name.
TEST_F(ExportRunTest, AShapeTemplateFoundWithoutRegardToCaseIsExportedFromThatTable) {
    const QString table = QString::fromUtf8("Template_GIAC\u0152ur");
    {
        const auto database = Database::openExisting(path("Reports.mdb"));
        ASSERT_TRUE(database->exec("CREATE TABLE " + Database::quoteIdentifier(table) +
                                   " (ItemName TEXT, Label TEXT, Format INTEGER)"));
        ASSERT_TRUE(database->exec("INSERT INTO " + Database::quoteIdentifier(table) +
                                   " SELECT * FROM Template_GIA"));
    }
    startRun();
    window().cboShape->setEditText(QString::fromUtf8("C\u0153ur"));

    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_TRUE(recording().messages.shown.empty());
    EXPECT_EQ(dir.read("Export/AB12.txt"), exportFixture("row_plain_stone.txt"));
    const auto database = Database::openExisting(path("Reports.mdb"));
    const auto rows = database->selectAll(table);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->rows.size(), 4);
    EXPECT_EQ(rows->rows[1].value(0).toString(), "GIA_REAL_WGT");
}

TEST_F(ExportRunTest, PerStoneFoldersHoldTheFilesAndTheCopy) {
    window().StoneSubFolder = 1;
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Export/AB12/AB12.txt"), exportFixture("row_plain_stone.txt"));
    EXPECT_EQ(dir.read("Export/AB12/bench_rows.txt"), exportFixture("row_plain_layout.txt"));
    EXPECT_EQ(dir.read("Ascii/AB12/AB12.txt"), exportFixture("row_plain_stone.txt"));
    EXPECT_TRUE(recording().messages.shown.empty());
    // The stone's folder was new, so the batch file runs in the export folder.
    EXPECT_EQ(recording().batches.started.at(0).workingFolder, path("Export"));
}

TEST_F(ExportRunTest, WithBracketsTheNamesCarryThemAndTheSuccessBoxUnloadsTheWindow) {
    window().BracketStoneId = -1;
    window().appendWarning("earlier warning");
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_EQ(dir.read("Export/[AB12].txt"), "[AB12],0.51230,57.3,\r\n");
    EXPECT_EQ(dir.read("Ascii/[AB12].txt"), "[AB12],0.51230,57.3,\r\n");
    EXPECT_EQ(dir.read("Logs/[AB12].log"), "\n\rearlier warning\r\n");
    ASSERT_EQ(recording().messages.shown.size(), 1u);
    EXPECT_EQ(recording().messages.shown[0].text, "Files Exported");
    EXPECT_EQ(recording().messages.shown[0].title, "EXPORT SUCCESSFUL!!!");
    EXPECT_TRUE(dir.exists("winpos_TAV.txt"));
    EXPECT_EQ(recording().batches.started.size(), 1u);
    EXPECT_EQ(recording().programEnd.endCount, 1);
}

// The files every layout leaves, with and without brackets and the per-stone folder: the
// system number is their extension, after a dot.
TEST_F(ExportRunTest, EveryLayoutNamesItsFilesWithTheSystemNumberAfterADot) {
    const struct {
        const char* layout;
        bool brackets;
        bool subFolder;
        QStringList exported;
        QStringList copied;
    } cases[] = {
        {"Row", false, false, {"AB12-345.125", "GIAEXP_rows.125"}, {"AB12-345.125"}},
        {"Row",
         false,
         true,
         {"AB12-345/AB12-345.125", "AB12-345/GIAEXP_rows.125"},
         {"AB12-345/AB12-345.125"}},
        {"Row", true, false, {"GIAEXP_rows.125", "[AB12-345].125"}, {"[AB12-345].125"}},
        {"Row",
         true,
         true,
         {"AB12-345/GIAEXP_rows.125", "AB12-345/[AB12-345].125"},
         {"AB12-345/[AB12-345].125"}},
        {"Col", false, false, {"AB12-345.125", "GIAEXP_cols.125"}, {"AB12-345.125"}},
        {"Col",
         true,
         true,
         {"AB12-345/GIAEXP_cols.125", "AB12-345/[AB12-345].125"},
         {"AB12-345/[AB12-345].125"}},
        {"Col_Row",
         false,
         true,
         {"AB12-345/AB12-345.125", "AB12-345/GIAEXP_col_Rows.125"},
         {"AB12-345/AB12-345.125"}},
        {"Col_Row", true, false, {"GIAEXP_col_Rows.125", "[AB12-345].125"}, {"[AB12-345].125"}},
        {"Table", false, false, {"AB12-345.125", "GIAEXP_table.125"}, {"AB12-345.125"}},
        {"Table",
         true,
         true,
         {"AB12-345/GIAEXP_table.125", "AB12-345/[AB12-345].125"},
         {"AB12-345/[AB12-345].125"}},
    };
    // Each case exports into folders of its own below these.
    QDir().mkpath(path("Ascii"));
    int number = 0;
    for (const auto& c : cases) {
        const QString trace = QString("%1%2%3").arg(c.layout, c.brackets ? " brackets" : "",
                                                    c.subFolder ? " sub-folder" : "");
        SCOPED_TRACE(trace.toStdString());
        const QString name = QString::number(++number);
        startRun();
        FrmStoneID& w = window();
        w.txtStoneID->setText("AB12-345");
        w.TxtFileName->setText("GIAEXP");
        w.txtSysnumber->setText("125");
        w.CBOFORMAT->setCurrentText(c.layout);
        w.BracketStoneId = c.brackets ? -1 : 0;
        w.StoneSubFolder = c.subFolder ? 1 : 0;
        w.TxtExport->setText(path("Export/" + name));
        w.TxtACExport->setText(path("Ascii/" + name));

        ASSERT_EQ(exportStone(), ExportOutcome::Completed);
        EXPECT_EQ(filesUnder("Export/" + name), c.exported);
        EXPECT_EQ(filesUnder("Ascii/" + name), c.copied);
    }
}

TEST_F(ExportRunTest, DeletingTheStoneFileLeavesNeitherItNorItsCopy) {
    window().DeleteStoneFile = -1;
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_FALSE(dir.exists("Export/AB12.txt"));
    EXPECT_FALSE(dir.exists("Ascii/AB12.txt"));
    EXPECT_EQ(dir.read("Export/bench_rows.txt"), exportFixture("row_plain_layout.txt"));
    EXPECT_TRUE(recording().messages.shown.empty());
}

} // namespace
} // namespace tav
