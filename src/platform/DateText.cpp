#include "platform/DateText.h"

#include <QLocale>

namespace tav {

QString shortDateText(const QDate& date) {
    return QLocale().toString(date, QLocale::ShortFormat);
}

QString timeTextFormat() {
    // The long form carries the time zone, which the program never shows.
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

QString timeText(const QTime& time) {
    return QLocale().toString(time, timeTextFormat());
}

QString generalDateTimeText(const QDateTime& dateTime) {
    const QString date = shortDateText(dateTime.date());
    if (dateTime.time() == QTime(0, 0))
        return date;
    return date + u' ' + timeText(dateTime.time());
}

} // namespace tav
