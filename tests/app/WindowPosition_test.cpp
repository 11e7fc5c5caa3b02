#include "app/WindowPosition.h"

#include "app/FrmStoneID.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace tav {
namespace {

class WindowPositionTest : public ::testing::Test {
protected:
    WindowPositionTest() {
        window.move(10, 20);
        window.resize(300, 200);
    }

    // True when some part of the window lies in a screen's available area.
    bool onSomeScreen() const {
        const QRect frame(window.pos(), window.size());
        for (const QScreen* screen : QGuiApplication::screens()) {
            if (frame.intersects(screen->availableGeometry()))
                return true;
        }
        return false;
    }

    test::TempProgramFolder dir;
    QWidget window;
};

TEST_F(WindowPositionTest, WritesFourNumbersInTwipsWithTheSignPlace) {
    window.move(100, 50);
    window.resize(640, 480);
    ASSERT_TRUE(Writewindowsize(window, dir.folder()));
    EXPECT_EQ(dir.read("winpos_TAV.txt"), " 1500 \r\n 750 \r\n 9600 \r\n 7200 \r\n");
}

TEST_F(WindowPositionTest, ANegativeNumberTakesTheSignPlace) {
    window.move(-20, 0);
    window.resize(641, 1);
    ASSERT_TRUE(Writewindowsize(window, dir.folder()));
    EXPECT_EQ(dir.read("winpos_TAV.txt"), "-300 \r\n 0 \r\n 9615 \r\n 15 \r\n");
}

TEST_F(WindowPositionTest, LargeValuesUseTheSevenDigitText) {
    window.move(1000000, 0);
    ASSERT_TRUE(Writewindowsize(window, dir.folder()));
    // 15000000 twips: a single keeps 7 significant digits.
    EXPECT_TRUE(dir.read("winpos_TAV.txt").startsWith(" 1.5E+07 \r\n"));
}

TEST_F(WindowPositionTest, AnOldFileIsReplaced) {
    dir.write("winpos_TAV.txt", "garbage\r\nmore garbage\r\n 1 \r\n 2 \r\n 3 \r\n");
    window.move(1, 2);
    window.resize(3, 4);
    ASSERT_TRUE(Writewindowsize(window, dir.folder()));
    EXPECT_EQ(dir.read("winpos_TAV.txt"), " 15 \r\n 30 \r\n 45 \r\n 60 \r\n");
}

TEST_F(WindowPositionTest, ReadsTheFourNumbers) {
    dir.write("winpos_TAV.txt", " 1500 \r\n 750 \r\n 9600 \r\n 7200 \r\n");
    setwindowsize(window, dir.folder());
    EXPECT_EQ(window.pos(), QPoint(100, 50));
    EXPECT_EQ(window.size(), QSize(640, 480));
}

TEST_F(WindowPositionTest, RoundTrip) {
    window.move(37, 45);
    window.resize(401, 299);
    ASSERT_TRUE(Writewindowsize(window, dir.folder()));
    QWidget other;
    setwindowsize(other, dir.folder());
    EXPECT_EQ(other.pos(), QPoint(37, 45));
    EXPECT_EQ(other.size(), QSize(401, 299));
}

TEST_F(WindowPositionTest, NumbersAreWholeItemsAndTwipsRoundToPixels) {
    dir.write("winpos_TAV.txt", "1507\r\n  744.9  \r\n\"9600\"\r\n7.2E3\r\n");
    setwindowsize(window, dir.folder());
    EXPECT_EQ(window.pos(), QPoint(100, 50));
    EXPECT_EQ(window.size(), QSize(640, 480));
}

TEST_F(WindowPositionTest, TwoNumbersMoveTheWindowButKeepItsSize) {
    dir.write("winpos_TAV.txt", " 1500 \r\n 750 \r\n");
    setwindowsize(window, dir.folder());
    EXPECT_EQ(window.pos(), QPoint(100, 50));
    EXPECT_EQ(window.size(), QSize(300, 200));
}

TEST_F(WindowPositionTest, TheFirstBadLineStopsTheRead) {
    dir.write("winpos_TAV.txt", " 1500 \r\n 750 \r\n wide \r\n 7200 \r\n");
    setwindowsize(window, dir.folder());
    EXPECT_EQ(window.pos(), QPoint(100, 50));
    EXPECT_EQ(window.size(), QSize(300, 200));

    dir.write("winpos_TAV.txt", " 3000 \r\n\r\n 9600 \r\n 7200 \r\n");
    setwindowsize(window, dir.folder());
    EXPECT_EQ(window.pos(), QPoint(200, 50));
    EXPECT_EQ(window.size(), QSize(300, 200));

    dir.write("winpos_TAV.txt", " 1500 \r\n 750 \r\n 9600 \r\n-7200 \r\n");
    setwindowsize(window, dir.folder());
    EXPECT_EQ(window.size(), QSize(640, 200));
}

TEST_F(WindowPositionTest, NoFileLeavesTheWindowAsDesigned) {
    setwindowsize(window, dir.folder());
    EXPECT_EQ(window.pos(), QPoint(10, 20));
    EXPECT_EQ(window.size(), QSize(300, 200));
    EXPECT_FALSE(dir.exists("winpos_TAV.txt"));
}

TEST_F(WindowPositionTest, AnEmptyFileChangesNothing) {
    dir.write("winpos_TAV.txt", "");
    setwindowsize(window, dir.folder());
    EXPECT_EQ(window.pos(), QPoint(10, 20));
    EXPECT_EQ(window.size(), QSize(300, 200));
}

// Mended: a position off every screen (a monitor since removed, a minimised window)
// is brought back onto the nearest screen; the size is kept.
TEST_F(WindowPositionTest, AnOffScreenPositionIsPulledBack) {
    ASSERT_FALSE(QGuiApplication::screens().isEmpty());
    for (const char* bytes : {" 1500000 \r\n 750 \r\n 4500 \r\n 3000 \r\n",
                              "-480000 \r\n-480000 \r\n 4500 \r\n 3000 \r\n",
                              " 750 \r\n 900000 \r\n 4500 \r\n 3000 \r\n"}) {
        dir.write("winpos_TAV.txt", bytes);
        setwindowsize(window, dir.folder());
        EXPECT_TRUE(onSomeScreen()) << bytes << " at " << window.x() << "," << window.y();
        EXPECT_EQ(window.size(), QSize(300, 200)) << bytes;
    }
}

TEST_F(WindowPositionTest, AnOnScreenPositionIsKept) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint inside = area.topLeft() + QPoint(5, 7);
    dir.write("winpos_TAV.txt", QStringLiteral(" %1 \r\n %2 \r\n 1500 \r\n 1500 \r\n")
                                    .arg(inside.x() * 15)
                                    .arg(inside.y() * 15)
                                    .toLatin1());
    setwindowsize(window, dir.folder());
    EXPECT_EQ(window.pos(), inside);
}

