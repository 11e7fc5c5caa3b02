#pragma once

#include <QColor>
#include <QLabel>

namespace tav {

// A label whose caption is kept as the program writes it, with "&&" for one
// ampersand, and shown as a person reads it. Callers use caption()/setCaption();
// text() is only what is on screen.
class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    explicit CaptionLabel(const QString& caption = {}, QWidget* parent = nullptr);

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);

    QColor background() const { return background_; }
    void setBackground(const QColor& color);
    QColor foreground() const { return foreground_; }
    void setForeground(const QColor& color);

    // Neutral grey, so a status that no colour rule matches still reads as a panel.
    static QColor designedBackground() { return QColor(212, 208, 200); }

    // The caption as shown: each "&&" becomes "&"; everything else stays as it is.
    static QString displayText(const QString& caption);

private:
    void applyColours();

    QString caption_;
    QColor background_ = designedBackground();
    QColor foreground_ = Qt::black;
};

} // namespace tav
