#include "platform/NumberText.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Every test runs with a QApplication (the window tests need one) on the offscreen
// platform, whose one screen is that of a common bench PC (1366 x 768), and with a
// fixed locale so date texts do not depend on the machine.
int main(int argc, char** argv) {
    // The offscreen platform reads the path of its screen file as Latin-1, so the file
    // is read from a temporary folder of a plain name, wherever the checkout lies.
    const QTemporaryDir screen;
    const QString screenFile = screen.filePath(QStringLiteral("bench-1366x768.json"));
    if (!QFile::copy(QStringLiteral(TAV_FIXTURES_DIR "/screen/bench-1366x768.json"), screenFile))
        qFatal("cannot copy the screen file of the offscreen platform");
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screenFile));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    tav::useCNumberLocale();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
