#pragma once

#include <QWidget>

#include <array>

// The File menu's editing, blanking and ASCII switches, and the two locked fields
// that a double-click opens. Each click changes the window only; the settings file
// takes the new state the next time it is written.
namespace tav {

class FrmStoneID;

inline constexpr std::size_t kEditingControlCount = 20;

// The setting and stone-data controls that the editing switch enables and disables,
// in the order it sets them.
std::array<QWidget*, kEditingControlCount> editingControls(const FrmStoneID& window);

// Flips EnableFieldEditing, sets the check mark and the caption that names the new
// state, then enables or disables the controls to match the check mark.
void Enable_Click(FrmStoneID& window);

// Blanking on (BlankStoneAndWeight -1): the stone ID, weight and lot fields are
// emptied, the lot shown being kept in SavedLotNo. Blanking off (from -1 only; any
// other value counts as off): the stone ID and weight read at start-up come back,
// and the kept lot when there is one.
void stnwgt_Click(FrmStoneID& window);

// Flips AsciiExportOn and its check mark; the caption stays.
void ASCII_Click(FrmStoneID& window);

// Locks the field when it is open, opens it when it is locked.
void TxtFileName_DblClick(FrmStoneID& window);
void txtSysnumber_DblClick(FrmStoneID& window);

} // namespace tav
