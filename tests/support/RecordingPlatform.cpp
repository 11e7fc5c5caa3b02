#include "support/RecordingPlatform.h"

#include <QDir>

namespace tav::test {

void RecordingBatchStarter::start(const QString& batchFile) {
    started.push_back({batchFile, QDir::currentPath()});
}

QString ScriptedFolderPicker::pickFolder(const QString& caption, QWidget*) {
    captions.append(caption);
    if (answers.empty())
        return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace tav::test
