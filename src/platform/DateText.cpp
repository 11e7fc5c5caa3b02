#include "platform/DateText.h"

#include <QByteArray>

#include <cstdlib>
#include <ctime>
#include <langinfo.h>
#include <locale.h>
#include <string>

namespace tav {
namespace {

// The variables that newlocale reads for the time category, as they stand now.
std::string timeSettings() {
    std::string settings;
    for (const char* name : {"LC_ALL", "LC_TIME", "LANG", "LOCPATH"}) {
        const char* value = std::getenv(name);
        settings += value ? value : "";
        settings += '\0';
    }
    return settings;
}

// The time category of the user's settings as a locale object of its own, the C forms
// when that locale is not installed. The process's global locale is never switched (it
// keeps numbers in the C forms), and nothing here depends on another thread's setlocale.
class TimeLocale {
public:
    // The object of the current settings, one per thread, made again only when the
    // settings change: the C library's newlocale keeps a little memory for good at every
    // call while LOCPATH is set.
    static const TimeLocale& current() {
        thread_local TimeLocale cached;
        cached.follow(timeSettings());
        return cached;
    }

    TimeLocale() = default;
    ~TimeLocale() { release(); }
    TimeLocale(const TimeLocale&) = delete;
    TimeLocale& operator=(const TimeLocale&) = delete;

    const char* pattern(nl_item item) const { return locale_ ? nl_langinfo_l(item, locale_) : ""; }

    bool reads(const QByteArray& text, const QByteArray& pattern) const {
        std::tm when{};
        const char* end =
            locale_ ? strptime_l(text.constData(), pattern.constData(), &when, locale_) : nullptr;
        return end && *end == '\0';
    }

    QString format(nl_item item, const std::tm& when) const {
        char buffer[256];
        const std::size_t length =
            locale_ ? strftime_l(buffer, sizeof buffer, pattern(item), &when, locale_) : 0;
        return QString::fromLocal8Bit(buffer, qsizetype(length));
    }

private:
    void follow(std::string settings) {
        if (locale_ && settings == settings_)
            return;
        release();
        settings_ = std::move(settings);
        locale_ = newlocale(LC_TIME_MASK, "", locale_t(nullptr));
        if (!locale_)
            locale_ = newlocale(LC_TIME_MASK, "C", locale_t(nullptr));
    }
    void release() {
        if (locale_)
            freelocale(locale_);
        locale_ = locale_t(nullptr);
    }

    std::string settings_;
    locale_t locale_ = locale_t(nullptr);
};

std::tm brokenDown(const QDate& date, const QTime& time) {
    std::tm when{};
    when.tm_year = date.year() - 1900;
    when.tm_mon = date.month() - 1;
    when.tm_mday = date.day();
    when.tm_wday = date.dayOfWeek() % 7;
    when.tm_yday = date.dayOfYear() - 1;
    when.tm_hour = time.hour();
    when.tm_min = time.minute();
    when.tm_sec = time.second();
    when.tm_isdst = -1;
    return when;
}

// A day that every calendar holds, for a time alone.
const QDate anyDay(2000, 1, 1);

// Day zero of the date values of the Access databases.
const QDate dayZero(1899, 12, 30);

} // namespace

QString shortDateText(const QDate& date) {
    return TimeLocale::current().format(D_FMT, brokenDown(date, QTime(0, 0)));
}

QString timeText(const QTime& time) {
    return TimeLocale::current().format(T_FMT, brokenDown(anyDay, time));
}

QString generalDateTimeText(const QDateTime& dateTime) {
    if (dateTime.date() == dayZero)
        return timeText(dateTime.time());
    const QString date = shortDateText(dateTime.date());
    if (dateTime.time() == QTime(0, 0))
        return date;
    return date + u' ' + timeText(dateTime.time());
}

bool isDateOrTimeText(const QString& text) {
    const TimeLocale& locale = TimeLocale::current();
    const QByteArray bytes = text.toLocal8Bit();
    const QByteArray date = locale.pattern(D_FMT);
    const QByteArray time = locale.pattern(T_FMT);
    for (const QByteArray& pattern : {date, time, date + ' ' + time}) {
        if (locale.reads(bytes, pattern))
            return true;
    }
    return false;
}

} // namespace tav
