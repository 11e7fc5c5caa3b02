#include "app/FrmStoneID.h"
#include "app/TextComboBox.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QVBoxLayout>

#include <utility>

namespace tav {

namespace {

template <class Widget, class... Args>
Widget* named(const QString& name, QWidget* parent, Args&&... args) {
    auto* widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(name);
    return widget;
}

QLabel* caption(const QString& name, const QString& text, QWidget* parent) {
    auto* label = named<QLabel>(name, parent, text);
    // Captions can come from the user's file; nothing in it is markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLineEdit* textBox(const QString& name, QWidget* parent) {
    return named<QLineEdit>(name, parent);
}

QLineEdit* lockedTextBox(const QString& name, const QString& toolTip, QWidget* parent) {
    auto* box = textBox(name, parent);
    box->setReadOnly(true);
    box->setToolTip(toolTip);
    return box;
}

QComboBox* comboBox(const QString& name, QWidget* parent) {
    auto* box = named<TextComboBox>(name, parent);
    box->setMinimumContentsLength(8);
    return box;
}

QString indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// Stone id and weights are read across the bench, so they get a larger, bold font.
QFont prominentFont(QFont font) {
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * 1.6);
    else
        font.setPixelSize(font.pixelSize() * 8 / 5);
    font.setBold(true);
    return font;
}

const QString systemNumberTip = QStringLiteral("System Number - Double Click to Edit");

} // namespace

void FrmStoneID::buildControls() {
    setObjectName(QStringLiteral("FrmStoneID"));
    setWindowTitle(QStringLiteral("a"));

    auto* central = named<QWidget>(QStringLiteral("centralWidget"), this);
    setCentralWidget(central);

    // The three frames side by side over the status line: the window then fits a
    // 1366 x 768 screen, frame and task bar included.
    auto* grid = new QGridLayout(central);
    grid->addWidget(createStoneData(central), 0, 0);
    grid->addWidget(createUserData(central), 0, 1);
    grid->addWidget(createSettings(central), 0, 2);
    grid->addWidget(createStatusLine(central), 1, 0, 1, 3);
    grid->setColumnStretch(0, 5);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 4);
    grid->setRowStretch(0, 1);

    Timer1 = named<QTimer>(QStringLiteral("Timer1"), this);
    Timer2 = named<QTimer>(QStringLiteral("Timer2"), this);
    Timer3 = named<QTimer>(QStringLiteral("Timer3"), this);

    createMenus();
    setTabOrders();
    resize(1240, 690);
}

