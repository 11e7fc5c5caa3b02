#include "scan/Form1.h"

#include "platform/Database.h"
#include "scan/KeyFileBuilder.h"

#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tav {
namespace {

class Form1Test : public ::testing::Test {
protected:
    Form1Test() : form(dir.folder(), messages) {}
    ~Form1Test() override { form.hide(); }

    void createReports() {
        dir.createDatabaseFromScript("Reports.mdb", TAV_FIXTURES_DIR "/keyfile/reports.sql");
    }

    QStringList listed() const {
        QStringList names;
        for (int row = 0; row < form.List1->count(); ++row)
            names.append(form.List1->item(row)->text());
        return names;
    }
    // Clicks the item, as the operator does, when its selection differs from on.
    void select(const QString& name, bool on = true) {
        const auto items = form.List1->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        if (items.first()->isSelected() == on)
            return;
        form.List1->scrollToItem(items.first());
        QTest::mouseClick(form.List1->viewport(), Qt::LeftButton, Qt::NoModifier,
                          form.List1->visualItemRect(items.first()).center());
        ASSERT_EQ(items.first()->isSelected(), on) << name.toStdString();
    }
    void createView(const QString& statement) const {
        const auto reports = Database::openExisting(dir.filePath("Reports.mdb"));
        ASSERT_NE(reports, nullptr);
        ASSERT_TRUE(reports->exec(statement));
    }

    test::TempProgramFolder dir;
    test::RecordingMessageBoxes messages;
    Form1 form;
};

TEST_F(Form1Test, IsAWindowWithItsDesignCaptions) {
    EXPECT_TRUE(form.isWindow());
    EXPECT_EQ(form.windowTitle(), "Generate Template File");
    EXPECT_EQ(form.Label1->text(), "Generate Template File");
    EXPECT_EQ(form.Command1->text(), "Generate Result");
    EXPECT_EQ(form.List1->selectionMode(), QAbstractItemView::MultiSelection);
    EXPECT_EQ(form.Label1->objectName(), "Label1");
    EXPECT_EQ(form.List1->objectName(), "List1");
    EXPECT_EQ(form.Command1->objectName(), "Command1");
    EXPECT_FALSE(form.isModal());
    // Nothing is loaded before the window is first shown.
    EXPECT_FALSE(form.isLoaded());
    EXPECT_EQ(form.List1->count(), 0);
}

TEST_F(Form1Test, ShowingListsTheTablesInOrderWithoutMSysAndPreselectsTestSetting) {
    createReports();
    // "stone" differs in case from the table and selects nothing; MSysObjects is
    // listed in the file but neither shown nor selected.
    dir.write("testSetting.txt", "Limits\r\nstone\r\nMSysObjects\r\nmsysLower\r\n");
    form.show();
    EXPECT_TRUE(form.isLoaded());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(listed(), (QStringList{"Stone", "Limits", "Empty", "msysLower"}));
    EXPECT_EQ(form.selectedTables(), (QStringList{"Limits", "msysLower"}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Form1Test, AViewIsListedSelectedAndKeptWithItsKeys) {
    createReports();
    createView("CREATE VIEW StoneView AS SELECT COLOR, TABLE_PC FROM Stone");
    dir.write("testSetting.txt", "StoneView\r\n");
    form.show();
    EXPECT_EQ(listed(), (QStringList{"Stone", "Limits", "Empty", "msysLower", "StoneView"}));
    EXPECT_EQ(form.selectedTables(), QStringList{"StoneView"});

    select("Limits");
    form.Command1->click();
    EXPECT_EQ(dir.read("testSetting.txt"), "Limits\r\nStoneView\r\n");
    const QByteArray keys = "[NumericalParameters]\r\n"
                            "Limits.SHAPE = BR\r\n"
                            "Limits.MIN_WGT = 0.005\r\n"
                            "Limits.ACTIVE = False\r\n"
                            "Limits.NEG = -3\r\n"
                            "Limits.FACTOR = 100\r\n"
                            "StoneView.COLOR = D\r\n"
                            "StoneView.TABLE_PC = 57.5\r\n";
    EXPECT_EQ(dir.read("test_export.txt"), keys);
    // The builder reads the view from the kept list alike.
    QFile::remove(dir.filePath("test_export.txt"));
    BuildTestExport(dir.folder(), messages);
    EXPECT_EQ(dir.read("test_export.txt"), keys);
}

TEST_F(Form1Test, TheListIsFilledOnceAndKeptWhileHidden) {
    createReports();
    form.show();
    select("Empty");
    form.hide();
    form.show();
    EXPECT_EQ(listed().size(), 4);
    EXPECT_EQ(form.selectedTables(), (QStringList{"Empty"}));
}

TEST_F(Form1Test, MissingReportsShowsFileDoesNotExistsAndLeavesTheListEmpty) {
    form.show();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "File does not Exists");
    EXPECT_EQ(messages.shown[0].title, "");
    EXPECT_EQ(form.List1->count(), 0);
}

TEST_F(Form1Test, GenerateResultWritesBothFilesShowsFileCreatedAndHides) {
    createReports();
    dir.write("testSetting.txt", "Stone\r\n");
    dir.write("test_export.txt", "[NumericalParameters]\r\nold = 1\r\n");
    form.show();
    select("Stone", false);
    select("msysLower");
    select("Limits");
    form.Command1->click();

    EXPECT_EQ(dir.read("testSetting.txt"), "Limits\r\nmsysLower\r\n");
    EXPECT_EQ(dir.read("test_export.txt").toStdString(), "[NumericalParameters]\r\n"
                                                         "Limits.SHAPE = BR\r\n"
                                                         "Limits.MIN_WGT = 0.005\r\n"
                                                         "Limits.ACTIVE = False\r\n"
                                                         "Limits.NEG = -3\r\n"
                                                         "Limits.FACTOR = 100\r\n"
                                                         "msysLower.B = shown in Form1\r\n");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "File Created");
    EXPECT_EQ(messages.shown[0].title, "");
    EXPECT_FALSE(form.isVisible());
    // Hidden, not unloaded: the list and its selection stay.
    EXPECT_EQ(form.selectedTables(), (QStringList{"Limits", "msysLower"}));
}

// Mended: a selection that could not be saved is not reported as created.
TEST_F(Form1Test, AFileThatCannotBeWrittenIsReportedAndTheWindowStays) {
    createReports();
    QDir(dir.path()).mkpath("testSetting.txt"); // a folder where the list file belongs
    form.show();
    select("Limits");
    form.Command1->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "File could not be Created : testSetting.txt");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(Form1Test, ASelectedTableWithoutRowsIsStillListedInTestSetting) {
    createReports();
    form.show();
    select("Empty");
    form.Command1->click();
    EXPECT_EQ(dir.read("testSetting.txt"), "Empty\r\n");
    EXPECT_EQ(dir.read("test_export.txt"), "[NumericalParameters]\r\n");
}

TEST_F(Form1Test, GenerateResultBeforeAnyClickRemindsAndGeneratesThePreselection) {
    createReports();
    dir.write("testSetting.txt", "Limits\r\nEmpty\r\n");
    form.show();
    // Taking the focus alone makes no item current.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(form.List1, &focusIn);
    EXPECT_EQ(form.List1->currentRow(), -1);
    form.Command1->click();

    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, "Select at Least 1 item");
    EXPECT_EQ(messages.shown[0].title, "");
    EXPECT_EQ(messages.shown[1].text, "File Created");
    EXPECT_EQ(dir.read("testSetting.txt"), "Limits\r\nEmpty\r\n");
    EXPECT_TRUE(
        dir.read("test_export.txt").startsWith("[NumericalParameters]\r\nLimits.SHAPE = BR\r\n"));
    EXPECT_FALSE(form.isVisible());
}