TEST(KeptOnScreen, MovesTheWholeRectangleIntoOneAreaAndCutsOnlyWhatIsTooLarge) {
    const QList<QRect> areas = {QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 1000)};
    const struct {
        const char* name;
        QRect frame;
        QRect kept;
    } cases[] = {
        {"wholly on a screen: kept", QRect(100, 100, 800, 600), QRect(100, 100, 800, 600)},
        {"filling a screen: kept", QRect(1920, 0, 1280, 1000), QRect(1920, 0, 1280, 1000)},
        // Changed: a window partly on a screen used to stay where it was.
        {"over the bottom right corner: moved in", QRect(3000, 900, 800, 600),
         QRect(2400, 400, 800, 600)},
        {"over the left edge: moved in", QRect(-795, 100, 800, 600), QRect(0, 100, 800, 600)},
        {"across two screens: onto the one it shows most on", QRect(1800, 100, 400, 300),
         QRect(1920, 100, 400, 300)},
        {"right of the second screen: flush with its right edge", QRect(5000, 100, 800, 600),
         QRect(2400, 100, 800, 600)},
        {"above the first: onto its top edge", QRect(100, -3000, 800, 600),
         QRect(100, 0, 800, 600)},
        {"the old program's minimised position: top left of the first",
         QRect(-3200, -3200, 800, 600), QRect(0, 0, 800, 600)},
        {"larger, off screen: cut to the nearest area", QRect(9000, 9000, 4000, 3000),
         QRect(1920, 0, 1280, 1000)},
        {"larger than the area it shows most on: cut to it", QRect(100, 100, 4000, 4000),
         QRect(0, 0, 1920, 1040)},
        {"too high only: cut in height alone", QRect(2000, 500, 900, 1200),
         QRect(2000, 0, 900, 1000)},
        {"too high on the first screen", QRect(1500, 500, 400, 1200), QRect(1500, 0, 400, 1040)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keptOnScreen(c.frame, areas), c.kept) << c.name;
}

