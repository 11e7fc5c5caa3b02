// The stone's .asc file as the scanner might leave it, rewritten into the ASCII folder.
#include "FuzzBench.h"
#include "export/AsciiFile.h"
#include "export/ExportFiles.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tav;
    auto& bench = fuzz::FuzzBench::instance();
    static const auto run = [&] {
        auto made = bench.newRun();
        FrmStoneID& w = *made->window;
        QDir().mkpath(bench.dir().filePath(QStringLiteral("Ascii")));
        w.txtStoneID->setText(QStringLiteral("AB12"));
        w.txtRealWgt->setText(QStringLiteral("0.5123"));
        w.cboShape->setEditable(true);
        w.cboShape->setEditText(QStringLiteral("Pear"));
        w.TxtACExport->setText(bench.dir().filePath(QStringLiteral("Ascii")));
        w.TemplateShapeName = QStringLiteral("ROUND-P8_8-P8_8");
        return made;
    }();
    FrmStoneID& w = *run->window;
    bench.dir().write(QStringLiteral("AB12.asc"), fuzz::bytesOf(data, size));
    w.CurrentShape = (size % 2 == 0) ? QStringLiteral("Brilliant") : QStringLiteral("Pear");
    w.msgb1->clear();
    run->recording.messages.shown.clear();
    ExportFailures failures;
    WriteAsciiFile(w, failures);
    return 0;
}
