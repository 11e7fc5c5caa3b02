#pragma once

#include "app/CaptionLabel.h"
#include "app/ColourTextBox.h"
#include "app/Commands.h"
#include "app/PictureBox.h"
#include "app/ProgramWide.h"
#include "app/StatusLine.h"
#include "app/TriStateCheckBox.h"
#include "app/WeightLamp.h"
#include "platform/Database.h"
#include "platform/IniReader.h"
#include "platform/Interaction.h"
#include "platform/ProgramFolder.h"
#include "platform/ProgramFolderLock.h"
#include "platform/SerialControl.h"
#include "platform/TextFile.h"
#include "scan/PolishData.h"
#include "scan/ValueHelpers.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>

namespace tav {

class Form1;
class FrmAbout;
class LabGraderProvider;

// The one main window of a run. Every part of the program reads and writes its
// controls and members directly, by the names below, so they are public; the window
// itself only builds the controls and keeps the run state.
class FrmStoneID : public QMainWindow {
    Q_OBJECT
public:
    FrmStoneID(const ProgramFolder& folder, Platform& platform, ProgramWide& program,
               QWidget* parent = nullptr);

    const ProgramFolder folder;
    Platform& platform;
    ProgramWide& program;
    // Taken by start-up before it writes anything, held until the window goes.
    ProgramFolderLock folderLock;

    // Appends a line feed, a carriage return and the text to the status line.
    void appendStatus(const QString& text);
    // The same, and marks the run as having warnings (the problem log is written).
    void appendWarning(const QString& text);

    // The scan-file reader with this run's grade translation.
    QString GetString(const QString& section, const QString& key, const QString& filePath) const;
    QString GetString(const QString& section, const QString& key, const IniFile& file) const;
    // A scan file as it stands now, parsed once for as long as its bytes stay the same:
    // start-up and the export look many keys up in the same two files.
    std::shared_ptr<const IniFile> scanFile(const QString& filePath) const;
    // Rounding with this run's fixed-decimal setting.
    std::optional<RoundedValue> RoundToDecimals(float value, qint16 places) const;
    std::optional<RoundedValue> RoundToDecimals(const QString& numberText, qint16 places) const;
    // Full paths of the scan files in the program folder.
    QString testFile() const { return folder.file(QStringLiteral("test.txt")); }
    QString keyFile() const { return folder.file(QStringLiteral("test_export.txt")); }

    // Stone data.
    QLineEdit* txtStoneID = nullptr;
    QLineEdit* txtRealWgt = nullptr;
    QLineEdit* TxtLotno = nullptr;
    QLineEdit* TxtHP_Wgt = nullptr;
    QComboBox* cboShape = nullptr;
    CaptionLabel* Msg_1 = nullptr;
    CaptionLabel* Msg_11 = nullptr;
    std::array<WeightLamp*, 1> Shape1{};
    std::array<PictureBox*, 2> Image1{};
    ColourTextBox* Text_ok = nullptr;
    QPushButton* Cmd_OK = nullptr;
    QPushButton* Cmd_Can = nullptr;

    // User data.
    QLineEdit* txtOperator = nullptr;
    QLineEdit* txtCompanyName = nullptr;
    QLineEdit* TxtShape = nullptr;
    QLineEdit* TxtRepID = nullptr;
    QComboBox* cbColor = nullptr;
    QComboBox* cbClarity = nullptr;
    QComboBox* cbFlaurosance = nullptr;
    QComboBox* cbPolish = nullptr;
    QComboBox* CbSym = nullptr;

    // Settings.
    QLineEdit* TxtExport = nullptr;
    QLineEdit* TxtACExport = nullptr;
    QLineEdit* txtSysnumber = nullptr;
    QLineEdit* TxtFileName = nullptr;
    QLineEdit* txtLenNumber = nullptr;
    QLineEdit* TXTSYMBOL = nullptr;
    QLineEdit* Txt_Book = nullptr;
    TriStateCheckBox* chkbookmark = nullptr;
    QComboBox* CBOFORMAT = nullptr;
    QComboBox* CBODECIMAL = nullptr;
    QPushButton* BtnBrowse = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* BtnDone = nullptr;

    // Status line and export progress.
    StatusLine* msgb1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    // The balance link (BalanceLink.h).
    SerialControl* MSComm1 = nullptr;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;

    // Never given an interval; kept because handlers refer to them.
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* Timer3 = nullptr;

