#include "app/BalanceLink.h"

#include "app/FrmStoneID.h"
#include "export/ExportProcedure.h"
#include "platform/NumberText.h"
#include "platform/SerialControl.h"
#include "platform/StepFailure.h"
#include "platform/TextFile.h"

#include <QEvent>

namespace tav {
namespace {

const QString lineBreak = QString(QChar(10)) + QChar(13);

// HyperParam.txt read line by line; each read takes the next line or fails as the
// file reader does at the end of the file.
class BalanceSettingsReader {
public:
    explicit BalanceSettingsReader(const QString& path) : file_(path, TextStream::Mode::Read) {
        if (!file_.isOpen())
            throw StepFailure(QStringLiteral("Permission denied"), 70);
    }

    QString text() {
        std::optional<QString> line = file_.readLine();
        if (!line)
            throw StepFailure(QStringLiteral("Input past end of file"), 62);
        return *line;
    }

    qint16 int16() {
        const QString line = text();
        return checked(toInt16(line), line);
    }

    qint32 int32() {
        const QString line = text();
        return checked(toInt32(line), line);
    }

private:
    template <class T> static T checked(std::optional<T> value, const QString& line) {
        if (!isNumericText(line))
            throw StepFailure(QStringLiteral("Type mismatch"), 13);
        if (!value)
            throw StepFailure(QStringLiteral("Overflow"), 6);
        return *value;
    }

    TextStream file_;
};

void reportBalanceError(FrmStoneID& window, const StepFailure& failure) {
    window.appendWarning(
        QStringLiteral(" STOP .... Mettlar Communication Error  !!!! ") + lineBreak + lineBreak +
        QStringLiteral(".....Please Enter the stone Weight Manually ....") + lineBreak + lineBreak +
        QStringLiteral(" OR Change settings in 'Hyperparam.txt' ") + lineBreak + lineBreak +
        failure.description() + QStringLiteral(" : ") + QString::number(failure.number()) +
        QStringLiteral(" : "));
}

// Double-clicks on the weight field; the field still handles them itself afterwards.
// It lives as long as the field and reads nothing of the window until a double-click,
// so the window's own teardown never reaches into it.
class WeightFieldDoubleClick : public QObject {
public:
    WeightFieldDoubleClick(FrmStoneID& window, QLineEdit* field)
        : QObject(field), window_(window) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick)
            txtRealWgt_DblClick(window_);
        return false;
    }

private:
    FrmStoneID& window_;
};

// The chunk cut after each run of line ends: a reading begins with a character that is
// not a line end, so every piece but the first begins one.
QStringList readingPieces(const QString& chunk) {
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 1; i < chunk.size(); ++i) {
        if (isLineEnd(chunk[i - 1]) && !isLineEnd(chunk[i])) {
            pieces.append(chunk.mid(start, i - start));
            start = i;
        }
    }
    if (start < chunk.size())
        pieces.append(chunk.mid(start));
    return pieces;
}

// The end-of-file character has an event of its own; it is no part of a reading.
QString withoutEndOfFile(const QString& chunk) {
    QString text = chunk;
    text.remove(QChar(0x1A));
    return text;
}

// Blanks and control characters alone (a balance's idle output) are no reading.
bool holdsReading(const QString& piece) {
    for (const QChar c : piece)
        if (c.isPrint() && !c.isSpace())
            return true;
    return false;
}

QString withoutLeadingBlanks(const QString& text) {
    qsizetype blanks = 0;
    while (blanks < text.size() && text[blanks] == u' ')
        ++blanks;
    return text.mid(blanks);
}

void keepFirstEight(QLineEdit* field) {
    if (field->text().size() > 8)
        field->setText(field->text().left(8));
}

} // namespace

void connectBalanceLink(FrmStoneID& window) {
    FrmStoneID* const w = &window;
    // The entry has flipped its own check mark before it reports the click; the
    // switch goes by the mark as it was.
    QObject::connect(window.Allow, &QAction::triggered, w, [w](bool checked) {
        if (w->Allow->isCheckable())
            w->Allow->setChecked(!checked);
        Allow_Click(*w);
    });
    QObject::connect(window.MSComm1, &SerialControl::OnComm, w, [w] { MSComm1_OnComm(*w); });
    QObject::connect(window.MSComm1, &SerialControl::DeviceLost, w,
                     [w] { MSComm1_DeviceLost(*w); });
    window.txtRealWgt->installEventFilter(new WeightFieldDoubleClick(window, window.txtRealWgt));
    // HandleInput sets the state after its own changes of the field.
    QObject::connect(window.txtRealWgt, &QLineEdit::textChanged, w,
                     [w] { w->balanceReading = FrmStoneID::BalanceReading::None; });
}

