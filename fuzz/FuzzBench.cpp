#include "FuzzBench.h"

#include "platform/NumberText.h"

#include <QApplication>

namespace tav::fuzz {
namespace {

int argc = 1;
char programName[] = "tavexport-fuzz";
char* argv[] = {programName, nullptr};

} // namespace

FuzzBench& FuzzBench::instance() {
    // Made before any target's own statics, so they are torn down before it at exit.
    static FuzzBench bench;
    return bench;
}

FuzzBench::FuzzBench() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives as long as the process: Qt's statics made after it (the SQL connections) are
    // torn down first at exit, and the application's clean-up would still reach them.
    static QApplication* const app = new QApplication(argc, argv);
    (void)app;
    useCNumberLocale();
}

std::unique_ptr<FuzzBench::Run> FuzzBench::newRun() const {
    auto run = std::make_unique<Run>();
    run->window = std::make_unique<FrmStoneID>(dir_.folder(), run->platform, run->program);
    return run;
}

} // namespace tav::fuzz
