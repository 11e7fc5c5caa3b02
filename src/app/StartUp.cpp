#include "app/StartUp.h"

#include "app/BalanceLink.h"
#include "app/EditingSwitches.h"
#include "app/ExportSettings.h"
#include "app/FrmStoneID.h"
#include "app/ImageCopy.h"
#include "app/ReportPictures.h"
#include "app/ScanStatus.h"
#include "app/WindowPosition.h"
#include "export/ExportProcedure.h"
#include "platform/AnsiText.h"
#include "platform/Database.h"
#include "platform/DateText.h"
#include "platform/FileCopy.h"
#include "platform/NumberText.h"
#include "platform/ProgramVersion.h"
#include "platform/ReadableText.h"
#include "platform/StepFailure.h"
#include "platform/StoneFileName.h"
#include "platform/TextFile.h"
#include "scan/KeyFileBuilder.h"
#include "scan/KeyReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <array>

namespace tav {
namespace {

struct RequiredFile {
    const char* name;
    const char* message;
    const char* title;
};

constexpr std::array<RequiredFile, 4> kRequiredFiles{{
    {"reports.mdb", "Reports.mdb file does not exist  - Can not proceed further....",
     "REPORTS.MDB ABSENT"},
    {"exportpa.txt", "ExportPa.txt file does not exist  - Can not proceed further....",
     "EXPORTPA.TXT ABSENT"},
    {"hyperparam.txt", "HyperParam.txt file does not exist  - Can not proceed further....",
     "HYPERPARAM.TXT ABSENT"},
    {"test.txt", "test.txt file does not exist  - Re Scan the stone and Repeat....",
     "TEST.TXT NOT FOUND"},
}};

const QString kAlreadyRunning =
    QStringLiteral("The export utility is already running for this program folder : ");

const QString kShapeMissing = QStringLiteral(
    "This Shape is not present in Template or in the Shape list ...Please select the Shape "
    "manually");

// The text of a column of the row; a Null or a missing column fails, so the control
// keeps what it showed.
QString columnText(const QVariantList& row, int position) {
    require(position < row.size(), "Item not found in this collection");
    const QVariant& value = row[position];
    require(!value.isNull(), "Invalid use of Null");
    return value.toString();
}

// A list offers its items and chooses none. Qt makes the first item current when an
// empty box is filled, and clearing a box empties its text: the box keeps what it
// showed (and so the item of that text), so only the row, the settings, the scan or
// the operator give it a text.
template <class Change> void keepingText(QComboBox* box, Change change) {
    const QString text = box->currentText();
    change();
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

void fillList(QComboBox* box, const QStringList& items) {
    keepingText(box, [&] { box->addItems(items); });
}

} // namespace

StartUp::StartUp(FrmStoneID& window) : window_(window) {}

QDateTime StartUp::programFileDate() {
    return QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
}

StartUpOutcome Form_Load(FrmStoneID& window) {
    return StartUp(window).run();
}

StartUpOutcome StartUp::run() {
    FrmStoneID& w = window_;
    ProgramEnd& programEnd = w.platform.programEnd;

    // A second start on the folder (a double click) would rebuild and delete the key
    // file under the first one and export the same stone again: it ends untouched.
    if (!w.folderLock.take()) {
        w.platform.messages.show(kAlreadyRunning + w.folder.path() +
                                     QStringLiteral("  - Can not proceed further...."),
                                 QStringLiteral("PROGRAM ALREADY RUNNING"), MessageIcon::Critical);
        programEnd.end();
        return StartUpOutcome::ProgramEnded;
    }
    // The key file is read through the run's connection to Reports.mdb, opened here
    // already: the steps that ask for it later keep it (see openReportsConnection), so the
    // file is opened and its schema read once. A database that cannot be opened is said
    // at the later step, and the key file then holds its section line only.
    step([&] {
        openReportsConnection(false);
        BuildTestExport(w.folder, w.platform.messages, w.ReportsConnection.get());
    });
    programDate_ = programFileDate();
    w.msgb1->clear();
    w.program.ExportWarningFlag = 0;
    captionFromVersion(QStringLiteral("TAVIX EXPORT UTILITY"));
    userName_ = w.platform.environment.userName();
    for (QWidget* control : editingControls(w))
        control->setEnabled(false);

    if (!requiredFilesPresent())
        return StartUpOutcome::ProgramEnded;

    w.LoadingGuard = -1;
    step([&] { setwindowsize(w); });
    openReportsConnection(true);
    fillLists();
    readUserFiles();
    readLastUserData();

    const QStringList settings = readExportSettingsLines(w.folder).value_or(QStringList());
    applyExportSettingsLines(w, settings, 1, 23);
    if (!stoneIdAndOptions())
        return StartUpOutcome::ProgramEnded;
    scannerWeight();
    step([&] { showScanStatus(w); });

    w.LoadingGuard = 0;
    if (!applySwitches())
        return StartUpOutcome::ProgramEnded;
    selectShape();
    // The pictures' conversions share one time budget, so a broken helper holds up
    // start-up only once.
    const MetafileConverter converter;
    step([&] { showReportViews(w, converter); });
    step([&] { copyStoreImages(w, converter); });

    w.txtStoneID->setFocus();
    if (w.AutoExportOnLoad != 0) {
        w.txtStoneID->setFocus();
        ExportData(w);
        if (programEnd.hasEnded())
            return StartUpOutcome::ProgramEnded;
    }
    return StartUpOutcome::Waiting;
}

void StartUp::captionFromVersion(const QString& title) {
    if (!programDate_.isValid())
        return;
    window_.setWindowTitle(title + QStringLiteral(" Ver:") + programVersionText() +
                           QStringLiteral(".DTD : ") + generalDateTimeText(programDate_));
}

bool StartUp::requiredFilesPresent() {
    for (const RequiredFile& file : kRequiredFiles) {
        if (window_.folder.hasFile(QString::fromLatin1(file.name)))
            continue;
        window_.platform.messages.show(QString::fromLatin1(file.message),
                                       QString::fromLatin1(file.title), MessageIcon::Critical);
        window_.platform.programEnd.end();
        return false;
    }
    return true;
}

// The run's connection to Reports.mdb, asked for before the key file is built and again
// by two later steps. A connection open on the file that the folder's Reports.mdb names
// now is kept: SQLite reads the file as it
// stands at every statement, so a row written meanwhile, by this program or another, is
// seen all the same, and opening it again would only read the schema once more. A file
// put in its place is opened anew. A database that cannot be opened is said once, with
// its cause, when `report` is set: a critical box and a warning on the status line.
// Start-up goes on without it.
void StartUp::openReportsConnection(bool report) {
    FrmStoneID& w = window_;
    const QString path = w.folder.file(QStringLiteral("Reports.mdb"));
    if (w.ReportsConnection && w.ReportsConnection->opensFileAt(path))
        return;
    w.ReportsConnection.reset();
    DatabaseOpening opening = Database::open(path);
    w.ReportsConnection = std::move(opening.database);
    if (w.ReportsConnection || !report || databaseProblemShown_)
        return;
    databaseProblemShown_ = true;
    const QString problem = databaseProblemText(path, opening);
    w.platform.messages.show(problem, databaseProblemTitle(path), MessageIcon::Critical);
    w.appendWarning(problem);
}

void StartUp::fillLists() {
    fillList(window_.CBOFORMAT, {"Row", "Col", "Col_Row", "Table"});
    fillList(window_.CBODECIMAL, {"1", "2", "3", "4", "5", "Auto"});
}

void StartUp::readUserFiles() {
    FrmStoneID& w = window_;
    if (const auto lists = readLines(w.folder.file(QStringLiteral("UserDat.txt")))) {
        const std::array<QComboBox*, 6> boxes{w.cbColor,  w.cbClarity, w.cbFlaurosance,
                                              w.cboShape, w.cbPolish,  w.CbSym};
        keepingText(w.cboShape, [&] { w.cboShape->clear(); });
        for (std::size_t i = 0; i < boxes.size() && i < std::size_t(lists->size()); ++i)
            fillList(boxes[i], lists->at(int(i)).split(u','));
    }

    const auto names = readLines(w.folder.file(QStringLiteral("UserDat_name.txt")));
    if (!names)
        return;
    const std::array<QLabel*, 11> labels{w.Label6[5], w.Label12, w.Label11,   w.Label17,
                                         w.Label9[0], w.Label10, w.Label9[1], w.Label4[1],
                                         w.Label2,    w.Label18, w.Label4[0]};
    for (std::size_t i = 0; i < labels.size() && i < std::size_t(names->size()); ++i)
        labels[i]->setText(names->at(int(i)));
    if (names->size() >= 12 && !names->at(11).isEmpty())
        captionFromVersion(names->at(11));
}

void StartUp::readLastUserData() {
    FrmStoneID& w = window_;
    openReportsConnection(true);
    if (!w.ReportsConnection)
        return;
    const auto rows = w.ReportsConnection->selectAll(QStringLiteral("UserData"));
    if (!rows)
        return;
    for (const QVariantList& row : rows->rows) {
        step([&] { w.cbColor->setCurrentText(columnText(row, 1)); });
        step([&] { w.cbClarity->setCurrentText(columnText(row, 2)); });
        step([&] { w.cbFlaurosance->setCurrentText(columnText(row, 3)); });
        step([&] { w.cboShape->setCurrentText(columnText(row, 66)); });
        // The lot is kept as well, so that switching the blanking off restores it.
        step([&] {
            w.TxtLotno->setText(columnText(row, 12));
            w.SavedLotNo = w.TxtLotno->text();
        });
        step([&] { w.txtOperator->setText(columnText(row, 15)); });
        step([&] { w.TxtShape->setText(columnText(row, 24)); });
        step([&] { w.txtCompanyName->setText(columnText(row, 17)); });
        step([&] { w.cbPolish->setCurrentText(columnText(row, 6)); });
        step([&] { w.CbSym->setCurrentText(columnText(row, 71)); });
        w.TxtRepID->setText(userName_);
    }
}

bool StartUp::stoneIdAndOptions() {
    FrmStoneID& w = window_;
    const QString stoneId =
        w.GetString(numericalParameters, QStringLiteral("STONE_ID"), w.testFile());
    if (!stoneId.isEmpty()) {
        w.txtStoneID->setText(stoneId);
        w.SavedStoneId = w.txtStoneID->text();
        w.txtRealWgt->setText(
            w.GetString(numericalParameters, QStringLiteral("WEIGHT_REAL"), w.testFile()));
        w.SavedRealWeight = w.txtRealWgt->text();
    }
    if (w.BlankStoneAndWeight != 0) {
        w.txtStoneID->clear();
        w.txtRealWgt->clear();
    }
    const QStringList settings = readExportSettingsLines(w.folder).value_or(QStringList());
    applyExportSettingsLines(w, settings, 24, 24);
    if (isOptionSet(w.PresetStoneId))
        w.txtStoneID->setText(w.PresetStoneId);
    w.txtStoneID->setFocus();
    w.Msg_1->setCaption(w.GetString(numericalParameters,
                                    QStringLiteral("MODEL_BUILDING_ERROR_STATUS"), w.testFile()));

    applyExportSettingsLines(w, settings, 25, 25);
    if (isOptionSet(w.CopyAndQuitOnLoad) && copyAndQuit())
        return false;

    applyExportSettingsLines(w, settings, 26, 26);
    if (isOptionSet(w.ProcessLabel)) {
        w.StoneExportFile =
            w.TxtExport->text().trimmed() + QDir::separator() +
            w.GetString(numericalParameters, QStringLiteral("STONE_ID"), w.testFile()) + u'_' +
            w.ProcessLabel + w.txtSysnumber->text();
    }
    return true;
}

// test.txt into the export folder's folder of the stone, then Transfer_files.bat and
// the end. A copy that did not land is reported and the program stays open: quitting
// would pass the stone on as if it had been transferred.
bool StartUp::copyAndQuit() {
    FrmStoneID& w = window_;
    const QString id = w.GetString(numericalParameters, QStringLiteral("STONE_ID"), w.testFile());
    const QString exportFolder = w.TxtExport->text().trimmed();
    const QString stoneFolder = joinPath(exportFolder, id);
    // The id directly followed by the system number: the export's own files put a dot
    // between them, this copy never did.
    w.StoneExportFile = joinPath(stoneFolder, id + w.txtSysnumber->text());

    QString failure;
    if (!namesFolder(exportFolder) || !QFileInfo(exportFolder).isDir())
        failure = QStringLiteral("Export path Does not exists : ") + exportFolder;
    else if (!isSafeStoneId(id) || !QDir(exportFolder).mkpath(id))
        failure = QStringLiteral("Folder could not be made : ") + stoneFolder;
    else {
        QDir::setCurrent(exportFolder);
        // A system number that lost characters in the settings file names no file.
        if (!isAnsiName(w.StoneExportFile) || !copyReplacing(w.testFile(), w.StoneExportFile))
            failure = QStringLiteral("test.txt could not be copied to ") + w.StoneExportFile;
    }
    if (!failure.isEmpty()) {
        w.platform.messages.show(readableText(failure) +
                                     QStringLiteral("  - Files are NOT transferred...."),
                                 QStringLiteral("COPY FAILED"), MessageIcon::Critical);
        return false;
    }
    w.platform.batches.start(w.folder.file(QStringLiteral("Transfer_files.bat")));
    w.platform.programEnd.end();
    return true;
}

void StartUp::scannerWeight() {
    FrmStoneID& w = window_;
    w.TxtHP_Wgt->setText(
        w.GetString(numericalParameters, QStringLiteral("CORRECTED_MASS"), w.testFile()));
    if (leadingNumber(w.TxtHP_Wgt->text()) == 0)
        w.TxtHP_Wgt->setText(
            w.GetString(numericalParameters, QStringLiteral("WEIGHT_4_CT"), w.testFile()));
}

// Each switch runs its toggle twice, which applies captions, marks and field states
// and opens the balance port once in either saved mode.
bool StartUp::applySwitches() {
    FrmStoneID& w = window_;
    // An export started by the balance set-up inside the first toggle must save the
    // mode as loaded, not the balance mode the toggle passes through.
    w.AllowManualWeightAsLoaded = w.AllowManualWeight;
    for (int i = 0; i < 2; ++i) {
        step([&] { Allow_Click(w); });
        if (w.platform.programEnd.hasEnded())
            return false;
    }
    w.AllowManualWeightAsLoaded.reset();
    for (int i = 0; i < 2; ++i)
        step([&] { Enable_Click(w); });
    return true;
}

void StartUp::selectShape() {
    FrmStoneID& w = window_;
    const QString cuttingType =
        w.GetString(numericalParameters, QStringLiteral("CUTTING_TYPE"), w.testFile());
    for (int i = 0; i < w.cboShape->count(); ++i) {
        if (w.cboShape->itemText(i) == cuttingType) {
            w.cboShape->setCurrentText(cuttingType);
            return;
        }
    }
    w.platform.messages.show(kShapeMissing, QStringLiteral("SHAPE NOT PRESENT"), MessageIcon::None);
    w.cboShape->setToolTip(kShapeMissing);
}

} // namespace tav
