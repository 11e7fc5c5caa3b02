#include "app/FrmStoneID.h"
#include "app/ReportPictures.h"
#include "support/EmfWriter.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include <signal.h>

namespace tav {
namespace {

using namespace std::chrono_literals;

const QString crownView = QStringLiteral("POLISH_MODEL_REPORT_CRN_VIEW.emf");
const QString pavilionView = QStringLiteral("POLISH_MODEL_REPORT_PAV_VIEW.emf");

QImage marker() {
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    return image;
}

// A picture of that size saved as PNG in the scratch folder; its path.
QByteArray savedPng(const QTemporaryDir& scratch, const char* name, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    const QString path = scratch.filePath(QString::fromLatin1(name));
    EXPECT_TRUE(image.save(path, "PNG"));
    return QFile::encodeName(path);
}

// A stand-in for the helper: a shell script in the scratch folder.
QString writeHelperScript(const QTemporaryDir& scratch, const QString& name,
                          const QByteArray& script) {
    const QString helper = scratch.filePath(name);
    QFile file(helper);
    if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size())
        return QString();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return helper;
}

class ReportPicturesTest : public ::testing::Test {
protected:
    ReportPicturesTest()
        : platform(recording.platform()), window(folder.folder(), platform, program) {}

    // A correct sample view, as bytes, for tests that spoil it.
    QByteArray sampleBytes(QColor fill) {
        const QString path = scratch.filePath(QStringLiteral("sample.emf"));
        EXPECT_TRUE(test::writeSampleEmf(path, fill));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    test::TempProgramFolder folder;
    test::RecordingPlatform recording;
    Platform platform;
    ProgramWide program;
    FrmStoneID window;
    QTemporaryDir scratch;
};

TEST_F(ReportPicturesTest, ShowsBothReportViewsAsDrawnPictures) {
    const QColor crownFill(200, 30, 40);
    const QColor pavilionFill(20, 60, 210);
    // The scanner's spelling of the names does not matter.
    ASSERT_TRUE(test::writeSampleEmf(folder.filePath(crownView), crownFill));
    ASSERT_TRUE(test::writeSampleEmf(folder.filePath("polish_model_report_pav_view.EMF"),
                                     pavilionFill, test::SampleFigure::Ellipse));

    showReportViews(window);

    const QImage crown = window.Image1[0]->picture();
    const QImage pavilion = window.Image1[1]->picture();
    ASSERT_FALSE(crown.isNull());
    ASSERT_FALSE(pavilion.isNull());
    // Drawn as large as fits, keeping the page's 4:3 shape.
    EXPECT_EQ(crown.width(), metafileDrawingBounds.width());
    EXPECT_NEAR(double(crown.width()) / crown.height(), 4.0 / 3.0, 0.02);
    EXPECT_EQ(crown.pixelColor(crown.rect().center()), crownFill);
    EXPECT_EQ(crown.pixelColor(4, 4), QColor(Qt::white));
    EXPECT_EQ(pavilion.pixelColor(pavilion.rect().center()), pavilionFill);

    // And the box really paints it, scaled into its frame.
    window.Image1[0]->resize(260, 200);
    const QImage onScreen = window.Image1[0]->grab().toImage();
    EXPECT_EQ(onScreen.pixelColor(onScreen.rect().center()), crownFill);
}

TEST_F(ReportPicturesTest, ABrokenViewKeepsItsBoxAndTheOtherViewIsStillShown) {
    const QByteArray good = sampleBytes(QColor(200, 30, 40));
    QByteArray garbageRecords = good;
    for (qsizetype i = 88; i < garbageRecords.size(); ++i)
        garbageRecords[i] = char((i * 37 + 11) % 256);
    // The record after the header states a size of almost two gigabytes.
    QByteArray hugeRecord = good;
    const qsizetype secondRecord = quint8(good[4]) | quint8(good[5]) << 8;
    hugeRecord[secondRecord + 4] = char(0xF0);
    hugeRecord[secondRecord + 5] = char(0xFF);
    hugeRecord[secondRecord + 6] = char(0xFF);
    hugeRecord[secondRecord + 7] = char(0x7F);
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const std::vector<Case> cases = {
        {"records overwritten with garbage", garbageRecords},
        {"a record claiming two gigabytes", hugeRecord},
        {"truncated in the middle", good.left(good.size() / 2)},
        {"truncated inside the header", good.left(60)},
        {"empty file", QByteArray()},
        {"no metafile at all", QByteArray("not a picture\r\n")},
    };
    const QColor pavilionFill(20, 60, 210);
    ASSERT_TRUE(test::writeSampleEmf(folder.filePath(pavilionView), pavilionFill));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        folder.write(crownView, c.bytes);
        window.Image1[0]->setPicture(marker());
        window.Image1[1]->clear();

        showReportViews(window);

        EXPECT_EQ(window.Image1[0]->picture(), marker());
        const QImage pavilion = window.Image1[1]->picture();
        ASSERT_FALSE(pavilion.isNull());
        EXPECT_EQ(pavilion.pixelColor(pavilion.rect().center()), pavilionFill);
    }
}

TEST_F(ReportPicturesTest, AMissingViewLeavesItsBoxEmpty) {
    ASSERT_TRUE(test::writeSampleEmf(folder.filePath(crownView), Qt::red));

    showReportViews(window);

    EXPECT_FALSE(window.Image1[0]->picture().isNull());
    EXPECT_TRUE(window.Image1[1]->picture().isNull());
}

// Stand-ins for the helper that misbehave the ways a broken conversion can, and one that
// behaves.
TEST_F(ReportPicturesTest, AHelperThatCrashesFailsHangsOrOverdrawsOnlyCostsThePicture) {
    const QString metafile = folder.filePath(crownView);
    ASSERT_TRUE(test::writeSampleEmf(metafile, Qt::red));
    const QByteArray picture = savedPng(scratch, "picture.png", QSize(4, 3));
    const QByteArray wide =
        savedPng(scratch, "wide.png", QSize(metafileDrawingBounds.width() + 1, 3));
    const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"3\">"
                           "<rect width=\"4\" height=\"3\" fill=\"red\"/></svg>";
    struct Case {
        const char* name;
        QByteArray script;
        bool shown;
    };
    const std::vector<Case> cases = {
        {"a picture within the bounds", "#!/bin/sh\ncat '" + picture + "'\n", true},
        {"crash after output", "#!/bin/sh\ncat '" + picture + "'\nkill -SEGV $$\n", false},
        {"error exit after output", "#!/bin/sh\ncat '" + picture + "'\nexit 3\n", false},
        {"hang after output", "#!/bin/sh\ncat '" + picture + "'\nexec sleep 600\n", false},
        {"output that is no picture", "#!/bin/sh\nprintf 'garbage'\n", false},
        // This process draws nothing itself, however small.
        {"a drawing instead of a picture", "#!/bin/sh\nprintf '" + svg + "'\n", false},
        {"a picture wider than asked for", "#!/bin/sh\ncat '" + wide + "'\n", false},
        {"output without end", "#!/bin/sh\nexec cat /dev/zero\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString helper =
            writeHelperScript(scratch, QStringLiteral("helper-%1").arg(c.name), c.script);
        ASSERT_FALSE(helper.isEmpty());
        const MetafileConverter converter(helper, 500ms);
        window.Image1[0]->setPicture(marker());

        EXPECT_EQ(showPicture(*window.Image1[0], metafile, converter), c.shown);
        if (c.shown)
            EXPECT_EQ(window.Image1[0]->picture().size(), QSize(4, 3));
        else
            EXPECT_EQ(window.Image1[0]->picture(), marker());
    }
    const MetafileConverter missing(scratch.filePath(QStringLiteral("no-such-helper")));
    EXPECT_FALSE(missing.draw(metafile, metafileDrawingBounds).has_value());
}

TEST_F(ReportPicturesTest, AHangingHelperSpendsOneBudgetForBothViewsAndIsKilled) {
    ASSERT_TRUE(test::writeSampleEmf(folder.filePath(crownView), Qt::red));
    ASSERT_TRUE(test::writeSampleEmf(folder.filePath(pavilionView), Qt::blue));
    const QString pidList = scratch.filePath(QStringLiteral("pids"));
    // It notes its process id and never answers.
    const QString helper =
        writeHelperScript(scratch, QStringLiteral("hanging-helper"),
                          "#!/bin/sh\necho $$ >> '" + pidList.toUtf8() + "'\nexec sleep 600\n");
    ASSERT_FALSE(helper.isEmpty());
    window.Image1[0]->setPicture(marker());
    window.Image1[1]->setPicture(marker());

    // The budget of one start-up's conversions, shared by both views.
    EXPECT_EQ(MetafileConverter::defaultTimeBudget, 2000ms);
    const MetafileConverter converter(helper);

    showReportViews(window, converter);

    // Both views failed the way any broken picture does: the boxes keep what they showed.
    EXPECT_EQ(window.Image1[0]->picture(), marker());
    EXPECT_EQ(window.Image1[1]->picture(), marker());
    // The two helpers ran side by side within the one budget, and both were killed and
    // reaped: no such process is left.
    QFile pids(pidList);
    ASSERT_TRUE(pids.open(QIODevice::ReadOnly));
    const QList<QByteArray> started = pids.readAll().trimmed().split('\n');
    ASSERT_EQ(started.size(), 2);
    for (const QByteArray& line : started) {
        bool isNumber = false;
        const pid_t pid = line.toInt(&isNumber);
        ASSERT_TRUE(isNumber);
        EXPECT_EQ(::kill(pid, 0), -1);
        EXPECT_EQ(errno, ESRCH);
    }
    // And a later conversion of the same start-up starts nothing either.
    EXPECT_FALSE(converter.draw(folder.filePath(crownView), metafileDrawingBounds).has_value());
    pids.seek(0);
    EXPECT_EQ(pids.readAll().trimmed().split('\n').size(), 2);
}

// The helper refuses by size alone, before reading, so the sizes below cost nothing.
TEST_F(ReportPicturesTest, TheHelperRefusesEmptyAndOversizeFiles) {
    constexpr qint64 pastTheBound = 64 * 1024 * 1024 + 1;
    const QString helper = MetafileConverter::helperBesideProgram();
    struct Case {
        const char* name;
        QByteArray start;
        qint64 size;
    };
    const std::vector<Case> cases = {
        {"empty file", QByteArray(), 0},
        {"zeros past the bound", QByteArray(), pastTheBound},
        {"a good view padded past the bound", sampleBytes(Qt::red), pastTheBound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = scratch.filePath(QStringLiteral("view-%1.emf").arg(c.name));
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.start);
            // Sparse: the size is there without the disk space.
            ASSERT_TRUE(file.resize(c.size));
        }
        QProcess process;
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(helper, {path, QStringLiteral("800"), QStringLiteral("800")});
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_NE(process.exitCode(), 0);
        EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
        // Refused for its size, not for what a read of it would have found.
        EXPECT_TRUE(
            process.readAllStandardError().contains("empty or larger than any report view"));
    }
}

TEST_F(ReportPicturesTest, TheHelperDrawsASampleViewAtTheSizeAskedAndRefusesOtherFiles) {
    const MetafileConverter converter;
    ASSERT_TRUE(QFileInfo(converter.helperPath()).isExecutable())
        << converter.helperPath().toStdString();
    const QString crown = scratch.filePath(QStringLiteral("crown.emf"));
    ASSERT_TRUE(test::writeStoneViewEmf(crown, test::StoneView::Crown));

    // The page is 4:3, so a square asks for a picture as wide as the square.
    const std::optional<QImage> picture = converter.draw(crown, QSize(300, 300));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->size(), QSize(300, 225));
    EXPECT_EQ(picture->pixelColor(4, 4), QColor(Qt::white));
    // The middle of the table facet.
    EXPECT_EQ(picture->pixelColor(150, 112), QColor(205, 215, 228));

