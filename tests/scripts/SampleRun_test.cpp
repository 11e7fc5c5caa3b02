#include "app/FrmStoneID.h"
#include "app/ProgramWide.h"
#include "app/StartUp.h"
#include "platform/AnsiText.h"
#include "support/RecordingPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace tav {
namespace {

struct Laying {
    int exitCode = -1;
    QString errors;
};

// The script as `make run` runs it, on the built sample folder.
Laying laySampleRun(const QString& dir) {
    QProcess script;
    script.start(QStringLiteral(TAV_SCRIPTS_DIR "/sample-run.sh"),
                 {QStringLiteral(TAV_SAMPLE_FOLDER), dir});
    EXPECT_TRUE(script.waitForStarted());
    EXPECT_TRUE(script.waitForFinished(60000));
    EXPECT_EQ(script.exitStatus(), QProcess::NormalExit);
    return {script.exitCode(), QString::fromUtf8(script.readAllStandardError())};
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The first line of a settings file, as the program reads it.
std::string firstLine(const QByteArray& bytes) {
    return fromAnsi(bytes.left(bytes.indexOf("\r\n"))).toStdString();
}

// A checkout under a home folder of accented letters and an ampersand, its build folder
// not made yet.
TEST(SampleRun, LaysTheSampleUnderAFolderOfAccentsAndAnAmpersandThatTheProgramExports) {
    QTemporaryDir base;
    const QString dir =
        base.filePath(QString::fromUtf8("Müller Été & Co/checkout/build/sample-run"));

    const Laying laid = laySampleRun(dir);
    ASSERT_EQ(laid.exitCode, 0) << laid.errors.toStdString();

    // The settings hold the folder in the program's code page, whole.
    const QString folder = QFileInfo(dir).canonicalFilePath();
    ASSERT_TRUE(folder.contains(QString::fromUtf8("Müller Été & Co")));
    EXPECT_EQ(firstLine(readFile(dir + "/ExportPa.txt")), (folder + "/Export").toStdString());
    EXPECT_EQ(readFile(dir + "/Export_images.txt"),
              toAnsi(QStringLiteral("\"%1/ImageStore/\",\"%1/Export/Images/\",1\r\n").arg(folder)));
    EXPECT_TRUE(readFile(dir + "/HyperParam.txt").contains(toAnsi(folder + "/Logs\r\n")));

    // And the program takes it from there: the sample stone is exported into it.
    const QString previousFolder = QDir::currentPath();
    qputenv("TAVEXPORT_COM1", QFile::encodeName(base.filePath(QStringLiteral("tty-balance"))));
    test::RecordingPlatform recording;
    Platform services = recording.platform();
    ProgramWide program;
    {
        FrmStoneID w{ProgramFolder(dir), services, program};
        ASSERT_EQ(Form_Load(w), StartUpOutcome::Waiting);
        EXPECT_EQ(w.TxtExport->text().toStdString(), (folder + "/Export").toStdString());
        w.Cmd_OK->click();
    }
    qunsetenv("TAVEXPORT_COM1");
    QDir::setCurrent(previousFolder);
    EXPECT_TRUE(recording.messages.shown.empty());
    EXPECT_EQ(recording.programEnd.endCount, 1);
    EXPECT_TRUE(readFile(dir + "/Export/K7-10482.txt").startsWith("K7-10482,"));
    EXPECT_TRUE(QFileInfo::exists(dir + "/Ascii/K7-10482.txt"));
}

TEST(SampleRun, RefusesAPathTheSettingsCannotHoldAndLaysNothing) {
    const struct {
        const char* folder;
        const char* says;
    } cases[] = {
        {"Ωmega", "cannot be written in the Western Windows code page (1252)"},
        {"東京", "cannot be written in the Western Windows code page (1252)"},
        {"what?", "a \"?\""},
        {"the \"best\" bench", "a double quote"},
        {"two\nlines", "a line break"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        QTemporaryDir base;
        const QString top = base.filePath(QString::fromUtf8(c.folder));

        const Laying laid = laySampleRun(top + "/build/sample-run");

        EXPECT_NE(laid.exitCode, 0);
        EXPECT_TRUE(laid.errors.contains(QString::fromUtf8(c.says))) << laid.errors.toStdString();
        EXPECT_FALSE(QFileInfo::exists(top));
    }
}

TEST(SampleRun, ReplacesOnlyAFolderItLaidItself) {
    QTemporaryDir base;
    // A folder of the user's, a file, and a link to a folder the script laid.
    const QString own = base.filePath(QStringLiteral("own"));
    ASSERT_TRUE(QDir().mkpath(own));
    QFile ownFile(own + "/keep.txt");
    ASSERT_TRUE(ownFile.open(QIODevice::WriteOnly));
    ownFile.write("mine");
    ownFile.close();
    const QString file = base.filePath(QStringLiteral("file"));
    QFile plain(file);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("mine too");
    plain.close();
    const QString laidBefore = base.filePath(QStringLiteral("laid"));
    ASSERT_EQ(laySampleRun(laidBefore).exitCode, 0);
    const QString link = base.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(laidBefore, link));

    for (const QString& dir : {own, file, link}) {
        SCOPED_TRACE(dir.toStdString());
        const Laying laid = laySampleRun(dir);
        EXPECT_NE(laid.exitCode, 0);
        EXPECT_TRUE(laid.errors.contains("was not laid by this script"))
            << laid.errors.toStdString();
    }
    EXPECT_EQ(readFile(own + "/keep.txt"), "mine");
    EXPECT_EQ(QDir(own).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"keep.txt"});
    EXPECT_EQ(readFile(file), "mine too");
    EXPECT_TRUE(QFileInfo(link).isSymLink());

    // A folder it laid is laid afresh: what was added since is gone.
    QFile added(laidBefore + "/Export/K7-10482.txt");
    ASSERT_TRUE(added.open(QIODevice::WriteOnly));
    added.close();
    ASSERT_EQ(laySampleRun(laidBefore).exitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(laidBefore + "/Export/K7-10482.txt"));
    EXPECT_TRUE(QFileInfo::exists(laidBefore + "/ExportPa.txt"));
}

} // namespace
} // namespace tav
