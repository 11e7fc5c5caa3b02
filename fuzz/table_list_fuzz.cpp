// testSetting.txt, the list of tables the key file is built from, over a Reports.mdb
// with a column of every declared type.
#include "FuzzBench.h"
#include "scan/KeyFileBuilder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tav;
    auto& bench = fuzz::FuzzBench::instance();
    static const bool database = [&] {
        bench.dir().createDatabaseFromScript(
            QStringLiteral("Reports.mdb"), QStringLiteral(TAV_FIXTURES_DIR "/keyfile/reports.sql"));
        return true;
    }();
    (void)database;
    bench.dir().write(QStringLiteral("testSetting.txt"), fuzz::bytesOf(data, size));
    test::RecordingMessageBoxes messages;
    BuildTestExport(bench.dir().folder(), messages);
    return 0;
}