QGroupBox* FrmStoneID::createStoneData(QWidget* central) {
    Frame3 = named<QGroupBox>(QStringLiteral("Frame3"), central, QStringLiteral("STONE DATA"));
    QWidget* frame = Frame3;
    const QFont bigFont = prominentFont(font());

    Label2 = caption(QStringLiteral("Label2"), QStringLiteral("STONE ID"), frame);
    txtStoneID = textBox(QStringLiteral("txtStoneID"), frame);
    Label18 = caption(QStringLiteral("Label18"), QStringLiteral(" KAPAN/LOT"), frame);
    TxtLotno = textBox(QStringLiteral("TxtLotno"), frame);
    TxtLotno->setToolTip(QStringLiteral("KAPAN - Alpha Numeric"));

    Label4[0] = caption(indexed("Label4", 0), QStringLiteral("REAL WEIGHT"), frame);
    txtRealWgt = textBox(QStringLiteral("txtRealWgt"), frame);
    Shape1[0] = named<WeightLamp>(indexed("Shape1", 0), frame);
    Label4[2] = caption(indexed("Label4", 2), QStringLiteral("SCANNER WEIGHT"), frame);
    // Shown for comparison only; the scan and the export fill it.
    TxtHP_Wgt = lockedTextBox(QStringLiteral("TxtHP_Wgt"), QString(), frame);
    Label4[1] = caption(indexed("Label4", 1), QStringLiteral("SHAPE NAME"), frame);
    cboShape = comboBox(QStringLiteral("cboShape"), frame);

    for (QLineEdit* box : {txtStoneID, txtRealWgt, TxtHP_Wgt}) {
        box->setFont(bigFont);
        box->setMinimumWidth(220);
    }

    Msg_1 = named<CaptionLabel>(QStringLiteral("Msg_1"), frame, QStringLiteral("STATUS MESSAGE"));
    Msg_11 = named<CaptionLabel>(QStringLiteral("Msg_11"), frame, QStringLiteral("STATUS MESSAGE"));
    Msg_11->hide();
    Msg_1->setMinimumHeight(40);

    Image1[0] = named<PictureBox>(indexed("Image1", 0), frame);
    Image1[0]->setToolTip(QStringLiteral("Crown View"));
    Image1[1] = named<PictureBox>(indexed("Image1", 1), frame);
    Image1[1]->setToolTip(QStringLiteral("Pavilion View"));

    Text_ok = named<ColourTextBox>(QStringLiteral("Text_ok"), frame);
    // The export writes the verdict; the operator only reads it.
    Text_ok->setReadOnly(true);
    QFont verdictFont = Text_ok->font();
    verdictFont.setBold(true);
    Text_ok->setFont(verdictFont);

    Cmd_OK = named<QPushButton>(QStringLiteral("Cmd_OK"), frame, QStringLiteral("EXPORT"));
    Cmd_Can = named<QPushButton>(QStringLiteral("Cmd_Can"), frame, QStringLiteral(" CANCEL"));
    for (QPushButton* button : {Cmd_OK, Cmd_Can}) {
        button->setAutoDefault(false);
        button->setMinimumSize(120, 36);
    }

    auto* grid = new QGridLayout(frame);
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(txtStoneID, 0, 1, 1, 2);
    grid->addWidget(Label18, 1, 0);
    grid->addWidget(TxtLotno, 1, 1, 1, 2);
    grid->addWidget(Label4[0], 2, 0);
    grid->addWidget(txtRealWgt, 2, 1);
    grid->addWidget(Shape1[0], 2, 2, Qt::AlignCenter);
    grid->addWidget(Label4[2], 3, 0);
    grid->addWidget(TxtHP_Wgt, 3, 1);
    grid->addWidget(Label4[1], 4, 0);
    grid->addWidget(cboShape, 4, 1, 1, 2);
    grid->addWidget(Msg_1, 5, 0, 1, 3);
    grid->addWidget(Msg_11, 6, 0, 1, 3);

    auto* pictures = new QHBoxLayout;
    pictures->addWidget(Image1[0]);
    pictures->addWidget(Image1[1]);
    grid->addLayout(pictures, 7, 0, 1, 3);
    grid->setRowStretch(7, 1);

    grid->addWidget(Text_ok, 8, 0, 1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Cmd_OK);
    buttons->addWidget(Cmd_Can);
    grid->addLayout(buttons, 9, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    return Frame3;
}

QGroupBox* FrmStoneID::createUserData(QWidget* central) {
    Frame2 = named<QGroupBox>(QStringLiteral("Frame2"), central, QStringLiteral("USER DATA"));
    QWidget* frame = Frame2;

    Label6[5] = caption(indexed("Label6", 5), QStringLiteral("COLOR"), frame);
    cbColor = comboBox(QStringLiteral("cbColor"), frame);
    Label12 = caption(QStringLiteral("Label12"), QStringLiteral("CLARITY"), frame);
    cbClarity = comboBox(QStringLiteral("cbClarity"), frame);
    Label11 = caption(QStringLiteral("Label11"), QStringLiteral("FLUORESCENCE"), frame);
    cbFlaurosance = comboBox(QStringLiteral("cbFlaurosance"), frame);
    Label17 = caption(QStringLiteral("Label17"), QStringLiteral("POLISH"), frame);
    cbPolish = comboBox(QStringLiteral("cbPolish"), frame);
    Label10 = caption(QStringLiteral("Label10"), QStringLiteral("Sym"), frame);
    CbSym = comboBox(QStringLiteral("CbSym"), frame);
    Label9[1] = caption(indexed("Label9", 1), QStringLiteral("SHAPE"), frame);
    TxtShape = textBox(QStringLiteral("TxtShape"), frame);
    Label9[0] = caption(indexed("Label9", 0), QStringLiteral("OPERATOR"), frame);
    txtOperator = textBox(QStringLiteral("txtOperator"), frame);
    txtCompanyName = textBox(QStringLiteral("txtCompanyName"), frame);
    TxtRepID = lockedTextBox(QStringLiteral("TxtRepID"), systemNumberTip, frame);

    auto* form = new QFormLayout(frame);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(Label6[5], cbColor);
    form->addRow(Label12, cbClarity);
    form->addRow(Label11, cbFlaurosance);
    form->addRow(Label17, cbPolish);
    form->addRow(Label10, CbSym);
    form->addRow(Label9[1], TxtShape);
    form->addRow(Label9[0], txtOperator);
    form->addRow(caption(QStringLiteral("lblCompanyName"), QStringLiteral("COMPANY"), frame),
                 txtCompanyName);
    form->addRow(caption(QStringLiteral("lblRepID"), QStringLiteral("REPORT ID"), frame), TxtRepID);
    return Frame2;
}

QGroupBox* FrmStoneID::createSettings(QWidget* central) {
    Frame1 = named<QGroupBox>(QStringLiteral("Frame1"), central, QStringLiteral("SETTING DATA"));
    QWidget* frame = Frame1;

    CBOFORMAT = comboBox(QStringLiteral("CBOFORMAT"), frame);
    CBODECIMAL = comboBox(QStringLiteral("CBODECIMAL"), frame);
    TxtExport = textBox(QStringLiteral("TxtExport"), frame);
    BtnBrowse = named<QPushButton>(QStringLiteral("BtnBrowse"), frame, QStringLiteral("..."));
    TxtACExport = textBox(QStringLiteral("TxtACExport"), frame);
    Command1 = named<QPushButton>(QStringLiteral("Command1"), frame, QStringLiteral("..."));
    txtSysnumber = lockedTextBox(QStringLiteral("txtSysnumber"), systemNumberTip, frame);
    TxtFileName = lockedTextBox(QStringLiteral("TxtFileName"), systemNumberTip, frame);
    txtLenNumber = textBox(QStringLiteral("txtLenNumber"), frame);
    TXTSYMBOL = textBox(QStringLiteral("TXTSYMBOL"), frame);
    chkbookmark =
        named<TriStateCheckBox>(QStringLiteral("chkbookmark"), frame, QStringLiteral("BOOKMARK"));
    Txt_Book = textBox(QStringLiteral("Txt_Book"), frame);
    BtnDone = named<QPushButton>(QStringLiteral("BtnDone"), frame, QStringLiteral("OK"));

    for (QPushButton* picker : {BtnBrowse, Command1}) {
        picker->setAutoDefault(false);
        picker->setFixedWidth(32);
    }
    BtnDone->setAutoDefault(false);
    // Folder paths are long; leave room to read them.
    TxtExport->setMinimumWidth(220);
    TxtACExport->setMinimumWidth(220);

    auto withPicker = [](QLineEdit* box, QPushButton* picker) {
        auto* row = new QHBoxLayout;
        row->addWidget(box, 1);
        row->addWidget(picker);
        return row;
    };
    auto label = [frame](const char* name, const char* text) {
        return caption(QLatin1String(name), QLatin1String(text), frame);
    };

    auto* form = new QFormLayout(frame);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(label("lblFormat", "LAYOUT"), CBOFORMAT);
    form->addRow(label("lblDecimal", "DECIMALS"), CBODECIMAL);
    form->addRow(label("lblExport", "EXPORT FOLDER"), withPicker(TxtExport, BtnBrowse));
    form->addRow(label("lblACExport", "ASCII FOLDER"), withPicker(TxtACExport, Command1));
    form->addRow(label("lblSysnumber", "SYSTEM NUMBER"), txtSysnumber);
    form->addRow(label("lblFileName", "FILE NAME"), TxtFileName);
    form->addRow(label("lblLenNumber", "LENS NUMBER"), txtLenNumber);
    form->addRow(label("lblSymbol", "SEPARATOR"), TXTSYMBOL);
    form->addRow(chkbookmark, Txt_Book);
    form->addRow(BtnDone);
    return Frame1;
}

QWidget* FrmStoneID::createStatusLine(QWidget* central) {
    auto* status = named<QWidget>(QStringLiteral("statusArea"), central);

    msgb1 = named<StatusLine>(QStringLiteral("msgb1"), status);
    msgb1->setMinimumHeight(90);

    ProgressBar1 = named<QProgressBar>(QStringLiteral("ProgressBar1"), status);
    ProgressBar1->setRange(0, 5);
    ProgressBar1->setValue(0);

    auto* column = new QVBoxLayout(status);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(msgb1);
    column->addWidget(ProgressBar1);
    return status;
}

void FrmStoneID::createMenus() {
    auto action = [](QWidget* owner, const char* name, const char* text, bool checkable) {
        QAction* entry = owner->addAction(QLatin1String(text));
        entry->setObjectName(QLatin1String(name));
        entry->setCheckable(checkable);
        return entry;
    };
    auto menu = [](QMenu* entry, const char* name) {
        entry->setObjectName(QLatin1String(name));
        return entry;
    };
    QMenuBar* bar = menuBar();

    Fil = menu(bar->addMenu(QStringLiteral("&File")), "Fil");
    Allow = action(Fil, "Allow", "&Temprorily Allow Manual Weight Entry (Mettlar Absent or Faulty)",
                   true);
    Enable = action(Fil, "Enable",
                    "&Enable Editing of Various Fields like Directory , system number etc", true);
    stnwgt = action(Fil, "stnwgt", "&Stone_WGT_Blank", true);
    ASCII = action(Fil, "ASCII", "Genrate ASCII File", true);
    tools1 = menu(Fil->addMenu(QStringLiteral("&Tools")), "tools1");
    seltables = action(tools1, "seltables", "&Select Tables for Export", false);
    exitt = action(Fil, "exitt", "E&xit", false);

    // Export and Cancel sit on the bar itself and act at once.
    Expt = action(bar, "Expt", "&Export", false);
    cancc = action(bar, "cancc", "&Cancel", false);

    helpp = menu(bar->addMenu(QStringLiteral("&Help")), "helpp");
    Instr = action(helpp, "Instr", "&Instruction Manual", false);
    Abou = action(helpp, "Abou", "&About", false);
}

void FrmStoneID::setTabOrders() {
    QWidget* const order[] = {
        txtStoneID,   TxtLotno,    txtRealWgt,   cbColor,   cbClarity,   cbFlaurosance,
        cbPolish,     CbSym,       cboShape,     TxtShape,  txtOperator, txtCompanyName,
        CBOFORMAT,    CBODECIMAL,  TxtExport,    BtnBrowse, TxtACExport, Command1,
        txtSysnumber, TxtFileName, txtLenNumber, TXTSYMBOL, chkbookmark, Txt_Book,
        BtnDone,      Cmd_OK,      Cmd_Can,      TxtRepID,  TxtHP_Wgt,   Text_ok,
    };
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace tav
