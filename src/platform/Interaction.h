#pragma once

#include <QDateTime>
#include <QString>

class QWidget;

// The interactive and process pieces the program calls on the platform. Each has a
// real Qt implementation (QtInteraction.h) and a recording double for tests, so a
// test never blocks on a box or exits with the program.
namespace tav {

enum class MessageIcon { None, Critical };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A modal box with an OK button; returns when it is closed. An empty title
    // leaves the platform's default.
    virtual void show(const QString& text, const QString& title, MessageIcon icon) = 0;
};

class Pause {
public:
    virtual ~Pause() = default;
    // Blocks the calling thread; no events are handled meanwhile.
    virtual void sleep(int milliseconds) = 0;
};

class BatchStarter {
public:
    virtual ~BatchStarter() = default;
    // Starts a batch file without waiting for it, in the current working folder.
    virtual void start(const QString& batchFile) = 0;
};

class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    // Ends the program: what is open is closed and the program quits, also when the
    // event loop has not started yet. Callers return at once after it.
    virtual void end() = 0;
    virtual bool hasEnded() const = 0;
};

class FolderPicker {
public:
    virtual ~FolderPicker() = default;
    // The chosen folder, or "" when the dialog was cancelled.
    virtual QString pickFolder(const QString& caption, QWidget* owner) = 0;
};

class Environment {
public:
    virtual ~Environment() = default;
    // The login name: USERNAME, else USER, else LOGNAME.
    virtual QString userName() const = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

// Everything of the platform that one run uses, handed to the main window.
struct Platform {
    MessageBoxes& messages;
    Pause& pause;
    BatchStarter& batches;
    ProgramEnd& programEnd;
    FolderPicker& folders;
    Environment& environment;
    Clock& clock;
};

} // namespace tav