TEST_F(Form1Test, GenerateResultAfterEverySelectionWasClearedWritesEmptyFiles) {
    createReports();
    dir.write("testSetting.txt", "Stone\r\nLimits\r\n");
    dir.write("test_export.txt", "[NumericalParameters]\r\nStone.COLOR = D\r\n");
    form.show();
    // The operator clears both preselected tables, one click each.
    select("Stone", false);
    select("Limits", false);
    ASSERT_GE(form.List1->currentRow(), 0);
    ASSERT_TRUE(form.selectedTables().isEmpty());
    form.Command1->click();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "File Created");
    EXPECT_EQ(messages.shown[0].title, "");
    EXPECT_EQ(dir.read("test_export.txt"), "[NumericalParameters]\r\n");
    EXPECT_TRUE(dir.exists("testSetting.txt"));
    EXPECT_EQ(dir.read("testSetting.txt"), "");
    EXPECT_FALSE(form.isVisible());
}

TEST_F(Form1Test, GenerateResultWithAnEmptyListShowsTheMessage) {
    form.show(); // no Reports.mdb: "File does not Exists", empty list
    form.Command1->click();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, "Select at Least 1 item");
    EXPECT_FALSE(dir.exists("testSetting.txt"));
    EXPECT_FALSE(dir.exists("test_export.txt"));
}

TEST(Form1IsInArray, MatchesWholeElementsExactly) {
    const QStringList array{"Stone", "Limits", ""};
    EXPECT_TRUE(Form1::IsInArray("Stone", array));
    EXPECT_TRUE(Form1::IsInArray("Limits", array));
    EXPECT_FALSE(Form1::IsInArray("stone", array));
    EXPECT_FALSE(Form1::IsInArray("Ston", array));
    EXPECT_FALSE(Form1::IsInArray("Stone ", array));
    EXPECT_FALSE(Form1::IsInArray("tone", array));
    EXPECT_FALSE(Form1::IsInArray("Stone", QStringList{}));
    EXPECT_FALSE(Form1::IsInArray("Stone", QStringList{"Stone,Limits"}));
}

} // namespace
} // namespace tav
