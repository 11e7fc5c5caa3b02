#include "app/FrmStoneID.h"
#include "app/ScanStatus.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace tav {
namespace {

const QColor blue(0, 0, 255);
const QColor green(0, 255, 0);
const QColor darkGreen(0, 180, 0);
const QColor notBuiltRed(200, 0, 0);
const QColor girdleGrey(108, 108, 108);
const QColor girdleGreen(100, 255, 100);
const QColor white(255, 255, 255);
const QColor red(255, 0, 0);

const QString badModelAdvice = QStringLiteral("The model has big errors -- If required ,Clean the "
                                              "stone & Rescan.....");
const QString girdleDustAdvice =
    QStringLiteral("Check the Dust on Girdle ...If required Clean the stone & ReScan.");
const QString girdleDustCaption =
    QStringLiteral("mkmCheck the Dust on Girdle ..If required ,Clean the stone & Rescan.....");
const QString keyFileGirdleAdvice =
    QStringLiteral("Try to remove Girdle Deviation Warnings......\n\rClose This "
                   "Windows.......Clean the stone ... \n\rTRY TO RESCAN - If not Succesful "
                   "Save the MMD ");

struct StatusCase {
    const char* name;
    QString status;
    QString keyFileGirdle;
    QString testFileGirdle;
    ScanStatusDisplay expected;
};

TEST(ScanStatusDisplayTest, RewritesColoursAndExplainsEveryStatus) {
    const std::vector<StatusCase> cases = {
        {"small errors read as built correctly",
         "The model has small errors",
         "",
         "",
         {"The model is built correctly", "The model has small errors -- ", blue, std::nullopt,
          false, std::nullopt}},
        {"medium errors read as negligible",
         "The model has medium errors",
         "",
         "",
         {"The model has negligible errors", "The model has medium errors -- ", green, std::nullopt,
          false, std::nullopt}},
        {"big errors give the bad-model notice",
         "The model has big errors",
         "",
         "",
         {"Check && confirm the Wireframe ", badModelAdvice, white, red, true, badModelAdvice}},
        {"built correctly as the scanner says it",
         "The model is built correctly",
         "",
         "",
         {"The model is built correctly", "The model has small errors -- ", blue, std::nullopt,
          false, std::nullopt}},
        {"negligible errors as the scanner says it",
         "The model has negligible errors",
         "",
         "",
         {"The model has negligible errors", "The model has medium errors -- ", green, std::nullopt,
          false, std::nullopt}},
        {"built badly as the scanner says it",
         "The model is built badly",
         "",
         "",
         {"Check && confirm the Wireframe ", badModelAdvice, white, red, true, badModelAdvice}},
        {"noncritical errors",
         "The model has noncritical errors",
         "",
         "",
         {"The model has noncritical errors", "The model has noncritical errors", darkGreen,
          std::nullopt, false, std::nullopt}},
        {"not built, with its trailing blank",
         "The model is not built ",
         "",
         "",
         {"The model is not built ", "The model is not built ", notBuiltRed, std::nullopt, false,
          std::nullopt}},
        // Mended: the INI reader drops the trailing blank of an unquoted line, and the
        // worst status still shows red.
        {"not built as an unquoted line reads, without the trailing blank",
         "The model is not built",
         "",
         "",
         {"The model is not built", "The model is not built", notBuiltRed, std::nullopt, false,
          std::nullopt}},
        {"small errors quoted with a trailing blank",
         "The model has small errors  ",
         "",
         "",
         {"The model is built correctly", "The model has small errors -- ", blue, std::nullopt,
          false, std::nullopt}},
        {"built badly quoted with a trailing blank",
         "The model is built badly ",
         "",
         "",
         {"Check && confirm the Wireframe ", badModelAdvice, white, red, true, badModelAdvice}},
        {"a leading blank is no status",
         " The model is not built",
         "",
         "",
         {" The model is not built", " The model is not built", std::nullopt, std::nullopt, false,
          std::nullopt}},
        {"girdle deviation of the key file",
         "The model has small errors",
         "12.5",
         "",
         {"The model has small errors - Girdle Deviation : 12.5 mkm", keyFileGirdleAdvice,
          girdleGrey, std::nullopt, false, std::nullopt}},
        {"girdle deviation of test.txt on a not-built model",
         "The model is not built ",
         "",
         "40",
         {"The model is not built  - Grd-Dev: 40 " + girdleDustCaption, girdleDustAdvice,
          girdleGreen, white, true, girdleDustAdvice}},
        {"girdle deviation of test.txt on a blue status",
         "The model has small errors",
         "",
         "7",
         {"The model is built correctly - Grd-Dev: 7 " + girdleDustCaption, girdleDustAdvice,
          girdleGreen, white, true, girdleDustAdvice}},
        {"girdle deviation of test.txt on an uncoloured status",
         "Scan interrupted",
         "",
         "7",
         {"Scan interrupted - Grd-Dev: 7 " + girdleDustCaption, girdleDustAdvice, girdleGreen,
          white, true, girdleDustAdvice}},
        {"bad model and girdle deviation together",
         "The model has big errors",
         "",
         "3.25",
         {"Check && confirm the Wireframe  - Grd-Dev: 3.25 " + girdleDustCaption, girdleDustAdvice,
          girdleGreen, white, true, girdleDustAdvice}},
        {"both girdle deviations stop the rewrite",
         "The model has big errors",
         "3",
         "4",
         {"The model has big errors - Girdle Deviation : 3 mkm - Grd-Dev: 4 " + girdleDustCaption,
          girdleDustAdvice, girdleGreen, white, true, girdleDustAdvice}},
        {"other letter case is not rewritten",
         "the model has small errors",
         "",
         "",
         {"the model has small errors", "the model has small errors", std::nullopt, std::nullopt,
          false, std::nullopt}},
        {"empty status", "", "", "", {"", "", std::nullopt, std::nullopt, false, std::nullopt}},
        {"unknown status",
         "Scan interrupted",
         "",
         "",
         {"Scan interrupted", "Scan interrupted", std::nullopt, std::nullopt, false, std::nullopt}},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ScanStatusDisplay shown =
            scanStatusDisplay(c.status, c.keyFileGirdle, c.testFileGirdle);
        EXPECT_EQ(shown.caption, c.expected.caption);
        EXPECT_EQ(shown.toolTip, c.expected.toolTip);
        EXPECT_EQ(shown.background, c.expected.background);
        EXPECT_EQ(shown.foreground, c.expected.foreground);
        EXPECT_EQ(shown.adviceVisible, c.expected.adviceVisible);
        EXPECT_EQ(shown.adviceCaption, c.expected.adviceCaption);
    }
}

class ScanStatusWindowTest : public ::testing::Test {
protected:
    ScanStatusWindowTest()
        : platform(recording.platform()), window(folder.folder(), platform, program) {}

