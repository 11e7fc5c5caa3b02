#include "export/AsciiFile.h"

#include "export/ExportFiles.h"
#include "export/ExportFixture.h"

#include <QDir>
#include <QFileInfo>

namespace tav {
namespace {

// The five lines that take the place of an identity block of stone AB12.
const QByteArray kHeader = "H OEDF StoneId=AB12\r\n"
                           "H OEDF BalanceWeight=0.5123\r\n"
                           "H OEDF ShapeCategory=ROUND-P8_8-P8_8\r\n"
                           "H OEDF ShapeName=Round\r\n"
                           "H OEDF SystemNumber=txt\r\n";
// An identity block as the scanner writes it.
const QByteArray kBlock = "H OEDF StoneId=SCAN\r\n"
                          "H OEDF Weight=0.51\r\n"
                          "H OEDF Shape=RBC\r\n"
                          "H OEDF Version=7\r\n";

QByteArray numberedLines(int first, int last) {
    QByteArray lines;
    for (int n = first; n <= last; ++n)
        lines += "P " + QByteArray::number(n) + "\r\n";
    return lines;
}

// Stone AB12, its shape chosen as the export does, and an ASCII folder to copy into.
class AsciiFileTest : public test::ExportFixture {
protected:
    AsciiFileTest() {
        QDir().mkpath(path("Ascii"));
        prepare();
    }
    void prepare() {
        window().CurrentShape = "Brilliant";
        window().TemplateShapeName = "ROUND-P8_8-P8_8";
    }

    // Writes the stone's source and runs the rewrite; the copy, empty when none was made.
    QByteArray rewrite(const QByteArray& source) {
        dir.write("AB12.asc", source);
        WriteAsciiFile(window(), failures);
        return dir.read("Ascii/AB12.asc");
    }

