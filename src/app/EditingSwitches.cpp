#include "app/EditingSwitches.h"

#include "app/FrmStoneID.h"

namespace tav {

namespace {

void toggleLock(QLineEdit* field) {
    field->setReadOnly(!field->isReadOnly());
}

} // namespace

std::array<QWidget*, kEditingControlCount> editingControls(const FrmStoneID& window) {
    const FrmStoneID& w = window;
    return {w.CBODECIMAL,  w.CBOFORMAT,     w.BtnBrowse,   w.Command1,     w.txtLenNumber,
            w.TxtFileName, w.TXTSYMBOL,     w.chkbookmark, w.txtSysnumber, w.TxtExport,
            w.TxtACExport, w.cbColor,       w.cbClarity,   w.cbPolish,     w.CbSym,
            w.cboShape,    w.cbFlaurosance, w.txtOperator, w.TxtShape,     w.txtCompanyName};
}

void Enable_Click(FrmStoneID& window) {
    if (window.EnableFieldEditing) {
        window.EnableFieldEditing = false;
        window.Enable->setChecked(false);
        window.Enable->setText(QStringLiteral(
            "&Disable Editing of Various Fields like Directory , system number etc"));
    } else {
        window.EnableFieldEditing = true;
        window.Enable->setChecked(true);
        window.Enable->setText(
            QStringLiteral("&Enable Editing of Various Fields like Directory , system number etc"));
    }
    const bool enabled = window.Enable->isChecked();
    for (QWidget* control : editingControls(window))
        control->setEnabled(enabled);
    window.cbPolish->setEnabled(enabled);
}

void stnwgt_Click(FrmStoneID& window) {
    if (window.BlankStoneAndWeight == -1) {
        window.BlankStoneAndWeight = 0;
        window.stnwgt->setChecked(false);
        window.stnwgt->setText(QStringLiteral("Blank the Stone_ID & WGT Field, system number etc"));
        window.txtStoneID->setText(window.SavedStoneId);
        window.txtRealWgt->setText(window.SavedRealWeight);
        // Nothing is kept for a lot that start-up put there; that lot stays.
        if (!window.SavedLotNo.isEmpty())
            window.TxtLotno->setText(window.SavedLotNo);
    } else {
        window.BlankStoneAndWeight = -1;
        window.stnwgt->setChecked(true);
        window.stnwgt->setText(
            QStringLiteral("&Do Not Blank the Stone_ID & WGT Field , system number etc"));
        // Kept so that switching the blanking off gives the lot back.
        window.SavedLotNo = window.TxtLotno->text();
        window.txtStoneID->clear();
        window.txtRealWgt->clear();
        window.TxtLotno->clear();
    }
}

void ASCII_Click(FrmStoneID& window) {
    window.AsciiExportOn = !window.AsciiExportOn;
    window.ASCII->setChecked(window.AsciiExportOn);
}

void TxtFileName_DblClick(FrmStoneID& window) {
    toggleLock(window.TxtFileName);
}

void txtSysnumber_DblClick(FrmStoneID& window) {
    toggleLock(window.txtSysnumber);
}

} // namespace tav