    const QString text = scratch.filePath(QStringLiteral("notes.emf"));
    {
        QFile file(text);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("just text");
    }
    EXPECT_FALSE(converter.draw(text, QSize(300, 300)).has_value());
    EXPECT_FALSE(converter.draw(scratch.filePath(QStringLiteral("missing.emf")), QSize(300, 300))
                     .has_value());
}

// Views far heavier than a scanner writes: one facet edge drawn 250,000 times (11 MB),
// which takes more memory to draw than a helper may have, and the girdle outline drawn
// 42,000 times (6.5 MB), which converts in a fraction of the budget but takes many times
// the budget to fill. The helper does the whole work, so the one budget of start-up
// covers it: the heavy view is left out, and the other view is drawn.
TEST_F(ReportPicturesTest, ViewsTooHeavyToDrawWithinTheBudgetAreLeftOut) {
    const struct {
        const char* name;
        test::RepeatedRecord record;
        int repeats;
    } cases[] = {
        {"a facet edge 250,000 times", test::RepeatedRecord::FacetEdge, 250000},
        {"the girdle 42,000 times", test::RepeatedRecord::Girdle, 42000},
    };
    ASSERT_TRUE(test::writeStoneViewEmf(folder.filePath(pavilionView), test::StoneView::Pavilion));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(test::writeHeavyCrownViewEmf(folder.filePath(crownView), c.record, c.repeats));
        window.Image1[0]->setPicture(marker());
        window.Image1[1]->setPicture(marker());

        showReportViews(window);

        EXPECT_EQ(window.Image1[0]->picture(), marker());
        const QImage pavilion = window.Image1[1]->picture();
        EXPECT_NE(pavilion, marker());
        EXPECT_EQ(pavilion.width(), metafileDrawingBounds.width());
    }
}

