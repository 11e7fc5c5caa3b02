#include "app/StartUp.h"

#include "app/FrmStoneID.h"
#include "support/AccessFixture.h"
#include "support/DatabaseLock.h"
#include "support/SampleFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace tav {
namespace {

// Start-up on the sample folder whose Reports.mdb cannot be used.
class StartUpDatabaseTest : public test::SampleFolderTest {
protected:
    std::vector<test::ShownMessage> databaseMessages() const {
        std::vector<test::ShownMessage> found;
        for (const test::ShownMessage& shown : recording.messages.shown) {
            if (shown.title == "REPORTS.MDB NOT USABLE")
                found.push_back(shown);
        }
        return found;
    }
};

TEST_F(StartUpDatabaseTest, AReportsDatabaseThatCannotBeOpenedIsSaidWithItsCauseAndLeftAlone) {
    const QString file = QDir::toNativeSeparators(dir.filePath("Reports.mdb"));
    const struct {
        const char* name;
        QByteArray bytes; // empty: the sample's own database, locked
        QString cause;
    } cases[] = {
        {"Access file", test::accessFixture("nwind.mdb"),
         " is a Microsoft Access file. It must be converted once with scripts/convert-access.sh: "
         "see the README section \"Moving a bench's databases over\"."},
        {"no database", "Reports\r\n",
         " is not a database: the file is of another kind, cut short or damaged."},
        {"locked", {}, " is locked by another program. Close that program and try again."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recording.messages.shown.clear();
        copySampleFolder(dir);
        if (!c.bytes.isEmpty())
            dir.write("Reports.mdb", c.bytes);
        const QByteArray before = dir.read("Reports.mdb");
        std::optional<test::DatabaseLock> lock;
        if (c.bytes.isEmpty())
            lock.emplace(dir.filePath("Reports.mdb"));

        ProgramWide wide;
        FrmStoneID w(dir.folder(), services, wide);
        EXPECT_EQ(Form_Load(w), StartUpOutcome::Waiting) << "start-up goes on";
        lock.reset();

        const std::vector<test::ShownMessage> shown = databaseMessages();
        ASSERT_EQ(shown.size(), 1u) << "said once";
        EXPECT_EQ(shown[0].text, file + c.cause);
        EXPECT_EQ(shown[0].icon, MessageIcon::Critical);
        EXPECT_TRUE(w.msgb1->text().contains(QString(QChar(10)) + QChar(13) + file + c.cause))
            << w.msgb1->text().toStdString();
        EXPECT_EQ(wide.ExportWarningFlag, -1);
        EXPECT_FALSE(w.ReportsConnection);
        EXPECT_EQ(dir.read("Reports.mdb"), before);
        EXPECT_FALSE(dir.exists("Reports.mdb-journal"));
    }
}

// The login name is asked for between the key file and the later steps that want the
// connection; here another program puts a Reports.mdb in the place of the one the key
// file was read from, at that moment.
class ReplacingEnvironment final : public Environment {
public:
    QString userName() const override {
        if (replace)
            std::exchange(replace, nullptr)();
        return QStringLiteral("bench-operator");
    }
    mutable std::function<void()> replace;
};

// Start-up keeps the connection it opened for the key file only while the folder's
// Reports.mdb is that file: one put in its place is opened, and the last entries come
// from it.
TEST_F(StartUpDatabaseTest, AReportsDatabasePutInPlaceDuringStartUpIsTheOneItGoesOnWith) {
    const QString reports = dir.filePath("Reports.mdb");
    const QString other = dir.filePath("Other.mdb");
    ASSERT_TRUE(QFile::copy(reports, other));
    test::runInOtherProgram(other, "UPDATE UserData SET COLOR = 'K';");
    ReplacingEnvironment environment;
    environment.replace = [&] {
        ASSERT_EQ(
            ::rename(QFile::encodeName(other).constData(), QFile::encodeName(reports).constData()),
            0);
    };
    Platform platform{recording.messages, recording.pause, recording.batches, recording.programEnd,
                      recording.folders,  environment,     recording.clock};
    FrmStoneID w(dir.folder(), platform, program);
    ASSERT_EQ(Form_Load(w), StartUpOutcome::Waiting);
    EXPECT_FALSE(environment.replace) << "asked for the login name";
    EXPECT_EQ(w.cbColor->currentText(), "K");
    ASSERT_TRUE(w.ReportsConnection);
    EXPECT_TRUE(w.ReportsConnection->opensFileAt(reports));
}

} // namespace
} // namespace tav
