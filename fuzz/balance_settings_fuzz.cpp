// HyperParam.txt as the balance set-up reads it. Whatever port it names is a pseudo-
// terminal, so no real line is touched; settings that ask for an export on the spot
// are left out (the export is not this reader).
#include "FuzzBench.h"
#include "app/BalanceLink.h"
#include "platform/NumberText.h"
#include "platform/SerialControl.h"
#include "platform/TextFile.h"
#include "support/PtyPair.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tav;
    auto& bench = fuzz::FuzzBench::instance();
    static const auto run = bench.newRun();
    static test::PtyPair line;
    FrmStoneID& w = *run->window;
    const QString name = QStringLiteral("HyperParam.txt");
    bench.dir().write(name, fuzz::bytesOf(data, size));
    const QStringList lines = readLines(bench.dir().filePath(name)).value_or(QStringList());
    if (lines.size() > 11 && toInt16(lines[11]) == qint16(1))
        return 0;
    QByteArray variable;
    if (const auto port = lines.isEmpty() ? std::nullopt : toInt16(lines[0]); port && *port > 0) {
        variable = "TAVEXPORT_COM" + QByteArray::number(*port);
        qputenv(variable.constData(), line.slaveName().toLocal8Bit());
    }
    w.msgb1->clear();
    OpenBalancePort(w);
    if (w.MSComm1->PortOpen())
        w.MSComm1->setPortOpen(false);
    if (!variable.isEmpty())
        qunsetenv(variable.constData());
    return 0;
}
