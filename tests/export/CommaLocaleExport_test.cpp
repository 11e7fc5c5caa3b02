#include "app/FrmStoneID.h"
#include "app/ProgramWide.h"
#include "app/StartUp.h"
#include "platform/Database.h"
#include "support/CommaLocale.h"
#include "support/RecordingPlatform.h"
#include "support/SampleFolder.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace tav {
namespace {

// Every file of a program folder by its path inside the folder. Reports.mdb stands as
// the text of its tables without the date and time of the export, and the log of the
// user's batch file, which holds the time, is left out.
using FolderFiles = std::map<QString, QByteArray>;

QByteArray databaseText(const QString& path) {
    const auto database = Database::openExisting(path);
    if (!database)
        return "no database";
    QByteArray text;
    for (const QString& table : database->userTables()) {
        const auto rows = database->selectAll(table);
        if (!rows)
            continue;
        text += "[" + table.toUtf8() + "]\n";
        for (const QVariantList& row : rows->rows) {
            for (int i = 0; i < row.size(); ++i) {
                const QString column = rows->columns.value(i);
                if (table == u"UserData" && (column == u"DATE" || column == u"TIME"))
                    continue;
                text += column.toUtf8() + "=" + row[i].typeName() + ":" +
                        row[i].toString().toUtf8() + ";";
            }
            text += "\n";
        }
    }
    return text;
}

FolderFiles folderFiles(const QString& folder) {
    FolderFiles files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(folder).relativeFilePath(path);
        if (name == u"batch.log")
            continue;
        if (name == u"Reports.mdb") {
            files[name] = databaseText(path);
            continue;
        }
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        files[name] = file.readAll();
    }
    return files;
}

// The sample stone weighed at 0.525 ct against 0.5131 on the scan: a yellow verdict, so
// the stone gets a problem log. The balance is left out of the way, the weight is
// exported with the stone and the export runs at start-up.
void layOutStone(const test::TempProgramFolder& dir) {
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.path());
    test::copySampleFolder(dir);
    test::setScanKey(dir, "WEIGHT_REAL", "0.525");
    test::setLine(dir, "HyperParam.txt", 13, "0"); // no button mode
    test::setLine(dir, "ExportPa.txt", 18, "1");   // export at start-up
}

// Both runs take the same folder, so that the paths in the settings are the same.
class CommaLocaleExportTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("TAVEXPORT_COM1", QFile::encodeName(missingBalance())); }
    void TearDown() override {
        qunsetenv("TAVEXPORT_COM1");
        QDir::setCurrent(previousFolder);
    }

    // The export inside this process, the C library's locale switched to the decimal-comma
    // one for it when asked.
    FolderFiles exportHere(bool underCommaLocale) {
        layOutStone(dir);
        {
            std::optional<test::CommaLocale> comma;
            if (underCommaLocale)
                comma.emplace();
            test::RecordingPlatform doubles;
            Platform platform = doubles.platform();
            ProgramWide wide;
            FrmStoneID window(dir.folder(), platform, wide);
            EXPECT_EQ(Form_Load(window), StartUpOutcome::ProgramEnded);
            EXPECT_EQ(doubles.programEnd.endCount, 1);
            EXPECT_TRUE(doubles.messages.shown.empty());
        }
        QDir::setCurrent(previousFolder);
        return folderFiles(dir.path());
    }

    // The real program, under the locale variables given (an empty value removes one).
    FolderFiles exportByProgram(const std::map<QString, QString>& locale) {
        layOutStone(dir);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LOCPATH", "LANG", "LANGUAGE", "LC_ALL", "LC_NUMERIC"})
            environment.remove(name);
        for (const auto& [name, value] : locale)
            environment.insert(name, value);
        environment.insert("TAVEXPORT_COM1", missingBalance());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.path());
        process.start(TAV_EXECUTABLE, {"--program-folder", dir.path(), "-platform", "offscreen"});
        EXPECT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
        return folderFiles(dir.path());
    }

    // What the sample stone's export writes wherever it runs: the rounded proportions,
    // the weight with five decimals, the yellow verdict and its log.
    static void expectTheStonesValues(const FolderFiles& files) {
        const QByteArray stone =
            files.count("Export/K7-10482.txt") ? files.at("Export/K7-10482.txt") : QByteArray();
        EXPECT_EQ(stone, "K7-10482,0.52500,Weight deviates - check,ROUND-P8_8-P8_8,ROUND,8888,"
                         "G,VS1,EX,EX,None,57.3,34.5,40.8,61.7,5.12,K7,Asha,\r\n");
        const QByteArray log =
            files.count("Logs/K7-10482.log") ? files.at("Logs/K7-10482.log") : QByteArray();
        EXPECT_TRUE(log.contains("Weight deviates - check")) << log.constData();
        const QByteArray settings =
            files.count("ExportPa.txt") ? files.at("ExportPa.txt") : QByteArray();
        EXPECT_TRUE(settings.contains("\r\n0.52500\r\n")) << settings.constData();
    }

    static void expectSameFiles(const FolderFiles& expected, const FolderFiles& actual) {
        QStringList expectedNames, actualNames;
        for (const auto& file : expected)
            expectedNames.append(file.first);
        for (const auto& file : actual)
            actualNames.append(file.first);
        EXPECT_EQ(actualNames.join(u' ').toStdString(), expectedNames.join(u' ').toStdString());
        for (const auto& [name, bytes] : expected) {
            const auto other = actual.find(name);
            if (other != actual.end()) {
                EXPECT_EQ(other->second.toStdString(), bytes.toStdString()) << name.toStdString();
            }
        }
    }

    // A balance that does not exist, in the test's own folder: the serial port's lock
    // is named after the device, and the copies of this test run side by side.
    QString missingBalance() const { return dir.filePath(QStringLiteral("tty-balance")); }

    test::TempProgramFolder dir;
    QString previousFolder = QDir::currentPath();
};

TEST_F(CommaLocaleExportTest, TheExportWritesTheSameBytesWhenTheCLibraryWritesADecimalComma) {
    const FolderFiles asRun = exportHere(false);
    expectTheStonesValues(asRun);
    const FolderFiles comma = exportHere(true);
    expectTheStonesValues(comma);
    expectSameFiles(asRun, comma);
}

TEST_F(CommaLocaleExportTest, TheProgramWritesTheSameBytesUnderEveryLocale) {
    const FolderFiles utf8 = exportByProgram({{"LC_ALL", "C.UTF-8"}});
    expectTheStonesValues(utf8);
    const struct {
        const char* name;
        std::map<QString, QString> locale;
    } cases[] = {
        {"a decimal-comma bench", {{"LOCPATH", TAV_LOCALE_DIR}, {"LC_ALL", TAV_COMMA_LOCALE}}},
        {"decimal-comma numbers only",
         {{"LOCPATH", TAV_LOCALE_DIR}, {"LANG", "C.UTF-8"}, {"LC_NUMERIC", TAV_COMMA_LOCALE}}},
        {"no LANG and the C locale", {{"LC_ALL", "C"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectSameFiles(utf8, exportByProgram(c.locale));
    }
}

} // namespace
} // namespace tav
