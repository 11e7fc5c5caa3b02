#pragma once

#include <QByteArray>
#include <QString>

// The real Microsoft Access files of tests/fixtures/access.
namespace tav::test {

QString accessFixturePath(const QString& name);
QByteArray accessFixture(const QString& name);

} // namespace tav::test
