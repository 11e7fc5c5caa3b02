#include "support/AccessFixture.h"

#include <QFile>

#include <gtest/gtest.h>

namespace tav::test {

QString accessFixturePath(const QString& name) {
    return QStringLiteral(TAV_FIXTURES_DIR "/access/") + name;
}

QByteArray accessFixture(const QString& name) {
    QFile file(accessFixturePath(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

} // namespace tav::test
