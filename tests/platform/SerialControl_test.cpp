#include "platform/SerialControl.h"
#include "platform/StepFailure.h"
#include "support/PtyPair.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtCore/qtestsupport_core.h>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace tav {
namespace {

constexpr int liveness = 5000; // ms; only bounds a wait for data that must come

// The number of the failure a statement throws, or nothing when it runs through.
template <class Statement> std::optional<int> failureOf(Statement&& statement) {
    try {
        statement();
    } catch (const StepFailure& failure) {
        return failure.number();
    }
    return std::nullopt;
}

class SerialControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(port.pty.isOpen());
        control.setCommPort(port.number);
        QObject::connect(&control, &SerialControl::OnComm, [this] { ++events; });
    }

    void openWithThreshold(qint16 threshold) {
        control.setRThreshold(threshold);
        control.setPortOpen(true);
        ASSERT_TRUE(control.PortOpen());
    }

    test::PtyComPort port{7};
    SerialControl control;
    int events = 0;
};

TEST(SerialControlSettings, AcceptsTheControlsFormAndRefusesOtherTexts) {
    struct Case {
        const char* text;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"9600,n,8,1", true},    {"2400,E,7,2", true},
        {"1200,o,5,1.5", true},  {"19200,m,6,1", true},
        {"4800,s,4,1", true},    {"9600,n,8", false},
        {"9600,n,8,1,1", false}, {"9600,x,8,1", false},
        {"9600,n,9,1", false},   {"9600,n,3,1", false},
        {"9600,n,8,3", false},   {"9600,n,8,1.0", false},
        {"fast,n,8,1", false},   {"0,n,8,1", false},
        {"-9600,n,8,1", false},  {"", false},
    };
    for (const Case& c : cases) {
        SerialControl control;
        const auto failure = failureOf([&] { control.setSettings(QLatin1String(c.text)); });
        EXPECT_EQ(failure, c.accepted ? std::nullopt : std::optional<int>(380)) << c.text;
        EXPECT_EQ(control.Settings(), QLatin1String(c.accepted ? c.text : "9600,n,8,1")) << c.text;
    }
}

TEST(SerialControlSettings, RefusesOutOfRangeProperties) {
    SerialControl control;
    EXPECT_EQ(failureOf([&] { control.setHandshaking(4); }), 380);
    EXPECT_EQ(failureOf([&] { control.setHandshaking(-1); }), 380);
    EXPECT_EQ(failureOf([&] { control.setRThreshold(-1); }), 380);
    EXPECT_EQ(failureOf([&] { control.setSThreshold(-1); }), 380);
    EXPECT_EQ(failureOf([&] { control.setCommPort(0); }), 8002);
    EXPECT_EQ(failureOf([&] { control.Input(); }), 8018);
    EXPECT_EQ(control.Handshaking(), 0);
    EXPECT_EQ(control.CommPort(), 1);
}

TEST(SerialControlSettings, ComPortNamesTheSerialDeviceOrTheChosenOne) {
    test::PtyComPort chosen(12);
    EXPECT_EQ(SerialControl::devicePath(12), chosen.pty.slaveName());
    qunsetenv("TAVEXPORT_COM1");
    qunsetenv("TAVEXPORT_COM4");
    EXPECT_EQ(SerialControl::devicePath(1), u"/dev/ttyS0");
    EXPECT_EQ(SerialControl::devicePath(4), u"/dev/ttyS3");
}

TEST_F(SerialControlTest, ReceivedCharactersAreAnnouncedAndReadOnceAsLatin1) {
    openWithThreshold(1);
    ASSERT_TRUE(port.pty.send("12.5 \xB5g"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.InBufferCount() == 7; }, liveness));
    EXPECT_GE(events, 1);
    EXPECT_EQ(control.CommEvent(), SerialControl::EventReceive);
    EXPECT_EQ(control.Input(), QStringLiteral("12.5 \u00B5g"));
    EXPECT_EQ(control.Input(), QString());
    EXPECT_EQ(control.InBufferCount(), 0);
}

TEST_F(SerialControlTest, TheReceiveEventWaitsForTheThreshold) {
    openWithThreshold(5);
    ASSERT_TRUE(port.pty.send("0.5"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.InBufferCount() == 3; }, liveness));
    EXPECT_EQ(events, 0);
    ASSERT_TRUE(port.pty.send("12"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return events == 1; }, liveness));
    EXPECT_EQ(control.CommEvent(), SerialControl::EventReceive);
    EXPECT_EQ(control.Input(), u"0.512");
}

TEST_F(SerialControlTest, ThresholdZeroNeverAnnouncesButKeepsTheData) {
    openWithThreshold(0);
    ASSERT_TRUE(port.pty.send("0.51 ct"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.InBufferCount() == 7; }, liveness));
    EXPECT_EQ(events, 0);
    EXPECT_EQ(control.Input(), u"0.51 ct");
}

TEST_F(SerialControlTest, DataLeftUnreadIsAnnouncedAgainWithTheNextArrival) {
    openWithThreshold(1);
    ASSERT_TRUE(port.pty.send("0.5"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.InBufferCount() == 3; }, liveness));
    const auto announced = events;
    ASSERT_TRUE(port.pty.send("1"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return events > announced; }, liveness));
    EXPECT_EQ(control.Input(), u"0.51");
}

