#include "export/ProblemLog.h"

#include "app/FrmStoneID.h"
#include "export/TemplateItems.h"
#include "platform/TextFile.h"

namespace tav {

QString problemLogPath(const FrmStoneID& window) {
    // An empty folder text would join to the root of the file system.
    const QString folder = window.LogFolder.isEmpty() ? window.folder.path() : window.LogFolder;
    return joinPath(folder, exportedStoneId(window) + QStringLiteral(".log"));
}

WriteResult WriteProblemLog(const FrmStoneID& window) {
    return replaceFileLines(problemLogPath(window), {window.msgb1->text()});
}

} // namespace tav
