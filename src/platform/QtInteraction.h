#pragma once

#include "platform/Interaction.h"

// The real platform pieces of a run of the program.
namespace tav {

class QtMessageBoxes final : public MessageBoxes {
public:
    void show(const QString& text, const QString& title, MessageIcon icon) override;
};

class ThreadPause final : public Pause {
public:
    void sleep(int milliseconds) override;
};

// Runs the batch file through /bin/sh, detached, in the current working folder.
class ShellBatchStarter final : public BatchStarter {
public:
    void start(const QString& batchFile) override;
};

class QtProgramEnd final : public ProgramEnd {
public:
    void end() override;
    bool hasEnded() const override { return ended_; }

private:
    bool ended_ = false;
};

class QtFolderPicker final : public FolderPicker {
public:
    QString pickFolder(const QString& caption, QWidget* owner) override;
};

class SystemEnvironment final : public Environment {
public:
    QString userName() const override;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// Owns one of each, for main().
struct QtPlatform {
    QtMessageBoxes messages;
    ThreadPause pause;
    ShellBatchStarter batches;
    QtProgramEnd programEnd;
    QtFolderPicker folders;
    SystemEnvironment environment;
    SystemClock clock;

    Platform platform() {
        return Platform{messages, pause, batches, programEnd, folders, environment, clock};
    }
};

} // namespace tav
