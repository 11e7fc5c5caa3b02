#include "app/TriStateCheckBox.h"

namespace tav {

TriStateCheckBox::TriStateCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
    setTristate(true);
}

void TriStateCheckBox::nextCheckState() {
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

int checkValue(const QCheckBox* box) {
    switch (box->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Unchecked:
        break;
    }
    return 0;
}

void setCheckValue(QCheckBox* box, int value) {
    switch (value) {
    case 0:
        box->setCheckState(Qt::Unchecked);
        break;
    case 1:
        box->setCheckState(Qt::Checked);
        break;
    case 2:
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
        break;
    default:
        break;
    }
}

} // namespace tav
