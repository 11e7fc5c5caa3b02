#include "app/PictureBox.h"

#include <QPainter>

namespace tav {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PictureBox::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PictureBox::clear() {
    setPicture(QImage());
}

QSize PictureBox::sizeHint() const {
    return {260, 200};
}

QSize PictureBox::minimumSizeHint() const {
    return {140, 110};
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.fillRect(area, palette().base());
    if (picture_.isNull() || area.isEmpty())
        return;
    QRect target(QPoint(0, 0), picture_.size().scaled(area.size(), Qt::KeepAspectRatio));
    target.moveCenter(area.center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_);
}

} // namespace tav