    test::TempProgramFolder folder;
    test::RecordingPlatform recording;
    Platform platform;
    ProgramWide program;
    FrmStoneID window;
};

TEST_F(ScanStatusWindowTest, ShowsTheBadModelAndTheGirdleOfTestTxtOnBothLabels) {
    folder.writeLines("Test.txt", {"[NumericalParameters]", "STONE_ID = S-1",
                                   "MODEL_BUILDING_GIRDLE_ERR_VALUE_1 = 18"});
    // The key file names every key after its table, so its girdle value is never found.
    folder.writeLines("test_export.txt",
                      {"[NumericalParameters]", "Model.MODEL_BUILDING_GIRDLE_ERR_VALUE_1 = 99"});
    window.Msg_1->setCaption(QStringLiteral("The model has big errors"));

    showScanStatus(window);

    const QString caption = "Check && confirm the Wireframe  - Grd-Dev: 18 " + girdleDustCaption;
    EXPECT_EQ(window.Msg_1->caption(), caption);
    EXPECT_EQ(window.Msg_1->text(), CaptionLabel::displayText(caption));
    EXPECT_TRUE(
        window.Msg_1->text().startsWith("Check & confirm the Wireframe  - Grd-Dev: 18 mkm"));
    EXPECT_EQ(window.Msg_1->toolTip(), girdleDustAdvice);
    EXPECT_EQ(window.Msg_1->background(), girdleGreen);
    EXPECT_EQ(window.Msg_1->foreground(), white);
    EXPECT_FALSE(window.Msg_11->isHidden());
    EXPECT_EQ(window.Msg_11->caption(), girdleDustAdvice);
    EXPECT_TRUE(window.program.ExportWarningFlag == 0);
    EXPECT_TRUE(window.msgb1->text().isEmpty());
}

TEST_F(ScanStatusWindowTest, AnUncolouredStatusKeepsTheDesignedLookAndHidesTheAdvice) {
    folder.writeLines("test.txt", {"[NumericalParameters]", "STONE_ID = S-1"});
    const QColor designedText = window.Msg_1->foreground();
    window.Msg_1->setCaption(QStringLiteral("the model has small errors"));

    showScanStatus(window);

    EXPECT_EQ(window.Msg_1->caption(), "the model has small errors");
    EXPECT_EQ(window.Msg_1->toolTip(), "the model has small errors");
    EXPECT_EQ(window.Msg_1->background(), CaptionLabel::designedBackground());
    EXPECT_EQ(window.Msg_1->foreground(), designedText);
    EXPECT_TRUE(window.Msg_11->isHidden());
    EXPECT_EQ(window.Msg_11->caption(), "STATUS MESSAGE");
}

// Mended: the INI reader trims the trailing blank of an unquoted line, as the Windows
// one does; the worst status reads red whether the scanner quoted its text or not.
TEST_F(ScanStatusWindowTest, NotBuiltShowsRedFromAQuotedAndAnUnquotedLine) {
    for (const QString& value : {QStringLiteral("The model is not built "),
                                 QStringLiteral("\"The model is not built \"")}) {
        SCOPED_TRACE(value.toStdString());
        folder.writeLines("test.txt", {"[NumericalParameters]", "STONE_ID = S-1",
                                       "MODEL_BUILDING_ERROR_STATUS = " + value});
        window.Msg_1->setCaption(window.GetString(
            "NumericalParameters", "MODEL_BUILDING_ERROR_STATUS", window.testFile()));

        showScanStatus(window);

        EXPECT_TRUE(window.Msg_1->caption().startsWith("The model is not built"));
        EXPECT_EQ(window.Msg_1->background(), notBuiltRed);
        EXPECT_EQ(window.Msg_1->foreground(), white);
        window.Msg_1->resize(300, 40);
        const QImage shown = window.Msg_1->grab().toImage();
        EXPECT_EQ(shown.pixelColor(1, 1), notBuiltRed);
    }
}

// Where only the background is set, the text takes the colour that reads on it; the
// text colours that the display sets itself stay.
TEST_F(ScanStatusWindowTest, TheStatusTextReadsOnItsBackground) {
    const QColor black(0, 0, 0);
    const struct {
        const char* name;
        QString status;
        QStringList keyFile; // lines after the section
        QString testFileGirdle;
        QColor background;
        QColor text;
    } cases[] = {
        {"built correctly", "The model has small errors", {}, "", blue, white},
        {"negligible errors", "The model has medium errors", {}, "", green, black},
        {"noncritical errors", "The model has noncritical errors", {}, "", darkGreen, black},
        {"not built", "The model is not built ", {}, "", notBuiltRed, white},
        {"girdle deviation of the key file",
         "The model has small errors",
         {"MODEL_BUILDING_GIRDLE_ERR_VALUE_1 = 12"},
         "",
         girdleGrey,
         white},
        {"bad model", "The model has big errors", {}, "", white, red},
        {"girdle deviation of test.txt", "The model has small errors", {}, "7", girdleGreen, white},
        {"no colour for the status",
         "Scan interrupted",
         {},
         "",
         CaptionLabel::designedBackground(),
         black},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempProgramFolder own;
        FrmStoneID fresh(own.folder(), platform, program);
        QStringList scan = {"[NumericalParameters]", "STONE_ID = S-1"};
        if (!c.testFileGirdle.isEmpty())
            scan.append("MODEL_BUILDING_GIRDLE_ERR_VALUE_1 = " + c.testFileGirdle);
        own.writeLines("test.txt", scan);
        own.writeLines("test_export.txt", QStringList{"[NumericalParameters]"} + c.keyFile);
        fresh.Msg_1->setCaption(c.status);

        showScanStatus(fresh);

        EXPECT_EQ(fresh.Msg_1->background(), c.background);
        EXPECT_EQ(fresh.Msg_1->foreground(), c.text);
        EXPECT_EQ(fresh.Msg_1->palette().color(QPalette::WindowText), c.text);
    }
}

} // namespace
} // namespace tav
