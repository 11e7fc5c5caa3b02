#include "export/ExportFixture.h"

#include "app/VbColor.h"
#include "platform/Database.h"

#include <ostream>

namespace tav {
namespace {

// As much as a damaged or hostile file can hold in one line: the export once stalled
// for most of a minute laying out such a name in its closing box, and wrote it whole
// into the problem log.
QString huge(char16_t c) {
    return QString(2 * 1024 * 1024, QChar(c));
}

// Every line that a box or the status line shows can be read.
constexpr qsizetype kReadableLine = 400;

class ReadableTextsTest;

// A name or value from a file, grown past reading, and how the export ends with it.
struct LongTextCase {
    const char* name;
    void (*setUp)(ReadableTextsTest&);
    ExportOutcome outcome;
    const char* boxTitle; // the one box shown, or none
};

void PrintTo(const LongTextCase& c, std::ostream* out) {
    *out << c.name;
}

class ReadableTextsTest : public test::ExportFixture,
                          public ::testing::WithParamInterface<LongTextCase> {
public:
    using test::ExportFixture::dir;
    using test::ExportFixture::path;
    using test::ExportFixture::startRun;
    using test::ExportFixture::writeScan;

    void runSql(const QString& statement) {
        const auto database = Database::openExisting(path("Reports.mdb"));
        ASSERT_TRUE(database);
        ASSERT_TRUE(database->exec(statement)) << statement.left(80).toStdString();
    }

    static void expectReadable(const QString& shown, const QString& where) {
        for (const QString& line : shown.split(u'\n'))
            EXPECT_LE(line.size(), kReadableLine)
                << where.toStdString() << ": " << line.left(80).toStdString();
    }
};

// Mended: a name or value from a file went into the boxes and the status line whole.
TEST_P(ReadableTextsTest, ANameFromAFileIsCutWhereItIsShownAndTheExportGoesOn) {
    GetParam().setUp(*this);

    ASSERT_EQ(exportStone(), GetParam().outcome);

    FrmStoneID& w = window();
    expectReadable(w.msgb1->text(), "status line");
    expectReadable(w.Text_ok->text(), "verdict");
    const auto& boxes = recording().messages.shown;
    ASSERT_EQ(boxes.size(), GetParam().boxTitle ? 1u : 0u);
    for (const test::ShownMessage& box : boxes) {
        EXPECT_EQ(box.title, GetParam().boxTitle);
        expectReadable(box.text, box.title);
    }
    if (GetParam().outcome == ExportOutcome::Completed) {
        EXPECT_EQ(recording().programEnd.endCount, 1);
        if (w.txtStoneID->text() == "AB12") {
            EXPECT_TRUE(dir.read("Export/AB12.txt").startsWith("AB12,"));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadableTextsTest,
    ::testing::Values(
        LongTextCase{"TableNamedInTestSetting",
                     [](ReadableTextsTest& t) {
                         t.dir.writeLines("testSetting.txt", {"T", huge(u'G'), "UserData"});
                     },
                     ExportOutcome::Completed, "EXPORT NOT COMPLETE"},
        LongTextCase{"VerdictOfTheWeightLimits",
                     [](ReadableTextsTest& t) {
                         t.runSql("UPDATE Weight_Limits SET YellowMessage = '" + huge(u'Y') + "'");
                         t.writeScan("AB12", "0.5023");
                     },
                     ExportOutcome::Completed, nullptr},
        // A weight of 1000 carats or more is taken for a reading that lost its "0.".
        LongTextCase{
            "WeightOfTheScan",
            [](ReadableTextsTest& t) { t.startRun().txtRealWgt->setText("5123" + huge(u'g')); },
            ExportOutcome::Completed, nullptr},
        // The semi-polished template of a shape the database lists but does not hold.
        LongTextCase{"TemplateTableOfTheDatabase",
                     [](ReadableTextsTest& t) {
                         const QString shape(20000, u'F');
                         t.runSql("CREATE TABLE \"Template_GIA" + shape + "\" (A, B, C)");
                         t.writeScan("AB12", "0.5123", "1");
                         t.startRun().cboShape->setEditText(shape);
                     },
                     ExportOutcome::ProgramEnded, "TEMPLATE NOT DEFINED"},
        LongTextCase{"LogFolderOfHyperParam",
                     [](ReadableTextsTest& t) {
                         t.writeScan("AB12", "0.5023");
                         t.startRun().LogFolder = t.path("Logs/") + huge(u'L');
                     },
                     ExportOutcome::Completed, "EXPORT NOT COMPLETE"},
        // The field keeps 32767 characters of it: too long for a file name, the export
        // names the files that could not be written.
        LongTextCase{"StoneIdOfTheScan",
                     [](ReadableTextsTest& t) { t.startRun().txtStoneID->setText(huge(u'S')); },
                     ExportOutcome::Left, "STONE ID NOT VALID"},
        LongTextCase{
            "StoneIdThatCanNotNameAFile",
            [](ReadableTextsTest& t) { t.startRun().txtStoneID->setText("../" + huge(u'S')); },
            ExportOutcome::Left, "STONE ID NOT VALID"}),
    [](const ::testing::TestParamInfo<LongTextCase>& info) { return info.param.name; });

// The files keep what the program writes: the stone's files the whole verdict, the
// problem log the status line as shown.
TEST_F(ReadableTextsTest, TheExportFilesKeepTheWholeValue) {
    const QString verdict = huge(u'Y');
    runSql("UPDATE Weight_Limits SET YellowMessage = '" + verdict + "'");
    runSql("INSERT INTO Template_GIA VALUES ('GIA_WGT_MESSAGE', 'Verdict', -1)");
    writeScan("AB12", "0.5023");
    startRun();

    ASSERT_EQ(exportStone(), ExportOutcome::Completed);

    EXPECT_EQ(window().Text_ok->backColor(), vbYellow);
    EXPECT_TRUE(dir.read("Export/AB12.txt").contains(verdict.toLatin1()));
    const QByteArray log = dir.read("Logs/AB12.log");
    EXPECT_EQ(log, window().msgb1->text().toLatin1() + "\r\n");
    EXPECT_LT(log.size(), 1000);
}

} // namespace
} // namespace tav
