#pragma once

#include "app/FrmStoneID.h"
#include "app/ProgramWide.h"
#include "platform/Interaction.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

// The sample program folder of the repository, as the build lays it out, copied into a
// temporary program folder with its settings pointing into that folder.
namespace tav::test {

void copySampleFolder(const TempProgramFolder& target);

// Replaces one line (1-based) of a CR LF text file of the folder.
void setLine(const TempProgramFolder& folder, const QString& name, int lineNumber,
             const QString& text);

// Adds that many rows to the end of the sample's template table Template_GIA, each
// writing the table width: a long template keeps the export writing for a while.
void addTemplateRows(const TempProgramFolder& folder, int rows);

// Puts a key of the folder's test.txt first in its section, or removes it for a null
// value.
void setScanKey(const TempProgramFolder& folder, const QString& key, const QString& value);

// Statements that replace the folder's UserData table by one of an ID and the 31
// columns that the export writes, so that no column stands at the start-up positions of
// the shape and the symmetry; its one row holds grades, a shape name and a symmetry.
QStringList standardUserDataTable();

// A window of its own on a fresh copy of the sample folder, its Reports.mdb changed by
// the statements and its scan given the cutting type when one is named, with recording
// doubles; start-up is left to the test, so the folder can still be changed.
struct SampleWindow {
    explicit SampleWindow(const QStringList& statements = {}, const QString& cuttingType = {});

    TempProgramFolder folder;
    RecordingPlatform doubles;
    Platform platform = doubles.platform();
    ProgramWide wide;
    std::unique_ptr<FrmStoneID> window;
};

// A test on a fresh copy of the sample folder with recording doubles. The balance
// named in HyperParam.txt is a device that does not exist, named in the test's own
// folder so that tests running side by side never meet at one device or its lock; the
// working folder that an export changes is put back afterwards.
class SampleFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("TAVEXPORT_COM1", QFile::encodeName(dir.filePath(QStringLiteral("tty-balance"))));
        copySampleFolder(dir);
    }
    void TearDown() override {
        qunsetenv("TAVEXPORT_COM1");
        QDir::setCurrent(previousFolder);
    }

    TempProgramFolder dir;
    RecordingPlatform recording;
    Platform services = recording.platform();
    ProgramWide program;
    QString previousFolder = QDir::currentPath();
};

} // namespace tav::test
