#pragma once

#include <QComboBox>

class QWheelEvent;

namespace tav {

// An editable combo box whose value is its text. What the operator types stays exactly
// as typed: nothing completes it, and Enter or leaving the box never swaps it for a
// list item. Whatever sets the text (a program, the operator, the list) makes the item
// of exactly that text current, so the arrow keys go on from it; a text that no item
// has, and an empty box, leave no item current. The wheel neither gives the box the
// keyboard focus nor turns it without the focus.
class TextComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TextComboBox(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void followText(const QString& text);

    bool following_ = false;
};

} // namespace tav
