#include "app/BalanceLink.h"
#include "app/FrmStoneID.h"
#include "support/PtyPair.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QtCore/qtestsupport_core.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tav {
namespace {

constexpr int liveness = 5000; // ms; only bounds a wait for data that must come
const QString lfcr = QString(QChar(10)) + QChar(13);

// The export's pause, which lets a test look at the window while an export runs.
class WatchingPause final : public Pause {
public:
    void sleep(int) override {
        if (whileExporting)
            whileExporting();
    }
    std::function<void()> whileExporting;
};

// The 15 lines of HyperParam.txt, for COM port 7 at 9600,n,8,1 with receive threshold 1.
QStringList balanceSettings() {
    return {"7", "0", "1", "9600",         "n", "8", "1", "0", "line nine", "NO WEIGHT",
            "3", "0", "0", "/var/log/tav", "1"};
}

QString balanceErrorReport(const QString& description, int number) {
    return lfcr + " STOP .... Mettlar Communication Error  !!!! " + lfcr + lfcr +
           ".....Please Enter the stone Weight Manually ...." + lfcr + lfcr +
           " OR Change settings in 'Hyperparam.txt' " + lfcr + lfcr + description + " : " +
           QString::number(number) + " : ";
}

class BalanceLinkTest : public ::testing::Test {
protected:
    BalanceLinkTest()
        : platform{recording.messages, pause,
                   recording.batches,  recording.programEnd,
                   recording.folders,  recording.environment,
                   recording.clock},
          window(std::make_unique<FrmStoneID>(folder.folder(), platform, program)) {}

    void SetUp() override { ASSERT_TRUE(port.pty.isOpen()); }

    void writeSettings(const QStringList& lines) {
        folder.writeLines(QStringLiteral("HyperParam.txt"), lines);
    }

    // Balance mode from manual mode, as the menu does it.
    void switchToBalanceMode(const QStringList& settings = balanceSettings()) {
        writeSettings(settings);
        window->Allow->setChecked(true);
        Allow_Click(*window);
    }

    void showWithFocusOn(QWidget* control) {
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->isActiveWindow(); }, liveness));
        control->setFocus();
    }

    bool waitForWeight(const QString& text) {
        return QTest::qWaitFor([&] { return window->txtRealWgt->text() == text; }, liveness);
    }

    test::PtyComPort port{7};
    test::TempProgramFolder folder;
    test::RecordingPlatform recording;
    WatchingPause pause;
    Platform platform;
    ProgramWide program;
    std::unique_ptr<FrmStoneID> window;
};

TEST_F(BalanceLinkTest, AReadingInChunksFillsTheFieldTurnsTheLampGreenAndMovesTheFocus) {
    switchToBalanceMode();
    ASSERT_TRUE(window->MSComm1->PortOpen()) << window->msgb1->text().toStdString();
    showWithFocusOn(window->TxtLotno);

    ASSERT_TRUE(port.pty.send("  0.51"));
    ASSERT_TRUE(waitForWeight(QStringLiteral("0.51")));
    ASSERT_TRUE(port.pty.send("  23 ct\r\n"));
    ASSERT_TRUE(waitForWeight(QStringLiteral("0.5123 c")));

    EXPECT_EQ(window->Shape1[0]->fillColor(), 65280);
    EXPECT_EQ(QApplication::focusWidget(), window->txtStoneID);
    EXPECT_TRUE(window->txtRealWgt->isReadOnly());
    EXPECT_EQ(window->msgb1->text(), QString());
    EXPECT_EQ(program.ExportWarningFlag, 0);
}

TEST_F(BalanceLinkTest, EachReadingFromTheBalanceReplacesTheOneBefore) {
    switchToBalanceMode();
    ASSERT_TRUE(window->MSComm1->PortOpen()) << window->msgb1->text().toStdString();
    ASSERT_TRUE(port.pty.send("  0.777\r\n"));
    ASSERT_TRUE(waitForWeight(QStringLiteral("0.777\r\n")));
    ASSERT_TRUE(port.pty.send("  0.888\r\n"));
    ASSERT_TRUE(waitForWeight(QStringLiteral("0.888\r\n")));
    ASSERT_TRUE(port.pty.send("  1.2345678 ct\r\n"));
    ASSERT_TRUE(waitForWeight(QStringLiteral("1.234567")));
    EXPECT_EQ(window->Shape1[0]->fillColor(), vbGreen);
}

