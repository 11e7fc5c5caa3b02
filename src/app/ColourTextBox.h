#pragma once

#include "app/VbColor.h"

#include <QLineEdit>

namespace tav {

// A text box whose background colour is kept as the program's colour number, so the
// verdict can be read back from it exactly as it was set.
class ColourTextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit ColourTextBox(QWidget* parent = nullptr);

    int backColor() const { return backColor_; }
    void setBackColor(int vbColor);

private:
    int backColor_ = vbWhite;
};

} // namespace tav
