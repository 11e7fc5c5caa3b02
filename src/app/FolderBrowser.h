#pragma once

#include <QString>

// The folder dialog of the two "..." buttons.
namespace tav {

class FrmStoneID;

// Shows the platform's folder dialog titled sCaption over the active window. Returns
// the chosen folder as the dialog gives it (a root keeps its trailing separator), or
// sDefault when the dialog was cancelled.
QString BrowseForFolder(FrmStoneID& window, const QString& sCaption, const QString& sDefault);

} // namespace tav
