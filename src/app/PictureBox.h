#pragma once

#include <QFrame>
#include <QImage>

namespace tav {

// A framed box that shows one picture scaled to fit, keeping its aspect ratio, or
// nothing.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    const QImage& picture() const { return picture_; }
    void setPicture(const QImage& picture);
    void clear();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace tav
