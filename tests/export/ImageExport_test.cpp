#include "export/ImageExport.h"

#include "export/ExportFixture.h"
#include "platform/DurableFile.h"
#include "platform/StepFailure.h"
#include "support/BenchLocale.h"
#include "support/SyscallTrace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tav {
namespace {

// The fixed clock of the recording platform, as the log writes it in the C forms.
const QString kStamp = QStringLiteral("12/09/26 14:30:05");

// Stone AB12 exporting into Export, its photos in a store of the test's own.
class ImageExportTest : public test::ExportFixture {
protected:
    const test::BenchLocale bench{"C.UTF-8"};
    QString store() const { return path("ReportPhoto"); }
    void exportImages() { ExportImage(window(), store()); }
    QByteArray logLine(const char* mark, const QString& name) const {
        return (kStamp + mark + path(name) + "\r\n").toLatin1();
    }
    QStringList exported() const {
        return QDir(path("Export")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
};

TEST_F(ImageExportTest, WithoutTheListAWarningIsRaisedAndNothingIsCopied) {
    dir.write("ReportPhoto/a.jpg", "photo a");
    dir.write("Images.txt.bak", "a.jpg\r\n");
    exportImages();
    EXPECT_EQ(window().msgb1->text(), "\n\rImages.txt File Not Found");
    EXPECT_EQ(run->program.ExportWarningFlag, -1);
    EXPECT_EQ(exported(), QStringList());
    EXPECT_FALSE(dir.exists("OvLog.txt"));
}

// A photo in the store replaces its earlier copy in one step; one gone from the store
// takes its earlier copy away. Both are logged.
TEST_F(ImageExportTest, EarlierCopiesAreReplacedOrRemovedAndLogged) {
    // The list in another letter case, quoted and plain items, one per line or several.
    dir.write("IMAGES.TXT", "\"a.jpg\", b.jpg\r\nc.jpg\r\n");
    dir.write("ReportPhoto/a.jpg", "new a");
    dir.write("ReportPhoto/B.JPG", "new b");
    dir.write("Export/AB12_a.jpg", "old a, longer than the new one");
    QFile::setPermissions(path("Export/AB12_a.jpg"), QFile::ReadOwner);
    dir.write("Export/AB12_c.jpg", "old c");
    dir.write("OvLog.txt", "earlier removal\r\n");

    exportImages();

    EXPECT_EQ(dir.read("Export/AB12_a.jpg"), "new a");
    EXPECT_EQ(dir.read("Export/AB12_b.jpg"), "new b");
    // The photo is gone from the store: the old copy goes and none takes its place.
    EXPECT_FALSE(dir.exists("Export/AB12_c.jpg"));
    EXPECT_EQ(exported(), (QStringList{"AB12_a.jpg", "AB12_b.jpg"}));
    EXPECT_EQ(dir.read("OvLog.txt"), "earlier removal\r\n" + logLine("-->", "Export/AB12_a.jpg") +
                                         logLine("-->", "Export/AB12_c.jpg"));
    EXPECT_EQ(window().msgb1->text(), "");

    // A second run appends to the log.
    exportImages();
    EXPECT_EQ(dir.read("OvLog.txt"), "earlier removal\r\n" + logLine("-->", "Export/AB12_a.jpg") +
                                         logLine("-->", "Export/AB12_c.jpg") +
                                         logLine("-->", "Export/AB12_a.jpg") +
                                         logLine("-->", "Export/AB12_b.jpg"));
    EXPECT_EQ(dir.read("Export/AB12_a.jpg"), "new a");
}

// The new copy's data is on the disk before it takes the earlier copy's name, and the
// new name is on the disk after.
TEST_F(ImageExportTest, ANewCopyIsSyncedBeforeItReplacesTheEarlierOne) {
    dir.write("images.txt", "a.jpg\r\n");
    dir.write("ReportPhoto/a.jpg", "new a");
    dir.write("Export/AB12_a.jpg", "old a");

    test::SyscallTrace trace;
    ASSERT_TRUE(trace.attached()) << "strace could not attach";
    exportImages();
    const QStringList calls = trace.stop();

    const QString folder = QDir(path("Export")).canonicalPath();
    const QString target = path("Export/AB12_a.jpg");
    const qsizetype synced = calls.indexOf("sync " + folder + "/.AB12_a.jpg.new");
    const qsizetype renamed = calls.indexOf("rename " + replacementPathOf(target) + " " + target);
    EXPECT_GE(synced, 0) << calls.join(u'\n').toStdString();
    EXPECT_GT(renamed, synced);
    EXPECT_GT(calls.lastIndexOf("sync " + folder), renamed);
    EXPECT_EQ(dir.read("Export/AB12_a.jpg"), "new a");
}

TEST_F(ImageExportTest, AnEarlierCopyStaysWhenTheNewOneCannotBeMade) {
    dir.write("images.txt", "a.jpg\r\n");
    // A photo in the store that can be opened but not read.
    QDir().mkpath(store());
    ASSERT_TRUE(QFile::link("/proc/self/mem", path("ReportPhoto/a.jpg")));
    dir.write("Export/AB12_a.jpg", "old a");
    try {
        exportImages();
        ADD_FAILURE() << "no failure";
    } catch (const StepFailure& failure) {
        EXPECT_EQ(failure.number(), 75);
    }
    EXPECT_EQ(dir.read("Export/AB12_a.jpg"), "old a");
    EXPECT_EQ(exported(), QStringList{"AB12_a.jpg"}) << "no temporary file stays";
    EXPECT_EQ(dir.read("OvLog.txt"), "") << "nothing was replaced";
}

TEST_F(ImageExportTest, ANameThatIsNoPlainFileNameIsSkipped) {
    // Where a name with a path would lead: out of the export folder, onto this file.
    dir.write("victim.jpg", "keep me");
    QDir().mkpath(path("Export/AB12_x"));
    QDir().mkpath(path("ReportPhoto/x"));
    const struct {
        const char* stoneId;
        const char* name;
    } cases[] = {
        {"AB12", "x/../../victim.jpg"},
        {"AB12", "x\\..\\..\\victim.jpg"},
        {"AB12", ".."},
        {"AB12", "."},
        {"AB12", ""},
        {"AB12", "x:victim.jpg"},
        {"../AB12", "victim.jpg"},
        {"AB12/..", "victim.jpg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stoneId) + " " + c.name);
        QFile::remove(path("OvLog.txt"));
        startRun();
        window().txtStoneID->setText(c.stoneId);
        dir.write("images.txt", "\"" + QByteArray(c.name) + "\"\r\n");
        exportImages();
        EXPECT_EQ(dir.read("victim.jpg"), "keep me");
        EXPECT_EQ(exported(), QStringList{"AB12_x"});
        EXPECT_FALSE(dir.exists("OvLog.txt")) << "nothing was even looked at";
    }
    // A plain name beside them is still copied.
    dir.write("ReportPhoto/a.jpg", "new a");
    dir.write("images.txt", "x/../../victim.jpg,a.jpg\r\n");
    startRun();
    exportImages();
    EXPECT_EQ(dir.read("Export/AB12_a.jpg"), "new a");
    EXPECT_EQ(dir.read("victim.jpg"), "keep me");
}

TEST_F(ImageExportTest, ACopyThatCannotBeMadeEndsTheOperationWithAFailure) {
    dir.write("images.txt", "a.jpg,b.jpg\r\n");
    dir.write("ReportPhoto/a.jpg", "new a");
    const struct {
        QString folder;
        int number;
    } cases[] = {{path("Missing"), 76}, {"", 76}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        window().TxtExport->setText(c.folder);
        try {
            exportImages();
            ADD_FAILURE() << "no failure";
        } catch (const StepFailure& failure) {
            EXPECT_EQ(failure.number(), c.number);
            EXPECT_EQ(failure.description(), "Path not found");
        }
        EXPECT_FALSE(dir.exists("Missing"));
        EXPECT_FALSE(QFileInfo::exists("/AB12_a.jpg"));
    }
}

TEST_F(ImageExportTest, OverRiteFileOnNoFileOnlyMakesTheLog) {
    OverRiteFile(window(), path("Export/none.jpg"));
    EXPECT_TRUE(dir.exists("OvLog.txt"));
    EXPECT_EQ(dir.read("OvLog.txt"), "");
    // A folder of that name is no file.
    QDir().mkpath(path("Export/folder.jpg"));
    OverRiteFile(window(), path("Export/folder.jpg"));
    EXPECT_EQ(dir.read("OvLog.txt"), "");
    EXPECT_TRUE(dir.exists("Export/folder.jpg"));
}

TEST_F(ImageExportTest, TheLogIsFoundInAnyLetterCaseAndGrows) {
    dir.write("ovlog.TXT", "first\r\n");
    dir.write("Export/one.jpg", "1");
    OverRiteFile(window(), path("Export/one.jpg"));
    EXPECT_EQ(dir.read("ovlog.TXT"), "first\r\n" + logLine("-->", "Export/one.jpg"));
    EXPECT_FALSE(dir.exists("OvLog.txt"));
    EXPECT_FALSE(dir.exists("Export/one.jpg"));
}

TEST_F(ImageExportTest, OverRiteFolderLogsAndRemovesTheTreeWithReadOnlyContent) {
    dir.write("Export/AB12/photo.jpg", "1");
    dir.write("Export/AB12/locked/deep.jpg", "2");
    dir.write("Outside/keep.jpg", "keep me");
    QFile::link(path("Outside"), path("Export/AB12/link"));
    QFile::setPermissions(path("Export/AB12/photo.jpg"), QFile::ReadOwner);
    QFile::setPermissions(path("Export/AB12/locked/deep.jpg"), QFile::ReadOwner);
    QFile::setPermissions(path("Export/AB12/locked"), QFile::ReadOwner | QFile::ExeOwner);
    QFile::setPermissions(path("Export/AB12"), QFile::ReadOwner | QFile::ExeOwner);
    const auto outsideMode = QFile::permissions(path("Outside"));

    OverRiteFolder(window(), path("Export/AB12"));

    EXPECT_FALSE(dir.exists("Export/AB12"));
    EXPECT_EQ(dir.read("OvLog.txt"), logLine(":", "Export/AB12"));
    // What a link points to is no part of the tree.
    EXPECT_EQ(dir.read("Outside/keep.jpg"), "keep me");
    EXPECT_EQ(QFile::permissions(path("Outside")), outsideMode);

    // Nothing there: only the log, unchanged.
    OverRiteFolder(window(), path("Export/AB12"));
    OverRiteFolder(window(), path("Export/none"));
    EXPECT_EQ(dir.read("OvLog.txt"), logLine(":", "Export/AB12"));
}

TEST(ReportPhotoFolderTest, ThePhotoStoreLiesAtTheRootOfTheProgramsDrive) {
    ProgramWide program;
    EXPECT_EQ(reportPhotoFolder(program), QDir::separator() + QStringLiteral("ReportPhoto"));
    program.AppDrive = "D:";
    EXPECT_EQ(reportPhotoFolder(program),
              QStringLiteral("D:") + QDir::separator() + QStringLiteral("ReportPhoto"));
}

} // namespace
} // namespace tav
