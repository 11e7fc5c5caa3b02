#include "app/ExportSettings.h"

#include "app/FrmStoneID.h"
#include "app/TriStateCheckBox.h"
#include "platform/NumberText.h"
#include "platform/ProgramFolder.h"
#include "platform/StepFailure.h"
#include "platform/TextFile.h"

#include <QEvent>
#include <QMouseEvent>

namespace tav {
namespace {

const QString kFileName = QStringLiteral("ExportPa.txt");

QString switchText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// A value must not carry a line end into the file: it would shift every later line.
QString oneLine(QString text) {
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

// A switch line compared, as a number, with 1; a line that is no number fails.
bool switchOn(const QString& text) {
    return require(wholeNumber(text)) == 1.0;
}

qint16 flagOf(bool on) {
    return on ? qint16(-1) : qint16(0);
}

// Sees a mouse press in the operator field: QLineEdit has no click signal.
class ClickWatcher final : public QObject {
public:
    ClickWatcher(FrmStoneID& window, QObject* parent) : QObject(parent), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A greyed field takes no clicks; Qt still shows them to filters.
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
            static_cast<QWidget*>(watched)->isEnabled())
            SaveExportSettings(window_);
        return QObject::eventFilter(watched, event);
    }

private:
    FrmStoneID& window_;
};

} // namespace

QStringList exportSettingsLines(const FrmStoneID& w) {
    QStringList lines = {
        w.TxtExport->text(),                                                   // 1
        w.txtRealWgt->text(),                                                  // 2
        w.txtLenNumber->text(),                                                // 3
        w.txtSysnumber->text(),                                                // 4
        w.TxtFileName->text(),                                                 // 5
        switchText(checkValue(w.chkbookmark) == 1),                            // 6
        w.TXTSYMBOL->text(),                                                   // 7
        w.CBOFORMAT->currentText(),                                            // 8
        w.CBODECIMAL->currentText(),                                           // 9
        QString::number(w.ExportPaSetting10),                                  // 10
        w.TxtACExport->text(),                                                 // 11
        doubleToText(w.program.ExportPaSetting12),                             // 12
        switchText(w.AsciiExportOn),                                           // 13
        switchText(w.AllowManualWeightAsLoaded.value_or(w.AllowManualWeight)), // 14
        switchText(w.EnableFieldEditing),                                      // 15
        switchText(w.DeleteStoneFile != 0),                                    // 16
        switchText(w.BracketStoneId != 0),                                     // 17
        switchText(w.AutoExportOnLoad != 0),                                   // 18
        switchText(w.TranslateGiaGrades != 0),                                 // 19
        switchText(w.BlankStoneAndWeight != 0),                                // 20
        w.Txt_Book->text(),                                                    // 21
        QString::number(w.StoneSubFolder),                                     // 22
        w.txtOperator->text(),                                                 // 23
        w.PresetStoneId,                                                       // 24
        w.CopyAndQuitOnLoad,                                                   // 25
        w.ProcessLabel,                                                        // 26
    };
    for (QString& line : lines)
        line = oneLine(line);
    return lines;
}

WriteResult writeExportSettings(FrmStoneID& window) {
    return replaceFileLines(window.folder.file(kFileName), exportSettingsLines(window),
                            /*mustExist=*/true);
}

void SaveExportSettings(FrmStoneID& window) {
    if (window.LoadingGuard == -1)
        return;
    writeExportSettings(window);
}

void connectSettingsTriggers(FrmStoneID& window) {
    QObject::connect(window.TxtExport, &QLineEdit::textChanged, &window,
                     [&window] { SaveExportSettings(window); });
    window.txtOperator->installEventFilter(new ClickWatcher(window, window.txtOperator));
}

std::optional<QStringList> readExportSettingsLines(const ProgramFolder& folder) {
    if (!folder.hasFile(kFileName))
        return std::nullopt;
    return readLines(folder.file(kFileName));
}

void applyExportSettingsLine(FrmStoneID& w, int lineNumber, const QString& text) {
    step([&] {
        switch (lineNumber) {
        case 1:
            w.TxtExport->setText(text);
            break;
        case 2: // the weight: read and thrown away
            break;
        case 3:
            w.txtLenNumber->setText(text);
            break;
        case 4:
            w.txtSysnumber->setText(text);
            break;
        case 5:
            w.TxtFileName->setText(text);
            break;
        case 6:
            setCheckValue(w.chkbookmark, switchOn(text) ? 1 : 0);
            break;
        case 7:
            w.TXTSYMBOL->setText(text);
            break;
        case 8:
            w.CBOFORMAT->setCurrentText(text);
            break;
        case 9:
            w.CBODECIMAL->setCurrentText(text);
            break;
        case 10:
            w.ExportPaSetting10 = require(toInt16(text), "Overflow");
            break;
        case 11:
            w.TxtACExport->setText(text);
            break;
        case 12:
            w.program.ExportPaSetting12 = require(wholeNumber(text));
            break;
        case 13:
            w.AsciiExportOn = switchOn(text);
            w.ASCII->setChecked(w.AsciiExportOn);
            break;
        case 14:
            w.AllowManualWeight = switchOn(text);
            w.Allow->setChecked(w.AllowManualWeight);
            break;
        case 15:
            w.EnableFieldEditing = switchOn(text);
            break;
        case 16:
            w.DeleteStoneFile = flagOf(switchOn(text));
            break;
        case 17:
            w.BracketStoneId = flagOf(switchOn(text));
            break;
        case 18:
            w.AutoExportOnLoad = flagOf(switchOn(text));
            break;
        case 19:
            w.TranslateGiaGrades = flagOf(switchOn(text));
            break;
        case 20:
            w.BlankStoneAndWeight = flagOf(switchOn(text));
            w.stnwgt->setChecked(w.BlankStoneAndWeight != 0);
            w.stnwgt->setText(
                w.BlankStoneAndWeight != 0
                    ? QStringLiteral("Do Not Blank the Stone_ID & WGT Field, system number etc")
                    : QStringLiteral("Blank the Stone_ID & WGT Field, system number etc"));
            break;
        case 21:
            w.Txt_Book->setText(text);
            break;
        case 22:
            w.StoneSubFolder = require(toInt16(text), "Overflow") == 1 ? 1 : 0;
            break;
        case 23:
            w.txtOperator->setText(text);
            break;
        case 24:
            w.PresetStoneId = text;
            break;
        case 25:
            w.CopyAndQuitOnLoad = text;
            break;
        case 26:
            w.ProcessLabel = text;
            break;
        default:
            break;
        }
    });
}

void applyExportSettingsLines(FrmStoneID& window, const QStringList& lines, int first, int last) {
    for (int n = std::max(first, 1); n <= last && n <= lines.size(); ++n)
        applyExportSettingsLine(window, n, lines[n - 1]);
}

} // namespace tav
