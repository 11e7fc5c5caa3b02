#include "app/StartUp.h"

#include "app/FrmStoneID.h"
#include "app/VbColor.h"
#include "support/BenchLocale.h"
#include "support/RecordingPlatform.h"
#include "support/SampleFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tav {
namespace {

// Start-up on the sample program folder, with one window made on first use.
class StartUpTest : public test::SampleFolderTest {
protected:
    FrmStoneID& window() {
        if (!window_)
            window_ = std::make_unique<FrmStoneID>(dir.folder(), services, program);
        return *window_;
    }
    StartUpOutcome start() { return Form_Load(window()); }
    // The run ends: its window goes, and with it its hold on the program folder.
    void endRun() { window_.reset(); }
    void setSetting(int line, const QString& text) {
        test::setLine(dir, "ExportPa.txt", line, text);
    }
    void setScan(const QString& key, const QString& value) { test::setScanKey(dir, key, value); }

private:
    std::unique_ptr<FrmStoneID> window_;
};

TEST_F(StartUpTest, SampleStoneIsShownWithItsStatusAndPictures) {
    FrmStoneID& w = window();
    ASSERT_EQ(start(), StartUpOutcome::Waiting);
    EXPECT_EQ(recording.programEnd.endCount, 0);
    EXPECT_EQ(w.txtStoneID->text(), "K7-10482");
    EXPECT_EQ(w.txtRealWgt->text(), "0.512");
    EXPECT_EQ(w.TxtHP_Wgt->text(), "0.5131");
    EXPECT_EQ(w.cboShape->currentText(), "Brilliant");
    EXPECT_EQ(w.Msg_1->caption(), "The model is built correctly");
    EXPECT_EQ(w.TxtRepID->text(), recording.environment.user);
    EXPECT_TRUE(w.windowTitle().startsWith("TAVIX EXPORT UTILITY Ver:1.0.0.DTD : "));
    EXPECT_TRUE(recording.messages.shown.empty());
    EXPECT_FALSE(w.Image1[0]->picture().isNull());
    EXPECT_FALSE(w.Image1[1]->picture().isNull());
    EXPECT_TRUE(dir.exists("Export/Images/K7-10482/Hearts.jpg"));
    EXPECT_TRUE(dir.exists("test_export.txt"));

    // What the operator sees: the stone, the weight and the blue "built correctly".
    w.resize(1000, 760);
    w.show();
    const QImage shot = w.grab().toImage();
    const QRect status(w.Msg_1->mapTo(&w, QPoint(0, 0)), w.Msg_1->size());
    EXPECT_EQ(shot.pixelColor(status.left() + 3, status.top() + 3), QColor(0, 0, 255));
    EXPECT_FALSE(w.txtStoneID->grab().toImage().isNull());
}

TEST_F(StartUpTest, MissingRequiredFileEndsTheProgramAfterItsMessage) {
    const struct {
        QStringList missing;
        const char* message;
        const char* title;
    } cases[] = {
        {{"Reports.mdb"},
         "Reports.mdb file does not exist  - Can not proceed further....",
         "REPORTS.MDB ABSENT"},
        {{"ExportPa.txt"},
         "ExportPa.txt file does not exist  - Can not proceed further....",
         "EXPORTPA.TXT ABSENT"},
        {{"HyperParam.txt", "test.txt"},
         "HyperParam.txt file does not exist  - Can not proceed further....",
         "HYPERPARAM.TXT ABSENT"},
        {{"test.txt"},
         "test.txt file does not exist  - Re Scan the stone and Repeat....",
         "TEST.TXT NOT FOUND"},
    };
    for (const auto& c : cases) {
        test::TempProgramFolder folder;
        test::copySampleFolder(folder);
        for (const QString& name : c.missing)
            QFile::remove(folder.filePath(name));
        test::RecordingPlatform doubles;
        Platform platform = doubles.platform();
        ProgramWide wide;
        FrmStoneID w(folder.folder(), platform, wide);
        EXPECT_EQ(Form_Load(w), StartUpOutcome::ProgramEnded) << c.title;
        // The key file is built first, and it has a box of its own for a missing database.
        const std::size_t keyFileBox = c.missing[0] == "Reports.mdb" ? 1 : 0;
        ASSERT_EQ(doubles.messages.shown.size(), keyFileBox + 1) << c.title;
        if (keyFileBox) {
            EXPECT_EQ(doubles.messages.shown[0].text, "Report File does not Exists");
        }
        const test::ShownMessage& box = doubles.messages.shown.back();
        EXPECT_EQ(box.text, c.message);
        EXPECT_EQ(box.title, c.title);
        EXPECT_EQ(box.icon, MessageIcon::Critical);
        EXPECT_EQ(doubles.programEnd.endCount, 1);
        EXPECT_EQ(w.LoadingGuard, 0) << "nothing after the check runs";
    }
}

TEST_F(StartUpTest, ListsAndCaptionsComeFromTheUserFiles) {
    dir.writeLines("UserDat.txt", {"D,E,,F,", "IF,VVS1"});
    dir.writeLines("UserDat_name.txt", {"Colour", "Clarity grade", "", "Polish grade"});
    FrmStoneID& w = window();
    start();
    ASSERT_EQ(w.cbColor->count(), 5);
    EXPECT_EQ(w.cbColor->itemText(2), "");
    EXPECT_EQ(w.cbColor->itemText(4), "");
    EXPECT_EQ(w.cbClarity->count(), 2);
    EXPECT_EQ(w.cboShape->count(), 0);
    EXPECT_EQ(w.Label6[5]->text(), "Colour");
    EXPECT_EQ(w.Label12->text(), "Clarity grade");
    EXPECT_EQ(w.Label11->text(), "");
    EXPECT_EQ(w.Label17->text(), "Polish grade");
    EXPECT_EQ(w.Label2->text(), "STONE ID");
    EXPECT_TRUE(w.windowTitle().startsWith("TAVIX EXPORT UTILITY Ver:"));
    EXPECT_EQ(w.CBOFORMAT->count(), 4);
    EXPECT_EQ(w.CBODECIMAL->itemText(5), "Auto");
    // No shape list: the cutting type is found nowhere.
    ASSERT_EQ(recording.messages.shown.size(), 1u);
    EXPECT_EQ(recording.messages.shown[0].title, "SHAPE NOT PRESENT");
}

TEST_F(StartUpTest, WindowTitleFromTheTwelfthNameLine) {
    QStringList names(11, "x");
    names.append("LAB BENCH 3");
    dir.writeLines("UserDat_name.txt", names);
    FrmStoneID& w = window();
    start();
    EXPECT_TRUE(w.windowTitle().startsWith("LAB BENCH 3 Ver:1.0.0.DTD : "));
}

// The program file's date and time in the caption in the forms of the bench's settings,
// as its `date` prints the file's time.
TEST_F(StartUpTest, TheCaptionShowsTheProgramDateInTheBenchsForms) {
    const test::BenchLocale belgian(TAV_BELGIAN_LOCALE);
    FrmStoneID& w = window();
    start();
    const QString fileTime =
        test::dateCommand({"-r", QCoreApplication::applicationFilePath(), "+%x %X"});
    EXPECT_EQ(w.windowTitle(), "TAVIX EXPORT UTILITY Ver:1.0.0.DTD : " + fileTime);
}

TEST_F(StartUpTest, LastUserDataRowFillsTheFieldsAndANullLeavesItsField) {
    dir.createDatabase("Reports.mdb",
                       {"DELETE FROM UserData",
                        "INSERT INTO UserData (ID, COLOR, LOT) VALUES (101, 'D', 'K1')",
                        "INSERT INTO UserData (ID, COLOR, CLARITY, LOT, OPERATOR, ShapeName, "
                        "SYMMETRY) VALUES (101, NULL, 'SI1', 'K9', 'Ravi', 'Pear', 'VG')"});
    FrmStoneID& w = window();
    w.cbColor->setCurrentText("before");
    start();
    EXPECT_EQ(w.cbColor->currentText(), "D") << "the last row's Null leaves the earlier text";
    EXPECT_EQ(w.cbClarity->currentText(), "SI1");
    EXPECT_EQ(w.TxtLotno->text(), "K9");
    EXPECT_EQ(w.SavedLotNo, "K9");
    EXPECT_EQ(w.CbSym->currentText(), "VG");
    EXPECT_EQ(w.TxtRepID->text(), recording.environment.user);
    // ExportPa.txt line 23 comes after the row.
    EXPECT_EQ(w.txtOperator->text(), "Asha");
}

// The operator goes through the boxes: each takes the focus and Enter, then loses it.
void visitEveryBox(FrmStoneID& w, const std::vector<QComboBox*>& boxes) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    for (QComboBox* box : boxes) {
        box->lineEdit()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    }
    w.TxtLotno->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
}