    // Captions; those of the grades and stone fields can be renamed from a file.
    std::array<QLabel*, 3> Label4{};
    std::array<QLabel*, 6> Label6{}; // only element 5 exists
    std::array<QLabel*, 2> Label9{};
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label18 = nullptr;

    // Menus.
    QMenu* Fil = nullptr;
    QAction* Allow = nullptr;
    QAction* Enable = nullptr;
    QAction* stnwgt = nullptr;
    QAction* ASCII = nullptr;
    QMenu* tools1 = nullptr;
    QAction* seltables = nullptr;
    QAction* exitt = nullptr;
    QAction* Expt = nullptr;
    QAction* cancc = nullptr;
    QMenu* helpp = nullptr;
    QAction* Instr = nullptr;
    QAction* Abou = nullptr;

    // Run state shared by start-up, the balance link, the export and the grading.
    // Flags hold -1 for true and 0 for false.
    QString CurrentShape;
    QString TemplateShapeName;
    QString CuttingFamily;
    QString SavedStoneId;
    QString SavedRealWeight;
    QString SavedLotNo;
    bool AsciiExportOn = false;
    bool AllowManualWeight = false;
    bool EnableFieldEditing = false;
    qint16 BlankStoneAndWeight = 0;
    QString StoneExportFile;
    QString ExportTextFile;
    QString ColumnTempFile;
    // The export's open files (per-stone data file, layout file, the Col layout's
    // temporary file); the grading writes into them too. None outside an export.
    std::unique_ptr<TextStream> StoneExportStream;
    std::unique_ptr<TextStream> ExportTextStream;
    std::unique_ptr<TextStream> ColumnTempStream;
    QString LogFolder;
    qint16 FixedDecimalFormat = 0;
    qint16 ExportPaSetting10 = 0;
    qint16 NoWeightAutoExport = 0;
    QString WeightMessage;
    // HyperParam.txt lines 9 and 11: kept, used by no operation.
    QString HyperParamLine9;
    qint16 HyperParamLine11 = 0;
    qint16 ManualWeightMode = 0;
    qint16 ButtonExportMode = 0;
    qint16 ColumnMergeMode = 0;
    qint16 DeleteStoneFile = 0;
    qint16 BracketStoneId = 0;
    qint16 TranslateGiaGrades = 0;
    ::tav::PolishData PolishData;
    qint16 LoadingGuard = 0;
    qint16 AutoExportOnLoad = 0;
    qint16 StoneSubFolder = 0;
    QString PresetStoneId;
    QString CopyAndQuitOnLoad;
    QString ProcessLabel;

    // Reports.mdb, opened by start-up, used and closed by the export.
    std::unique_ptr<Database> ReportsConnection;
    // Class.mdb of the cut grading, opened afresh by each SetCutSymData.
    std::unique_ptr<Database> ClassDbConnection;
    // True while an export runs: a second one must not start inside it, and balance
    // input waits.
    bool exportInProgress = false;
    // What txtRealWgt holds as the balance link sees it: a balance reading still coming
    // in, one that has ended at a line end, or a text from anything else (the scan,
    // typing, blanking). Any change of the field outside the balance link makes it None.
    enum class BalanceReading { None, Open, Ended };
    BalanceReading balanceReading = BalanceReading::None;
    // Set by start-up while it runs the manual-weight toggle: the mode the settings
    // file keeps, whatever the toggle passes through.
    std::optional<bool> AllowManualWeightAsLoaded;
    // The outside grading component's objects, when it is installed; without it every
    // call of the lab adapters fails.
    LabGraderProvider* gradingComponent = nullptr;

    // The table-selection and About windows while they exist; at most one of each.
    QPointer<Form1> tableSelectionWindow;
    QPointer<FrmAbout> aboutWindow;
    // Buttons, menus, keys and closing. Last member: it goes before any control does,
    // so no event of a control being destroyed reaches it.
    std::unique_ptr<Commands> commands;

protected:
    // Every way of closing the window runs its unload steps (Form_Unload).
    void closeEvent(QCloseEvent* event) override;

private:
    // Building the window; no start-up runs here.
    void buildControls();
    QGroupBox* createStoneData(QWidget* central);
    QGroupBox* createUserData(QWidget* central);
    QGroupBox* createSettings(QWidget* central);
    QWidget* createStatusLine(QWidget* central);
    void createMenus();
    void setTabOrders();

    mutable IniFileCache scanFiles_;
};

} // namespace tav
