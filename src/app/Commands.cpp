#include "app/Commands.h"

#include "app/CodePageFields.h"
#include "app/EditingSwitches.h"
#include "app/FolderBrowser.h"
#include "app/FrmAbout.h"
#include "app/FrmStoneID.h"
#include "app/WindowPosition.h"
#include "export/ExportProcedure.h"
#include "scan/Form1.h"
#include "scan/KeyFileBuilder.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenuBar>

#include <algorithm>
#include <type_traits>

namespace tav {

namespace {

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// An editable combo hands its keys to its line edit; either stands for the combo.
QWidget* controlOf(QWidget* widget) {
    if (auto* combo = qobject_cast<QComboBox*>(widget->parentWidget())) {
        if (combo->lineEdit() == widget)
            return combo;
    }
    return widget;
}

// The "{TAB}" key: the focus goes on to the next control of the tab order.
void sendTab(QWidget* control) {
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(control, &tab);
}

// The focus leaves for another control of the window: not when the window loses it
// to another one, its list or a menu opens, or the menu bar is entered.
bool movesToAnotherControl(const QFocusEvent& event, const QWidget& window, const QWidget* left) {
    const Qt::FocusReason reason = event.reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
        reason == Qt::MenuBarFocusReason)
        return false;
    QWidget* now = QApplication::focusWidget();
    return now && now->window() == &window && controlOf(now) != left;
}

template <class Control, class Handler>
void onClick(Control* control, Commands* commands, Handler handler) {
    if constexpr (std::is_base_of_v<QAction, Control>)
        QObject::connect(control, &QAction::triggered, commands, handler);
    else
        QObject::connect(control, &QAbstractButton::clicked, commands, handler);
}

} // namespace

Commands::Commands(FrmStoneID& window) : window_(window) {
    connectMenus();
    connectButtons();
    // The window sees every key before its controls do, so Esc closes it from any of
    // them; the application filter also catches keys for the inner parts of a combo.
    qApp->installEventFilter(this);
}

void Commands::connectMenus() {
    FrmStoneID& w = window_;
    onClick(w.Expt, this, &Commands::Expt_Click);
    onClick(w.cancc, this, &Commands::cancc_Click);
    onClick(w.exitt, this, &Commands::exitt_Click);
    onClick(w.Instr, this, &Commands::Instr_Click);
    onClick(w.seltables, this, &Commands::seltables_Click);
    onClick(w.Abou, this, &Commands::Abou_Click);

    const auto switchEntry = [this](QAction* entry, void (*handler)(FrmStoneID&)) {
        connect(entry, &QAction::triggered, this, [this, entry, handler] {
            // Qt has flipped the mark already; the switch decides from the state it had
            // and sets the mark itself.
            entry->setChecked(!entry->isChecked());
            handler(window_);
        });
    };
    switchEntry(w.Enable, &Enable_Click);
    switchEntry(w.stnwgt, &stnwgt_Click);
    switchEntry(w.ASCII, &ASCII_Click);
}

void Commands::connectButtons() {
    FrmStoneID& w = window_;
    onClick(w.Cmd_OK, this, &Commands::Cmd_OK_Click);
    onClick(w.Cmd_Can, this, &Commands::Cmd_Can_Click);
    onClick(w.BtnBrowse, this, &Commands::BtnBrowse_Click);
    onClick(w.Command1, this, &Commands::Command1_Click);
}

void Commands::Cmd_OK_Click() {
    ExportData(window_);
}

void Commands::Expt_Click() {
    ExportData(window_);
}

void Commands::BtnBrowse_Click() {
    browseInto(window_.TxtExport);
}

void Commands::Command1_Click() {
    browseInto(window_.TxtACExport);
}

void Commands::browseInto(QLineEdit* target) {
    const QString chosen = BrowseForFolder(window_, QStringLiteral("Select a folder"), QString());
    if (chosen.isEmpty())
        return;
    // A new export folder saves the settings through the field's change.
    target->setText(chosen);
    checkEnteredText(target);
    window_.txtStoneID->setFocus();
}

