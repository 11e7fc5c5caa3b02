#pragma once

#include <QPlainTextEdit>
#include <QString>

namespace tav {

// The status line msgb1. Its text is kept exactly as the program appends it (each
// warning after a line feed and a carriage return), because the problem log stores it
// whole; the view shows one line per line feed and follows the newest line. An append
// costs the length of what is added, however long the text has grown.
class StatusLine : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr);

    // The whole text as appended.
    const QString& text() const { return text_; }
    // Adds the text at the end and scrolls the view to it.
    void appendText(const QString& addition);
    // Empties the text and the view.
    void clear();

private:
    QString text_;
};

} // namespace tav
