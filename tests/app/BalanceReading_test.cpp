#include "app/BalanceLink.h"
#include "app/FrmStoneID.h"
#include "support/RecordingPlatform.h"
#include "support/TempProgramFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tav {
namespace {

// What the balance's chunks do to the weight field, handed over as the port would.
class BalanceReadingTest : public ::testing::Test {
protected:
    std::unique_ptr<FrmStoneID> newWindow() {
        return std::make_unique<FrmStoneID>(folder.folder(), platform, program);
    }

    test::TempProgramFolder folder;
    test::RecordingPlatform recording;
    Platform platform = recording.platform();
    ProgramWide program;
    std::unique_ptr<FrmStoneID> window = newWindow();
};

TEST_F(BalanceReadingTest, HandleInputJoinsTheChunksOfAReadingAndReplacesAnEndedOne) {
    struct Case {
        const char* name;
        const char* before; // put there by anything but the balance
        std::vector<const char*> chunks;
        const char* after;
    };
    const std::vector<Case> cases = {
        {"chunks join, left-trimmed, first 8 kept", "", {"  0.51", "  23 ct\r\n"}, "0.5123 c"},
        {"a reading replaces the scan weight", "0.512300", {"  0.51", "23\r\n"}, "0.5123\r\n"},
        {"line ends within 8 stay", "", {"0.5 ct\r\n"}, "0.5 ct\r\n"},
        {"only leading blanks go", "", {" 1 2 "}, "1 2 "},
        {"a tab is no blank", "", {"\t0.5"}, "\t0.5"},
        {"a full field takes no more", "", {"12345678", "9"}, "12345678"},
        {"a long chunk keeps 8", "", {"0.123456789"}, "0.123456"},
        {"a second reading replaces the first", "", {"0.777\r\n", "  0.888\r\n"}, "0.888\r\n"},
        {"two readings in one chunk", "", {"0.777\r\n0.888\r\n"}, "0.888\r\n"},
        {"a line end split after CR", "", {"0.777\r", "\n"}, "0.777\r\n"},
        {"a reading in chunks after an ended one", "", {"0.777\r\n", "0.8", "88\r\n"}, "0.888\r\n"},
        {"no line ends: the first 8 win", "0.512", {"0.77", "7", "0.888"}, "0.7770.8"},
        {"end-of-file within a chunk drops out", "", {"0.6\03212\r\n"}, "0.612\r\n"},
        {"end-of-file between chunks", "", {"0.61", "23\0320 ct\r\n"}, "0.61230 "},
        {"blanks within a reading join", "", {"0.51", "   ", "23\r\n"}, "0.5123\r\n"},
        {"blanks before a line end end a reading", "", {"0.51", "  \r\n", "0.6"}, "0.6"},
        {"blanks after a reading in one chunk", "", {"0.5\r\n   "}, "0.5\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window = newWindow();
        window->txtRealWgt->setText(QLatin1String(c.before));
        window->txtRealWgt->setCursorPosition(0);
        for (const char* chunk : c.chunks) {
            window->Shape1[0]->setFillColor(vbRed);
            HandleInput(*window, QLatin1String(chunk));
            EXPECT_EQ(window->Shape1[0]->fillColor(), vbGreen);
            EXPECT_TRUE(window->txtRealWgt->isReadOnly());
        }
        EXPECT_EQ(window->txtRealWgt->text(), QLatin1String(c.after));
    }
}

TEST_F(BalanceReadingTest, AChunkWithoutAReadingLeavesTheFieldAndTheLampAlone) {
    struct Case {
        const char* name;
        const char* before; // put there by anything but the balance
        std::vector<const char*> readings;
        const char* idle;
        const char* kept;
        // A later chunk shows where the reading stands.
        const char* next;
        const char* after;
    };
    const std::vector<Case> cases = {
        {"end-of-file after an ended reading",
         "",
         {"0.61230 ct\r\n"},
         "\x1A",
         "0.61230 ",
         "0.7\r\n",
         "0.7\r\n"},
        {"blanks after an ended reading", "", {"0.5\r\n"}, "   ", "0.5\r\n", "  0.6", "0.6"},
        {"blanks and a line end after an ended reading",
         "",
         {"0.5\r\n"},
         "  \r\n",
         "0.5\r\n",
         "0.6",
         "0.6"},
        {"control characters after an ended reading",
         "",
         {"0.5\r\n"},
         "\x02\x03\t\x7F",
         "0.5\r\n",
         "0.6",
         "0.6"},
        {"end-of-file within a reading", "", {"0.51"}, "\x1A", "0.51", "23\r\n", "0.5123\r\n"},
        {"end-of-file over the scan weight", "0.512", {}, "\x1A", "0.512", "0.7", "0.7"},
        {"blanks over the scan weight", "0.512", {}, " \x1A ", "0.512", "0.7", "0.7"},
        {"line ends alone over the scan weight", "0.512", {}, "\r\n", "0.512", "\n", "0.512"},
        {"an empty chunk over a long text", "0.123456789", {}, "", "0.123456789", "9", "9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window = newWindow();
        window->txtRealWgt->setText(QLatin1String(c.before));
        for (const char* chunk : c.readings)
            HandleInput(*window, QLatin1String(chunk));
        const FrmStoneID::BalanceReading reading = window->balanceReading;
        const bool locked = window->txtRealWgt->isReadOnly();
        window->Shape1[0]->setFillColor(vbRed);

        HandleInput(*window, QLatin1String(c.idle));

        EXPECT_EQ(window->txtRealWgt->text(), QLatin1String(c.kept));
        EXPECT_EQ(window->balanceReading, reading);
        EXPECT_EQ(window->Shape1[0]->fillColor(), vbRed);
        EXPECT_EQ(window->txtRealWgt->isReadOnly(), locked);
        HandleInput(*window, QLatin1String(c.next));
        EXPECT_EQ(window->txtRealWgt->text(), QLatin1String(c.after));
    }
}

TEST_F(BalanceReadingTest, AnythingElseFillingTheFieldEndsTheReading) {
    HandleInput(*window, QStringLiteral("0.7"));
    window->txtRealWgt->clear(); // blanking
    HandleInput(*window, QStringLiteral("77"));
    EXPECT_EQ(window->txtRealWgt->text(), "77");
    window->txtRealWgt->setText("1.5"); // typed in manual mode
    HandleInput(*window, QStringLiteral("0.888"));
    EXPECT_EQ(window->txtRealWgt->text(), "0.888");
}

} // namespace
} // namespace tav