TEST_F(BalanceLinkTest, NoReadingReachesTheFieldBeforeTheThresholdIsMet) {
    QStringList settings = balanceSettings();
    settings[2] = QStringLiteral("5");
    switchToBalanceMode(settings);
    ASSERT_TRUE(window->MSComm1->PortOpen()) << window->msgb1->text().toStdString();

    ASSERT_TRUE(port.pty.send("0.5"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->MSComm1->InBufferCount() == 3; }, liveness));
    EXPECT_EQ(window->txtRealWgt->text(), QString());
    EXPECT_EQ(window->Shape1[0]->fillColor(), vbRed);

    ASSERT_TRUE(port.pty.send("12"));
    ASSERT_TRUE(waitForWeight(QStringLiteral("0.512")));
    EXPECT_EQ(window->Shape1[0]->fillColor(), vbGreen);
}

TEST_F(BalanceLinkTest, AReadingDuringAnExportWaitsForTheNextEvent) {
    switchToBalanceMode();
    ASSERT_TRUE(window->MSComm1->PortOpen()) << window->msgb1->text().toStdString();
    int events = 0;
    QObject::connect(window->MSComm1, &SerialControl::OnComm, [&] { ++events; });

    window->exportInProgress = true;
    ASSERT_TRUE(port.pty.send("0.5"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return events > 0; }, liveness));
    EXPECT_EQ(window->txtRealWgt->text(), QString());
    EXPECT_EQ(window->MSComm1->InBufferCount(), 3);

    window->exportInProgress = false;
    ASSERT_TRUE(port.pty.send("1"));
    ASSERT_TRUE(waitForWeight(QStringLiteral("0.51")));
}

TEST_F(BalanceLinkTest, TheEndOfFileCharacterIsReportedAsAWarning) {
    switchToBalanceMode();
    ASSERT_TRUE(window->MSComm1->PortOpen()) << window->msgb1->text().toStdString();
    ASSERT_TRUE(port.pty.send("\x1A"));
    const QString report = lfcr + " Comm Error : Not Found";
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->msgb1->text() == report; }, liveness))
        << window->msgb1->text().toStdString();
    EXPECT_EQ(program.ExportWarningFlag, -1);
}

TEST_F(BalanceLinkTest, AChunkWithoutAReadingAfterAReadingKeepsTheWeight) {
    struct Case {
        const char* name;
        const char* idle;
        QString report;
        int warning;
    };
    const std::vector<Case> cases = {
        {"end-of-file character", "\x1A", lfcr + " Comm Error : Not Found", -1},
        {"blanks", "   ", QString(), 0},
        {"blanks and a line end", "  \r\n", QString(), 0},
    };
    int receives = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window = std::make_unique<FrmStoneID>(folder.folder(), platform, program);
        program.ExportWarningFlag = 0;
        SerialControl* const control = window->MSComm1;
        QObject::connect(control, &SerialControl::OnComm, control, [&receives, control] {
            if (control->CommEvent() == SerialControl::EventReceive)
                ++receives;
        });
        switchToBalanceMode();
        ASSERT_TRUE(window->MSComm1->PortOpen()) << window->msgb1->text().toStdString();
        ASSERT_TRUE(port.pty.send("0.61230 ct\r\n"));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return window->txtRealWgt->text() == u"0.61230 " &&
                       window->balanceReading == FrmStoneID::BalanceReading::Ended &&
                       window->MSComm1->InBufferCount() == 0;
            },
            liveness));
        showWithFocusOn(window->TxtLotno);

        const int before = receives;
        ASSERT_TRUE(port.pty.send(c.idle));
        ASSERT_TRUE(QTest::qWaitFor([&] { return receives > before; }, liveness));
        EXPECT_EQ(window->txtRealWgt->text(), u"0.61230 ");
        EXPECT_EQ(window->Shape1[0]->fillColor(), vbGreen);
        EXPECT_EQ(QApplication::focusWidget(), window->TxtLotno);
        EXPECT_EQ(window->msgb1->text(), c.report);
        EXPECT_EQ(program.ExportWarningFlag, c.warning);

        // The next reading, in chunks, replaces it.
        ASSERT_TRUE(port.pty.send("  0.51"));
        ASSERT_TRUE(waitForWeight(QStringLiteral("0.51")));
        ASSERT_TRUE(port.pty.send("  23 ct\r\n"));
        ASSERT_TRUE(waitForWeight(QStringLiteral("0.5123 c")));
        EXPECT_EQ(QApplication::focusWidget(), window->txtStoneID);
    }
}

