#include "app/WeightLamp.h"

#include <QPainter>

namespace tav {

WeightLamp::WeightLamp(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void WeightLamp::setFillColor(int vbColor) {
    if (fillColor_ == vbColor)
        return;
    fillColor_ = vbColor;
    update();
}

QSize WeightLamp::sizeHint() const {
    return {36, 36};
}

QSize WeightLamp::minimumSizeHint() const {
    return {16, 16};
}

void WeightLamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int diameter = qMin(width(), height()) - 2;
    QRect circle(0, 0, diameter, diameter);
    circle.moveCenter(rect().center());
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(toQColor(fillColor_));
    painter.drawEllipse(circle);
}

} // namespace tav
