#include "export/ExportFixture.h"

#include "app/ExportSettings.h"
#include "platform/Database.h"

namespace tav {
namespace {

using test::exportFixture;

// A text of the Western Windows code page: every character it has at 0x80 to 0x9F, a
// few of its upper half, and one it cannot hold.
struct WesternCharacter {
    char16_t character;
    char byte;
};
constexpr WesternCharacter kCharacters[] = {
    {u'\u20AC', '\x80'}, {u'\u201A', '\x82'}, {u'\u0192', '\x83'}, {u'\u201E', '\x84'},
    {u'\u2026', '\x85'}, {u'\u2020', '\x86'}, {u'\u2021', '\x87'}, {u'\u02C6', '\x88'},
    {u'\u2030', '\x89'}, {u'\u0160', '\x8A'}, {u'\u2039', '\x8B'}, {u'\u0152', '\x8C'},
    {u'\u017D', '\x8E'}, {u'\u2018', '\x91'}, {u'\u2019', '\x92'}, {u'\u201C', '\x93'},
    {u'\u201D', '\x94'}, {u'\u2022', '\x95'}, {u'\u2013', '\x96'}, {u'\u2014', '\x97'},
    {u'\u02DC', '\x98'}, {u'\u2122', '\x99'}, {u'\u0161', '\x9A'}, {u'\u203A', '\x9B'},
    {u'\u0153', '\x9C'}, {u'\u017E', '\x9E'}, {u'\u0178', '\x9F'}, {u'\u00A0', '\xA0'},
    {u'\u00E9', '\xE9'}, {u'\u00C5', '\xC5'}, {u'\u00FF', '\xFF'}, {u'\u20B9', '?'},
};

class WesternTextTest : public test::ExportFixture {};

TEST_F(WesternTextTest, TextsOfTheCodePageGoThroughTheExportAndBackByteForByte) {
    QString text = QStringLiteral("Gems ");
    QByteArray bytes = "Gems ";
    for (const WesternCharacter& c : kCharacters) {
        text += QChar(c.character);
        bytes += c.byte;
    }
    {
        const auto database = Database::openExisting(path("Reports.mdb"));
        ASSERT_TRUE(database);
        ASSERT_TRUE(database->exec("CREATE TABLE Company (NAME TEXT)"));
        ASSERT_TRUE(database->exec("INSERT INTO Company VALUES (?)", {text}));
        ASSERT_TRUE(database->exec("INSERT INTO Template_GIA VALUES ('Company.NAME', 'Name', -1)"));
    }
    dir.writeLines("testSetting.txt", {"T", "UserData", "Company"});
    startRun();
    const QString lens = QString::fromUtf16(u"L\u2013"
                                            "1 \u201Cx\u201D \u00E9");
    window().txtLenNumber->setText(lens);

    ASSERT_EQ(exportStone(), ExportOutcome::Completed);

    // Out of the database through the key file into the stone's line.
    const QByteArray stone = exportFixture("row_plain_stone.txt") + bytes + ",";
    EXPECT_EQ(dir.read("Export/AB12.txt"), stone);
    EXPECT_EQ(dir.read("Ascii/AB12.txt"), stone);
    // Out of the window into the settings file, and back as the next start reads it.
    const QByteArray settings = dir.read("ExportPa.txt");
    EXPECT_TRUE(settings.contains("\r\nL\x96"
                                  "1 \x93x\x94 \xE9\r\n"))
        << settings.constData();
    const auto lines = readExportSettingsLines(dir.folder());
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->value(2), lens);
    EXPECT_TRUE(recording().messages.shown.empty());
}

} // namespace
} // namespace tav
