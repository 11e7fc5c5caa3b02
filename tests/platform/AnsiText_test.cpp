#include "platform/AnsiText.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(AnsiText, TheCodePageCharactersAreReadAndWrittenAsTheirBytes) {
    const struct {
        char byte;
        char16_t character;
    } cases[] = {
        {'\x80', u'\u20AC'}, {'\x85', u'\u2026'}, {'\x8A', u'\u0160'}, {'\x8C', u'\u0152'},
        {'\x91', u'\u2018'}, {'\x93', u'\u201C'}, {'\x94', u'\u201D'}, {'\x96', u'\u2013'},
        {'\x97', u'\u2014'}, {'\x99', u'\u2122'}, {'\x9C', u'\u0153'}, {'\x9F', u'\u0178'},
        {'\xA0', u'\u00A0'}, {'\xE9', u'\u00E9'}, {'\xFF', u'\u00FF'}, {'A', u'A'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(static_cast<unsigned char>(c.byte)));
        const QByteArray byte(1, c.byte);
        EXPECT_EQ(fromAnsi(byte), QString(QChar(c.character)));
        EXPECT_EQ(toAnsi(QString(QChar(c.character))), byte);
    }
}

TEST(AnsiText, EveryByteComesBackAsItWas) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = fromAnsi(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(toAnsi(text), all);
    // The bytes the code page leaves undefined stand for themselves.
    for (char16_t undefined : {u'\u0081', u'\u008D', u'\u008F', u'\u0090', u'\u009D'})
        EXPECT_EQ(text[undefined], QChar(undefined));
}

TEST(AnsiText, ACharacterTheCodePageCannotHoldIsWrittenAsOneQuestionMark) {
    EXPECT_EQ(toAnsi(u"a\u0080b"), "a?b");     // a control the code page has no byte for
    EXPECT_EQ(toAnsi(u"\u20B9 5"), "? 5");     // the rupee sign
    EXPECT_EQ(toAnsi(u"x\U0001F48Ey"), "x?y"); // beyond 16 bits: one character, one "?"
    EXPECT_EQ(toAnsi(u"\xD800z"), "?z");       // half a pair
    EXPECT_EQ(toAnsi(u""), "");
}

TEST(AnsiText, ATextFitsWhenNoCharacterWouldBeWrittenAsAQuestionMark) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_TRUE(fitsAnsi(fromAnsi(all)));
    EXPECT_FALSE(isAnsiName(fromAnsi(all))) << "it holds a question mark";
    const struct {
        const char16_t* text;
        bool fits;
        bool name;
    } cases[] = {
        {u"", true, true},
        {u"/data/Export \u00E9\u0152\u20AC", true, true},
        {u"/data/\u042D\u043A\u0441\u043F\u043E\u0440\u0442", false, false},
        {u"/data/???????", true, false},
        {u"a\u0080b", false, false},
        {u"x\U0001F48Ey", false, false},
        {u"\xD800z", false, false},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(fitsAnsi(text), c.fits);
        EXPECT_EQ(isAnsiName(text), c.name);
    }
}

} // namespace
} // namespace tav
