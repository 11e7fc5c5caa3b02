#include "app/FolderBrowser.h"

#include "app/FrmStoneID.h"

#include <QApplication>
#include <QDir>

namespace tav {

QString BrowseForFolder(FrmStoneID& window, const QString& sCaption, const QString& sDefault) {
    QWidget* owner = QApplication::activeWindow();
    const QString chosen = window.platform.folders.pickFolder(sCaption, owner ? owner : &window);
    if (chosen.isEmpty())
        return sDefault;
    return QDir::toNativeSeparators(chosen);
}

} // namespace tav
