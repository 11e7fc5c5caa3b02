#pragma once

#include "platform/ProgramFolder.h"

#include <QStringList>
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QShowEvent;

namespace tav {

class MessageBoxes;

// The table-selection window "Generate Template File": lists the tables of
// Reports.mdb, preselects those of testSetting.txt, and on "Generate Result" writes
// test_export.txt and testSetting.txt from the selection. It is shown without
// blocking the main window, hides itself after generating and is never unloaded, so
// it keeps its list and selection; the list is filled once, when it is first shown.
class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1(const ProgramFolder& folder, MessageBoxes& messages, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* Command1 = nullptr;

    // The load event: fills the list once (LoadTableList). Showing the window the
    // first time runs it; later calls do nothing.
    void Form_Load();
    bool isLoaded() const { return loaded_; }

    // Fills List1 with the tables and views of Reports.mdb in the database's listing order,
    // leaving out names that begin with "MSys" (that exact case), and selects those
    // named in testSetting.txt. A missing Reports.mdb shows "File does not Exists".
    void LoadTableList();

    // True when one element of the array equals the value exactly (case counts).
    static bool IsInArray(const QString& value, const QStringList& array);

    // "Generate Result": writes test_export.txt from the selected tables in list order
    // and testSetting.txt with their names (a selection the operator cleared leaves the
    // section line alone and an empty list), shows "File Created" and hides the window.
    // Before any item was clicked it first shows "Select at Least 1 item", and then
    // writes nothing when nothing is selected.
    void Command1_Click();

    // The selected table names, in list order.
    QStringList selectedTables() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    const ProgramFolder folder_;
    MessageBoxes& messages_;
    bool loaded_ = false;
};

} // namespace tav
