#pragma once

#include <QCheckBox>

namespace tav {

// A check box with the three values the settings use: 0 unchecked, 1 checked,
// 2 grayed. Only the program sets it grayed; a click toggles between checked and
// unchecked, and a click on a grayed box checks it.
class TriStateCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TriStateCheckBox(const QString& text = {}, QWidget* parent = nullptr);

protected:
    void nextCheckState() override;
};

// 0, 1 or 2 for unchecked, checked or grayed.
int checkValue(const QCheckBox* box);
// Values other than 0, 1 and 2 are refused and leave the box as it is.
void setCheckValue(QCheckBox* box, int value);

} // namespace tav