TEST_F(StartUpTest, TheListsChooseNothingAndTheBoxesShowOnlyWhatWasSet) {
    const struct {
        const char* name;
        QStringList statements; // on the sample's Reports.mdb
        const char* cuttingType;
        QStringList texts; // colour, clarity, fluorescence, polish, symmetry, shape
        bool shapeBox;
    } cases[] = {
        {"the sample row", {}, "Brilliant", {"G", "VS1", "None", "EX", "EX", "Brilliant"}, false},
        {"colour and clarity Null",
         {"UPDATE UserData SET COLOR = NULL, CLARITY = NULL"},
         "Brilliant",
         {"", "", "None", "EX", "EX", "Brilliant"},
         false},
        {"no UserData row",
         {"DELETE FROM UserData"},
         "Brilliant",
         {"", "", "", "", "", "Brilliant"},
         false},
        // Position 6 is OPERATOR there, and it is Null.
        {"a standard table and a cutting type not in the list",
         test::standardUserDataTable(),
         "Trillion",
         {"G", "VS1", "None", "", "", ""},
         true},
        {"shape name Null and a cutting type not in the list",
         {"UPDATE UserData SET ShapeName = NULL"},
         "Trillion",
         {"G", "VS1", "None", "EX", "EX", ""},
         true},
        {"texts that differ from list items only in case",
         {"UPDATE UserData SET COLOR = 'g', SYMMETRY = 'ex', ShapeName = 'pear'"},
         "Trillion",
         {"g", "VS1", "None", "EX", "ex", "pear"},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::SampleWindow sample(c.statements, c.cuttingType);
        FrmStoneID& w = *sample.window;
        const test::RecordingPlatform& doubles = sample.doubles;
        ASSERT_EQ(Form_Load(w), StartUpOutcome::Waiting);
        ASSERT_EQ(w.cbColor->count(), 8) << "the lists are filled";
        ASSERT_EQ(w.cboShape->count(), 9);
        ASSERT_EQ(w.CbSym->count(), 5);
        ASSERT_TRUE(w.CbSym->isEnabled()) << "the sample allows editing";
        EXPECT_EQ(doubles.messages.shown.size(), c.shapeBox ? 1u : 0u);
        if (c.shapeBox) {
            EXPECT_EQ(doubles.messages.shown[0].title, "SHAPE NOT PRESENT");
        }

        const std::vector<QComboBox*> boxes{w.cbColor, w.cbClarity, w.cbFlaurosance, w.cbPolish,
                                            w.CbSym,   w.cboShape,  w.CBOFORMAT,     w.CBODECIMAL};
        // Joined, so that a failure reads as the texts themselves.
        const std::string expected = (c.texts + QStringList{"Row", "2"}).join(" | ").toStdString();
        const auto texts = [&] {
            QStringList shown;
            for (QComboBox* box : boxes)
                shown.append(box->currentText());
            return shown.join(" | ").toStdString();
        };
        EXPECT_EQ(texts(), expected) << "after start-up";
        visitEveryBox(w, boxes);
        EXPECT_EQ(texts(), expected) << "after the focus and Enter went through the boxes";
    }
}

TEST_F(StartUpTest, LayoutAndDecimalsShowOnlyTheirSettingsLines) {
    const struct {
        const char* name;
        std::optional<QStringList> lines8And9; // none: the file ends before line 8
        std::array<std::string, 2> shown;
    } cases[] = {
        {"set", QStringList{"Col", "3"}, {"Col", "3"}},
        {"not in the lists", QStringList{"Wide", "7"}, {"Wide", "7"}},
        {"empty", QStringList{"", ""}, {"", ""}},
        {"missing", std::nullopt, {"", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::SampleWindow sample;
        const test::TempProgramFolder& folder = sample.folder;
        if (c.lines8And9) {
            test::setLine(folder, "ExportPa.txt", 8, c.lines8And9->at(0));
            test::setLine(folder, "ExportPa.txt", 9, c.lines8And9->at(1));
        } else {
            const QStringList lines =
                QString::fromLatin1(folder.read("ExportPa.txt")).split("\r\n");
            folder.writeLines("ExportPa.txt", lines.mid(0, 7));
        }
        FrmStoneID& w = *sample.window;
        Form_Load(w);
        ASSERT_EQ(w.CBOFORMAT->count(), 4);
        ASSERT_EQ(w.CBODECIMAL->count(), 6);
        EXPECT_EQ(w.CBOFORMAT->currentText().toStdString(), c.shown[0]);
        EXPECT_EQ(w.CBODECIMAL->currentText().toStdString(), c.shown[1]);
    }
}

TEST_F(StartUpTest, PresetStoneIdShowsEvenWhenBlanking) {
    const struct {
        const char* blank;
        const char* preset;
        const char* shown;
    } cases[] = {
        {"1", "P-77", "P-77"}, {"1", "0", ""},        {"0", "0", "K7-10482"},
        {"0", "", "K7-10482"}, {"0", "P-78", "P-78"},
    };
    for (const auto& c : cases) {
        test::TempProgramFolder folder;
        test::copySampleFolder(folder);
        test::setLine(folder, "ExportPa.txt", 20, c.blank);
        test::setLine(folder, "ExportPa.txt", 24, c.preset);
        test::RecordingPlatform doubles;
        Platform platform = doubles.platform();
        ProgramWide wide;
        FrmStoneID w(folder.folder(), platform, wide);
        Form_Load(w);
        EXPECT_EQ(w.txtStoneID->text(), c.shown) << c.blank << " " << c.preset;
        EXPECT_EQ(w.SavedStoneId, "K7-10482");
        EXPECT_EQ(w.txtRealWgt->text(), QString(c.blank) == "1" ? "" : "0.512");
    }
}

TEST_F(StartUpTest, CopyAndQuitCopiesTheScanStartsTheBatchAndEnds) {
    setSetting(25, "1");
    setSetting(4, "125");
    FrmStoneID& w = window();
    EXPECT_EQ(start(), StartUpOutcome::ProgramEnded);
    // Unlike the export's files, the id is followed directly by the system number.
    const QString copy = "Export/K7-10482/K7-10482125";
    EXPECT_EQ(dir.read(copy), dir.read("test.txt"));
    EXPECT_EQ(QDir(dir.filePath("Export/K7-10482")).entryList(QDir::Files),
              QStringList{"K7-10482125"});
    ASSERT_EQ(recording.batches.started.size(), 1u);
    EXPECT_TRUE(recording.batches.started[0].file.endsWith("Transfer_files.bat"));
    EXPECT_EQ(QDir(recording.batches.started[0].workingFolder).canonicalPath(),
              QDir(dir.filePath("Export")).canonicalPath());
    EXPECT_EQ(recording.programEnd.endCount, 1);
    EXPECT_EQ(w.TxtHP_Wgt->text(), "") << "nothing after copy-and-quit runs";
    EXPECT_FALSE(dir.exists("winpos_TAV.txt"));
}

TEST_F(StartUpTest, CopyAndQuitIntoAMissingFolderIsReportedAndTheProgramStays) {
    setSetting(25, "1");
    setSetting(1, dir.filePath("NoSuchFolder"));
    FrmStoneID& w = window();
    EXPECT_EQ(start(), StartUpOutcome::Waiting);
    EXPECT_EQ(recording.programEnd.endCount, 0);
    EXPECT_TRUE(recording.batches.started.empty());
    ASSERT_FALSE(recording.messages.shown.empty());
    EXPECT_EQ(recording.messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(w.TxtHP_Wgt->text(), "0.5131");
}

// The "?"s of a folder or system number read back from the settings file stand for
// characters it lost: no copy lands in such a folder or file, not even where an earlier
// program made the folder.
TEST_F(StartUpTest, CopyAndQuitIntoANameThatLostCharactersIsReportedAndCopiesNothing) {
    const struct {
        const char* folder;
        const char* systemNumber;
        const char* message;
    } cases[] = {
        {"???????", "125", "Export path Does not exists : "},
        {"Export", "1?5", "test.txt could not be copied to "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        test::SampleWindow sample;
        const test::TempProgramFolder& folder = sample.folder;
        const test::RecordingPlatform& doubles = sample.doubles;
        QDir().mkpath(folder.filePath("???????"));
        test::setLine(folder, "ExportPa.txt", 25, "1");
        test::setLine(folder, "ExportPa.txt", 1, folder.filePath(c.folder));
        test::setLine(folder, "ExportPa.txt", 4, c.systemNumber);
        EXPECT_EQ(Form_Load(*sample.window), StartUpOutcome::Waiting);
        EXPECT_EQ(doubles.programEnd.endCount, 0);
        EXPECT_TRUE(doubles.batches.started.empty());
        ASSERT_FALSE(doubles.messages.shown.empty());
        EXPECT_TRUE(doubles.messages.shown[0].text.startsWith(c.message))
            << doubles.messages.shown[0].text.toStdString();
        EXPECT_EQ(doubles.messages.shown[0].title, "COPY FAILED");
        EXPECT_TRUE(QDir(folder.filePath("???????")).isEmpty());
        EXPECT_FALSE(folder.exists("Export/K7-10482/K7-104821?5"));
    }
}

// Mended: the stone ID of the scan went into the box whole, however long.
TEST_F(StartUpTest, CopyAndQuitShowsAStoneIdLongerThanAnyoneReadsCut) {
    setSetting(25, "1");
    setScan("STONE_ID", QString(2 * 1024 * 1024, u'S'));
    EXPECT_EQ(start(), StartUpOutcome::Waiting);
    ASSERT_EQ(recording.messages.shown.size(), 1u);
    const QString text = recording.messages.shown[0].text;
    EXPECT_TRUE(text.endsWith("SSS...  - Files are NOT transferred...."))
        << text.left(80).toStdString();
    EXPECT_LE(text.size(), 400);
}

TEST_F(StartUpTest, ScannerWeightFallsBackToWeight4Ct) {
    const struct {
        const char* corrected; // nullptr: key missing
        const char* shown;
    } cases[] = {{"0.5131", "0.5131"}, {"0", "0.51"}, {nullptr, "0.51"}, {"n/a", "0.51"}};
    for (const auto& c : cases) {
        setScan("CORRECTED_MASS", c.corrected ? QString(c.corrected) : QString());
        test::RecordingPlatform doubles;
        Platform platform = doubles.platform();
        ProgramWide wide;
        FrmStoneID w(dir.folder(), platform, wide);
        Form_Load(w);
        EXPECT_EQ(w.TxtHP_Wgt->text(), c.shown) << (c.corrected ? c.corrected : "missing");
    }
}

TEST_F(StartUpTest, ShapeMustMatchAListItemExactly) {
    setScan("CUTTING_TYPE", "brilliant");
    FrmStoneID& w = window();
    start();
    ASSERT_EQ(recording.messages.shown.size(), 1u);
    EXPECT_EQ(recording.messages.shown[0].text,
              "This Shape is not present in Template or in the Shape list ...Please select the "
              "Shape manually");
    EXPECT_EQ(recording.messages.shown[0].title, "SHAPE NOT PRESENT");
    EXPECT_EQ(w.cboShape->currentText(), "Brilliant") << "the UserData row's shape stays";
    EXPECT_EQ(w.cboShape->toolTip(), recording.messages.shown[0].text);
    endRun();

    setScan("CUTTING_TYPE", "Radiant");
    test::RecordingPlatform doubles;
    Platform platform = doubles.platform();
    ProgramWide wide;
    FrmStoneID last(dir.folder(), platform, wide);
    Form_Load(last);
    EXPECT_TRUE(doubles.messages.shown.empty());
    EXPECT_EQ(last.cboShape->currentText(), "Radiant");
}

TEST_F(StartUpTest, BalanceIsTriedOnceInManualModeAndTheErrorStays) {
    FrmStoneID& w = window();
    start();
    EXPECT_TRUE(w.AllowManualWeight);
    EXPECT_TRUE(w.Allow->isChecked());
    EXPECT_FALSE(w.txtRealWgt->isReadOnly());
    EXPECT_EQ(program.ExportWarningFlag, -1);
    EXPECT_TRUE(w.msgb1->text().contains(" STOP .... Mettlar Communication Error  !!!! "));
    EXPECT_EQ(w.msgb1->text().count("Mettlar Communication Error"), 1);
}

} // namespace
} // namespace tav

#include "support/PtyPair.h"

#include <QtCore/qtestsupport_core.h>

namespace tav {
namespace {

TEST_F(StartUpTest, BalancePortIsOpenedExactlyOnceInEitherSavedMode) {
    const struct {
        const char* manualLine;
        bool openAfterwards;
    } cases[] = {{"1", false}, {"0", true}};
    for (const auto& c : cases) {
        test::PtyComPort balance(1);
        ASSERT_TRUE(balance.pty.isOpen());
        test::TempProgramFolder folder;
        test::copySampleFolder(folder);
        test::setLine(folder, "ExportPa.txt", 14, c.manualLine);
        test::RecordingPlatform doubles;
        Platform platform = doubles.platform();
        ProgramWide wide;
        FrmStoneID w(folder.folder(), platform, wide);
        ASSERT_EQ(Form_Load(w), StartUpOutcome::Waiting);
        EXPECT_EQ(balance.pty.slaveOpenings(), 1) << c.manualLine;
        EXPECT_EQ(w.MSComm1->PortOpen(), c.openAfterwards) << c.manualLine;
        EXPECT_EQ(w.AllowManualWeight, !c.openAfterwards);
        EXPECT_EQ(w.msgb1->text(), "") << "the balance opened without error";
        EXPECT_EQ(wide.ExportWarningFlag, 0);
    }
}

} // namespace
} // namespace tav

namespace tav {
namespace {

// HyperParam.txt line 12 exports inside the first manual-weight toggle of start-up,
// while the toggle has passed to balance mode: the settings keep the mode as loaded.
TEST_F(StartUpTest, AnExportInsideTheFirstToggleSavesTheManualModeAsLoaded) {
    setSetting(14, "1");
    test::setLine(dir, "HyperParam.txt", 12, "1");
    EXPECT_EQ(start(), StartUpOutcome::ProgramEnded);
    EXPECT_EQ(recording.programEnd.endCount, 1);
    EXPECT_TRUE(dir.exists("Export/K7-10482.txt")) << "the export ran to its end";
    EXPECT_FALSE(dir.exists("test_export.txt"));
    const QStringList lines = QString::fromLatin1(dir.read("ExportPa.txt")).split("\r\n");
    ASSERT_EQ(lines.size(), 27);
    EXPECT_EQ(lines[13], "1");
}

TEST_F(StartUpTest, TheBalanceReplacesTheWeightThatStartUpShows) {
    test::PtyComPort balance(1);
    ASSERT_TRUE(balance.pty.isOpen());
    test::TempProgramFolder folder;
    test::copySampleFolder(folder);
    test::setLine(folder, "ExportPa.txt", 14, "0"); // balance mode
    test::setLine(folder, "ExportPa.txt", 20, "0"); // no blanking
    test::RecordingPlatform doubles;
    Platform platform = doubles.platform();
    ProgramWide wide;
    FrmStoneID w(folder.folder(), platform, wide);
    ASSERT_EQ(Form_Load(w), StartUpOutcome::Waiting);
    ASSERT_TRUE(w.MSComm1->PortOpen());
    ASSERT_EQ(w.txtRealWgt->text(), "0.512");

    ASSERT_TRUE(balance.pty.send("  0.777\r\n"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.txtRealWgt->text() == "0.777\r\n"; }, 5000))
        << w.txtRealWgt->text().toStdString();
    EXPECT_EQ(w.Shape1[0]->fillColor(), vbGreen);
}

} // namespace
} // namespace tav
