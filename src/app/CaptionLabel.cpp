#include "app/CaptionLabel.h"

namespace tav {

CaptionLabel::CaptionLabel(const QString& caption, QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    setWordWrap(true);
    setAlignment(Qt::AlignCenter);
    setMargin(4);
    applyColours();
    setCaption(caption);
}

void CaptionLabel::setCaption(const QString& caption) {
    caption_ = caption;
    setText(displayText(caption));
}

void CaptionLabel::setBackground(const QColor& color) {
    background_ = color;
    applyColours();
}

void CaptionLabel::setForeground(const QColor& color) {
    foreground_ = color;
    applyColours();
}

QString CaptionLabel::displayText(const QString& caption) {
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        shown += caption[i];
        if (caption[i] == u'&' && i + 1 < caption.size() && caption[i + 1] == u'&')
            ++i;
    }
    return shown;
}

void CaptionLabel::applyColours() {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background_);
    colours.setColor(QPalette::WindowText, foreground_);
    setPalette(colours);
}

} // namespace tav
