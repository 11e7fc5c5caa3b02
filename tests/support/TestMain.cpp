#include "platform/NumberText.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

// Every test runs with a QApplication (the window tests need one) on the offscreen
// platform, whose one screen is that of a common bench PC (1366 x 768), and with Qt's
// locale fixed. The program's date texts follow the C library's locale settings instead
// (support/BenchLocale.h), and its numbers no locale at all.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            "offscreen:configfile=" TAV_FIXTURES_DIR "/screen/bench-1366x768.json");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    tav::useCNumberLocale();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
