// winpos_TAV.txt applied to a window.
#include "FuzzBench.h"
#include "app/WindowPosition.h"

#include <QWidget>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tav;
    auto& bench = fuzz::FuzzBench::instance();
    static QWidget window;
    bench.dir().write(QStringLiteral("winpos_TAV.txt"), fuzz::bytesOf(data, size));
    setwindowsize(window, bench.dir().folder());
    return 0;
}
