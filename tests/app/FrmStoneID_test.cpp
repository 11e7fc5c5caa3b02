#include "app/FrmStoneID.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

namespace tav {
namespace {

class FrmStoneIDTest : public ::testing::Test {
protected:
    FrmStoneIDTest()
        : platform(recording.platform()),
          window(std::make_unique<FrmStoneID>(folder.folder(), platform, program)) {}

    // Lays the window out so that its widgets have their real sizes when grabbed.
    void layOut() {
        window->resize(window->sizeHint());
        window->layout()->activate();
    }

    test::TempProgramFolder folder;
    test::RecordingPlatform recording;
    Platform platform;
    ProgramWide program;
    std::unique_ptr<FrmStoneID> window;
};

// What a person sees as the design caption of a control, menu or the window.
std::optional<QString> captionOf(const QObject* object) {
    if (auto* label = qobject_cast<const CaptionLabel*>(object))
        return label->caption();
    if (auto* label = qobject_cast<const QLabel*>(object))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(object))
        return button->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(object))
        return frame->title();
    if (auto* action = qobject_cast<const QAction*>(object))
        return action->text();
    if (auto* menu = qobject_cast<const QMenu*>(object))
        return menu->title();
    return std::nullopt;
}

TEST_F(FrmStoneIDTest, CaptionedControlsAndMenusCarryTheirDesignCaptions) {
    FrmStoneID& w = *window;
    struct Case {
        const char* name;
        QObject* member;
        QString caption;
    };
    const std::vector<Case> cases = {
        {"Cmd_OK", w.Cmd_OK, "EXPORT"},
        {"Cmd_Can", w.Cmd_Can, " CANCEL"},
        {"BtnBrowse", w.BtnBrowse, "..."},
        {"Command1", w.Command1, "..."},
        {"BtnDone", w.BtnDone, "OK"},
        {"Frame1", w.Frame1, "SETTING DATA"},
        {"Frame2", w.Frame2, "USER DATA"},
        {"Frame3", w.Frame3, "STONE DATA"},
        {"Msg_1", w.Msg_1, "STATUS MESSAGE"},
        {"Msg_11", w.Msg_11, "STATUS MESSAGE"},
        {"Label4(0)", w.Label4[0], "REAL WEIGHT"},
        {"Label4(1)", w.Label4[1], "SHAPE NAME"},
        {"Label6(5)", w.Label6[5], "COLOR"},
        {"Label9(0)", w.Label9[0], "OPERATOR"},
        {"Label9(1)", w.Label9[1], "SHAPE"},
        {"Label10", w.Label10, "Sym"},
        {"Label11", w.Label11, "FLUORESCENCE"},
        {"Label12", w.Label12, "CLARITY"},
        {"Label17", w.Label17, "POLISH"},
        {"Label2", w.Label2, "STONE ID"},
        {"Label18", w.Label18, " KAPAN/LOT"},
        {"Fil", w.Fil, "&File"},
        {"Allow", w.Allow, "&Temprorily Allow Manual Weight Entry (Mettlar Absent or Faulty)"},
        {"Enable", w.Enable,
         "&Enable Editing of Various Fields like Directory , system number etc"},
        {"stnwgt", w.stnwgt, "&Stone_WGT_Blank"},
        {"ASCII", w.ASCII, "Genrate ASCII File"},
        {"tools1", w.tools1, "&Tools"},
        {"seltables", w.seltables, "&Select Tables for Export"},
        {"exitt", w.exitt, "E&xit"},
        {"Expt", w.Expt, "&Export"},
        {"cancc", w.cancc, "&Cancel"},
        {"helpp", w.helpp, "&Help"},
        {"Instr", w.Instr, "&Instruction Manual"},
        {"Abou", w.Abou, "&About"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QList<QObject*> found = w.findChildren<QObject*>(QLatin1String(c.name));
        ASSERT_EQ(found.size(), 1);
        EXPECT_EQ(found.front(), c.member);
        EXPECT_EQ(captionOf(c.member), std::optional<QString>(c.caption));
    }
    EXPECT_EQ(w.windowTitle(), "a");
    ASSERT_NE(w.Label4[2], nullptr);
    EXPECT_EQ(w.Label4[2]->objectName(), "Label4(2)");
    EXPECT_FALSE(w.Label4[2]->text().isEmpty());
}

TEST_F(FrmStoneIDTest, DataControlsAreFoundByNameWithTheirKind) {
    FrmStoneID& w = *window;
    struct Case {
        const char* name;
        QObject* member;
        const char* kind;
    };
    const std::vector<Case> cases = {
        {"txtStoneID", w.txtStoneID, "QLineEdit"},
        {"txtRealWgt", w.txtRealWgt, "QLineEdit"},
        {"TxtLotno", w.TxtLotno, "QLineEdit"},
        {"txtOperator", w.txtOperator, "QLineEdit"},
        {"txtCompanyName", w.txtCompanyName, "QLineEdit"},
        {"TxtShape", w.TxtShape, "QLineEdit"},
        {"TxtRepID", w.TxtRepID, "QLineEdit"},
        {"cbColor", w.cbColor, "QComboBox"},
        {"cbClarity", w.cbClarity, "QComboBox"},
        {"cbFlaurosance", w.cbFlaurosance, "QComboBox"},
        {"cbPolish", w.cbPolish, "QComboBox"},
        {"CbSym", w.CbSym, "QComboBox"},
        {"cboShape", w.cboShape, "QComboBox"},
        {"TxtExport", w.TxtExport, "QLineEdit"},
        {"TxtACExport", w.TxtACExport, "QLineEdit"},
        {"txtSysnumber", w.txtSysnumber, "QLineEdit"},
        {"TxtFileName", w.TxtFileName, "QLineEdit"},
        {"txtLenNumber", w.txtLenNumber, "QLineEdit"},
        {"TXTSYMBOL", w.TXTSYMBOL, "QLineEdit"},
        {"Txt_Book", w.Txt_Book, "QLineEdit"},
        {"chkbookmark", w.chkbookmark, "QCheckBox"},
        {"CBOFORMAT", w.CBOFORMAT, "QComboBox"},
        {"CBODECIMAL", w.CBODECIMAL, "QComboBox"},
        {"TxtHP_Wgt", w.TxtHP_Wgt, "QLineEdit"},
        {"Text_ok", w.Text_ok, "tav::ColourTextBox"},
        {"msgb1", w.msgb1, "tav::StatusLine"},
        {"ProgressBar1", w.ProgressBar1, "QProgressBar"},
        {"Shape1(0)", w.Shape1[0], "tav::WeightLamp"},
        {"Image1(0)", w.Image1[0], "tav::PictureBox"},
        {"Image1(1)", w.Image1[1], "tav::PictureBox"},
        {"Timer1", w.Timer1, "QTimer"},
        {"Timer2", w.Timer2, "QTimer"},
        {"Timer3", w.Timer3, "QTimer"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QList<QObject*> found = w.findChildren<QObject*>(QLatin1String(c.name));
        ASSERT_EQ(found.size(), 1);
        EXPECT_EQ(found.front(), c.member);
        EXPECT_TRUE(c.member->inherits(c.kind));
    }
}

TEST_F(FrmStoneIDTest, DesignStateBeforeAnyStartUp) {
    FrmStoneID& w = *window;
    EXPECT_TRUE(w.msgb1->text().isEmpty());
    EXPECT_TRUE(w.msgb1->isReadOnly());
    EXPECT_TRUE(w.Msg_11->isHidden());
    EXPECT_EQ(w.Shape1[0]->fillColor(), vbRed);
    EXPECT_EQ(w.ProgressBar1->minimum(), 0);
    EXPECT_EQ(w.ProgressBar1->maximum(), 5);
    for (QTimer* timer : {w.Timer1, w.Timer2, w.Timer3})
        EXPECT_FALSE(timer->isActive()) << timer->objectName().toStdString();
    for (QAction* entry : {w.Allow, w.Enable, w.stnwgt, w.ASCII}) {
        EXPECT_TRUE(entry->isCheckable()) << entry->objectName().toStdString();
        EXPECT_FALSE(entry->isChecked()) << entry->objectName().toStdString();
    }
    for (std::size_t i = 0; i < PolishData::fieldCount; ++i)
        EXPECT_EQ(w.PolishData.field(i), 0.0) << PolishData::keys[i];
}

TEST_F(FrmStoneIDTest, MenuBarHoldsFileExportCancelHelpInOrder) {
    const QList<QAction*> bar = window->menuBar()->actions();
    ASSERT_EQ(bar.size(), 4);
    EXPECT_EQ(bar[0], window->Fil->menuAction());
    EXPECT_EQ(bar[1], window->Expt);
    EXPECT_EQ(bar[2], window->cancc);
    EXPECT_EQ(bar[3], window->helpp->menuAction());
    const QList<QAction*> file = window->Fil->actions();
    const QList<QAction*> expected = {
        window->Allow, window->Enable, window->stnwgt, window->ASCII, window->tools1->menuAction(),
        window->exitt};
    EXPECT_EQ(file, expected);
    EXPECT_EQ(window->tools1->actions(), QList<QAction*>{window->seltables});
    EXPECT_EQ(window->helpp->actions(), (QList<QAction*>{window->Instr, window->Abou}));
}

TEST_F(FrmStoneIDTest, ToolTipsAndLockedFields) {
    FrmStoneID& w = *window;
    const QString systemNumber = "System Number - Double Click to Edit";
    struct Case {
        QWidget* control;
        QString toolTip;
    };
    const std::vector<Case> cases = {
        {w.TxtLotno, "KAPAN - Alpha Numeric"}, {w.TxtRepID, systemNumber},
        {w.TxtFileName, systemNumber},         {w.txtSysnumber, systemNumber},
        {w.Image1[0], "Crown View"},           {w.Image1[1], "Pavilion View"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.control->toolTip(), c.toolTip) << c.control->objectName().toStdString();
    for (QLineEdit* locked : {w.TxtRepID, w.TxtFileName, w.txtSysnumber})
        EXPECT_TRUE(locked->isReadOnly()) << locked->objectName().toStdString();
    for (QLineEdit* open : {w.txtStoneID, w.TxtLotno, w.txtRealWgt, w.TxtExport})
        EXPECT_FALSE(open->isReadOnly()) << open->objectName().toStdString();
}

TEST_F(FrmStoneIDTest, EnterInAComboKeepsTheTypedTextOutOfItsList) {
    FrmStoneID& w = *window;
    for (QComboBox* box : {w.cbColor, w.cbClarity, w.cbFlaurosance, w.cbPolish, w.CbSym, w.cboShape,
                           w.CBOFORMAT, w.CBODECIMAL}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->addItem("Row");
        ASSERT_NE(box->lineEdit(), nullptr);
        box->setEditText("Typed by hand");
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QApplication::sendEvent(box->lineEdit(), &enter);
        EXPECT_EQ(box->count(), 1);
        EXPECT_EQ(box->findText("Typed by hand"), -1);
        EXPECT_EQ(box->currentText(), "Typed by hand");
    }
}

TEST_F(FrmStoneIDTest, TabOrderRunsFromStoneDataToSettings) {
    FrmStoneID& w = *window;
    // The focus chain holds the line edit inside each editable combo; it stands for
    // its combo.
    auto owner = [](QWidget* widget) -> QWidget* {
        if (qobject_cast<QComboBox*>(widget->parentWidget()))
            return widget->parentWidget();
        return widget;
    };
    std::vector<QWidget*> chain;
    QWidget* at = w.txtStoneID;
    do {
        chain.push_back(owner(at));
        at = at->nextInFocusChain();
    } while (at != w.txtStoneID);

    const std::vector<QWidget*> expected = {
        w.txtStoneID,    w.TxtLotno,       w.txtRealWgt,  w.cbColor,      w.cbClarity,
        w.cbFlaurosance, w.cbPolish,       w.CbSym,       w.cboShape,     w.TxtShape,
        w.txtOperator,   w.txtCompanyName, w.CBOFORMAT,   w.CBODECIMAL,   w.TxtExport,
        w.TxtACExport,   w.txtSysnumber,   w.TxtFileName, w.txtLenNumber, w.TXTSYMBOL,
        w.chkbookmark,   w.Txt_Book,
    };
    std::ptrdiff_t previous = -1;
    for (QWidget* control : expected) {
        const auto position = std::find(chain.begin(), chain.end(), control) - chain.begin();
        ASSERT_LT(position, std::ssize(chain)) << control->objectName().toStdString();
        EXPECT_GT(position, previous) << control->objectName().toStdString();
        previous = position;
    }
}

TEST_F(FrmStoneIDTest, WarningsAccumulateAfterLineFeedAndCarriageReturn) {
    window->appendWarning("first warning");
    window->appendWarning("second warning");
    EXPECT_EQ(window->msgb1->text(), "\n\rfirst warning\n\rsecond warning");
    EXPECT_EQ(program.ExportWarningFlag, -1);
}

TEST_F(FrmStoneIDTest, StatusAppendLeavesTheWarningFlagAlone) {
    window->appendStatus("balance reading");
    EXPECT_EQ(window->msgb1->text(), QString(QChar(10)) + QChar(13) + "balance reading");
    EXPECT_EQ(program.ExportWarningFlag, 0);
}

TEST_F(FrmStoneIDTest, TheStatusLineShowsWarningsAsTextLineByLine) {
    window->appendWarning("<b>not bold</b>");
    window->appendWarning("second");
    EXPECT_EQ(window->msgb1->toPlainText(), "\n<b>not bold</b>\nsecond");
    window->msgb1->clear();
    EXPECT_EQ(window->msgb1->text(), "");
    EXPECT_EQ(window->msgb1->toPlainText(), "");
}

TEST_F(FrmStoneIDTest, TheStatusLineScrollsToTheLineJustAppended) {
    StatusLine& status = *window->msgb1;
    auto visible = [&](const QTextBlock& block) {
        QTextCursor at(block);
        return status.viewport()->rect().contains(status.cursorRect(at));
    };
    // A long balance error before the window is shown, as start-up leaves it.
    QStringList error;
    for (int line = 1; line <= 40; ++line)
        error.append(QStringLiteral("error line %1").arg(line));
    window->appendWarning(error.join(QString(QChar(10)) + QChar(13)));
    window->appendWarning("first warning after it");
    layOut();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_TRUE(visible(status.document()->lastBlock()));
    EXPECT_FALSE(visible(status.document()->firstBlock().next()));

    window->appendWarning("newest warning");
    EXPECT_EQ(status.document()->lastBlock().text(), "newest warning");
    EXPECT_TRUE(visible(status.document()->lastBlock()));
    EXPECT_TRUE(status.text().startsWith("\n\rerror line 1\n\rerror line 2\n\r"));
    EXPECT_TRUE(status.text().endsWith("\n\rfirst warning after it\n\rnewest warning"));
}

TEST_F(FrmStoneIDTest, ConstructionStoresOnlyTheDrive) {
    ProgramWide earlier;
    earlier.ExportWarningFlag = -1;
    earlier.SubstitutedWeight = "0.12345";
    earlier.TablePercent = 57.5f;
    const FrmStoneID other(ProgramFolder("E:/scanner"), platform, earlier);
    EXPECT_EQ(earlier.AppDrive, "E:");
    EXPECT_EQ(earlier.ExportWarningFlag, -1);
    EXPECT_EQ(earlier.SubstitutedWeight, "0.12345");
    EXPECT_EQ(earlier.TablePercent, 57.5f);
}

TEST(FrmStoneIDDrive, AppDriveIsThePathUpToItsFirstColon) {
    test::RecordingPlatform recording;
    Platform platform = recording.platform();
    struct Case {
        QString folder;
        QString drive;
    };
    const std::vector<Case> cases = {
        {"D:/bench", "D:"}, {"C:\\Program Files\\TAV", "C:"},
        {"/opt/tav", ""},   {"/mnt/a:b/c:d", "/mnt/a:"},
        {"", ""},
    };
    for (const Case& c : cases) {
        ProgramWide program;
        program.AppDrive = "stale";
        const FrmStoneID window(ProgramFolder(c.folder), platform, program);
        EXPECT_EQ(program.AppDrive, c.drive) << c.folder.toStdString();
    }
}

struct ColourCase {
    int vb;
    QColor colour;
};
const std::vector<ColourCase> verdictColours = {
    {vbRed, QColor(255, 0, 0)},
    {vbGreen, QColor(0, 255, 0)},
    {vbYellow, QColor(255, 255, 0)},
};

TEST(FrmStoneIDColours, ConvertsBothWays) {
    std::vector<ColourCase> cases = verdictColours;
    cases.push_back({255, Qt::red});
    cases.push_back({65280, Qt::green});
    cases.push_back({65535, Qt::yellow});
    cases.push_back({0x804020, QColor(0x20, 0x40, 0x80)});
    cases.push_back({vbWhite, Qt::white});
    cases.push_back({vbBlack, Qt::black});
    for (const ColourCase& c : cases) {
        EXPECT_EQ(toQColor(c.vb), c.colour) << c.vb;
        EXPECT_EQ(toVbColor(c.colour), c.vb) << c.vb;
    }
}

TEST_F(FrmStoneIDTest, VerdictBoxAndLampPaintTheirColourNumbers) {
    layOut();
    for (const ColourCase& c : verdictColours) {
        SCOPED_TRACE(c.vb);
        window->Text_ok->setBackColor(c.vb);
        EXPECT_EQ(window->Text_ok->backColor(), c.vb);
        const QImage box = window->Text_ok->grab().toImage();
        EXPECT_EQ(box.pixelColor(box.width() - 8, box.height() / 2), c.colour);

        window->Shape1[0]->setFillColor(c.vb);
        EXPECT_EQ(window->Shape1[0]->fillColor(), c.vb);
        const QImage lamp = window->Shape1[0]->grab().toImage();
        EXPECT_EQ(lamp.pixelColor(lamp.width() / 2, lamp.height() / 2), c.colour);
    }
}

TEST_F(FrmStoneIDTest, StatusLabelPaintsItsColours) {
    layOut();
    CaptionLabel* status = window->Msg_1;
    const QImage designed = status->grab().toImage();
    EXPECT_EQ(designed.pixelColor(1, 1), CaptionLabel::designedBackground());

    for (const QColor& colour : {QColor(0, 0, 255), QColor(200, 0, 0), QColor(255, 255, 255)}) {
        status->setBackground(colour);
        status->setForeground(QColor(255, 0, 0));
        EXPECT_EQ(status->background(), colour);
        EXPECT_EQ(status->foreground(), QColor(255, 0, 0));
        const QImage image = status->grab().toImage();
        EXPECT_EQ(image.pixelColor(1, 1), colour);
    }
}

TEST(FrmStoneIDCaptionLabel, ShowsDoubledAmpersandsAsOne) {
    struct Case {
        QString caption;
        QString shown;
    };
    const std::vector<Case> cases = {
        {"Check && confirm the Wireframe ", "Check & confirm the Wireframe "},
        {"If required ,Clean the stone & Rescan.....",
         "If required ,Clean the stone & Rescan....."},
        {"a &&&& b", "a && b"},
        {"&&&", "&&"},
        {"<b>The model is not built </b>", "<b>The model is not built </b>"},
        {"", ""},
    };
    CaptionLabel label;
    for (const Case& c : cases) {
        label.setCaption(c.caption);
        EXPECT_EQ(label.caption(), c.caption);
        EXPECT_EQ(label.text(), c.shown) << c.caption.toStdString();
    }
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
}

TEST(FrmStoneIDPictureBox, ScalesThePictureToFitKeepingItsShape) {
    PictureBox box;
    box.resize(240, 120);
    EXPECT_TRUE(box.picture().isNull());
    const QColor background = box.grab().toImage().pixelColor(120, 60);

    QImage square(10, 10, QImage::Format_RGB32);
    square.fill(Qt::blue);
    box.setPicture(square);
    const QImage shown = box.grab().toImage();
    // A square in a wide box fills the height and leaves bands left and right.
    EXPECT_EQ(shown.pixelColor(120, 60), QColor(Qt::blue));
    EXPECT_EQ(shown.pixelColor(120, 8), QColor(Qt::blue));
    EXPECT_NE(shown.pixelColor(20, 60), QColor(Qt::blue));

    box.clear();
    EXPECT_TRUE(box.picture().isNull());
    EXPECT_EQ(box.grab().toImage().pixelColor(120, 60), background);
}

TEST(FrmStoneIDCheckBox, ValuesAndClicks) {
    TriStateCheckBox box;
    struct Case {
        int value;
        int afterClick;
    };
    // A click never greys the box; a grayed box becomes checked.
    const std::vector<Case> cases = {{0, 1}, {1, 0}, {2, 1}};
    for (const Case& c : cases) {
        setCheckValue(&box, c.value);
        EXPECT_EQ(checkValue(&box), c.value);
        box.click();
        EXPECT_EQ(checkValue(&box), c.afterClick) << c.value;
    }
    setCheckValue(&box, 1);
    setCheckValue(&box, 3);
    EXPECT_EQ(checkValue(&box), 1);
}

TEST(FrmStoneIDPolishData, FieldsFollowTheirKeys) {
    tav::PolishData data;
    struct Case {
        std::size_t index;
        const char* key;
        double tav::PolishData::*field;
    };
    const std::vector<Case> cases = {
        {0, "DIAMETER_MM", &PolishData::DIAMETER_MM},
        {1, "TABLE_PC", &PolishData::TABLE_PC},
        {21, "CUTTING_TYPE", &PolishData::CUTTING_TYPE},
        {25, "CORRECTED_MASS", &PolishData::CORRECTED_MASS},
        {29, "KOZIBE_DEG", &PolishData::KOZIBE_DEG},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(PolishData::keys[c.index], c.key);
        data.field(c.index) = 57.5 + double(c.index);
        EXPECT_EQ(data.*c.field, 57.5 + double(c.index)) << c.key;
    }
    EXPECT_THROW(data.field(PolishData::fieldCount), std::out_of_range);
}

} // namespace
} // namespace tav
