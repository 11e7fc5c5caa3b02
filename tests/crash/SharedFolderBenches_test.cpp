#include "platform/TextFile.h"
#include "support/SampleFolder.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace tav {
namespace {

constexpr int kBenches = 4;
constexpr int kRounds = 12;

// Four benches, each with a program folder of its own, export at the same moment into
// one shared export folder, round after round; the first round meets no layout file.
// Every stone's block must be in the layout file exactly once and whole.
class SharedFolderBenchesTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        QDir().mkpath(sharedFolder());
        for (test::TempProgramFolder& bench : benches) {
            test::copySampleFolder(bench);
            test::setLine(bench, "ExportPa.txt", 1, sharedFolder());
            test::setLine(bench, "ExportPa.txt", 8, layout());
            test::setLine(bench, "ExportPa.txt", 18, "1"); // export at start-up
            // The exports of a round stay open long enough to meet each other.
            test::addTemplateRows(bench, 10000);
        }
    }

    QString layout() const { return QString::fromLatin1(GetParam()); }
    // A folder name that only the code page of the settings file holds.
    QString sharedFolder() const { return shared.filePath(QString::fromUtf8("Exports Å")); }
    QString layoutFile() const {
        const QString suffix = layout() == u"Row"     ? QStringLiteral("_rows")
                               : layout() == u"Col"   ? QStringLiteral("_cols")
                               : layout() == u"Table" ? QStringLiteral("_table")
                                                      : QStringLiteral("_col_Rows");
        return joinPath(sharedFolder(), QStringLiteral("bench") + suffix + QStringLiteral(".txt"));
    }
    static QString stoneId(int bench, int round) {
        return QString::fromUtf8("Stein-%1é%2").arg(bench).arg(round);
    }

    // One round: the four programs started together, each on a stone of its own, and
    // left to end.
    void exportRound(int round) {
        std::array<std::unique_ptr<QProcess>, kBenches> programs;
        for (int b = 0; b < kBenches; ++b) {
            test::TempProgramFolder& bench = benches[b];
            test::setScanKey(bench, "STONE_ID", stoneId(b, round));
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            // A balance device of its own, which does not exist.
            environment.insert("TAVEXPORT_COM1", bench.filePath("no-balance"));
            environment.insert("QT_QPA_PLATFORM", "offscreen");
            programs[b] = std::make_unique<QProcess>();
            programs[b]->setProcessEnvironment(environment);
            programs[b]->setWorkingDirectory(bench.path());
            programs[b]->start(TAV_EXECUTABLE,
                               {"--program-folder", bench.path(), "-platform", "offscreen"});
        }
        for (int b = 0; b < kBenches; ++b) {
            SCOPED_TRACE(stoneId(b, round).toStdString());
            QProcess& program = *programs[b];
            // One that hangs (on a message box, say) is stopped, and what the others
            // wrote is still looked at.
            if (program.waitForFinished(60000)) {
                EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
                EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().constData();
            } else {
                ADD_FAILURE() << "the program did not end";
                program.kill();
                program.waitForFinished(10000);
            }
            // The problem log holds every warning of the run (the missing balance's
            // among them): no file failed, none was left as found.
            const QByteArray log =
                benches[b].read("Logs/" + stoneId(b, round) + QStringLiteral(".log"));
            EXPECT_FALSE(log.contains("could not") || log.contains("left as found"))
                << log.constData();
        }
    }

    QByteArray stoneFile(int bench, int round) const {
        QFile file(joinPath(sharedFolder(), stoneId(bench, round) + QStringLiteral(".txt")));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        return file.readAll();
    }

    std::vector<QByteArray> stoneFiles() const {
        std::vector<QByteArray> files;
        for (int round = 0; round < kRounds; ++round) {
            for (int b = 0; b < kBenches; ++b)
                files.push_back(stoneFile(b, round));
        }
        return files;
    }

    // Row and Col_Row: the blocks one after the other, in any order, each exactly once.
    void expectEveryBlockOnce(QByteArrayView file, std::vector<QByteArray> blocks) const {
        while (!file.isEmpty()) {
            const auto found = std::find_if(blocks.begin(), blocks.end(), [&](const QByteArray& b) {
                return file.startsWith(b);
            });
            ASSERT_NE(found, blocks.end())
                << "no whole block starts at "
                << file.first(std::min<qsizetype>(file.size(), 60)).toByteArray().constData();
            file = file.sliced(found->size());
            blocks.erase(found);
        }
        EXPECT_TRUE(blocks.empty()) << blocks.size() << " blocks are missing";
    }

    std::array<test::TempProgramFolder, kBenches> benches;
    test::TempProgramFolder shared;
};

TEST_P(SharedFolderBenchesTest, EveryStonesBlockIsInTheLayoutFileOnceAndWhole) {
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        exportRound(round);
    }
    QFile file(layoutFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    std::vector<QByteArray> stones = stoneFiles();

    if (layout() == u"Row" || layout() == u"Col_Row") {
        // The closing line of one space ends every block.
        for (QByteArray& stone : stones)
            stone += " \r\n";
        expectEveryBlockOnce(written, stones);
    } else if (layout() == u"Table") {
        // The header line of the export that made the file, then every value line once.
        QStringList lines = splitLines(QString::fromLatin1(written));
        ASSERT_FALSE(lines.isEmpty());
        lines.removeFirst();
        QStringList values;
        for (const QByteArray& stone : stones)
            values.append(QString::fromLatin1(stone.chopped(2)));
        lines.sort();
        values.sort();
        EXPECT_TRUE(lines == values)
            << lines.size() << " value lines for " << values.size() << " stones";
    } else {
        // Line k holds entry k of every stone, the stones in one order on every line. A
        // text entry gets its separator in the layout file only.
        const QStringList lines = splitLines(QString::fromLatin1(written));
        std::vector<QStringList> entries;
        for (const QByteArray& stone : stones) {
            QStringList column = splitLines(QString::fromLatin1(stone));
            for (QString& entry : column) {
                if (!entry.endsWith(u','))
                    entry += u',';
            }
            entries.push_back(column);
        }
        ASSERT_EQ(lines.size(), entries.front().size());
        // The order of the merges, from the stone IDs of the first line.
        std::vector<size_t> order;
        QStringView first = lines.front();
        while (!first.isEmpty()) {
            size_t found = 0;
            while (found < entries.size() && !first.startsWith(entries[found].front()))
                ++found;
            ASSERT_LT(found, entries.size())
                << "no stone's ID starts at " << first.toString().toStdString();
            ASSERT_EQ(std::count(order.begin(), order.end(), found), 0) << "a stone twice";
            order.push_back(found);
            first = first.sliced(entries[found].front().size());
        }
        EXPECT_EQ(order.size(), entries.size()) << "stones missing from the first line";
        for (qsizetype k = 0; k < lines.size(); ++k) {
            QString expected;
            for (const size_t stone : order)
                expected += entries[stone].value(k);
            ASSERT_EQ(lines[k], expected) << "line " << k;
        }
    }
    // Nothing half-done is left beside the files.
    QStringList hidden = QDir(sharedFolder()).entryList(QDir::Files | QDir::Hidden);
    hidden.removeIf([](const QString& name) { return !name.startsWith(u'.'); });
    EXPECT_EQ(hidden, QStringList());
}

INSTANTIATE_TEST_SUITE_P(Layouts, SharedFolderBenchesTest,
                         ::testing::Values("Row", "Col_Row", "Table", "Col"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param) == "Col_Row" ? std::string("ColRow")
                                                                         : std::string(info.param);
                         });

} // namespace
} // namespace tav
