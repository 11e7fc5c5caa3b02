#include "platform/NumberText.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

// Every test runs with a QApplication (the window tests need one) on the offscreen
// platform, and with a fixed locale so date texts do not depend on the machine.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    tav::useCNumberLocale();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
