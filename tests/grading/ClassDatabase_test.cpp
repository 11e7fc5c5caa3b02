#include "grading/GradingDriver.h"

#include "grading/GradingFixture.h"
#include "platform/StepFailure.h"
#include "support/AccessFixture.h"
#include "support/DatabaseLock.h"

#include <QDir>

#include <optional>

namespace tav {
namespace {

class ClassDatabaseTest : public test::GradingFixture {};

TEST_F(ClassDatabaseTest, AClassDatabaseThatCannotBeOpenedIsSaidWithItsCauseAndLeftAlone) {
    const QString file = QDir::toNativeSeparators(dir.filePath("Class.mdb"));
    const struct {
        const char* name;
        QByteArray bytes; // empty: a real class database, locked
        QString cause;
    } cases[] = {
        {"Access file", test::accessFixture("DateTestDatabase.mdb"),
         " is a Microsoft Access file. It must be converted once with scripts/convert-access.sh: "
         "see the README section \"Moving a bench's databases over\"."},
        {"no database", "Class.mdb\r\n",
         " is not a database: the file is of another kind, cut short or damaged."},
        {"locked", {}, " is locked by another program. Close that program and try again."},
    };
    w().CurrentShape = "Brilliant";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recording.messages.shown.clear();
        QFile::remove(dir.filePath("Class.mdb"));
        std::optional<test::DatabaseLock> lock;
        if (c.bytes.isEmpty()) {
            createClassDatabase({"INSERT INTO MultiData VALUES ('Brilliant', 'L1', 'L2')"});
            lock.emplace(dir.filePath("Class.mdb"));
        } else {
            dir.write("Class.mdb", c.bytes);
        }
        const QByteArray before = dir.read("Class.mdb");
        openStreams();

        EXPECT_THROW(SetCutSymData(w()), StepFailure);
        lock.reset();
        EXPECT_EQ(stoneLines(), QStringList()) << "no line before the database is open";
        ASSERT_EQ(recording.messages.shown.size(), 1u);
        EXPECT_EQ(recording.messages.shown[0].text, file + c.cause);
        EXPECT_EQ(recording.messages.shown[0].title, "CLASS.MDB NOT USABLE");
        EXPECT_EQ(recording.messages.shown[0].icon, MessageIcon::Critical);
        EXPECT_EQ(dir.read("Class.mdb"), before);
        EXPECT_FALSE(dir.exists("Class.mdb-journal"));
    }

    // A missing one fails the call without a word, as it always did.
    recording.messages.shown.clear();
    QFile::remove(dir.filePath("Class.mdb"));
    EXPECT_THROW(SetCutSymData(w()), StepFailure);
    EXPECT_TRUE(recording.messages.shown.empty());
}

} // namespace
} // namespace tav
