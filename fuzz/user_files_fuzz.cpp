// UserDat.txt (the lists) and UserDat_name.txt (the captions) as start-up reads them,
// in a program folder that has what start-up needs. The input holds both files, split
// at its first NUL byte.
#include "FuzzBench.h"
#include "app/StartUp.h"

#include <QFile>

namespace {

QByteArray sampleFile(const char* name) {
    QFile file(QStringLiteral(TAV_SAMPLE_SOURCE "/files/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tav;
    auto& bench = fuzz::FuzzBench::instance();
    static const bool prepared = [&] {
        const auto& dir = bench.dir();
        dir.createDatabaseFromScript(QStringLiteral("Reports.mdb"),
                                     QStringLiteral(TAV_FIXTURES_DIR "/export/reports.sql"));
        dir.write(QStringLiteral("test.txt"), sampleFile("test.txt"));
        QStringList settings(26, QStringLiteral("0"));
        settings[0] = dir.filePath(QStringLiteral("Export"));
        dir.writeLines(QStringLiteral("ExportPa.txt"), settings);
        // A balance line that fails at once: start-up goes on in manual mode.
        dir.writeLines(QStringLiteral("HyperParam.txt"), {QStringLiteral("none")});
        return true;
    }();
    (void)prepared;
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const qsizetype split = bytes.indexOf('\0');
    bench.dir().write(QStringLiteral("UserDat.txt"), split < 0 ? bytes : bytes.left(split));
    bench.dir().write(QStringLiteral("UserDat_name.txt"),
                      split < 0 ? QByteArray() : bytes.mid(split + 1));
    const auto run = bench.newRun();
    Form_Load(*run->window);
    return 0;
}
