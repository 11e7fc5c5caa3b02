#pragma once

#include "platform/Interaction.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

// Recording doubles of the interactive platform pieces: nothing blocks, nothing exits.
namespace tav::test {

struct ShownMessage {
    QString text;
    QString title;
    MessageIcon icon;
};

class RecordingMessageBoxes final : public MessageBoxes {
public:
    void show(const QString& text, const QString& title, MessageIcon icon) override {
        shown.push_back({text, title, icon});
    }
    std::vector<ShownMessage> shown;
};

class RecordingPause final : public Pause {
public:
    void sleep(int milliseconds) override { pauses.push_back(milliseconds); }
    std::vector<int> pauses;
};

struct StartedBatch {
    QString file;
    QString workingFolder;
};

class RecordingBatchStarter final : public BatchStarter {
public:
    void start(const QString& batchFile) override;
    std::vector<StartedBatch> started;
};

class RecordingProgramEnd final : public ProgramEnd {
public:
    void end() override { ++endCount; }
    bool hasEnded() const override { return endCount > 0; }
    int endCount = 0;
};

// Answers the folder dialog from a queue; an empty queue cancels.
class ScriptedFolderPicker final : public FolderPicker {
public:
    QString pickFolder(const QString& caption, QWidget*) override;
    std::deque<QString> answers;
    QStringList captions;
};

class FixedEnvironment final : public Environment {
public:
    QString userName() const override { return user; }
    QString user = QStringLiteral("bench-operator");
};

class FixedClock final : public Clock {
public:
    QDateTime now() const override { return time; }
    QDateTime time{QDate(2026, 12, 9), QTime(14, 30, 5)};
};

// One of each, handed out as a Platform.
struct RecordingPlatform {
    RecordingMessageBoxes messages;
    RecordingPause pause;
    RecordingBatchStarter batches;
    RecordingProgramEnd programEnd;
    ScriptedFolderPicker folders;
    FixedEnvironment environment;
    FixedClock clock;

    Platform platform() {
        return Platform{messages, pause, batches, programEnd, folders, environment, clock};
    }
};

} // namespace tav::test
