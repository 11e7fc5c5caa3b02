#include "app/StatusLine.h"

#include <QTextCursor>

namespace tav {

StatusLine::StatusLine(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    // Nothing is ever undone here, and a kept undo step per warning only grows.
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void StatusLine::appendText(const QString& addition) {
    text_ += addition;
    // The view breaks lines at the line feeds; the carriage return after each would
    // otherwise start a second, empty line.
    QString shown = addition;
    shown.remove(u'\r');
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(shown);
    setTextCursor(end);
    ensureCursorVisible();
}

void StatusLine::clear() {
    text_.clear();
    QPlainTextEdit::clear();
}

} // namespace tav
