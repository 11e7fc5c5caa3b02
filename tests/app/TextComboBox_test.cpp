#include "app/FrmStoneID.h"
#include "app/StartUp.h"
#include "export/ExportProcedure.h"
#include "platform/Database.h"
#include "support/SampleFolder.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tav {
namespace {

// The sample stone as the operator meets it: start-up has run and the window is
// shown and active. The sample row gives colour "G", clarity "VS1", symmetry "EX".
class ComboBoxTest : public test::SampleFolderTest {
protected:
    void SetUp() override {
        SampleFolderTest::SetUp();
        window = std::make_unique<FrmStoneID>(dir.folder(), services, program);
        ASSERT_EQ(Form_Load(*window), StartUpOutcome::Waiting);
        ASSERT_TRUE(window->cbColor->isEnabled()) << "the sample allows editing";
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Where the keyboard sends a key now.
    static QWidget* focused() { return QApplication::focusWidget(); }

    // A click into the box, all of its text selected and the text typed over it.
    static void typeInto(QComboBox* box, const QString& typed) {
        QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
        ASSERT_TRUE(box->hasFocus());
        QTest::keyClick(focused(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(focused(), typed);
    }

    // A notch of a real mouse wheel towards the operator (the next item down), over the
    // box's middle. It reaches the window as the window system's events do, marked
    // spontaneous and handed straight to notify as QTest hands over its clicks
    // (sendEvent would unmark it): Qt then finds the widget under the pointer and applies
    // its focus rules for the wheel before any widget sees the notch.
    static void turnWheelOver(QWidget* box) {
        QWidget* window = box->window();
        const QPointF at = box->mapTo(window, QPointF(box->width() / 2.0, box->height() / 2.0));
        QWheelEvent notch(at, window->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&notch);
        QCoreApplication::instance()->notify(window->windowHandle(), &notch);
    }

    std::unique_ptr<FrmStoneID> window;
};

TEST_F(ComboBoxTest, ATypedTextStaysAsTypedWhenTheBoxIsLeftOrEnterIsPressed) {
    FrmStoneID& w = *window;
    const struct {
        QComboBox* box;
        const char* typed; // each begins an item of the box's list, or is one in another case
        Qt::Key leaveBy;
    } cases[] = {
        {w.cbColor, "g", Qt::Key_Return},    {w.cbClarity, "VS", Qt::Key_Tab},
        {w.cbFlaurosance, "M", Qt::Key_Tab}, {w.cbPolish, "G", Qt::Key_Return},
        {w.CbSym, "V", Qt::Key_Return},      {w.cboShape, "Pe", Qt::Key_Return},
        {w.CBOFORMAT, "Col_", Qt::Key_Tab},  {w.CBODECIMAL, "Au", Qt::Key_Return},
        {w.cbClarity, "VS1 ", Qt::Key_Tab},  {w.cboShape, "brilliant", Qt::Key_Tab},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box->objectName().toStdString() + " " + c.typed);
        typeInto(c.box, QString::fromLatin1(c.typed));
        EXPECT_EQ(c.box->currentText(), c.typed) << "while typing";
        QTest::keyClick(focused(), c.leaveBy);
        EXPECT_EQ(c.box->currentText(), c.typed) << "after the key";
        EXPECT_EQ(c.box->currentIndex(), -1);
        // Away from the box as well, for a key that left the focus in it.
        w.TxtLotno->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(c.box->currentText(), c.typed) << "after the box lost the focus";
    }
}

TEST_F(ComboBoxTest, TheExportWritesTheTypedGradesAsTyped) {
    FrmStoneID& w = *window;
    typeInto(w.cbClarity, "VS");
    QTest::keyClick(focused(), Qt::Key_Tab);
    typeInto(w.CbSym, "V");
    QTest::keyClick(focused(), Qt::Key_Return);
    typeInto(w.cbFlaurosance, "M");
    QTest::keyClick(focused(), Qt::Key_Tab);
    typeInto(w.cbPolish, "G ");
    QTest::keyClick(focused(), Qt::Key_Tab);

    ASSERT_EQ(ExportData(w), ExportOutcome::Completed);

    const auto reports = Database::openExisting(dir.filePath("Reports.mdb"));
    ASSERT_TRUE(reports);
    const auto rows = reports->selectAll("UserData");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->rows.size(), 1);
    const auto column = [&](const char* name) {
        return rows->rows[0].value(rows->columnIndex(QLatin1String(name))).toString();
    };
    EXPECT_EQ(column("CLARITY"), "VS");
    EXPECT_EQ(column("SYMMETRY"), "V");
    EXPECT_EQ(column("FLAURASANSE"), "M");
    EXPECT_EQ(column("Polish"), "G") << "trimmed, as every box's text is";
    EXPECT_EQ(column("COLOR"), "G") << "untouched";
}

TEST_F(ComboBoxTest, ChoosingFromTheListStillSetsTheText) {
    FrmStoneID& w = *window;
    QTest::mouseClick(w.cbClarity->lineEdit(), Qt::LeftButton);
    w.cbClarity->showPopup();
    QAbstractItemView* list = w.cbClarity->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
    const QModelIndex si2 = list->model()->index(w.cbClarity->findText("SI2"), 0);
    list->setCurrentIndex(si2);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(w.cbClarity->currentText(), "SI2");
    EXPECT_EQ(w.cbClarity->currentIndex(), w.cbClarity->findText("SI2"));
}

TEST_F(ComboBoxTest, TheListFollowsTheTextThatWasSet) {
    FrmStoneID& w = *window;
    // Set by the row, the settings file and the scan.
    EXPECT_EQ(w.cbColor->currentIndex(), w.cbColor->findText("G"));
    EXPECT_EQ(w.CbSym->currentIndex(), w.CbSym->findText("EX"));
    EXPECT_EQ(w.CBOFORMAT->currentIndex(), w.CBOFORMAT->findText("Row"));
    EXPECT_EQ(w.CBODECIMAL->currentIndex(), w.CBODECIMAL->findText("2"));
    EXPECT_EQ(w.cboShape->currentIndex(), w.cboShape->findText("Brilliant"));

    const struct {
        const char* text;
        int index; // -1: no item
    } cases[] = {
        {"E", 1}, {"K", 7}, {"g", -1}, {"G ", -1}, {"Pink", -1}, {"", -1}, {"D", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        w.cbColor->setCurrentText(QString::fromLatin1(c.text));
        EXPECT_EQ(w.cbColor->currentText(), c.text);
        EXPECT_EQ(w.cbColor->currentIndex(), c.index);
    }
}

TEST_F(ComboBoxTest, ArrowKeysGoOnFromTheItemOfTheText) {
    FrmStoneID& w = *window;
    ASSERT_EQ(w.cbColor->currentText(), "G");
    QTest::mouseClick(w.cbColor->lineEdit(), Qt::LeftButton);
    ASSERT_TRUE(w.cbColor->hasFocus());
    QTest::keyClick(focused(), Qt::Key_Down);
    EXPECT_EQ(w.cbColor->currentText(), "H");
    QTest::keyClick(focused(), Qt::Key_Up);
    QTest::keyClick(focused(), Qt::Key_Up);
    EXPECT_EQ(w.cbColor->currentText(), "F");

    // Typed: the same as set.
    typeInto(w.cbClarity, "VVS2");
    QTest::keyClick(focused(), Qt::Key_Down);
    EXPECT_EQ(w.cbClarity->currentText(), "VS1");
}

TEST_F(ComboBoxTest, TheWheelTurnsOnlyTheBoxWithTheFocus) {
    FrmStoneID& w = *window;
    w.txtStoneID->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(w.cbColor->currentText(), "G");

    turnWheelOver(w.cbColor);
    EXPECT_EQ(w.cbColor->currentText(), "G") << "the box has no focus";
    EXPECT_EQ(w.cbColor->currentIndex(), w.cbColor->findText("G"));
    EXPECT_EQ(focused(), w.txtStoneID) << "the wheel gives no focus";

    QTest::mouseClick(w.cbColor->lineEdit(), Qt::LeftButton);
    turnWheelOver(w.cbColor);
    EXPECT_EQ(w.cbColor->currentText(), "H") << "the box has the focus";
}

// Mended: every box took the keyboard focus from the wheel before it saw the notch, so
// a wheel passing over COLOR or LAYOUT after a click into STONE ID changed what the
// export wrote.
TEST_F(ComboBoxTest, AWheelPassingOverTheBoxesChangesNothingThatIsExported) {
    FrmStoneID& w = *window;
    QTest::mouseClick(w.txtStoneID, Qt::LeftButton);
    ASSERT_EQ(focused(), w.txtStoneID);

    const QList<QComboBox*> boxes = w.findChildren<QComboBox*>();
    ASSERT_EQ(boxes.size(), 8) << "the grades, the shape, the layout and the decimals";
    for (QComboBox* box : boxes) {
        SCOPED_TRACE(box->objectName().toStdString());
        const QString before = box->currentText();
        turnWheelOver(box);
        EXPECT_EQ(box->currentText(), before);
        EXPECT_EQ(focused(), w.txtStoneID);
    }

    QTest::mouseClick(w.Cmd_OK, Qt::LeftButton);
    ASSERT_EQ(recording.programEnd.endCount, 1) << "exported";
    EXPECT_EQ(dir.read("Export/K7-10482.txt"),
              "K7-10482,,,ROUND-P8_8-P8_8,ROUND,8888,G,VS1,EX,EX,None,57.3,34.5,40.8,61.7,5.12,K7,"
              "Asha,\r\n");
    EXPECT_TRUE(dir.exists("Export/bench_rows.txt"));
    EXPECT_FALSE(dir.exists("Export/bench_cols.txt"));
    const QList<QByteArray> settings = dir.read("ExportPa.txt").split('\n');
    ASSERT_GE(settings.size(), 9);
    EXPECT_EQ(settings[7], "Row\r");
    EXPECT_EQ(settings[8], "2\r");
}

} // namespace
} // namespace tav
