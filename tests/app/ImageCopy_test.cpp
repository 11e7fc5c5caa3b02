#include "app/FrmStoneID.h"
#include "app/ImageCopy.h"
#include "platform/StoneFileName.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace tav {
namespace {

const QColor heartsColour(220, 30, 30);
const QColor arrowsColour(30, 30, 220);
const QDateTime day1(QDate(2026, 12, 1), QTime(9, 0));
const QDateTime day2(QDate(2026, 12, 2), QTime(9, 0));

// Folder dates are set once the whole tree stands, since adding an entry to a folder
// moves its date.
void setModified(const QString& path, const QDateTime& time) {
    using namespace std::chrono;
    const sys_time<milliseconds> when{milliseconds(time.toMSecsSinceEpoch())};
    std::filesystem::last_write_time(QFile::encodeName(path).toStdString(),
                                     file_clock::from_sys(when));
}

void makeFolder(const QString& path) {
    ASSERT_TRUE(QDir().mkpath(path)) << path.toStdString();
}

QByteArray jpeg(const QColor& colour) {
    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The store's hearts (0-5) and arrows (0-4) images in a folder.
void writeStoreImages(const QString& folder, bool hearts = true, bool arrows = true) {
    if (hearts)
        writeFile(QDir(folder).filePath("0-5.jpg"), jpeg(heartsColour));
    if (arrows)
        writeFile(QDir(folder).filePath("0-4.jpg"), jpeg(arrowsColour));
}

bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) < 24 && std::abs(a.green() - b.green()) < 24 &&
           std::abs(a.blue() - b.blue()) < 24;
}

QColor centreOf(const QImage& image) {
    return image.pixelColor(image.rect().center());
}

QImage marker() {
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    return image;
}

