// ExportPa.txt as start-up reads it: its lines applied to a window, all 26 of them.
#include "FuzzBench.h"
#include "app/ExportSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tav;
    auto& bench = fuzz::FuzzBench::instance();
    static const auto run = bench.newRun();
    FrmStoneID& w = *run->window;
    bench.dir().write(QStringLiteral("ExportPa.txt"), fuzz::bytesOf(data, size));
    // As in start-up: the settings triggers do not write while the file is loaded.
    w.LoadingGuard = -1;
    const QStringList lines = readExportSettingsLines(w.folder).value_or(QStringList());
    applyExportSettingsLines(w, lines, 1, kExportSettingsLineCount);
    for (qsizetype n = 0; n < lines.size() && n < 40; ++n)
        applyExportSettingsLine(w, int(n) + 1, lines[n]);
    return 0;
}