TEST_F(BalanceLinkTest, AReadingSentWhileThePortWasClosedIsNeverShown) {
    QStringList shown;
    QObject::connect(window->txtRealWgt, &QLineEdit::textChanged,
                     [&](const QString& text) { shown.append(text); });
    switchToBalanceMode();
    ASSERT_TRUE(window->MSComm1->PortOpen()) << window->msgb1->text().toStdString();
    Allow_Click(*window);
    ASSERT_FALSE(window->MSComm1->PortOpen());
    ASSERT_TRUE(port.pty.send("0.777 ct\r\n"));

    Allow_Click(*window);
    ASSERT_TRUE(window->MSComm1->PortOpen()) << window->msgb1->text().toStdString();
    ASSERT_TRUE(port.pty.send("0.888 ct\r\n"));
    ASSERT_TRUE(waitForWeight(QStringLiteral("0.888 ct")));
    EXPECT_FALSE(shown.contains(QStringLiteral("0.777 ct"))) << shown.join(u'|').toStdString();
}

TEST_F(BalanceLinkTest, ALostDeviceIsReportedOnceAndThePortClosed) {
    switchToBalanceMode();
    ASSERT_TRUE(window->MSComm1->PortOpen()) << window->msgb1->text().toStdString();
    port.pty.closeMaster();
    const QString report = lfcr + " Comm Error : device lost";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->msgb1->text().isEmpty(); }, liveness));
    for (int round = 0; round < 10; ++round)
        QCoreApplication::processEvents();
    EXPECT_EQ(window->msgb1->text(), report);
    EXPECT_EQ(program.ExportWarningFlag, -1);
    EXPECT_FALSE(window->MSComm1->PortOpen());

    // Manual mode from here on needs nothing of the dead port.
    Allow_Click(*window);
    EXPECT_EQ(window->ManualWeightMode, 1);
    EXPECT_EQ(window->msgb1->text(), report);
}

TEST_F(BalanceLinkTest, PortsThatCannotBeOpenedGiveTheBalanceErrorReport) {
    struct Case {
        const char* name;
        std::function<void(QStringList&)> prepare;
        QString description;
        int number;
    };
    // In the test's own folder: the serial port's lock is named after the device.
    const QString missing = folder.filePath(QStringLiteral("balance"));
    const std::vector<Case> cases = {
        {"missing device", [&](QStringList&) { port.redirect(QFile::encodeName(missing)); },
         "Invalid port number (" + missing + ": No such file or directory)", 8002},
        {"1.5 stop bits", [](QStringList& lines) { lines[6] = QStringLiteral("1.5"); },
         "Could not set comm state, there may be one or more invalid communication parameters (" +
             port.pty.slaveName() + ": 1.5 stop bits not supported)",
         8015},
    };
    for (const Case& c : cases) {
        port.redirect(port.pty.slaveName().toLocal8Bit());
        window = std::make_unique<FrmStoneID>(folder.folder(), platform, program);
        program.ExportWarningFlag = 0;
        QStringList settings = balanceSettings();
        c.prepare(settings);
        switchToBalanceMode(settings);
        EXPECT_EQ(window->msgb1->text(), balanceErrorReport(c.description, c.number)) << c.name;
        EXPECT_EQ(program.ExportWarningFlag, -1) << c.name;
        EXPECT_FALSE(window->MSComm1->PortOpen()) << c.name;
        // Everything before the opening was applied.
        EXPECT_EQ(window->LogFolder, u"/var/log/tav") << c.name;
        EXPECT_TRUE(window->txtRealWgt->isReadOnly()) << c.name;
    }
}

