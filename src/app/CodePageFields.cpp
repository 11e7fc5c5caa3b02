#include "app/CodePageFields.h"

#include "app/FrmStoneID.h"
#include "platform/AnsiText.h"

#include <QLineEdit>

namespace tav {
namespace {

struct WatchedField {
    QLineEdit* FrmStoneID::*field;
    const char* caption;
    bool namesFiles; // the text names a folder or a file the export makes
};

// In the order of the window, with the captions the operator sees.
constexpr WatchedField kFields[] = {
    {&FrmStoneID::txtStoneID, "STONE ID", true},
    {&FrmStoneID::TxtLotno, "KAPAN/LOT", false},
    {&FrmStoneID::TxtExport, "EXPORT FOLDER", true},
    {&FrmStoneID::TxtACExport, "ASCII FOLDER", true},
    {&FrmStoneID::txtSysnumber, "SYSTEM NUMBER", true},
    {&FrmStoneID::TxtFileName, "FILE NAME", true},
    {&FrmStoneID::txtLenNumber, "LENS NUMBER", false},
};

// Lives on its field. Remembers whether the current entry has been warned of: a text
// that fits again, however it got there, ends the entry.
class FieldWatch final : public QObject {
public:
    FieldWatch(FrmStoneID& window, QLineEdit* field, const WatchedField& watched)
        : QObject(field), window_(window), field_(field), watched_(watched) {
        connect(field, &QLineEdit::textEdited, this, &FieldWatch::entered);
        connect(field, &QLineEdit::textChanged, this, [this](const QString& text) {
            if (fitsAnsi(text))
                warned_ = false;
        });
    }

    void entered() {
        if (fitsAnsi(field_->text())) {
            warned_ = false;
            return;
        }
        if (warned_)
            return;
        warned_ = true;
        window_.appendWarning(QLatin1String(watched_.caption) +
                              QStringLiteral(" holds characters the files can not hold ......") +
                              (watched_.namesFiles
                                   ? QStringLiteral("It can not name a folder or file")
                                   : QStringLiteral("They are written as ?")));
    }

private:
    FrmStoneID& window_;
    QLineEdit* field_;
    const WatchedField& watched_;
    bool warned_ = false;
};

} // namespace

void connectCodePageWarnings(FrmStoneID& window) {
    for (const WatchedField& watched : kFields)
        new FieldWatch(window, window.*watched.field, watched);
}

void checkEnteredText(QLineEdit* field) {
    for (QObject* child : field->children()) {
        if (auto* watch = dynamic_cast<FieldWatch*>(child)) {
            watch->entered();
            return;
        }
    }
}

} // namespace tav
