#include "app/FrmStoneID.h"
#include "app/StartUp.h"
#include "support/SampleFolder.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>

namespace tav {
namespace {

// A common bench PC, and the frame its desktop draws around a window: borders and a
// title bar.
const QSize benchScreen(1366, 768);
const QMargins windowFrame(4, 30, 4, 4);

// The sample stone after start-up, at the window's design size, on the bench screen
// that the tests run on.
class WindowLayoutTest : public test::SampleFolderTest {
protected:
    void SetUp() override {
        SampleFolderTest::SetUp();
        ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().size(), benchScreen);
        window = std::make_unique<FrmStoneID>(dir.folder(), services, program);
        designSize = window->size();
        ASSERT_EQ(Form_Load(*window), StartUpOutcome::Waiting);
        // The status line with a few warnings, as on a busy bench.
        for (int i = 0; i < 4; ++i)
            window->appendWarning(QStringLiteral("Balance not answering on COM1"));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->layout()->activate();
    }

    std::unique_ptr<FrmStoneID> window;
    QSize designSize;
};

TEST_F(WindowLayoutTest, TheDesignSizeWithItsFrameFitsTheBenchScreen) {
    const QSize framed = designSize.grownBy(windowFrame);
    EXPECT_LE(framed.width(), benchScreen.width());
    EXPECT_LE(framed.height(), benchScreen.height());
    EXPECT_EQ(window->size(), designSize) << "the filled window still takes its design size";
    const QSize least = window->minimumSizeHint();
    EXPECT_LE(least.height(), designSize.height());
    EXPECT_LE(least.width(), designSize.width());
}

TEST_F(WindowLayoutTest, EverythingTheOperatorReadsLiesWhollyInTheWindowAtFullSize) {
    FrmStoneID& w = *window;
    const QRect inside = w.rect();
    QWidget* const shown[] = {
        w.txtStoneID, w.TxtLotno,  w.txtRealWgt, w.TxtHP_Wgt,   w.cboShape,
        w.Msg_1,      w.Image1[0], w.Image1[1],  w.Text_ok,     w.Cmd_OK,
        w.Cmd_Can,    w.cbColor,   w.CbSym,      w.txtOperator, w.TxtRepID,
        w.CBOFORMAT,  w.TxtExport, w.Txt_Book,   w.msgb1,       w.ProgressBar1,
    };
    for (QWidget* widget : shown) {
        SCOPED_TRACE(widget->objectName().toStdString());
        ASSERT_TRUE(widget->isVisible());
        const QRect at(widget->mapTo(&w, QPoint(0, 0)), widget->size());
        EXPECT_TRUE(inside.contains(at));
        EXPECT_GE(widget->height(), widget->minimumSizeHint().height());
    }
    // The pictures are large enough to judge the stone by.
    for (QWidget* picture : w.Image1) {
        EXPECT_GE(picture->width(), 150) << picture->objectName().toStdString();
        EXPECT_GE(picture->height(), 150) << picture->objectName().toStdString();
    }
    // The status line shows its last lines, each at least one text line high.
    EXPECT_GE(w.msgb1->height(), 3 * w.msgb1->fontMetrics().lineSpacing());
}

} // namespace
} // namespace tav