// However large a picture, its helper cannot take the machine's memory.
TEST_F(ReportPicturesTest, TheHelperRunsUnderAMemoryLimit) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer needs more address space than the limit allows";
#endif
    const QString heavy = scratch.filePath(QStringLiteral("heavy.emf"));
    ASSERT_TRUE(test::writeHeavyCrownViewEmf(heavy, test::RepeatedRecord::Girdle, 42000));
    QProcess helper;
    helper.setStandardInputFile(QProcess::nullDevice());
    helper.setStandardOutputFile(QProcess::nullDevice());
    helper.start(MetafileConverter::helperBesideProgram(),
                 {heavy, QStringLiteral("800"), QStringLiteral("800")});
    ASSERT_TRUE(helper.waitForStarted());
    // The limit is set first thing; the drawing of this view takes far longer than
    // it takes to look.
    QByteArray limit;
    QFile limits(QStringLiteral("/proc/%1/limits").arg(helper.processId()));
    for (int attempt = 0; attempt < 200 && limit.isEmpty(); ++attempt) {
        QThread::msleep(10);
        if (limits.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : limits.readAll().split('\n')) {
                if (line.startsWith("Max address space") && !line.contains("unlimited"))
                    limit = line.simplified();
            }
            limits.close();
        }
    }
    helper.kill();
    helper.waitForFinished();
    EXPECT_EQ(limit, "Max address space 536870912 536870912 bytes");
}

// The program finds its helper beside itself only, wherever it was built: the executable
// names no helper of the build tree, in any of the encodings a path could be kept in.
TEST(ReportPictureHelper, TheProgramNamesNoHelperOfItsBuildTree) {
    QFile program(QStringLiteral(TAV_EXECUTABLE));
    ASSERT_TRUE(program.open(QIODevice::ReadOnly));
    const QByteArray bytes = program.readAll();
    const QString built = QStringLiteral(TAV_BUILT_HELPER);
    const QByteArray utf16(reinterpret_cast<const char*>(built.utf16()), built.size() * 2);
    EXPECT_FALSE(bytes.contains(built.toUtf8()));
    EXPECT_FALSE(bytes.contains(utf16));
    // While it does name the helper it looks for.
    const QString name = QStringLiteral("tavemf2png");
    EXPECT_TRUE(
        bytes.contains(QByteArray(reinterpret_cast<const char*>(name.utf16()), name.size() * 2)));
}

} // namespace
} // namespace tav
