#include "app/FrmAbout.h"

#include "app/WindowPosition.h"
#include "platform/DateText.h"
#include "platform/ProgramVersion.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace tav {

namespace {

// A brilliant seen from the side: table, crown and pavilion outlines.
QPixmap diamondPicture() {
    QPixmap picture(160, 120);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(30, 60, 120), 2));
    const QPointF tableLeft(55, 20), tableRight(105, 20);
    const QPointF girdleLeft(15, 50), girdleRight(145, 50);
    const QPointF culet(80, 110);
    QPainterPath outline;
    outline.moveTo(tableLeft);
    outline.lineTo(tableRight);
    outline.lineTo(girdleRight);
    outline.lineTo(culet);
    outline.lineTo(girdleLeft);
    outline.closeSubpath();
    painter.fillPath(outline, QColor(220, 235, 250));
    painter.drawPath(outline);
    painter.drawLine(girdleLeft, girdleRight);
    for (const QPointF& top : {tableLeft, tableRight}) {
        painter.drawLine(top, QPointF(80, 50));
        painter.drawLine(QPointF(top.x(), 50), culet);
    }
    return picture;
}

QFrame* line(const char* name, QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFrameShape(QFrame::HLine);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

QLabel* label(const char* name, const QString& text, QWidget* parent) {
    auto* shown = new QLabel(text, parent);
    shown->setObjectName(QLatin1String(name));
    shown->setTextFormat(Qt::PlainText);
    shown->setAlignment(Qt::AlignCenter);
    return shown;
}

} // namespace

FrmAbout::FrmAbout(QWidget& mainWindow)
    : QWidget(&mainWindow, Qt::Dialog), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("FrmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About Tavix Vantor EXPORT Utility"));
    // The window itself takes the keys: none of its parts can have the focus.
    setFocusPolicy(Qt::StrongFocus);

    Image1 = label("Image1", QString(), this);
    Image1->setPixmap(diamondPicture());

    Label1 = label("Label1", QStringLiteral("TAVIX  EXPORT UTILITY"), this);
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    Label1->setFont(titleFont);
    // The title has no click of its own, and a click on it must not reach the window.
    Label1->setAttribute(Qt::WA_NoMousePropagation);

    Line1 = line("Line1", this);
    Exe = label("Exe", QString(), this);
    AppMod = label("AppMod", QString(), this);
    Line2 = line("Line2", this);
    for (QLabel* closer : {Image1, Exe, AppMod}) {
        closer->installEventFilter(this);
        if (closer != Image1)
            closer->setToolTip(QStringLiteral("Click to Exit"));
    }

    auto* column = new QVBoxLayout(this);
    column->addWidget(Image1);
    column->addWidget(Label1);
    column->addWidget(Line1);
    column->addWidget(Exe);
    column->addWidget(AppMod);
    column->addWidget(Line2);
    column->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

void FrmAbout::Form_Load() {
    // Twips on the main window's frame position, as single-precision numbers.
    const float twips = kTwipsPerPixel;
    const float left = mainWindow_.x() * twips + 67.0f;
    const float top = mainWindow_.y() * twips + 750.0f;
    move(qRound(left / twips), qRound(top / twips));

    Exe->setText(QStringLiteral("Application Version : ") + programVersionText());
    const QFileInfo program(QCoreApplication::applicationFilePath());
    AppMod->setText(QStringLiteral("Modified : ") + generalDateTimeText(program.lastModified()));
}

void FrmAbout::mousePressEvent(QMouseEvent*) {
    close();
}

void FrmAbout::mouseDoubleClickEvent(QMouseEvent*) {
    close();
}

void FrmAbout::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        close();
        break;
    default:
        event->ignore();
    }
}

bool FrmAbout::eventFilter(QObject* watched, QEvent* event) {
    // The picture and the two information lines close on a click.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tav
