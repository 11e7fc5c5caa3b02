#pragma once

#include "app/VbColor.h"

#include <QWidget>

namespace tav {

// The round lamp beside the weight field: red until a weight is accepted, green after.
class WeightLamp : public QWidget {
    Q_OBJECT
public:
    explicit WeightLamp(QWidget* parent = nullptr);

    int fillColor() const { return fillColor_; }
    void setFillColor(int vbColor);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int fillColor_ = vbRed;
};

} // namespace tav
