#include "support/StartedWindow.h"

#include "app/FrmStoneID.h"

#include <QStringList>

namespace tav::test {

void writeStartUpFiles(const TempProgramFolder& dir) {
    if (!dir.folder().hasFile(QStringLiteral("ExportPa.txt"))) {
        QStringList settings(23, QStringLiteral("0"));
        settings[13] = QStringLiteral("1"); // manual weight
        settings << QString() << QString() << QString();
        dir.writeLines(QStringLiteral("ExportPa.txt"), settings);
    }
    if (!dir.folder().hasFile(QStringLiteral("HyperParam.txt")))
        dir.writeLines(QStringLiteral("HyperParam.txt"),
                       {"1", "0", "1", "9600", "n", "8", "1", "0", "Mettler", "", "0", "0", "0",
                        dir.filePath(QStringLiteral("Logs")), "0"});
    if (!dir.folder().hasFile(QStringLiteral("Export_images.txt")))
        dir.writeLines(QStringLiteral("Export_images.txt"),
                       {u'"' + dir.filePath(QStringLiteral("ImageStore/")) +
                        QStringLiteral("\",\"") + dir.filePath(QStringLiteral("Images/")) +
                        QStringLiteral("\",0")});
    if (!dir.folder().hasFile(QStringLiteral("test.txt")))
        dir.writeLines(QStringLiteral("test.txt"), {"[NumericalParameters]"});
}

StartUpOutcome startUp(FrmStoneID& window, RecordingPlatform& recording) {
    const StartUpOutcome outcome = Form_Load(window);
    recording.messages.shown.clear();
    return outcome;
}

} // namespace tav::test