TEST_F(BalanceLinkTest, APortInUseGivesTheBalanceErrorReport) {
    SerialControl holder;
    holder.setCommPort(port.number);
    holder.setPortOpen(true);
    switchToBalanceMode();
    const QString text = window->msgb1->text();
    const QString head = balanceErrorReport(QString(), 0).chopped(QStringLiteral(" : 0 : ").size());
    EXPECT_TRUE(text.startsWith(head + "Port already open (" + port.pty.slaveName() + ": "))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral(") : 8005 : "))) << text.toStdString();
    EXPECT_EQ(program.ExportWarningFlag, -1);
    EXPECT_FALSE(window->MSComm1->PortOpen());
    EXPECT_TRUE(holder.PortOpen());
}

TEST_F(BalanceLinkTest, ASettingsFileWithFourteenLinesAppliesWhatItHasAndReports) {
    QStringList settings = balanceSettings();
    settings[1] = QStringLiteral("1");
    settings[2] = QStringLiteral("4");
    settings[7] = QStringLiteral("2");
    settings[12] = QStringLiteral("1");
    settings.removeLast();
    writeSettings(settings);
    window->FixedDecimalFormat = 7;
    window->Cmd_OK->setVisible(false);
    window->Cmd_Can->setVisible(false);
    window->Shape1[0]->setVisible(true);
    window->Label4[0]->setEnabled(true);
    window->txtRealWgt->setReadOnly(false);

    OpenBalancePort(*window);

    SerialControl& control = *window->MSComm1;
    EXPECT_EQ(control.CommPort(), 7);
    EXPECT_EQ(control.Handshaking(), 1);
    EXPECT_EQ(control.RThreshold(), 4);
    EXPECT_TRUE(control.RTSEnable());
    EXPECT_EQ(control.Settings(), u"9600,n,8,1");
    EXPECT_EQ(control.SThreshold(), 2);
    EXPECT_EQ(window->HyperParamLine9, u"line nine");
    EXPECT_EQ(window->WeightMessage, u"NO WEIGHT");
    EXPECT_EQ(window->HyperParamLine11, 3);
    EXPECT_EQ(window->NoWeightAutoExport, 0);
    EXPECT_EQ(window->ButtonExportMode, 1);
    EXPECT_EQ(window->LogFolder, u"/var/log/tav");
    EXPECT_EQ(window->FixedDecimalFormat, 7);
    EXPECT_TRUE(window->Cmd_OK->isHidden());
    EXPECT_TRUE(window->Cmd_Can->isHidden());
    EXPECT_FALSE(window->Shape1[0]->isHidden());
    EXPECT_TRUE(window->Label4[0]->isEnabled());
    EXPECT_FALSE(window->txtRealWgt->isReadOnly());
    EXPECT_FALSE(control.PortOpen());
    EXPECT_EQ(port.pty.slaveOpenings(), 0);
    EXPECT_EQ(window->msgb1->text(),
              balanceErrorReport(QStringLiteral("Input past end of file"), 62));
    EXPECT_EQ(program.ExportWarningFlag, -1);
}

