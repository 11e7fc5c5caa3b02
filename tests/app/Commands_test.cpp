#include "app/Commands.h"
#include "app/FrmAbout.h"
#include "app/FrmStoneID.h"
#include "scan/Form1.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tav {
namespace {

class CommandsTest : public ::testing::Test {
protected:
    CommandsTest()
        : platform(recording.platform()),
          window(std::make_unique<FrmStoneID>(folder.folder(), platform, program)) {
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Gives the control the focus and presses the key where the focus went (the inner
    // line edit of an editable combo).
    void press(QWidget* control, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        control->setFocus(Qt::OtherFocusReason);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    // The control that has the focus; an editable combo stands for its line edit.
    QWidget* focused() const {
        QWidget* widget = QApplication::focusWidget();
        if (widget && qobject_cast<QComboBox*>(widget->parentWidget()))
            return widget->parentWidget();
        return widget;
    }

    void writeKeyFile() { folder.writeLines("test_export.txt", {"[NumericalParameters]"}); }

    test::TempProgramFolder folder;
    test::RecordingPlatform recording;
    Platform platform;
    ProgramWide program;
    std::unique_ptr<FrmStoneID> window;
    // The export's first phases pause for the UserData row to settle, whatever the
    // folder holds.
    bool exported() const { return !recording.pause.pauses.empty(); }
};

// Visible top-level windows of their own (no transient parent): while one is left, the
// application does not quit on its own.
std::vector<QWindow*> primaryWindowsLeftOpen() {
    std::vector<QWindow*> open;
    for (QWindow* w : QGuiApplication::topLevelWindows())
        if (w->isVisible() && !w->transientParent())
            open.push_back(w);
    return open;
}

TEST_F(CommandsTest, EnterStartsTheExportOrMovesTheFocusOn) {
    FrmStoneID& w = *window;
    struct Case {
        const char* name;
        QWidget* control;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool exports;
        QWidget* focusAfter; // where the focus is afterwards
    };
    const std::vector<Case> cases = {
        {"stone id, Return", w.txtStoneID, Qt::Key_Return, Qt::NoModifier, true, w.txtStoneID},
        {"stone id, keypad Enter", w.txtStoneID, Qt::Key_Enter, Qt::KeypadModifier, true,
         w.txtStoneID},
        {"stone id, shift Return", w.txtStoneID, Qt::Key_Return, Qt::ShiftModifier, true,
         w.txtStoneID},
        {"lot, Return", w.TxtLotno, Qt::Key_Return, Qt::NoModifier, true, w.TxtLotno},
        {"weight, keypad Enter", w.txtRealWgt, Qt::Key_Enter, Qt::KeypadModifier, true,
         w.txtRealWgt},
        // Onward to CBODECIMAL; leaving the layout list sends the focus to the weight.
        {"layout, Return", w.CBOFORMAT, Qt::Key_Return, Qt::NoModifier, false, w.txtRealWgt},
        {"shape, Return", w.cboShape, Qt::Key_Return, Qt::NoModifier, false, w.TxtShape},
        {"shape, shift keypad Enter", w.cboShape, Qt::Key_Enter,
         Qt::ShiftModifier | Qt::KeypadModifier, false, w.TxtShape},
        {"operator, Return", w.txtOperator, Qt::Key_Return, Qt::NoModifier, false,
         w.txtCompanyName},
        {"lens number, Return", w.txtLenNumber, Qt::Key_Return, Qt::NoModifier, false, w.TXTSYMBOL},
        {"system number, Return", w.txtSysnumber, Qt::Key_Return, Qt::NoModifier, false,
         w.TxtFileName},
        {"company, Return", w.txtCompanyName, Qt::Key_Return, Qt::NoModifier, false,
         w.txtCompanyName},
        {"separator, Return", w.TXTSYMBOL, Qt::Key_Return, Qt::NoModifier, false, w.TXTSYMBOL},
        {"bookmark, Return", w.chkbookmark, Qt::Key_Return, Qt::NoModifier, false, w.chkbookmark},
        {"bookmark text, Return", w.Txt_Book, Qt::Key_Return, Qt::NoModifier, false, w.Txt_Book},
        {"colour, Return", w.cbColor, Qt::Key_Return, Qt::NoModifier, false, w.cbColor},
        {"stone id, a letter", w.txtStoneID, Qt::Key_A, Qt::NoModifier, false, w.txtStoneID},
        {"operator, Tab", w.txtOperator, Qt::Key_Tab, Qt::NoModifier, false, w.txtCompanyName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recording.pause.pauses.clear();
        press(c.control, c.key, c.modifiers);
        EXPECT_EQ(exported(), c.exports);
        QWidget* const now = focused();
        EXPECT_EQ(now, c.focusAfter) << (now ? now->objectName().toStdString() : "no focus");
        EXPECT_TRUE(w.isVisible());
    }
}

TEST_F(CommandsTest, LeavingTheLayoutListByClickEndsInTheWeight) {
    FrmStoneID& w = *window;
    w.CBOFORMAT->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(w.txtCompanyName, Qt::LeftButton);
    EXPECT_EQ(focused(), w.txtRealWgt);

    // Other controls hand the focus on as usual.
    QTest::mouseClick(w.txtCompanyName, Qt::LeftButton);
    EXPECT_EQ(focused(), w.txtCompanyName);
}

TEST_F(CommandsTest, OpeningTheLayoutListOrAnotherWindowKeepsTheFocusThere) {
    FrmStoneID& w = *window;
    w.CBOFORMAT->addItems({"Row", "Col", "Col_Row", "Table"});
    w.CBOFORMAT->setFocus(Qt::OtherFocusReason);

    w.CBOFORMAT->showPopup();
    w.CBOFORMAT->hidePopup();
    EXPECT_EQ(focused(), w.CBOFORMAT);

    w.Abou->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.aboutWindow.data()));
    w.aboutWindow->close();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(focused(), w.CBOFORMAT);
}

TEST_F(CommandsTest, EnterReachingTheLineEditOfAComboCountsForTheCombo) {
    window->cboShape->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(window->cboShape->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(focused(), window->TxtShape);
}

TEST_F(CommandsTest, ExportButtonAndMenuStartTheExport) {
    QTest::mouseClick(window->Cmd_OK, Qt::LeftButton);
    EXPECT_EQ(recording.pause.pauses, std::vector<int>{2000});
    window->Expt->trigger();
    EXPECT_EQ(recording.pause.pauses, std::vector<int>({2000, 2000}));
}

TEST_F(CommandsTest, EscFromAComboClosesTheWindowWithItsUnloadSteps) {
    writeKeyFile();
    window->move(120, 80);
    press(window->cbClarity, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(folder.exists("test_export.txt"));
    EXPECT_EQ(folder.read("winpos_TAV.txt").split('\n').first(), " 1800 \r");
    EXPECT_FALSE(exported());
    EXPECT_FALSE(recording.programEnd.hasEnded());
}

TEST_F(CommandsTest, EscFromATextFieldClosesTheWindowToo) {
    press(window->txtStoneID, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(folder.exists("winpos_TAV.txt"));
}

TEST_F(CommandsTest, EscAfterClosingAMenuOnlyLeavesTheMenuBar) {
    folder.writeLines("winpos_TAV.txt", {" 1800 ", " 1200 ", " 9000 ", " 7000 "});
    const QByteArray before = folder.read("winpos_TAV.txt");
    window->txtStoneID->setFocus();
    QMenuBar* bar = window->menuBar();
    bar->setActiveAction(window->Fil->menuAction());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window->Fil));

    QTest::keyClick(window->Fil, Qt::Key_Escape);
    ASSERT_FALSE(window->Fil->isVisible());
    ASSERT_EQ(QApplication::focusWidget(), bar);
    QTest::keyClick(bar, Qt::Key_Escape);

    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(folder.read("winpos_TAV.txt"), before);
    // The menus are left; the next Esc is the window's again.
    EXPECT_EQ(QApplication::focusWidget(), window->txtStoneID);
    QTest::keyClick(window->txtStoneID, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(CommandsTest, FolderButtonsFillTheirFieldUnlessCancelled) {
    FrmStoneID& w = *window;
    struct Case {
        const char* name;
        QPushButton* button;
        QLineEdit* field;
        std::deque<QString> answers;
        QString fieldAfter;
        bool focusToStoneId;
    };
    const std::vector<Case> cases = {
        {"export folder chosen", w.BtnBrowse, w.TxtExport, {"/data/export"}, "/data/export", true},
        {"export folder cancelled", w.BtnBrowse, w.TxtExport, {}, "/old/export", false},
        {"root keeps its separator", w.BtnBrowse, w.TxtExport, {"/"}, "/", true},
        {"ASCII folder chosen", w.Command1, w.TxtACExport, {"/data/ascii"}, "/data/ascii", true},
        {"ASCII folder cancelled", w.Command1, w.TxtACExport, {""}, "/old/export", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.field->setText("/old/export");
        recording.folders.answers = c.answers;
        recording.folders.captions.clear();
        QTest::mouseClick(c.button, Qt::LeftButton);
        EXPECT_EQ(recording.folders.captions, QStringList{"Select a folder"});
        EXPECT_EQ(c.field->text(), QDir::toNativeSeparators(c.fieldAfter));
        // A click gives the button the focus; a chosen folder moves it to the stone ID.
        EXPECT_EQ(focused(), c.focusToStoneId ? w.txtStoneID : static_cast<QWidget*>(c.button));
    }
}

TEST_F(CommandsTest, CancelButtonDeletesTheKeyFileAndClosesWithoutEndingTheProgram) {
    writeKeyFile();
    QTest::mouseClick(window->Cmd_Can, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(folder.exists("test_export.txt"));
    EXPECT_TRUE(folder.exists("winpos_TAV.txt"));
    EXPECT_FALSE(recording.programEnd.hasEnded());
}

TEST_F(CommandsTest, CancelMenuClosesWithTheUnloadSteps) {
    writeKeyFile();
    window->cancc->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(folder.exists("test_export.txt"));
    EXPECT_TRUE(folder.exists("winpos_TAV.txt"));
    EXPECT_FALSE(recording.programEnd.hasEnded());
}

TEST_F(CommandsTest, ClosingWithoutAKeyFileStillSavesThePosition) {
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(folder.exists("winpos_TAV.txt"));
}

TEST_F(CommandsTest, ExitEndsTheProgramEvenWithTheTableWindowAndAboutOpen) {
    writeKeyFile();
    window->seltables->trigger();
    window->Abou->trigger();
    ASSERT_TRUE(window->tableSelectionWindow && window->tableSelectionWindow->isVisible());
    const QPointer<FrmAbout> about = window->aboutWindow;
    ASSERT_TRUE(about && about->isVisible());

    window->exitt->trigger();
    EXPECT_TRUE(recording.programEnd.hasEnded());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->tableSelectionWindow->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());
    EXPECT_FALSE(folder.exists("test_export.txt"));
    EXPECT_TRUE(folder.exists("winpos_TAV.txt"));
}

TEST_F(CommandsTest, ClosingTheMainWindowLeavesNoWindowToKeepTheProgramRunning) {
    struct Case {
        const char* name;
        bool hideTableWindowFirst;
    };
    for (const Case& c : {Case{"table window shown", false}, Case{"table window hidden", true}}) {
        SCOPED_TRACE(c.name);
        window->show();
        window->seltables->trigger();
        Form1* tables = window->tableSelectionWindow;
        ASSERT_NE(tables, nullptr);
        // Generating the key file hides the window but keeps it.
        if (c.hideTableWindowFirst)
            tables->hide();
        window->Abou->trigger();
        const QPointer<FrmAbout> about = window->aboutWindow;

        window->close();
        EXPECT_FALSE(tables->isVisible());
        EXPECT_FALSE(about && about->isVisible());
        EXPECT_TRUE(primaryWindowsLeftOpen().empty());
        // It goes with the main window.
        EXPECT_EQ(tables->parentWidget(), window.get());
        EXPECT_TRUE(tables->isWindow());
    }
}

TEST_F(CommandsTest, TheTableWindowIsOneKeptInstanceBroughtForward) {
    FrmStoneID& w = *window;
    w.seltables->trigger();
    const QPointer<Form1> first = w.tableSelectionWindow;
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    // Modeless: the main window still takes input.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(first->isLoaded());

    first->hide();
    QTest::mouseDClick(w.Label4[1], Qt::LeftButton);
    EXPECT_EQ(w.tableSelectionWindow, first);
    EXPECT_TRUE(first->isVisible());

    w.seltables->trigger();
    EXPECT_EQ(w.tableSelectionWindow, first);
    EXPECT_EQ(w.findChildren<Form1*>(), QList<Form1*>{first.data()});
}

TEST_F(CommandsTest, DoubleClickOnACaptionOfLabel4OpensTheTableWindowUnlessDisabled) {
    FrmStoneID& w = *window;
    struct Case {
        const char* name;
        QLabel* label;
        bool disabled;
        bool opens;
    };
    const std::vector<Case> cases = {
        {"real weight, balance mode", w.Label4[0], true, false},
        {"real weight", w.Label4[0], false, true},
        {"shape name", w.Label4[1], false, true},
        {"scanner weight", w.Label4[2], false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (w.tableSelectionWindow)
            w.tableSelectionWindow->hide();
        c.label->setEnabled(!c.disabled);
        QTest::mouseDClick(c.label, Qt::LeftButton);
        EXPECT_EQ(w.tableSelectionWindow && w.tableSelectionWindow->isVisible(), c.opens);
        c.label->setEnabled(true);
    }
}

TEST_F(CommandsTest, InstructionManualStartsTheHelpBatchOfTheProgramFolder) {
    folder.write("tav_help.BAT", "echo help\r\n");
    window->Instr->trigger();
    std::vector<QString> started;
    for (const test::StartedBatch& batch : recording.batches.started)
        started.push_back(batch.file);
    EXPECT_EQ(started, std::vector<QString>{folder.filePath("tav_help.BAT")});
    EXPECT_TRUE(window->isVisible());
}

} // namespace
} // namespace tav
