#pragma once

#include <QDateTime>
#include <QString>

namespace tav {

class FrmStoneID;

// How start-up ended.
enum class StartUpOutcome {
    Waiting,      // the window is shown and waits for the operator
    ProgramEnded, // the folder was in use, a required file was missing, copy-and-quit ran,
                  // or an export ended it
};

// The load of the main window: the program folder taken, the key file, the
// required-file checks, the lists, captions and last entries, the 26 settings, the scan
// values and status, the two switches (which open the balance port), the shape, the
// pictures and the image copy, and the automatic export. Every statement that fails is
// skipped.
class StartUp {
public:
    explicit StartUp(FrmStoneID& window);

    StartUpOutcome run();

    // The program's own file, whose date the caption shows.
    static QDateTime programFileDate();

private:
    void captionFromVersion(const QString& title);
    bool requiredFilesPresent();
    void openReportsConnection(bool report);
    void fillLists();
    void readUserFiles();
    void readLastUserData();
    bool stoneIdAndOptions();
    bool copyAndQuit();
    void scannerWeight();
    bool applySwitches();
    void selectShape();

    FrmStoneID& window_;
    QDateTime programDate_;
    QString userName_;
    bool databaseProblemShown_ = false;
};

// Form_Load: runs start-up once, before the window is shown.
StartUpOutcome Form_Load(FrmStoneID& window);

} // namespace tav