    ExportFailures failures;
};

TEST_F(AsciiFileTest, IdentityBlocksAreReplacedByTheHeaderAndEverythingElseIsCopied) {
    const struct {
        const char* what;
        QByteArray source;
        QByteArray copy;
    } cases[] = {
        {"one block, one line longer", "A 1\r\n" + kBlock + "A 2\r\n",
         "A 1\r\n" + kHeader + "A 2\r\n"},
        {"a second block later", kBlock + "A 1\r\n" + kBlock, kHeader + "A 1\r\n" + kHeader},
        // The marker is compared exactly, at the start of the line.
        {"no block", "h oedf stoneid=x\r\n H OEDF StoneId=x\r\nH OEDF Stone\r\nA\xE9\xFF\r\n",
         "h oedf stoneid=x\r\n H OEDF StoneId=x\r\nH OEDF Stone\r\nA\xE9\xFF\r\n"},
        {"the bare marker", "H OEDF StoneId\r\nB\r\nC\r\nD\r\nE\r\n", kHeader + "E\r\n"},
        {"any line end, written as CR LF", "A 1\nA 2\rA 3", "A 1\r\nA 2\r\nA 3\r\n"},
        {"empty lines stay", "A 1\r\n\r\n\r\nA 2\r\n", "A 1\r\n\r\n\r\nA 2\r\n"},
        {"an empty source", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prepare();
        EXPECT_EQ(rewrite(c.source), c.copy);
    }
    EXPECT_FALSE(failures.any());
    EXPECT_TRUE(recording().messages.shown.empty());
    EXPECT_EQ(window().msgb1->text(), "");
}

TEST_F(AsciiFileTest, EveryPrintableByteIsCopiedAsItIs) {
    // The scanner's own bytes, the five the code page leaves undefined among them.
    QByteArray line = "A ";
    for (int b = 0x20; b <= 0xFF; ++b)
        line.append(char(b));
    const QByteArray source = kBlock + line + "\r\n" + line + "\r\n";
    EXPECT_EQ(rewrite(source), kHeader + line + "\r\n" + line + "\r\n");
    EXPECT_FALSE(failures.any());
}

TEST_F(AsciiFileTest, ASourceEndingInsideABlockEndsTheCopyThereWithoutAMessage) {
    const QByteArray h1 = "H OEDF StoneId=AB12\r\n";
    const QByteArray h2 = "H OEDF BalanceWeight=0.5123\r\n";
    const struct {
        QByteArray source;
        QByteArray copy;
    } cases[] = {
        {"A\r\nH OEDF StoneId=S\r\n", "A\r\n" + h1},
        {"A\r\nH OEDF StoneId=S\r\nB\r\n", "A\r\n" + h1 + h2},
        {"A\r\nH OEDF StoneId=S\r\nB\r\nC\r\n", "A\r\n" + h1 + h2},
        {"A\r\nH OEDF StoneId=S\r\nB\r\nC\r\nD\r\n", "A\r\n" + kHeader},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source.constData());
        EXPECT_EQ(rewrite(c.source), c.copy);
    }
    EXPECT_FALSE(failures.any());
    EXPECT_TRUE(recording().messages.shown.empty());
}

TEST_F(AsciiFileTest, TheShapeLineNamesBrilliantRoundAndPearByTheShapeField) {
    const struct {
        const char* currentShape;
        const char* shapeField;
        const char* written;
    } cases[] = {
        {"Brilliant", "Brilliant", "Round"}, {"Pear", "Pear Modified", "Pear Modified"},
        {"Oval", "Brilliant", "Oval"},       {"brilliant", "Pear", "brilliant"},
        {"Round", "Pear", "Round"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.currentShape);
        window().CurrentShape = c.currentShape;
        window().TemplateShapeName = "CAT";
        window().cboShape->setEditText(c.shapeField);
        // Two blocks: the name stays what the first one made it.
        const QByteArray copy = rewrite(kBlock + kBlock);
        const QByteArray header = "H OEDF StoneId=AB12\r\nH OEDF BalanceWeight=0.5123\r\n"
                                  "H OEDF ShapeCategory=CAT\r\nH OEDF ShapeName=" +
                                  QByteArray(c.written) + "\r\nH OEDF SystemNumber=txt\r\n";
        EXPECT_EQ(copy, header + header);
        EXPECT_EQ(window().CurrentShape, c.written);
    }
}

TEST_F(AsciiFileTest, ALargeModelIsCopiedWholeWithItsIdentityBlockReplaced) {
    // 10,011 lines: a line, the block, "D" lines and the model's closing line.
    QByteArray dLines;
    for (int n = 1; n <= 10005; ++n)
        dLines += "D " + QByteArray::number(n) + " 0.1 0.2 0.3\r\n";
    const QByteArray end = "E end of model\r\n";
    ASSERT_EQ((kBlock + dLines + end).count('\n') + 1, 10011);
    EXPECT_EQ(rewrite("A 1\r\n" + kBlock + dLines + end), "A 1\r\n" + kHeader + dLines + end);
    // A block far beyond the first ten thousand lines is replaced as well.
    EXPECT_EQ(rewrite(numberedLines(1, 10005) + kBlock + end),
              numberedLines(1, 10005) + kHeader + end);
    EXPECT_TRUE(recording().messages.shown.empty());
    EXPECT_FALSE(failures.any());
}

TEST_F(AsciiFileTest, TheSourceItselfIsNeverTheCopy) {
    // The ASCII export folder is the program folder, named in other ways too.
    const QString folders[] = {dir.path(), dir.path() + "/Ascii/..", path("Link")};
    ASSERT_TRUE(QFile::link(dir.path(), path("Link")));
    // The scanner's file in another letter case is the same file.
    const char* sources[] = {"AB12.asc", "ab12.ASC"};
    const QByteArray source = "A 1\r\n" + kBlock + "A 2\r\n";
    for (const char* name : sources) {
        for (const QString& folder : folders) {
            SCOPED_TRACE(std::string(name) + " in " + folder.toStdString());
            QFile::remove(path("AB12.asc"));
            QFile::remove(path("ab12.ASC"));
            dir.write(name, source);
            startRun();
            prepare();
            window().TxtACExport->setText(folder);
            ExportFailures failures;
            WriteAsciiFile(window(), failures);

            EXPECT_EQ(dir.read(name), source) << "the source's bytes stay";
            EXPECT_EQ(QDir(dir.path())
                          .entryList({"*.asc"}, QDir::Files | QDir::Hidden,
                                     QDir::Name | QDir::IgnoreCase),
                      QStringList{name});
            ASSERT_EQ(recording().messages.shown.size(), 1u);
            EXPECT_EQ(recording().messages.shown[0].text,
                      " Error No:   70 Description of Error :  Permission denied"
                      "\n\r\n\r.....ASCII File not Exported ........");
            EXPECT_EQ(recording().messages.shown[0].title, "");
            EXPECT_EQ(recording().messages.shown[0].icon, MessageIcon::Critical);
            EXPECT_EQ(failures.lines(),
                      QStringList{"ASCII file could not be written : " + folder +
                                  QDir::separator() + "AB12.asc (Permission denied)"});
        }
    }
}

TEST_F(AsciiFileTest, TheCopyGoesDirectlyIntoTheAsciiFolderWhateverTheOtherSettings) {
    window().BracketStoneId = -1;
    window().StoneSubFolder = 1;
    QDir().mkpath(path("Ascii/AB12"));
    // An old copy is replaced, and the source is found in any letter case.
    dir.write("Ascii/AB12.asc", "old copy, longer than the new one\r\n");
    dir.write("ab12.ASC", "A 1\r\n");
    WriteAsciiFile(window(), failures);
    EXPECT_EQ(dir.read("Ascii/AB12.asc"), "A 1\r\n");
    EXPECT_FALSE(dir.exists("Ascii/[AB12].asc"));
    EXPECT_FALSE(dir.exists("Ascii/AB12/AB12.asc"));
    EXPECT_FALSE(failures.any());
}

TEST_F(AsciiFileTest, AMissingSourceIsShownAndLoggedAndWritesNothing) {
    dir.write("AB12.txt", "not the ASCII file\r\n");
    WriteAsciiFile(window(), failures);
    ASSERT_EQ(recording().messages.shown.size(), 1u);
    EXPECT_EQ(recording().messages.shown[0].text, "ASCII file not found");
    EXPECT_EQ(recording().messages.shown[0].title, "");
    EXPECT_EQ(recording().messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(QDir(path("Ascii")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList());
    const QString line = "ASCII file not found : " + path("AB12.asc");
    EXPECT_EQ(failures.lines(), QStringList{line});
    EXPECT_EQ(window().msgb1->text(), "\n\r" + line);
    EXPECT_EQ(run->program.ExportWarningFlag, -1);
}

TEST_F(AsciiFileTest, ACopyThatCannotBeMadeShowsTheErrorBoxAndLeavesNoFile) {
    const struct {
        const char* what;
        QString folder;
        const char* stoneId;
        const char* box;
        const char* description;
    } cases[] = {
        {"missing folder", path("Missing"), "AB12",
         " Error No:   76 Description of Error :  "
         "Path not found",
         "Path not found"},
        {"no folder", "", "AB12", " Error No:   76 Description of Error :  Path not found",
         "Path not found"},
        {"a folder stands where the file goes", path("Ascii"), "Taken",
         " Error No:   75 Description of Error :  Path/File access error",
         "Path/File access error"},
        {"a path as stone id", path("Ascii"), "sub/AB12",
         " Error No:   52 Description of Error :  Bad file name or number",
         "Bad file name or number"},
        {"a parent as stone id", path("Ascii"), "..",
         " Error No:   52 Description of Error :  Bad file name or number",
         "Bad file name or number"},
        {"no stone id", path("Ascii"), "",
         " Error No:   52 Description of Error :  Bad file name or number",
         "Bad file name or number"},
    };
    // Sources for every name, and the places a wrong copy would land.
    dir.write("AB12.asc", kBlock);
    dir.write("Taken.asc", kBlock);
    dir.write("sub/AB12.asc", kBlock);
    dir.write(".asc", kBlock);
    QDir().mkpath(path("Ascii/sub"));
    QDir().mkpath(path("Ascii/Taken.asc"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        startRun();
        prepare();
        window().TxtACExport->setText(c.folder);
        window().txtStoneID->setText(c.stoneId);
        ExportFailures failures;
        WriteAsciiFile(window(), failures);

        ASSERT_EQ(recording().messages.shown.size(), 1u);
        EXPECT_EQ(recording().messages.shown[0].text,
                  QString(c.box) + "\n\r\n\r.....ASCII File not Exported ........");
        EXPECT_EQ(recording().messages.shown[0].title, "");
        EXPECT_EQ(recording().messages.shown[0].icon, MessageIcon::Critical);
        const QString line = "ASCII file could not be written : " + c.folder + QDir::separator() +
                             c.stoneId + ".asc (" + c.description + ")";
        EXPECT_EQ(failures.lines(), QStringList{line});
        EXPECT_EQ(window().msgb1->text(), "\n\r" + line);
        EXPECT_EQ(run->program.ExportWarningFlag, -1);
        // Nothing written anywhere, and no temporary file left behind.
        EXPECT_EQ(QDir(path("Ascii")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  (QStringList{"sub", "Taken.asc"}));
        EXPECT_EQ(QDir(path("Ascii/sub")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList());
        EXPECT_FALSE(dir.exists("Missing"));
        EXPECT_FALSE(QFileInfo::exists("/AB12.asc"));
        EXPECT_FALSE(QFileInfo::exists(path("../AB12.asc")));
    }
}

// The whole export, with the switch on and off.
class AsciiExportRunTest : public test::ExportFixture {};

TEST_F(AsciiExportRunTest, AnExportWithTheSwitchOnWritesTheRewrittenCopy) {
    dir.write("AB12.asc", "A 1\r\n" + kBlock + "A 2\r\n");
    window().AsciiExportOn = true;
    window().BracketStoneId = -1;
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);

    // The weight as the export has written it, with five decimals.
    EXPECT_EQ(dir.read("Ascii/AB12.asc"), "A 1\r\n"
                                          "H OEDF StoneId=AB12\r\n"
                                          "H OEDF BalanceWeight=0.51230\r\n"
                                          "H OEDF ShapeCategory=ROUND-P8_8-P8_8\r\n"
                                          "H OEDF ShapeName=Round\r\n"
                                          "H OEDF SystemNumber=txt\r\n"
                                          "A 2\r\n");
    EXPECT_EQ(window().CurrentShape, "Round");
    EXPECT_EQ(dir.read("AB12.asc"), "A 1\r\n" + kBlock + "A 2\r\n") << "the source stays";
    ASSERT_EQ(recording().messages.shown.size(), 1u);
    EXPECT_EQ(recording().messages.shown[0].text, "Files Exported");
    EXPECT_FALSE(dir.exists("Logs/[AB12].log"));
    EXPECT_EQ(recording().programEnd.endCount, 1);

    // Switched off, no copy is made (the next run loads both switches as saved).
    QDir::setCurrent(previousFolder);
    QFile::remove(path("Ascii/AB12.asc"));
    startRun();
    window().AsciiExportOn = false;
    window().BracketStoneId = 0;
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);
    EXPECT_FALSE(dir.exists("Ascii/AB12.asc"));
    EXPECT_TRUE(recording().messages.shown.empty());
}

TEST_F(AsciiExportRunTest, AnExportWithoutTheSourceShowsItLogsItAndStillEnds) {
    window().AsciiExportOn = true;
    window().BracketStoneId = -1;
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);

    const QString line = "ASCII file not found : " + path("AB12.asc");
    ASSERT_EQ(recording().messages.shown.size(), 2u);
    EXPECT_EQ(recording().messages.shown[0].text, "ASCII file not found");
    EXPECT_EQ(recording().messages.shown[1].title, "EXPORT NOT COMPLETE")
        << "never reported as exported";
    EXPECT_EQ(dir.read("Logs/[AB12].log"), ("\n\r" + line + "\r\n").toLocal8Bit());
    EXPECT_FALSE(dir.exists("Ascii/AB12.asc"));
    EXPECT_EQ(dir.read("Ascii/[AB12].txt"), "[AB12],0.51230,57.3,\r\n") << "the rest goes on";
    EXPECT_EQ(recording().batches.started.size(), 1u);
    EXPECT_EQ(recording().programEnd.endCount, 1);
}

TEST_F(AsciiExportRunTest, AnAsciiFolderThatIsTheProgramFolderIsRefusedAndTheExportGoesOn) {
    const QByteArray source = "A 1\r\n" + kBlock + "A 2\r\n";
    dir.write("AB12.asc", source);
    window().AsciiExportOn = true;
    window().TxtACExport->setText(dir.path());
    ASSERT_EQ(exportStone(), ExportOutcome::Completed);

    EXPECT_EQ(dir.read("AB12.asc"), source);
    ASSERT_EQ(recording().messages.shown.size(), 2u);
    EXPECT_EQ(recording().messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(
        recording().messages.shown[0].text.endsWith(".....ASCII File not Exported ........"));
    EXPECT_EQ(recording().messages.shown[1].title, "EXPORT NOT COMPLETE");
    EXPECT_EQ(dir.read("AB12.txt"), "AB12,0.51230,57.3,\r\n") << "the rest goes on";
    EXPECT_TRUE(dir.exists("Logs/AB12.log"));
    EXPECT_EQ(recording().batches.started.size(), 1u);
    EXPECT_EQ(recording().programEnd.endCount, 1);
}

} // namespace
} // namespace tav
