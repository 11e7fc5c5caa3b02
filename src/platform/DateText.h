#pragma once

#include <QDateTime>
#include <QString>

// Date and time texts in the forms the program writes, after the user's settings.
namespace tav {

QString shortDateText(const QDate& date);
QString timeText(const QTime& time);
// Short date, followed by the time when it is not exactly midnight.
QString generalDateTimeText(const QDateTime& dateTime);
// The pattern of timeText: the long time form without its time zone.
QString timeTextFormat();

} // namespace tav
