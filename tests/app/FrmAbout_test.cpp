#include "app/FrmAbout.h"
#include "app/FrmStoneID.h"
#include "platform/DateText.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace tav {
namespace {

class FrmAboutTest : public ::testing::Test {
protected:
    FrmAboutTest()
        : platform(recording.platform()),
          window(std::make_unique<FrmStoneID>(folder.folder(), platform, program)) {
        window->move(200, 120);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // The About window as the Help menu opens it.
    QPointer<FrmAbout> open() {
        window->Abou->trigger();
        QPointer<FrmAbout> about = window->aboutWindow;
        EXPECT_TRUE(about && about->isVisible());
        if (about) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(about.data()));
        }
        return about;
    }

    // Closed means gone: the window unloads itself.
    static bool closed(const QPointer<FrmAbout>& about) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return about.isNull();
    }

    test::TempProgramFolder folder;
    test::RecordingPlatform recording;
    Platform platform;
    ProgramWide program;
    std::unique_ptr<FrmStoneID> window;
};

TEST_F(FrmAboutTest, ShowsTitleVersionAndProgramDate) {
    const QPointer<FrmAbout> about = open();
    ASSERT_TRUE(about);
    EXPECT_EQ(about->windowTitle(), "About Tavix Vantor EXPORT Utility");
    EXPECT_EQ(about->Label1->text(), "TAVIX  EXPORT UTILITY");
    EXPECT_EQ(about->Label1->font().family(), "Arial");
    EXPECT_EQ(about->Exe->text(), QStringLiteral("Application Version : %1.%2.%3")
                                      .arg(TAV_VERSION_MAJOR)
                                      .arg(TAV_VERSION_MINOR)
                                      .arg(TAV_VERSION_REVISION));
    const QFileInfo program(QCoreApplication::applicationFilePath());
    EXPECT_EQ(about->AppMod->text(), "Modified : " + generalDateTimeText(program.lastModified()));
    EXPECT_EQ(about->Exe->toolTip(), "Click to Exit");
    EXPECT_EQ(about->AppMod->toolTip(), "Click to Exit");
    EXPECT_FALSE(about->Image1->pixmap().isNull());
    // Modeless: nothing blocks the main window.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(FrmAboutTest, OpensAtItsOffsetFromTheMainWindowWhereverThatIs) {
    struct Case {
        QPoint mainWindow;
        QPoint about; // + 67 and + 750 twips
    };
    const std::vector<Case> cases = {
        {{200, 120}, {204, 170}},
        {{333, 77}, {337, 127}},
        {{0, 0}, {4, 50}},
    };
    for (const Case& c : cases) {
        window->move(c.mainWindow);
        ASSERT_EQ(window->frameGeometry().topLeft(), c.mainWindow);
        const QPointer<FrmAbout> about = open();
        ASSERT_TRUE(about);
        EXPECT_EQ(about->frameGeometry().topLeft(), c.about);
        about->close();
        ASSERT_TRUE(closed(about));
    }
}

TEST_F(FrmAboutTest, OneAboutWindowBroughtForwardWhileOpen) {
    const QPointer<FrmAbout> first = open();
    const QPointer<FrmAbout> again = open();
    EXPECT_EQ(first, again);
    EXPECT_EQ(window->findChildren<FrmAbout*>(), QList<FrmAbout*>{first.data()});
}

TEST_F(FrmAboutTest, ClosesOnAClickOnItsInformationOrOnEnterOrEscOnly) {
    struct Case {
        const char* name;
        std::function<void(FrmAbout&)> act;
        bool closes;
    };
    const QPoint corner(2, 2); // the window itself, outside its parts
    const std::vector<Case> cases = {
        {"window click", [&](FrmAbout& a) { QTest::mouseClick(&a, Qt::LeftButton, {}, corner); },
         true},
        {"window right click",
         [&](FrmAbout& a) { QTest::mouseClick(&a, Qt::RightButton, Qt::ShiftModifier, corner); },
         true},
        {"window double-click",
         [&](FrmAbout& a) { QTest::mouseDClick(&a, Qt::LeftButton, {}, corner); }, true},
        {"picture click", [](FrmAbout& a) { QTest::mouseClick(a.Image1, Qt::LeftButton); }, true},
        {"version click", [](FrmAbout& a) { QTest::mouseClick(a.Exe, Qt::LeftButton); }, true},
        {"date click", [](FrmAbout& a) { QTest::mouseClick(a.AppMod, Qt::LeftButton); }, true},
        {"Enter", [](FrmAbout& a) { QTest::keyClick(&a, Qt::Key_Return); }, true},
        {"keypad Enter",
         [](FrmAbout& a) { QTest::keyClick(&a, Qt::Key_Enter, Qt::KeypadModifier); }, true},
        {"Esc", [](FrmAbout& a) { QTest::keyClick(&a, Qt::Key_Escape); }, true},
        {"title click", [](FrmAbout& a) { QTest::mouseClick(a.Label1, Qt::LeftButton); }, false},
        {"title double-click", [](FrmAbout& a) { QTest::mouseDClick(a.Label1, Qt::LeftButton); },
         false},
        {"letter key", [](FrmAbout& a) { QTest::keyClick(&a, Qt::Key_A); }, false},
        {"space", [](FrmAbout& a) { QTest::keyClick(&a, Qt::Key_Space); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QPointer<FrmAbout> about = open();
        ASSERT_TRUE(about);
        ASSERT_EQ(about->childAt(corner), nullptr);
        c.act(*about);
        EXPECT_EQ(closed(about), c.closes);
        if (about)
            about->close();
        ASSERT_TRUE(closed(about));
        EXPECT_TRUE(window->isVisible());
    }
}

TEST_F(FrmAboutTest, ClosingTheMainWindowUnloadsIt) {
    const QPointer<FrmAbout> about = open();
    window->close();
    EXPECT_TRUE(closed(about));
}

} // namespace
} // namespace tav
