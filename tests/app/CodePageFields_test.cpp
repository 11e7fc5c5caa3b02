#include "app/CodePageFields.h"

#include "app/FrmStoneID.h"
#include "app/StartUp.h"
#include "platform/AnsiText.h"
#include "support/RecordingPlatform.h"
#include "support/SampleFolder.h"

#include <QApplication>
#include <QDirIterator>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace tav {
namespace {

const QString kCyrillicFolder = QString::fromUtf8("\u042D\u043A\u0441\u043F\u043E\u0440\u0442");

// Types the text at the end of the field, one key for each character, as the keyboard
// of a bench with another layout would.
void type(QLineEdit* field, const QString& text) {
    field->end(false);
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &release);
    }
}

QString warningOf(const char* caption, bool namesFiles) {
    return QStringLiteral("\n\r") + caption + " holds characters the files can not hold ......" +
           (namesFiles ? "It can not name a folder or file" : "They are written as ?");
}

TEST(CodePageFieldsTest, EachEntryOfACharacterTheFilesCanNotHoldIsToldOnce) {
    test::TempProgramFolder dir;
    test::RecordingPlatform recording;
    Platform platform = recording.platform();
    ProgramWide program;
    FrmStoneID w(dir.folder(), platform, program);
    const struct {
        QLineEdit* field;
        const char* caption;
        bool namesFiles;
    } cases[] = {
        {w.TxtExport, "EXPORT FOLDER", true},   {w.TxtACExport, "ASCII FOLDER", true},
        {w.TxtFileName, "FILE NAME", true},     {w.txtSysnumber, "SYSTEM NUMBER", true},
        {w.txtLenNumber, "LENS NUMBER", false}, {w.txtStoneID, "STONE ID", true},
        {w.TxtLotno, "KAPAN/LOT", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        w.msgb1->clear();
        program.ExportWarningFlag = 0;
        c.field->setReadOnly(false); // the locked ones are unlocked by a double click
        c.field->setText(QString::fromUtf8("\u0416")); // from the database: no entry
        c.field->clear();
        type(c.field, QString::fromUtf8("AB\u00E9\u20AC")); // the code page has these
        EXPECT_EQ(w.msgb1->text(), "");
        type(c.field, kCyrillicFolder.left(2));
        type(c.field, "x");
        EXPECT_EQ(w.msgb1->text(), warningOf(c.caption, c.namesFiles));
        EXPECT_EQ(program.ExportWarningFlag, -1);
        // Taken out again, the entry is over; the next one is told again.
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(c.field, Qt::Key_Backspace);
        EXPECT_EQ(c.field->text(), QString::fromUtf8("AB\u00E9\u20AC"));
        type(c.field, kCyrillicFolder.right(1));
        EXPECT_EQ(w.msgb1->text(),
                  warningOf(c.caption, c.namesFiles) + warningOf(c.caption, c.namesFiles));
    }

    // The folder dialog enters its folder on the operator's behalf.
    w.msgb1->clear();
    w.TxtExport->setText("/data");
    recording.folders.answers = {"/data/" + kCyrillicFolder};
    QTest::mouseClick(w.BtnBrowse, Qt::LeftButton);
    EXPECT_EQ(w.TxtExport->text(), "/data/" + kCyrillicFolder);
    EXPECT_EQ(w.msgb1->text(), warningOf("EXPORT FOLDER", true));
}

// Every file and folder under the program folder, by its path below it.
QStringList entriesUnder(const QString& root) {
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries.append(QDir(root).relativeFilePath(it.next()));
    return entries;
}

// No file or folder of the program folder is named with a character the files lost.
void expectNoLostName(const QString& root) {
    for (const QString& entry : entriesUnder(root))
        EXPECT_TRUE(isAnsiName(entry)) << entry.toStdString();
}

class CodePageExportFolderTest : public test::SampleFolderTest {
protected:
    // One start of the program on the sample folder, with doubles of its own.
    struct Run {
        test::RecordingPlatform doubles;
        Platform platform = doubles.platform();
        ProgramWide wide;
        std::unique_ptr<FrmStoneID> window;
    };
    std::unique_ptr<Run> startProgram() {
        auto run = std::make_unique<Run>();
        run->window = std::make_unique<FrmStoneID>(dir.folder(), run->platform, run->wide);
        EXPECT_EQ(Form_Load(*run->window), StartUpOutcome::Waiting);
        run->window->show();
        return run;
    }
    // The EXPORT button, as the operator clicks it; the export is left at its folder check.
    static void exportIsRefused(Run& run) {
        QTest::mouseClick(run.window->Cmd_OK, Qt::LeftButton);
        ASSERT_EQ(run.doubles.messages.shown.size(), 1u);
        EXPECT_EQ(run.doubles.messages.shown[0].text,
                  "Export path Does not exists......Please Enable Entry and Select Proper "
                  "Path.......");
        EXPECT_EQ(run.doubles.messages.shown[0].title, "EXPORT PATH ABSENT");
        EXPECT_EQ(run.doubles.programEnd.endCount, 0);
        run.doubles.messages.shown.clear();
    }
};

TEST_F(CodePageExportFolderTest, ACyrillicExportFolderIsToldAndNamesNoFolderAcrossARestart) {
    {
        const auto run = startProgram();
        FrmStoneID& w = *run->window;
        const QString before = w.msgb1->text();
        w.TxtExport->setFocus();
        w.TxtExport->selectAll();
        QTest::keyClick(w.TxtExport, Qt::Key_Backspace);
        type(w.TxtExport, dir.path() + "/" + kCyrillicFolder);

        EXPECT_EQ(w.msgb1->text(), before + warningOf("EXPORT FOLDER", true));
        EXPECT_EQ(run->wide.ExportWarningFlag, -1);
        // The settings file holds what its code page can: the format stays as it is.
        EXPECT_TRUE(dir.read("ExportPa.txt").startsWith(dir.path().toUtf8() + "/???????\r\n"));
        exportIsRefused(*run);
        expectNoLostName(dir.path());
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(kCyrillicFolder)));
        w.close();
    }

    // The next start reads the folder back as its "?"s.
    const auto run = startProgram();
    EXPECT_EQ(run->window->TxtExport->text(), dir.path() + "/???????");
    exportIsRefused(*run);
    expectNoLostName(dir.path());
    // Not even a folder of that name, made by an earlier program, is written into.
    QDir().mkdir(dir.filePath("???????"));
    exportIsRefused(*run);
    EXPECT_TRUE(QDir(dir.filePath("???????")).isEmpty());
}

} // namespace
} // namespace tav
