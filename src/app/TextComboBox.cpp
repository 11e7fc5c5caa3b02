#include "app/TextComboBox.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QWheelEvent>

namespace tav {

TextComboBox::TextComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    // The program sets texts that are not in the list, and a typed text must not join
    // the list that the next stone offers.
    setInsertPolicy(QComboBox::NoInsert);
    // Without a completer Qt matches a text to an item only exactly and with case, so
    // "g" stays "g" beside an item "G".
    setCompleter(nullptr);
    // A combo box takes the focus from the wheel by default, before the wheel reaches
    // it: one notch while passing over it would then change a grade the operator never
    // chose. A click or the tab key still gives it the focus.
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QComboBox::editTextChanged, this, &TextComboBox::followText);
}

void TextComboBox::followText(const QString& text) {
    if (following_)
        return;
    const int match = text.isEmpty() ? -1 : findText(text);
    if (match == currentIndex())
        return;
    following_ = true;
    if (match >= 0) {
        // The item's text is the text shown, so the box keeps it.
        setCurrentIndex(match);
    } else {
        // Qt empties the text with the current item; the text comes back at once and,
        // with the signals held, nobody sees it go.
        QLineEdit* edit = lineEdit();
        const int cursor = edit->cursorPosition();
        const QSignalBlocker quiet(edit);
        setCurrentIndex(-1);
        edit->setText(text);
        edit->setCursorPosition(cursor);
    }
    following_ = false;
}

void TextComboBox::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

} // namespace tav