void OpenBalancePort(FrmStoneID& window) {
    const QString name = QStringLiteral("HyperParam.txt");
    if (!window.folder.hasFile(name))
        return;
    SerialControl& port = *window.MSComm1;
    try {
        BalanceSettingsReader file(window.folder.file(name));
        port.setCommPort(file.int16());
        port.setHandshaking(file.int32());
        port.setRThreshold(file.int16());
        port.setRTSEnable(true);
        QStringList line;
        for (int i = 0; i < 4; ++i)
            line.append(file.text());
        port.setSettings(line.join(u','));
        port.setSThreshold(file.int16());
        window.HyperParamLine9 = file.text();
        window.WeightMessage = file.text();
        window.HyperParamLine11 = file.int16();
        window.NoWeightAutoExport = file.int16();
        if (window.NoWeightAutoExport == 1) {
            // Log folder, button mode and decimal format are still those of before: the
            // export sees an empty log folder at start-up.
            const ExportOutcome outcome = ExportData(window);
            if (outcome == ExportOutcome::ProgramEnded || window.platform.programEnd.hasEnded())
                return;
        }
        window.ButtonExportMode = file.int16();
        window.LogFolder = file.text();
        window.FixedDecimalFormat = file.int16();
        const bool byButton = window.ButtonExportMode == 1;
        window.Cmd_OK->setVisible(byButton);
        window.Cmd_Can->setVisible(byButton);
        window.Shape1[0]->setVisible(!byButton);
        window.Label4[0]->setEnabled(false);
        window.txtRealWgt->setReadOnly(true);
        port.setPortOpen(true);
    } catch (const StepFailure& failure) {
        reportBalanceError(window, failure);
    }
}

void MSComm1_OnComm(FrmStoneID& window) {
    SerialControl& port = *window.MSComm1;
    switch (port.CommEvent()) {
    case SerialControl::EventReceive:
        // The export reads the weight field; a reading that arrives meanwhile waits in
        // the port and comes with the next event.
        if (window.exportInProgress)
            return;
        step([&] { HandleInput(window, port.Input()); });
        break;
    case SerialControl::EventEOF:
        window.appendWarning(QStringLiteral(" Comm Error : Not Found"));
        break;
    default:
        break;
    }
}

void HandleInput(FrmStoneID& window, const QString& InBuff) {
    using Reading = FrmStoneID::BalanceReading;
    QLineEdit* const field = window.txtRealWgt;
    Reading reading = window.balanceReading;
    bool handled = false;
    for (const QString& piece : readingPieces(withoutEndOfFile(InBuff))) {
        bool replaces = false;
        if (isLineEnd(piece.front())) {
            // The rest of a line end split off its reading (CR, then LF): it joins that
            // reading; without a reading in the field there is nothing to end.
            if (reading == Reading::None)
                continue;
        } else if (reading != Reading::Open) {
            // A new reading replaces whatever the field held; blanks alone would only
            // wipe the weight.
            if (!holdsReading(piece))
                continue;
            replaces = true;
        }
        if (!handled)
            field->setReadOnly(false);
        handled = true;
        if (replaces)
            field->clear();
        field->end(false);
        field->insert(withoutLeadingBlanks(piece));
        keepFirstEight(field);
        reading = isLineEnd(piece.back()) ? Reading::Ended : Reading::Open;
    }
    // Nothing of a reading came: the lamp must not promise a weight the field lacks.
    if (!handled)
        return;
    window.balanceReading = reading;
    window.Shape1[0]->setFillColor(vbGreen);
    field->setReadOnly(true);
    window.txtStoneID->setFocus();
}

void Allow_Click(FrmStoneID& window) {
    if (window.Allow->isChecked()) {
        window.Label4[0]->setEnabled(false);
        window.txtRealWgt->setReadOnly(true);
        window.Allow->setText(kAllowBalanceModeCaption);
        window.Allow->setChecked(false);
        window.AllowManualWeight = false;
        window.ManualWeightMode = 0;
        OpenBalancePort(window);
    } else {
        window.Allow->setText(kAllowManualModeCaption);
        window.Label4[0]->setEnabled(true);
        window.txtRealWgt->setReadOnly(false);
        window.AllowManualWeight = true;
        window.Allow->setChecked(true);
        window.ManualWeightMode = 1;
        if (window.MSComm1->PortOpen())
            window.MSComm1->setPortOpen(false);
    }
}

void txtRealWgt_DblClick(FrmStoneID& window) {
    Allow_Click(window);
}

void MSComm1_DeviceLost(FrmStoneID& window) {
    window.appendWarning(QStringLiteral(" Comm Error : device lost"));
}

} // namespace tav
