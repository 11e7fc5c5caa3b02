#include "support/CommaLocale.h"

#include <QtGlobal>

#include <gtest/gtest.h>

#include <clocale>

namespace tav::test {

CommaLocale::CommaLocale()
    : previous_(std::setlocale(LC_ALL, nullptr)), previousLocPath_(qgetenv("LOCPATH")),
      hadLocPath_(qEnvironmentVariableIsSet("LOCPATH")) {
    // The C library looks LOCPATH up at each setlocale.
    qputenv("LOCPATH", QByteArrayLiteral(TAV_LOCALE_DIR));
    const char* set = std::setlocale(LC_ALL, TAV_COMMA_LOCALE);
    EXPECT_NE(set, nullptr) << "the build makes " TAV_COMMA_LOCALE " in " TAV_LOCALE_DIR;
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
}

CommaLocale::~CommaLocale() {
    if (hadLocPath_)
        qputenv("LOCPATH", previousLocPath_);
    else
        qunsetenv("LOCPATH");
    std::setlocale(LC_ALL, previous_.constData());
}

void inRunAndCommaLocale(const std::function<void()>& check) {
    {
        SCOPED_TRACE("the locale of the test run");
        check();
    }
    SCOPED_TRACE("the C library under " TAV_COMMA_LOCALE);
    const CommaLocale comma;
    check();
}

} // namespace tav::test
