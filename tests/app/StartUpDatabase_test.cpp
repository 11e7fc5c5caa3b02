#include "app/StartUp.h"

#include "app/FrmStoneID.h"
#include "support/AccessFixture.h"
#include "support/DatabaseLock.h"
#include "support/SampleFolder.h"

#include <QDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

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

} // namespace
} // namespace tav
