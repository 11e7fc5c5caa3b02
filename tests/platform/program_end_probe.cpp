// Ends the program before its event loop starts, as start-up does when a required
// file is missing; the test that runs it checks that the process quits by itself.
#include "platform/QtInteraction.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    tav::QtProgramEnd programEnd;
    window.show();
    if (argc > 1 && QByteArray(argv[1]) == "before-loop")
        programEnd.end();
    else
        QMetaObject::invokeMethod(
            &app, [&] { programEnd.end(); }, Qt::QueuedConnection);
    const int code = app.exec();
    return programEnd.hasEnded() && !window.isVisible() ? code : 3;
}
