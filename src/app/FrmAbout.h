#pragma once

#include <QWidget>

class QFrame;
class QLabel;

namespace tav {

// The About window: a picture, the title, the version and the date of the program
// file. It closes at the first click on it, its picture or its two information lines,
// and at Enter or Esc; the title line takes no clicks. It deletes itself on closing,
// so the next one is placed afresh.
class FrmAbout : public QWidget {
    Q_OBJECT
public:
    // The main window is the parent: the About window goes with it and never keeps
    // the program alive on its own.
    explicit FrmAbout(QWidget& mainWindow);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Exe = nullptr;
    QLabel* AppMod = nullptr;
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;

    // Placement at the main window's left + 67 and top + 750 twips, and the version
    // and modification lines.
    void Form_Load();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& mainWindow_;
};

} // namespace tav