TEST_F(SerialControlTest, TheEndOfFileCharacterRaisesItsOwnEvent) {
    openWithThreshold(0);
    std::vector<qint16> seen;
    QObject::connect(&control, &SerialControl::OnComm,
                     [&] { seen.push_back(control.CommEvent()); });
    ASSERT_TRUE(port.pty.send("\x1A"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !seen.empty(); }, liveness));
    EXPECT_EQ(seen, std::vector<qint16>{SerialControl::EventEOF});
}

TEST_F(SerialControlTest, WhatTheLineReceivedWhileClosedIsDiscardedOnOpening) {
    openWithThreshold(0);
    ASSERT_TRUE(port.pty.send("0.5"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.InBufferCount() == 3; }, liveness));
    control.setPortOpen(false);
    ASSERT_TRUE(port.pty.send("0.777 ct\r\n"));

    control.setPortOpen(true);
    EXPECT_EQ(control.InBufferCount(), 0);
    ASSERT_TRUE(port.pty.send("0.888"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.InBufferCount() >= 5; }, liveness));
    EXPECT_EQ(control.Input(), u"0.888");
}

TEST_F(SerialControlTest, AMissingDeviceIsRefusedWithItsPath) {
    // In a folder of the test's own: the serial port's lock is named after the device.
    const QTemporaryDir scratch;
    const QString missing = scratch.filePath(QStringLiteral("ttyBalance"));
    port.redirect(QFile::encodeName(missing));
    try {
        control.setPortOpen(true);
        FAIL() << "opened a missing device";
    } catch (const StepFailure& failure) {
        EXPECT_EQ(failure.number(), 8002);
        EXPECT_TRUE(failure.description().startsWith(QStringLiteral("Invalid port number (") +
                                                     missing + QStringLiteral(": ")))
            << failure.description().toStdString();
    }
    EXPECT_FALSE(control.PortOpen());
    EXPECT_EQ(port.pty.slaveOpenings(), 0);
}

TEST_F(SerialControlTest, APortInUseIsRefusedAndTheFirstKeepsIt) {
    openWithThreshold(1);
    SerialControl second;
    second.setCommPort(port.number);
    EXPECT_EQ(failureOf([&] { second.setPortOpen(true); }), 8005);
    EXPECT_FALSE(second.PortOpen());
    EXPECT_TRUE(control.PortOpen());
    EXPECT_EQ(failureOf([&] { control.setPortOpen(true); }), 8005);
    EXPECT_EQ(failureOf([&] { control.setCommPort(3); }), 8000);
    EXPECT_EQ(control.CommPort(), port.number);
}

TEST_F(SerialControlTest, SettingsTheLineCannotHonourAreRefusedWhenOpening) {
    // Linux has no 1.5 stop bits and no 4-bit characters; a pseudo-terminal line also
    // drops any parity, which the driver does without a word.
    for (const char* settings :
         {"9600,n,8,1.5", "9600,n,4,1", "9600,e,8,1", "9600,o,7,1", "9600,m,8,1", "9600,s,8,1"}) {
        control.setSettings(QLatin1String(settings));
        EXPECT_EQ(failureOf([&] { control.setPortOpen(true); }), 8015) << settings;
        EXPECT_FALSE(control.PortOpen()) << settings;
    }
    control.setSettings(QStringLiteral("2400,N,8,2"));
    control.setPortOpen(true);
    EXPECT_TRUE(control.PortOpen());
    // Each setting was tried on the line itself.
    EXPECT_EQ(port.pty.slaveOpenings(), 7);
}

TEST_F(SerialControlTest, SettingsChangedWhileOpenReachTheLineOrAreRefused) {
    openWithThreshold(1);
    control.setSettings(QStringLiteral("4800,n,8,2"));
    EXPECT_EQ(failureOf([&] { control.setSettings(QStringLiteral("4800,n,8,1.5")); }), 8015);
    EXPECT_EQ(control.Settings(), u"4800,n,8,2");
    EXPECT_TRUE(control.PortOpen());
}

TEST_F(SerialControlTest, EveryHandshakeCodeOpensTheLine) {
    for (qint32 code : {0, 1, 2, 3}) {
        control.setHandshaking(code);
        control.setRTSEnable(true);
        control.setPortOpen(true);
        EXPECT_TRUE(control.PortOpen()) << code;
        control.setPortOpen(false);
    }
    EXPECT_EQ(port.pty.slaveOpenings(), 4);
}

TEST_F(SerialControlTest, ALostDeviceClosesThePortAndIsAnnouncedOnce) {
    openWithThreshold(1);
    int lost = 0;
    QObject::connect(&control, &SerialControl::DeviceLost, [&] { ++lost; });
    port.pty.closeMaster();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lost > 0; }, liveness));
    EXPECT_FALSE(control.PortOpen());
    // Whatever is still queued for the dead line must not announce it again.
    for (int round = 0; round < 10; ++round)
        QCoreApplication::processEvents();
    EXPECT_EQ(lost, 1);
}

} // namespace
} // namespace tav
