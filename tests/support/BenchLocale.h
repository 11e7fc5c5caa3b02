#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

// A bench's locale settings for the life of the object: LC_ALL names the locale (one of
// the C library's own, or one that the build made in TAV_LOCALE_DIR), the other locale
// variables are unset, and everything is put back afterwards. Dates and times follow
// these settings; numbers must not.
namespace tav::test {

class BenchLocale {
public:
    explicit BenchLocale(const char* name);
    ~BenchLocale();
    BenchLocale(const BenchLocale&) = delete;
    BenchLocale& operator=(const BenchLocale&) = delete;

private:
    std::map<QByteArray, std::optional<QByteArray>> previous_;
};

// What the system's `date` prints with the arguments under the current locale settings,
// without its line end.
QString dateCommand(const QStringList& arguments);

} // namespace tav::test
