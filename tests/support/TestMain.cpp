#include "platform/NumberText.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// The offscreen platform reads the path of its screen file as Latin-1, so the file is
// read from a temporary folder of a plain name, wherever the checkout lies. Made with the
// standard library: nothing of Qt runs before the application object.
class ScreenFile {
public:
    ScreenFile() {
        const char* temp = std::getenv("TMPDIR");
        std::string folder = std::string(temp && *temp ? temp : "/tmp") + "/tavscreen-XXXXXX";
        if (!mkdtemp(folder.data()))
            std::abort();
        folder_ = folder;
        path_ = folder_ / "bench-1366x768.json";
        std::filesystem::copy_file(TAV_FIXTURES_DIR "/screen/bench-1366x768.json", path_);
    }
    ~ScreenFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
};

} // namespace

// Every test runs with a QApplication (the window tests need one) on the offscreen
// platform, whose one screen is that of a common bench PC (1366 x 768), and with Qt's
// locale fixed. The program's date texts follow the C library's locale settings instead
// (support/BenchLocale.h), and its numbers no locale at all.
int main(int argc, char** argv) {
    const ScreenFile screen;
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + screen.path().c_str());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    tav::useCNumberLocale();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
