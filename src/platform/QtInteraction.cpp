#include "platform/QtInteraction.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace tav {

void QtMessageBoxes::show(const QString& text, const QString& title, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    title.isEmpty() ? QCoreApplication::applicationName() : title, text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void ThreadPause::sleep(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void ShellBatchStarter::start(const QString& batchFile) {
    if (!QFileInfo(batchFile).isFile())
        return;
    QProcess::startDetached(QStringLiteral("/bin/sh"), {batchFile}, QDir::currentPath());
}

void QtProgramEnd::end() {
    ended_ = true;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        window->hide();
    // exit() is lost when the event loop has not started yet; the queued quit is not.
    QCoreApplication::exit(0);
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

QString QtFolderPicker::pickFolder(const QString& caption, QWidget* owner) {
    return QFileDialog::getExistingDirectory(owner, caption, QString(), QFileDialog::ShowDirsOnly);
}

QString SystemEnvironment::userName() const {
    for (const char* name : {"USERNAME", "USER", "LOGNAME"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

} // namespace tav