TEST_F(BalanceLinkTest, LinesTheControlOrTheConversionRefuseStopTheSetUp) {
    struct Case {
        int line; // 1-based
        const char* text;
        const char* description;
        int number;
    };
    const std::vector<Case> cases = {
        {1, "", "Type mismatch", 13},          {1, "40000", "Overflow", 6},
        {1, "0", "Invalid port number", 8002}, {2, "4", "Invalid property value", 380},
        {3, "three", "Type mismatch", 13},     {5, "q", "Invalid property value", 380},
        {11, "x", "Type mismatch", 13},        {12, "", "Type mismatch", 13},
        {13, "one", "Type mismatch", 13},      {15, "1,5", "Type mismatch", 13},
    };
    for (const Case& c : cases) {
        window = std::make_unique<FrmStoneID>(folder.folder(), platform, program);
        QStringList settings = balanceSettings();
        settings[c.line - 1] = QLatin1String(c.text);
        writeSettings(settings);
        OpenBalancePort(*window);
        EXPECT_EQ(window->msgb1->text(), balanceErrorReport(QLatin1String(c.description), c.number))
            << "line " << c.line << " '" << c.text << "'";
        EXPECT_FALSE(window->MSComm1->PortOpen()) << "line " << c.line;
    }
}

TEST_F(BalanceLinkTest, LineThirteenChoosesBetweenTheButtonsAndTheLamp) {
    for (const char* mode : {"1", "0", "2", "-1"}) {
        window = std::make_unique<FrmStoneID>(folder.folder(), platform, program);
        const bool byButton = QLatin1String(mode) == u"1";
        window->Cmd_OK->setVisible(!byButton);
        window->Cmd_Can->setVisible(!byButton);
        window->Shape1[0]->setVisible(byButton);
        QStringList settings = balanceSettings();
        settings[12] = QLatin1String(mode);
        switchToBalanceMode(settings);
        EXPECT_EQ(window->Cmd_OK->isHidden(), !byButton) << mode;
        EXPECT_EQ(window->Cmd_Can->isHidden(), !byButton) << mode;
        EXPECT_EQ(window->Shape1[0]->isHidden(), byButton) << mode;
        EXPECT_TRUE(window->MSComm1->PortOpen()) << mode;
    }
}

TEST_F(BalanceLinkTest, AMissingSettingsFileChangesNothing) {
    window->Label4[0]->setEnabled(true);
    OpenBalancePort(*window);
    EXPECT_EQ(window->msgb1->text(), QString());
    EXPECT_EQ(program.ExportWarningFlag, 0);
    EXPECT_TRUE(window->Label4[0]->isEnabled());
    EXPECT_EQ(port.pty.slaveOpenings(), 0);
    EXPECT_EQ(window->MSComm1->CommPort(), 1);
}

TEST_F(BalanceLinkTest, TwoClicksFromEachSavedModeOpenThePortOnceAndEndInThatMode) {
    for (const bool savedManual : {true, false}) {
        window = std::make_unique<FrmStoneID>(folder.folder(), platform, program);
        const int openedBefore = port.pty.slaveOpenings();
        writeSettings(balanceSettings());
        window->AllowManualWeight = savedManual;
        window->Allow->setChecked(savedManual);

        Allow_Click(*window);
        Allow_Click(*window);

        const char* mode = savedManual ? "manual" : "balance";
        EXPECT_EQ(port.pty.slaveOpenings() - openedBefore, 1) << mode;
        EXPECT_EQ(window->MSComm1->PortOpen(), !savedManual) << mode;
        EXPECT_EQ(window->Allow->isChecked(), savedManual) << mode;
        EXPECT_EQ(window->Allow->text(),
                  savedManual ? kAllowManualModeCaption : kAllowBalanceModeCaption)
            << mode;
        EXPECT_EQ(window->AllowManualWeight, savedManual) << mode;
        EXPECT_EQ(window->ManualWeightMode, savedManual ? 1 : 0) << mode;
        EXPECT_EQ(window->txtRealWgt->isReadOnly(), !savedManual) << mode;
        EXPECT_EQ(window->Label4[0]->isEnabled(), savedManual) << mode;
        EXPECT_EQ(window->msgb1->text(), QString()) << mode;
    }
    EXPECT_EQ(kAllowBalanceModeCaption,
              u"&Temprorily Allow Manual Weight Entry (Mettlar Absent or Faulty)");
    EXPECT_EQ(kAllowManualModeCaption,
              u"&DIS-Allow Manual Weight Entry (Weight will come from Mettlar Automatically)");
}