// Every file of that name anywhere under the folder.
QStringList filesNamed(const QString& folder, const QStringList& names) {
    QStringList found;
    QDirIterator it(folder, names, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

class LatestSubFolderTest : public ::testing::Test {
protected:
    QString at(const QString& relative) const { return QDir(root.path()).filePath(relative); }
    QTemporaryDir root;
};

TEST_F(LatestSubFolderTest, TakesTheNewestSubFolderOfTheNewestSubFolder) {
    // Name order and date order differ at both levels.
    for (const char* path :
         {"S-1/Morning/10h", "S-1/Morning/11h", "S-1/Morning/09h", "S-1/evening/12h"})
        makeFolder(at(path));
    setModified(at("S-1/evening"), day1);
    setModified(at("S-1/Morning"), day2);
    setModified(at("S-1/evening/12h"), day1.addSecs(3 * 3600));
    setModified(at("S-1/Morning/09h"), day2.addSecs(-3600));
    setModified(at("S-1/Morning/10h"), QDateTime(day2.date(), QTime(10, 0)));
    setModified(at("S-1/Morning/11h"), QDateTime(day2.date(), QTime(11, 0)));

    EXPECT_EQ(GetLatestSubFolder(at("S-1")), at("S-1/Morning/11h"));
    EXPECT_EQ(GetLatestSubFolder(at("S-1") + "/"), at("S-1/Morning/11h"));
}

TEST_F(LatestSubFolderTest, ANewestFolderWithoutSubFoldersIsItselfTheResult) {
    makeFolder(at("S-1/old/inner"));
    makeFolder(at("S-1/new"));
    setModified(at("S-1/old"), day1);
    setModified(at("S-1/old/inner"), day1);
    setModified(at("S-1/new"), day2);

    EXPECT_EQ(GetLatestSubFolder(at("S-1")), at("S-1/new"));
}

TEST_F(LatestSubFolderTest, AmongEqualDatesTheFirstInNameOrderWithoutCaseWins) {
    // A case-sensitive order would list "Beta" before "alpha".
    for (const char* path :
         {"S-1/Beta/Zulu", "S-1/Beta/yankee", "S-1/alpha/Zulu", "S-1/alpha/yankee"})
        makeFolder(at(path));
    for (const char* path : {"S-1/Beta", "S-1/alpha", "S-1/Beta/Zulu", "S-1/Beta/yankee"})
        setModified(at(path), day2);
    // Within the same second the dates count as equal.
    setModified(at("S-1/alpha/Zulu"), day1.addMSecs(700));
    setModified(at("S-1/alpha/yankee"), day1.addMSecs(200));

    EXPECT_EQ(GetLatestSubFolder(at("S-1")), at("S-1/alpha/yankee"));
}

TEST_F(LatestSubFolderTest, FindsNothingWithoutSubFoldersToChoose) {
    makeFolder(at("empty"));
    writeFile(at("empty/0-5.jpg"), jpeg(heartsColour));

    EXPECT_EQ(GetLatestSubFolder(at("empty")), std::nullopt);
    EXPECT_EQ(GetLatestSubFolder(at("missing")), std::nullopt);
    EXPECT_EQ(GetLatestSubFolder(at("empty/0-5.jpg")), std::nullopt);
    EXPECT_EQ(GetLatestSubFolder(QString()), std::nullopt);
}

TEST(NewestFolderTest, TheLatestDateAfter1900WinsAndTheFirstAmongEquals) {
    const QDateTime start1900(QDate(1900, 1, 1), QTime(0, 0));
    struct Case {
        const char* name;
        QList<DatedFolder> folders;
        std::optional<QString> expected;
    };
    const std::vector<Case> cases = {
        {"none", {}, std::nullopt},
        {"exactly 1 January 1900", {{"a", start1900}}, std::nullopt},
        {"before 1900", {{"a", start1900.addDays(-1)}}, std::nullopt},
        {"one second after the start of 1900", {{"a", start1900.addSecs(1)}}, "a"},
        {"a date that could not be read", {{"a", QDateTime()}}, std::nullopt},
        {"later one listed second", {{"a", day1}, {"b", day2}}, "b"},
        {"later one listed first", {{"a", day2}, {"b", day1}}, "a"},
        {"equal dates", {{"a", day1}, {"b", day1}, {"c", day1}}, "a"},
        {"only an old one beside 1900", {{"a", start1900}, {"b", day1}}, "b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(newestFolder(c.folders), c.expected);
    }
}

// The window with a program folder, an image store and a destination, all real folders.
class ImageCopyTest : public ::testing::Test {
protected:
    ImageCopyTest()
        : platform(recording.platform()),
          window(std::make_unique<FrmStoneID>(folder.folder(), platform, program)) {
        window->txtStoneID->setText(QStringLiteral("S-1"));
        window->Image1[0]->setPicture(marker());
        window->Image1[1]->setPicture(marker());
    }

    QString store(const QString& relative = {}) const {
        return QDir(base.path()).filePath("store/" + relative);
    }
    QString destination(const QString& relative = {}) const {
        return QDir(base.path()).filePath("dest/" + relative);
    }
    void writeImageList(const QString& flag) {
        folder.writeLines("Export_images.txt",
                          {'"' + store() + "\",\"" + destination() + "\"," + flag});
    }
    // S-1 with an older and a newer scan; the newer holds `hearts` and `arrows`.
    void buildStore(bool hearts = true, bool arrows = true) {
        makeFolder(store("S-1/2026-12-01/scan"));
        makeFolder(store("S-1/2026-12-02/scan"));
        makeFolder(destination());
        writeStoreImages(store("S-1/2026-12-01/scan"));
        // The older scan's images differ, so a copy from it would show.
        writeFile(store("S-1/2026-12-01/scan/0-5.jpg"), jpeg(Qt::yellow));
        writeStoreImages(store("S-1/2026-12-02/scan"), hearts, arrows);
        setModified(store("S-1/2026-12-01"), day1);
        setModified(store("S-1/2026-12-02"), day2);
        setModified(store("S-1/2026-12-01/scan"), day1);
        setModified(store("S-1/2026-12-02/scan"), day2);
    }
    QString newest(const QString& name) const { return store("S-1/2026-12-02/scan/" + name); }

    QTemporaryDir base;
    test::TempProgramFolder folder;
    test::RecordingPlatform recording;
    Platform platform;
    ProgramWide program;
    std::unique_ptr<FrmStoneID> window;
};

TEST_F(ImageCopyTest, ShowsTheNewestImagesAndReplacesThemInTheStonesOwnFolder) {
    buildStore();
    writeImageList("1");
    makeFolder(destination("S-1"));
    writeFile(destination("S-1/Arrows.jpg"), "earlier arrows");
    writeFile(destination("S-1/Hearts.jpg"), "earlier hearts");

    copyStoreImages(*window);

    EXPECT_EQ(readFile(destination("S-1/Hearts.jpg")), readFile(newest("0-5.jpg")));
    EXPECT_EQ(readFile(destination("S-1/Arrows.jpg")), readFile(newest("0-4.jpg")));
    EXPECT_TRUE(near(centreOf(window->Image1[0]->picture()), heartsColour));
    EXPECT_TRUE(near(centreOf(window->Image1[1]->picture()), arrowsColour));
    EXPECT_TRUE(window->msgb1->text().isEmpty());
    EXPECT_EQ(program.ExportWarningFlag, 0);
}

TEST_F(ImageCopyTest, CreatesTheStonesFolderWhenItIsNotThereYet) {
    buildStore();
    writeImageList("1");

    copyStoreImages(*window);

    EXPECT_EQ(readFile(destination("S-1/Hearts.jpg")), readFile(newest("0-5.jpg")));
    EXPECT_EQ(readFile(destination("S-1/Arrows.jpg")), readFile(newest("0-4.jpg")));
}

TEST_F(ImageCopyTest, AnyOtherFlagCopiesIntoTheDestinationRootReplacingThePreviousStone) {
    for (const QString flag : {"0", "2", "yes"}) {
        SCOPED_TRACE(flag.toStdString());
        QDir(base.path()).removeRecursively();
        buildStore();
        writeImageList(flag);
        writeFile(destination("Arrows.jpg"), "previous stone");
        writeFile(destination("Hearts.jpg"), "previous stone");

        copyStoreImages(*window);

        EXPECT_EQ(readFile(destination("Hearts.jpg")), readFile(newest("0-5.jpg")));
        EXPECT_EQ(readFile(destination("Arrows.jpg")), readFile(newest("0-4.jpg")));
        EXPECT_FALSE(QFileInfo::exists(destination("S-1")));
    }
}

TEST_F(ImageCopyTest, OneMissingImageDoesNotStopTheOther) {
    buildStore(/*hearts=*/false, /*arrows=*/true);
    writeImageList("1");

    copyStoreImages(*window);

    EXPECT_FALSE(QFileInfo::exists(destination("S-1/Hearts.jpg")));
    EXPECT_EQ(readFile(destination("S-1/Arrows.jpg")), readFile(newest("0-4.jpg")));
    EXPECT_EQ(window->Image1[0]->picture(), marker());
    EXPECT_TRUE(near(centreOf(window->Image1[1]->picture()), arrowsColour));
}

// A start-up killed in the middle of its copy left the copy half-made under its hidden
// name; this one's image is missing from the store, so no copy of the same name takes
// that name over.
TEST_F(ImageCopyTest, WhatAKilledStartUpLeftOfACopyIsRemoved) {
    buildStore(/*hearts=*/false, /*arrows=*/true);
    writeImageList("1");
    makeFolder(destination("S-1"));
    writeFile(destination("S-1/.Hearts.jpg.new"), "half a picture");

    copyStoreImages(*window);

    EXPECT_EQ(QDir(destination("S-1")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"Arrows.jpg"});
}

// Restores the working folder when the test ends.
class WorkingFolder {
public:
    explicit WorkingFolder(const QString& path) : previous_(QDir::currentPath()) {
        QDir::setCurrent(path);
    }
    ~WorkingFolder() { QDir::setCurrent(previous_); }

private:
    QString previous_;
};

TEST_F(ImageCopyTest, WithoutTheImageListItWarnsAndShowsOrCopiesNothing) {
    // A working folder where a lookup from empty roots would find this stone's images.
    makeFolder(base.filePath("work/S-1/scan"));
    writeStoreImages(base.filePath("work/S-1/scan"));
    writeStoreImages(base.filePath("work"));
    const WorkingFolder working(base.filePath("work"));

    copyStoreImages(*window);

    EXPECT_EQ(window->msgb1->text(), QStringLiteral("\n\rExport_Images.txt File Not Found"));
    EXPECT_EQ(program.ExportWarningFlag, -1);
    EXPECT_EQ(window->Image1[0]->picture(), marker());
    EXPECT_EQ(window->Image1[1]->picture(), marker());
    EXPECT_TRUE(filesNamed(base.path(), {"Hearts.jpg", "Arrows.jpg"}).isEmpty());
}

TEST_F(ImageCopyTest, AStoneWithoutAFolderInTheStoreShowsAndCopiesNothing) {
    buildStore();
    writeImageList("0");
    window->txtStoneID->setText(QStringLiteral("S-9"));
    // Images under their bare names in the working folder are not this stone's.
    makeFolder(base.filePath("work"));
    writeStoreImages(base.filePath("work"));
    const WorkingFolder working(base.filePath("work"));

    copyStoreImages(*window);

    EXPECT_EQ(window->Image1[0]->picture(), marker());
    EXPECT_EQ(window->Image1[1]->picture(), marker());
    EXPECT_TRUE(filesNamed(base.path(), {"Hearts.jpg", "Arrows.jpg"}).isEmpty());
    EXPECT_TRUE(window->msgb1->text().isEmpty());
}

TEST(ImageCopyStoneIdTest, AStoneIdThatIsNoSingleFolderNameShowsAndCopiesNothing) {
    const std::vector<QString> unsafe = {"",     ".",     "..",    "a/b",  "a\\b",
                                         "S\t1", "S-1\n", "\x01S", "S\x7f"};
    for (const QString& stoneId : unsafe) {
        SCOPED_TRACE(stoneId.toStdString());
        EXPECT_FALSE(isSafeStoneId(stoneId));

        QTemporaryDir base;
        const QString store = base.filePath("store/");
        const QString destination = base.filePath("dest/");
        makeFolder(store);
        makeFolder(destination);
        // Where the plain join of the store and this id leads, the newest folder holds
        // images, so only the id check keeps them from being shown and copied.
        const QString reached = QDir::cleanPath(store + stoneId);
        makeFolder(reached + "/latest");
        writeStoreImages(reached + "/latest");
        setModified(reached + "/latest", QDateTime(QDate(2100, 1, 1), QTime(0, 0)));
        test::TempProgramFolder folder;
        folder.writeLines("Export_images.txt", {'"' + store + "\",\"" + destination + "\",1"});
        test::RecordingPlatform recording;
        Platform platform = recording.platform();
        ProgramWide program;
        FrmStoneID window(folder.folder(), platform, program);
        window.txtStoneID->setText(stoneId);
        window.Image1[0]->setPicture(marker());
        window.Image1[1]->setPicture(marker());

        copyStoreImages(window);

        EXPECT_EQ(window.Image1[0]->picture(), marker());
        EXPECT_EQ(window.Image1[1]->picture(), marker());
        EXPECT_TRUE(filesNamed(base.path(), {"Hearts.jpg", "Arrows.jpg"}).isEmpty());
    }
    for (const QString stoneId : {"S-1", "ABC 123", "..S", "S.1", "Stein-ä"})
        EXPECT_TRUE(isSafeStoneId(stoneId)) << stoneId.toStdString();
}

} // namespace
} // namespace tav
