#pragma once

#include "app/FrmStoneID.h"
#include "app/TriStateCheckBox.h"
#include "export/ExportProcedure.h"
#include "export/TemplateItems.h"
#include "support/RecordingPlatform.h"
#include "support/StartedWindow.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

// A program folder for exports of stone AB12: Reports.mdb from the fixture script (the
// Row template of the worked example), the scan, the settings files, and a window that
// the program's start-up has loaded and whose fields then hold what the operator would
// have put there. Every run gets a window and recording doubles of its own, as a new
// start of the program would.
namespace tav::test {

// One template row as the table would hold it.
inline TemplateItem templateItem(const QString& stored, std::optional<QString> label,
                                 std::optional<double> format) {
    TemplateItem i;
    i.storedName = stored;
    i.name = usedItemName(stored);
    i.label = std::move(label);
    i.formatCode = format;
    return i;
}

inline QByteArray exportFixture(const QString& name) {
    QFile file(QStringLiteral(TAV_FIXTURES_DIR "/export/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

class ExportFixture : public ::testing::Test {
protected:
    struct Run {
        RecordingPlatform recording;
        Platform platform = recording.platform();
        ProgramWide program;
        std::unique_ptr<FrmStoneID> window;
    };

    ExportFixture() {
        dir.createDatabaseFromScript("Reports.mdb", TAV_FIXTURES_DIR "/export/reports.sql");
        dir.writeLines("testSetting.txt", {"T", "UserData"});
        writeScan("AB12", "0.5123");
        writeStartUpFiles(dir);
        QDir().mkpath(dir.filePath("Export"));
        QDir().mkpath(dir.filePath("Logs"));
        startRun();
    }
    ~ExportFixture() override { QDir::setCurrent(previousFolder); }

    void writeScan(const QString& stoneId, const QString& correctedMass,
                   const QString& semiPolished = QStringLiteral("0")) {
        dir.writeLines("test.txt",
                       {"[NumericalParameters]", "STONE_ID = " + stoneId, "WEIGHT_REAL = 0.5123",
                        "CORRECTED_MASS = " + correctedMass, "TABLE_MM_MAX = 2.93",
                        "WIDTH_MM = 5.12", "MODEL_IS_SEMI_POLISHED = " + semiPolished});
    }

    // A new run of the program on the same folder, its window set up for stone AB12.
    FrmStoneID& startRun() {
        run = std::make_unique<Run>();
        run->window = std::make_unique<FrmStoneID>(dir.folder(), run->platform, run->program);
        FrmStoneID& w = *run->window;
        EXPECT_EQ(startUp(w, run->recording), StartUpOutcome::Waiting);
        w.txtStoneID->setText("AB12");
        w.txtRealWgt->setText("0.5123");
        w.cboShape->setEditable(true);
        w.cboShape->setEditText("Brilliant");
        w.txtOperator->setText("Asha");
        w.txtLenNumber->setText("L1");
        w.TxtExport->setText(dir.filePath("Export"));
        w.TxtACExport->setText(dir.filePath("Ascii"));
        w.TxtFileName->setText("bench");
        w.txtSysnumber->setText("txt");
        w.TXTSYMBOL->setText(",");
        w.Txt_Book->setText(":");
        w.CBOFORMAT->setCurrentText("Row");
        w.CBODECIMAL->setCurrentText("2");
        w.AllowManualWeight = true;
        w.LogFolder = dir.filePath("Logs");
        return w;
    }

    FrmStoneID& window() { return *run->window; }
    RecordingPlatform& recording() { return run->recording; }
    ExportOutcome exportStone() { return ExportData(window()); }
    QString path(const QString& name) const { return dir.filePath(name); }

    TempProgramFolder dir;
    StartUpBalance balance;
    std::unique_ptr<Run> run;
    QString previousFolder = QDir::currentPath();
};

} // namespace tav::test
