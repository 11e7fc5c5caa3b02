#include "app/EditingSwitches.h"
#include "app/FrmStoneID.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tav {
namespace {

const QString kEditingOn =
    QStringLiteral("&Enable Editing of Various Fields like Directory , system number etc");
const QString kEditingOff =
    QStringLiteral("&Disable Editing of Various Fields like Directory , system number etc");
const QString kBlankingOn =
    QStringLiteral("&Do Not Blank the Stone_ID & WGT Field , system number etc");
const QString kBlankingOff = QStringLiteral("Blank the Stone_ID & WGT Field, system number etc");

class EditingSwitchesTest : public ::testing::Test {
protected:
    EditingSwitchesTest()
        : platform(recording.platform()),
          window(std::make_unique<FrmStoneID>(folder.folder(), platform, program)) {
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // As start-up leaves the controls before it applies the editing switch.
    void disableAsStartUpDoes() {
        for (QWidget* control : editingControls(*window))
            control->setEnabled(false);
    }

    std::vector<QWidget*> governed() const {
        const auto controls = editingControls(*window);
        return {controls.begin(), controls.end()};
    }

    test::TempProgramFolder folder;
    test::RecordingPlatform recording;
    Platform platform;
    ProgramWide program;
    std::unique_ptr<FrmStoneID> window;
};

// Notes the order in which the watched controls change their enabled state.
class EnabledChangeRecorder : public QObject {
public:
    explicit EnabledChangeRecorder(const std::vector<QWidget*>& controls) {
        for (QWidget* control : controls)
            control->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange)
            changed.push_back(static_cast<QWidget*>(watched));
        return false;
    }
    std::vector<QWidget*> changed;
};

TEST_F(EditingSwitchesTest, TheTwentyControlsInTheirOrder) {
    FrmStoneID& w = *window;
    const std::vector<QWidget*> expected = {
        w.CBODECIMAL,  w.CBOFORMAT,     w.BtnBrowse,   w.Command1,     w.txtLenNumber,
        w.TxtFileName, w.TXTSYMBOL,     w.chkbookmark, w.txtSysnumber, w.TxtExport,
        w.TxtACExport, w.cbColor,       w.cbClarity,   w.cbPolish,     w.CbSym,
        w.cboShape,    w.cbFlaurosance, w.txtOperator, w.TxtShape,     w.txtCompanyName,
    };
    EXPECT_EQ(governed(), expected);

    disableAsStartUpDoes();
    EnabledChangeRecorder recorder(expected);
    Enable_Click(w);
    EXPECT_EQ(recorder.changed, expected);
}

TEST_F(EditingSwitchesTest, StartUpsTwoClicksApplyTheLoadedSwitch) {
    FrmStoneID& w = *window;
    struct Case {
        bool loaded;
        QString caption;
    };
    for (const Case& c : {Case{true, kEditingOn}, Case{false, kEditingOff}}) {
        SCOPED_TRACE(c.loaded);
        disableAsStartUpDoes();
        w.EnableFieldEditing = c.loaded;
        Enable_Click(w);
        EXPECT_EQ(w.EnableFieldEditing, !c.loaded);
        Enable_Click(w);
        EXPECT_EQ(w.EnableFieldEditing, c.loaded);
        EXPECT_EQ(w.Enable->isChecked(), c.loaded);
        EXPECT_EQ(w.Enable->text(), c.caption);
        for (QWidget* control : governed())
            EXPECT_EQ(control->isEnabled(), c.loaded) << control->objectName().toStdString();
        for (QWidget* free :
             {static_cast<QWidget*>(w.txtStoneID), static_cast<QWidget*>(w.TxtLotno),
              static_cast<QWidget*>(w.txtRealWgt), static_cast<QWidget*>(w.Txt_Book)})
            EXPECT_TRUE(free->isEnabled()) << free->objectName().toStdString();
    }
}

TEST_F(EditingSwitchesTest, MenuClicksDecideFromTheStateBeforeTheClick) {
    FrmStoneID& w = *window;
    struct Step {
        bool editingAfter;
        QString caption;
    };
    w.EnableFieldEditing = false;
    for (const Step& s :
         {Step{true, kEditingOn}, Step{false, kEditingOff}, Step{true, kEditingOn}}) {
        SCOPED_TRACE(s.editingAfter);
        w.Enable->trigger();
        EXPECT_EQ(w.EnableFieldEditing, s.editingAfter);
        EXPECT_EQ(w.Enable->isChecked(), s.editingAfter);
        EXPECT_EQ(w.Enable->text(), s.caption);
        EXPECT_EQ(w.CBOFORMAT->isEnabled(), s.editingAfter);
        EXPECT_EQ(w.txtCompanyName->isEnabled(), s.editingAfter);
    }
}

TEST_F(EditingSwitchesTest, DoubleClickUnlocksAndLocksOnlyAnEnabledField) {
    FrmStoneID& w = *window;
    struct Case {
        const char* name;
        QLineEdit* field;
        bool editing;
        std::vector<bool> readOnlyAfterEachDoubleClick;
    };
    const std::vector<Case> cases = {
        {"file name, editing off", w.TxtFileName, false, {true, true}},
        {"system number, editing off", w.txtSysnumber, false, {true, true}},
        {"file name, editing on", w.TxtFileName, true, {false, true, false}},
        {"system number, editing on", w.txtSysnumber, true, {false, true}},
        // Same tooltip, same lock, but no double-click of its own.
        {"report id", w.TxtRepID, true, {true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.EnableFieldEditing = !c.editing;
        Enable_Click(w);
        w.TxtFileName->setReadOnly(true);
        w.txtSysnumber->setReadOnly(true);
        for (bool readOnly : c.readOnlyAfterEachDoubleClick) {
            QTest::mouseDClick(c.field, Qt::LeftButton);
            EXPECT_EQ(c.field->isReadOnly(), readOnly);
        }
        // Each field toggles only itself.
        for (QLineEdit* other : {w.TxtFileName, w.txtSysnumber}) {
            if (other != c.field) {
                EXPECT_TRUE(other->isReadOnly()) << other->objectName().toStdString();
            }
        }
    }
}

TEST_F(EditingSwitchesTest, BlankingOnThenOffBringsBackTheSavedStoneWeightAndLot) {
    FrmStoneID& w = *window;
    w.SavedStoneId = "ST-1001";
    w.SavedRealWeight = "0.52310";
    w.txtStoneID->setText("ST-1001");
    w.txtRealWgt->setText("0.52310");
    w.TxtLotno->setText("LOT-7");

    w.stnwgt->trigger();
    EXPECT_EQ(w.BlankStoneAndWeight, -1);
    EXPECT_TRUE(w.stnwgt->isChecked());
    EXPECT_EQ(w.stnwgt->text(), kBlankingOn);
    EXPECT_EQ(w.txtStoneID->text(), "");
    EXPECT_EQ(w.txtRealWgt->text(), "");
    EXPECT_EQ(w.TxtLotno->text(), "");

    // Typed in between: the start-up values come back, not these.
    w.txtStoneID->setText("typed");
    w.txtRealWgt->setText("9.99");
    w.TxtLotno->setText("typed lot");

    w.stnwgt->trigger();
    EXPECT_EQ(w.BlankStoneAndWeight, 0);
    EXPECT_FALSE(w.stnwgt->isChecked());
    EXPECT_EQ(w.stnwgt->text(), kBlankingOff);
    EXPECT_EQ(w.txtStoneID->text(), "ST-1001");
    EXPECT_EQ(w.txtRealWgt->text(), "0.52310");
    EXPECT_EQ(w.TxtLotno->text(), "LOT-7");
}

TEST_F(EditingSwitchesTest, BlankingLoadedOnKeepsTheLotOfStartUpWhenSwitchedOff) {
    FrmStoneID& w = *window;
    // As start-up leaves it: stone ID and weight emptied, the lot of the last row shown.
    w.BlankStoneAndWeight = -1;
    w.stnwgt->setChecked(true);
    w.SavedStoneId = "ST-2002";
    w.SavedRealWeight = "1.00100";
    w.TxtLotno->setText("LOT-START");

    stnwgt_Click(w);
    EXPECT_EQ(w.BlankStoneAndWeight, 0);
    EXPECT_FALSE(w.stnwgt->isChecked());
    EXPECT_EQ(w.txtStoneID->text(), "ST-2002");
    EXPECT_EQ(w.txtRealWgt->text(), "1.00100");
    EXPECT_EQ(w.TxtLotno->text(), "LOT-START");
}

TEST_F(EditingSwitchesTest, AnyBlankingValueOtherThanMinusOneCountsAsOff) {
    FrmStoneID& w = *window;
    for (qint16 value : {qint16(0), qint16(1), qint16(-2)}) {
        SCOPED_TRACE(value);
        w.BlankStoneAndWeight = value;
        w.txtStoneID->setText("ST-3");
        stnwgt_Click(w);
        EXPECT_EQ(w.BlankStoneAndWeight, -1);
        EXPECT_TRUE(w.stnwgt->isChecked());
        EXPECT_EQ(w.stnwgt->text(), kBlankingOn);
        EXPECT_EQ(w.txtStoneID->text(), "");
    }
}

TEST_F(EditingSwitchesTest, AsciiSwitchFlipsItsMarkAndKeepsItsCaption) {
    FrmStoneID& w = *window;
    for (bool loaded : {false, true}) {
        SCOPED_TRACE(loaded);
        w.AsciiExportOn = loaded;
        w.ASCII->setChecked(loaded);
        for (bool after : {!loaded, loaded}) {
            w.ASCII->trigger();
            EXPECT_EQ(w.AsciiExportOn, after);
            EXPECT_EQ(w.ASCII->isChecked(), after);
            EXPECT_EQ(w.ASCII->text(), "Genrate ASCII File");
        }
    }
}

TEST_F(EditingSwitchesTest, SwitchClicksLeaveTheSettingsFileAlone) {
    const QStringList lines(26, QStringLiteral("0"));
    folder.writeLines("ExportPa.txt", lines);
    const QByteArray before = folder.read("ExportPa.txt");
    window->Enable->trigger();
    window->stnwgt->trigger();
    window->ASCII->trigger();
    EXPECT_EQ(folder.read("ExportPa.txt"), before);
}

TEST_F(EditingSwitchesTest, AGreyedOperatorFieldTakesNoClick) {
    folder.writeLines("ExportPa.txt", QStringList(26, QStringLiteral("0")));
    const QByteArray before = folder.read("ExportPa.txt");
    window->txtOperator->setText("Ravi");
    window->EnableFieldEditing = true;
    Enable_Click(*window);
    ASSERT_FALSE(window->txtOperator->isEnabled());

    QTest::mouseClick(window->txtOperator, Qt::LeftButton);
    EXPECT_EQ(folder.read("ExportPa.txt"), before);

    // Editing on, the same click saves the settings.
    Enable_Click(*window);
    QTest::mouseClick(window->txtOperator, Qt::LeftButton);
    EXPECT_EQ(folder.read("ExportPa.txt").split('\n').at(22), "Ravi\r");
}

} // namespace
} // namespace tav