TEST_F(BalanceLinkTest, TheMenuEntryAndADoubleClickOnTheWeightSwitchTheMode) {
    writeSettings(balanceSettings());
    ASSERT_FALSE(window->Allow->isChecked());

    window->Allow->trigger();
    EXPECT_TRUE(window->Allow->isChecked());
    EXPECT_EQ(window->ManualWeightMode, 1);
    EXPECT_EQ(window->Allow->text(), kAllowManualModeCaption);
    EXPECT_EQ(port.pty.slaveOpenings(), 0);

    window->Allow->trigger();
    EXPECT_FALSE(window->Allow->isChecked());
    EXPECT_EQ(window->ManualWeightMode, 0);
    EXPECT_EQ(window->Allow->text(), kAllowBalanceModeCaption);
    EXPECT_TRUE(window->MSComm1->PortOpen());

    const QPointF inside(4, 4);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, inside,
                            window->txtRealWgt->mapToGlobal(inside), Qt::LeftButton, Qt::LeftButton,
                            Qt::NoModifier);
    QCoreApplication::sendEvent(window->txtRealWgt, &doubleClick);
    EXPECT_TRUE(window->Allow->isChecked());
    EXPECT_EQ(window->ManualWeightMode, 1);
    EXPECT_FALSE(window->txtRealWgt->isReadOnly());
    EXPECT_FALSE(window->MSComm1->PortOpen());
}

// State of the window while the export runs.
struct DuringExport {
    bool exporting = false;
    qint16 buttonMode = 0;
    QString logFolder;
    qint16 fixedDecimals = 0;
    bool portOpen = false;
};

TEST_F(BalanceLinkTest, LineTwelveExportsBeforeLinesThirteenToFifteenAreApplied) {
    QStringList settings = balanceSettings();
    settings[11] = QStringLiteral("1");
    settings[12] = QStringLiteral("1");
    writeSettings(settings);
    // An export folder that is not there leaves the export; the program stays.
    window->TxtExport->setText(folder.filePath(QStringLiteral("no such folder")));
    std::optional<DuringExport> seen;
    pause.whileExporting = [&] {
        seen = DuringExport{window->exportInProgress, window->ButtonExportMode, window->LogFolder,
                            window->FixedDecimalFormat, window->MSComm1->PortOpen()};
    };

    OpenBalancePort(*window);

    ASSERT_TRUE(seen.has_value());
    EXPECT_TRUE(seen->exporting);
    EXPECT_EQ(seen->buttonMode, 0);
    EXPECT_EQ(seen->logFolder, QString());
    EXPECT_EQ(seen->fixedDecimals, 0);
    EXPECT_FALSE(seen->portOpen);
    EXPECT_EQ(window->NoWeightAutoExport, 1);
    EXPECT_EQ(window->ButtonExportMode, 1);
    EXPECT_EQ(window->LogFolder, u"/var/log/tav");
    EXPECT_EQ(window->FixedDecimalFormat, 1);
    EXPECT_TRUE(window->MSComm1->PortOpen());
}

TEST_F(BalanceLinkTest, AnExportThatEndsTheProgramStopsTheSetUp) {
    QStringList settings = balanceSettings();
    settings[11] = QStringLiteral("1");
    settings[12] = QStringLiteral("1");
    writeSettings(settings);
    pause.whileExporting = [&] { recording.programEnd.end(); };

    OpenBalancePort(*window);

    EXPECT_TRUE(recording.programEnd.hasEnded());
    EXPECT_EQ(window->ButtonExportMode, 0);
    EXPECT_EQ(window->LogFolder, QString());
    EXPECT_EQ(window->FixedDecimalFormat, 0);
    EXPECT_FALSE(window->MSComm1->PortOpen());
    EXPECT_EQ(port.pty.slaveOpenings(), 0);
}

} // namespace
} // namespace tav
