// A process that starts to an idle window and ends there: "app <folder>" runs the
// program's start-up on a program folder, "bare <picture> <picture>" shows a bare
// window of 30 line edits and two pictures; at their end they write "peak <own>
// <children>": the peak resident memory in KiB of the probe and of the largest process it
// ran (the picture helpers). "export <folder>" runs start-up and one export with the
// tests' recording doubles, so the export's pause is not slept and nothing waits for a
// click, and prints their own times. The benchmark times the whole process.
#include "app/FrmStoneID.h"
#include "app/ProgramWide.h"
#include "app/StartUp.h"
#include "export/ExportProcedure.h"
#include "platform/NumberText.h"
#include "platform/ProgramFolder.h"
#include "platform/QtInteraction.h"
#include "support/RecordingPlatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <ctime>

#include <sys/resource.h>

namespace {

// Ends the event loop once everything the window posted at its show has been handled.
int runUntilIdle(QApplication& app) {
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}

int bareWindow(QApplication& app, const QString& first, const QString& second) {
    QMainWindow window;
    auto* central = new QWidget(&window);
    auto* grid = new QGridLayout(central);
    for (int i = 0; i < 30; ++i)
        grid->addWidget(new QLineEdit(central), i % 10, i / 10);
    for (const QString& picture : {first, second}) {
        auto* label = new QLabel(central);
        label->setPixmap(QPixmap(picture));
        grid->addWidget(label, 10, grid->count() % 3);
    }
    window.setCentralWidget(central);
    window.show();
    return runUntilIdle(app);
}

int programWindow(QApplication& app, const QString& folder) {
    tav::QtPlatform platform;
    tav::Platform services = platform.platform();
    tav::ProgramWide program;
    tav::FrmStoneID window(tav::ProgramFolder(folder), services, program);
    if (tav::Form_Load(window) != tav::StartUpOutcome::Waiting)
        return 2;
    window.show();
    return runUntilIdle(app);
}

double processCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Prints the wall time and the CPU time of start-up and export themselves, in ms, on
// one line: the rest of the process is the same for any inputs.
int programExport(const QString& folder) {
    tav::test::RecordingPlatform recording;
    tav::Platform services = recording.platform();
    tav::ProgramWide program;
    tav::FrmStoneID window(tav::ProgramFolder(folder), services, program);
    QElapsedTimer wall;
    wall.start();
    const double cpu = processCpuMs();
    if (tav::Form_Load(window) != tav::StartUpOutcome::Waiting)
        return 2;
    if (tav::ExportData(window) != tav::ExportOutcome::Completed)
        return 3;
    std::printf("%.3f %.3f\n", double(wall.nsecsElapsed()) / 1e6, processCpuMs() - cpu);
    return 0;
}

void printPeaks() {
    rusage own{};
    rusage children{};
    getrusage(RUSAGE_SELF, &own);
    getrusage(RUSAGE_CHILDREN, &children);
    std::printf("peak %ld %ld\n", own.ru_maxrss, children.ru_maxrss);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tav::useCNumberLocale();
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 3 && arguments[1] == u"export")
        return programExport(arguments[2]);
    int result = 1;
    if (arguments.size() == 3 && arguments[1] == u"app")
        result = programWindow(app, arguments[2]);
    else if (arguments.size() == 4 && arguments[1] == u"bare")
        result = bareWindow(app, arguments[2], arguments[3]);
    else
        return 1;
    printPeaks();
    return result;
}