TEST(KeptOnScreen, AFrameFromALargerScreenIsMovedOntoTheBenchScreenAtItsSize) {
    const QList<QRect> bench = {QRect(0, 0, 1366, 768)};
    // 9000 / 3000 / 18600 / 10350 twips with a frame of 16 x 40 pixels.
    EXPECT_EQ(keptOnScreen(QRect(600, 200, 1256, 730), bench), QRect(110, 38, 1256, 730));
    EXPECT_EQ(keptOnScreen(QRect(110, 38, 1256, 730), bench), QRect(110, 38, 1256, 730));
    EXPECT_EQ(keptOnScreen(QRect(9000, 9000, 10, 10), {}), QRect(9000, 9000, 10, 10))
        << "no screens known";
}

// The main window on a program folder of its own.
class WindowPositionMainWindow : public ::testing::Test {
protected:
    test::TempProgramFolder dir;
    test::RecordingPlatform recording;
    Platform platform = recording.platform();
    ProgramWide program;
    FrmStoneID window{dir.folder(), platform, program};
};

// Mended: a saved size far beyond the screen (60000 twips are 4000 pixels) is cut down
// to the screen's available area, so the buttons and the status line stay on it.
TEST_F(WindowPositionMainWindow, ASizeBeyondTheScreenIsPulledBackToIt) {
    dir.write("winpos_TAV.txt", " 1500 \r\n 1500 \r\n 60000 \r\n 60000 \r\n");
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();

    setwindowsize(window);
    EXPECT_TRUE(area.contains(window.frameGeometry()));
    EXPECT_GE(window.width(), area.width() * 9 / 10) << "as large as the screen allows";
    EXPECT_GE(window.height(), area.height() * 9 / 10);

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QWidget* const lowest[] = {window.Cmd_OK, window.Cmd_Can, window.msgb1, window.ProgressBar1};
    for (QWidget* control : lowest) {
        const QRect at(control->mapToGlobal(QPoint(0, 0)), control->size());
        EXPECT_TRUE(area.contains(at)) << control->objectName().toStdString();
    }
}

// Mended: a position saved on a larger screen left the bottom and the right of the
// window beyond the bench's screen, where no window manager may let the operator reach
// them; the whole window is moved onto the screen, at its saved size.
TEST_F(WindowPositionMainWindow, APositionFromALargerScreenShowsTheWholeWindow) {
    dir.write("winpos_TAV.txt", " 9000 \r\n 3000 \r\n 18600 \r\n 10350 \r\n");
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(area, QRect(0, 0, 1366, 768)) << "the bench screen of the tests";

    setwindowsize(window);
    EXPECT_EQ(window.size(), QSize(1240, 690)) << "it fits, so its size is kept";
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(area.contains(window.frameGeometry())) << window.x() << "," << window.y();
    QWidget* const edges[] = {window.Frame1, window.Cmd_OK, window.msgb1, window.ProgressBar1};
    for (QWidget* control : edges) {
        const QRect at(control->mapToGlobal(QPoint(0, 0)), control->size());
        EXPECT_TRUE(area.contains(at)) << control->objectName().toStdString();
    }
}

TEST_F(WindowPositionMainWindow, UsesTheWindowsProgramFolder) {
    window.move(20, 30);
    window.resize(700, 500);
    ASSERT_TRUE(Writewindowsize(window));
    EXPECT_EQ(dir.read("winpos_TAV.txt"), " 300 \r\n 450 \r\n 10500 \r\n 7500 \r\n");

    FrmStoneID again(dir.folder(), platform, program);
    setwindowsize(again);
    EXPECT_EQ(again.pos(), QPoint(20, 30));
    EXPECT_EQ(again.size(), QSize(700, 500));
}

} // namespace
} // namespace tav
