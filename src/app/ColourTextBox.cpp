#include "app/ColourTextBox.h"

namespace tav {

ColourTextBox::ColourTextBox(QWidget* parent) : QLineEdit(parent) {
    setBackColor(vbWhite);
}

void ColourTextBox::setBackColor(int vbColor) {
    backColor_ = vbColor;
    QPalette colours = palette();
    colours.setColor(QPalette::Base, toQColor(vbColor));
    // The verdict colours are all light, so dark text stays readable on each of them.
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
}

} // namespace tav