void Commands::Cmd_Can_Click() {
    deleteKeyFile(window_.folder);
    window_.close();
}

void Commands::cancc_Click() {
    window_.close();
}

void Commands::exitt_Click() {
    deleteKeyFile(window_.folder);
    if (window_.aboutWindow)
        window_.aboutWindow->close();
    window_.close();
    window_.platform.programEnd.end();
}

void Commands::Instr_Click() {
    window_.platform.batches.start(window_.folder.file(QStringLiteral("TAV_Help.bat")));
}

void Commands::seltables_Click() {
    if (!window_.tableSelectionWindow)
        window_.tableSelectionWindow =
            new Form1(window_.folder, window_.platform.messages, &window_);
    Form1* form = window_.tableSelectionWindow;
    form->show();
    form->raise();
    form->activateWindow();
}

void Commands::Label4_DblClick(int) {
    seltables_Click();
}

void Commands::Abou_Click() {
    FrmAbout* about = window_.aboutWindow;
    // A closed one is on its way out; the next is loaded and placed afresh.
    if (!about || !about->isVisible()) {
        about = new FrmAbout(window_);
        window_.aboutWindow = about;
    }
    about->show();
    about->raise();
    about->activateWindow();
}

bool Commands::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::MouseButtonDblClick && type != QEvent::FocusOut)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &window_)
        return false;

    switch (type) {
    case QEvent::KeyPress:
        // The menu bar keeps the keys after Esc has closed an open menu; a further Esc
        // there only leaves the menus and must not close the window.
        if (qobject_cast<QMenuBar*>(widget))
            return false;
        return keyDown(controlOf(widget), *static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonDblClick:
        return mouseDoubleClick(widget);
    default:
        if (widget == window_.CBOFORMAT &&
            movesToAnotherControl(*static_cast<QFocusEvent*>(event), window_, window_.CBOFORMAT))
            window_.txtRealWgt->setFocus();
        return false;
    }
}

bool Commands::keyDown(QWidget* control, const QKeyEvent& key) {
    FrmStoneID& w = window_;
    if (key.key() == Qt::Key_Escape) {
        w.close();
        return true;
    }
    if (!isEnter(key.key()))
        return false;
    const QWidget* const exporting[] = {w.txtStoneID, w.TxtLotno, w.txtRealWgt};
    if (std::find(std::begin(exporting), std::end(exporting), control) != std::end(exporting)) {
        ExportData(w);
        return true;
    }
    const QWidget* const tabbing[] = {w.CBOFORMAT, w.cboShape, w.txtOperator, w.txtLenNumber,
                                      w.txtSysnumber};
    if (std::find(std::begin(tabbing), std::end(tabbing), control) != std::end(tabbing)) {
        sendTab(control);
        return true;
    }
    return false;
}

bool Commands::mouseDoubleClick(QWidget* control) {
    FrmStoneID& w = window_;
    // A disabled control has no events; Qt still shows them to filters.
    if (!control->isEnabled())
        return false;
    const auto label = std::find(w.Label4.begin(), w.Label4.end(), control);
    if (label != w.Label4.end()) {
        Label4_DblClick(static_cast<int>(label - w.Label4.begin()));
        return true;
    }
    // The field still selects the word under the pointer.
    if (control == w.TxtFileName)
        TxtFileName_DblClick(w);
    else if (control == w.txtSysnumber)
        txtSysnumber_DblClick(w);
    return false;
}

void Form_Unload(FrmStoneID& window) {
    Writewindowsize(window);
    deleteKeyFile(window.folder);
    if (window.aboutWindow)
        window.aboutWindow->close();
    // A table-selection window, hidden or shown, would otherwise outlive the main one.
    if (window.tableSelectionWindow)
        window.tableSelectionWindow->close();
}

} // namespace tav
