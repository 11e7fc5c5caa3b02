#pragma once

#include "app/FrmStoneID.h"
#include "platform/TextFile.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable failure messages for lists of lines.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// A window with the export's streams open on files of a temporary program folder, the
// way the export leaves them when the grading runs: the per-stone file, and either a
// new layout file or (merge mode) an old layout file read beside the temporary file.
namespace tav::test {

class GradingFixture : public ::testing::Test {
protected:
    GradingFixture() : window(std::make_unique<FrmStoneID>(dir.folder(), platform, program)) {}

    FrmStoneID& w() { return *window; }

    // test_export.txt with the given "KEY = value" lines under [NumericalParameters].
    void writeKeys(const QStringList& lines) const {
        dir.writeLines("test_export.txt", QStringList{"[NumericalParameters]"} + lines);
    }

    // Class.mdb with the grading's tables, then the given statements.
    void createClassDatabase(const QStringList& statements) const {
        dir.createDatabase(
            "Class.mdb",
            QStringList{
                "CREATE TABLE MultiData (Shape TEXT, CutLab TEXT, SymLab TEXT)",
                "CREATE TABLE CutLab (Shape TEXT, Lab TEXT)",
                "CREATE TABLE SymLab (Shape TEXT, Lab TEXT)",
                "CREATE TABLE CutPara (ID INTEGER, Shape TEXT, Parameters TEXT)",
                "CREATE TABLE SymPara (ID INTEGER, Shape TEXT, Parameters TEXT)",
                "CREATE TABLE CutData (Lab TEXT, cfPara TEXT, shape TEXT, Serial INTEGER, "
                "include INTEGER, Show INTEGER, cMin REAL, cMax REAL, cName TEXT)",
                "CREATE TABLE SymData (Lab TEXT, cfPara TEXT, shape TEXT, Serial INTEGER, "
                "include INTEGER, Show INTEGER, cMin REAL, cMax REAL, cName TEXT)",
                "CREATE TABLE Cut (lab TEXT, Serial INTEGER, shape TEXT, Class TEXT)",
                "CREATE TABLE Sym (lab TEXT, Serial INTEGER, shape TEXT, Class TEXT)",
            } + statements);
    }

    // Opens the streams; with old layout lines the run merges into them.
    void openStreams(const QStringList& oldLayoutLines = {}) {
        w().StoneExportStream =
            std::make_unique<TextStream>(dir.filePath("stone.txt"), TextStream::Mode::Create);
        if (oldLayoutLines.isEmpty()) {
            w().ExportTextStream =
                std::make_unique<TextStream>(dir.filePath("layout.txt"), TextStream::Mode::Create);
            w().ColumnMergeMode = 0;
            return;
        }
        dir.writeLines("layout.txt", oldLayoutLines);
        w().ExportTextStream =
            std::make_unique<TextStream>(dir.filePath("layout.txt"), TextStream::Mode::Read);
        w().ColumnTempStream =
            std::make_unique<TextStream>(dir.filePath("layouttmp.txt"), TextStream::Mode::Create);
        w().ColumnMergeMode = -1;
    }

    // Closes the streams and gives the lines of the per-stone file.
    QStringList stoneLines() {
        closeStreams();
        return linesOf("stone.txt");
    }
    // The second copies: the new layout file, or in merge mode the temporary file.
    QStringList secondCopies() {
        closeStreams();
        return linesOf(w().ColumnMergeMode != 0 ? "layouttmp.txt" : "layout.txt");
    }

    TempProgramFolder dir;
    RecordingPlatform recording;
    Platform platform = recording.platform();
    ProgramWide program;
    std::unique_ptr<FrmStoneID> window;

private:
    void closeStreams() {
        for (auto* stream :
             {&w().StoneExportStream, &w().ExportTextStream, &w().ColumnTempStream}) {
            if (*stream) {
                EXPECT_TRUE((*stream)->close());
                stream->reset();
            }
        }
    }
    QStringList linesOf(const QString& name) const {
        QString text = QString::fromLatin1(dir.read(name));
        EXPECT_TRUE(text.isEmpty() || text.endsWith(QStringLiteral("\r\n"))) << name.toStdString();
        return splitLines(text);
    }
};

} // namespace tav::test
