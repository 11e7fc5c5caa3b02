#include "support/BenchLocale.h"

#include <QProcess>
#include <QtGlobal>

#include <gtest/gtest.h>

namespace tav::test {

BenchLocale::BenchLocale(const char* name) {
    for (const char* variable :
         {"LOCPATH", "LC_ALL", "LC_TIME", "LC_NUMERIC", "LANG", "LANGUAGE"}) {
        previous_[variable] = qEnvironmentVariableIsSet(variable)
                                  ? std::optional<QByteArray>(qgetenv(variable))
                                  : std::nullopt;
        qunsetenv(variable);
    }
    qputenv("LOCPATH", QByteArrayLiteral(TAV_LOCALE_DIR));
    qputenv("LC_ALL", QByteArray(name));
}

BenchLocale::~BenchLocale() {
    for (const auto& [variable, value] : previous_) {
        if (value)
            qputenv(variable.constData(), *value);
        else
            qunsetenv(variable.constData());
    }
}

QString dateCommand(const QStringList& arguments) {
    QProcess date;
    date.start(QStringLiteral("date"), arguments);
    EXPECT_TRUE(date.waitForFinished(10000));
    EXPECT_EQ(date.exitCode(), 0) << date.readAllStandardError().constData();
    QString text = QString::fromLocal8Bit(date.readAllStandardOutput());
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

} // namespace tav::test
