#pragma once

#include <QDateTime>
#include <QString>

// Date and time texts in the forms of the user's settings: the C library's time category
// (LC_ALL, LC_TIME or LANG), which gives what `date +%x` and `date +%X` print. Dates and
// times are the one thing that follows the locale; numbers never do.
namespace tav {

// The short date form (D_FMT): 12/09/26 under C, 09.12.2026 under de_DE.
QString shortDateText(const QDate& date);
// The time form (T_FMT): 13:48:55 under C, de_DE and fr_BE.
QString timeText(const QTime& time);
// Short date, followed by the time when it is not exactly midnight. A date of
// 30 December 1899, day zero of the databases' date values, is a time alone.
QString generalDateTimeText(const QDateTime& dateTime);
// Whether the whole text is a date, a time or a date and a time in the forms above.
bool isDateOrTimeText(const QString& text);

} // namespace tav
