#pragma once

#include <QObject>

class QKeyEvent;
class QLineEdit;
class QWidget;

// The main window's buttons, menu entries, keys and closing: what each starts, where
// Enter moves the focus, and the steps that run whenever the window is closed.
namespace tav {

class FrmStoneID;

class Commands : public QObject {
    Q_OBJECT
public:
    // Wires the window's controls and menus. The window owns it.
    explicit Commands(FrmStoneID& window);

    void Cmd_OK_Click();
    void Expt_Click();
    // Folder dialogs into TxtExport and TxtACExport; a cancelled dialog changes nothing.
    void BtnBrowse_Click();
    void Command1_Click();
    // Deletes test_export.txt, then closes the main window.
    void Cmd_Can_Click();
    void cancc_Click();
    // Deletes test_export.txt, closes the About and the main window, ends the program.
    void exitt_Click();
    void Instr_Click();
    // The table-selection window, modeless; one instance, kept and brought forward.
    void seltables_Click();
    void Label4_DblClick(int index);
    // The About window, modeless; one at a time, brought forward when open.
    void Abou_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectMenus();
    void connectButtons();
    bool keyDown(QWidget* control, const QKeyEvent& key);
    bool mouseDoubleClick(QWidget* control);
    void browseInto(QLineEdit* target);

    FrmStoneID& window_;
};

// The steps of every way of closing the main window, before it goes: the window
// position is written, test_export.txt deleted, and the About and table-selection
// windows closed, so that no window is left to keep the program running.
void Form_Unload(FrmStoneID& window);

} // namespace tav
