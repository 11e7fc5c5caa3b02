// The key reader of the scan files over test.txt: the file as the scanner might leave
// it, looked up by the keys the program asks for and by the keys the file itself names.
#include "FuzzBench.h"
#include "platform/AnsiText.h"
#include "platform/IniReader.h"
#include "platform/TextFile.h"
#include "scan/KeyReader.h"

namespace {

const char* const kKeys[] = {"STONE_ID",     "WEIGHT_REAL",  "CORRECTED_MASS",
                             "WEIGHT_4_CT",  "CUTTING_TYPE", "MODEL_BUILDING_ERROR_STATUS",
                             "TABLE_MM_MAX", "WIDTH_MM",     "MODEL_IS_SEMI_POLISHED"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tav;
    auto& bench = fuzz::FuzzBench::instance();
    const QByteArray bytes = fuzz::bytesOf(data, size);
    bench.dir().write(QStringLiteral("test.txt"), bytes);
    const QString path = bench.dir().filePath(QStringLiteral("test.txt"));
    const IniFile file = IniFile::read(path);
    const QString section = QStringLiteral("NumericalParameters");
    for (const char* key : kKeys) {
        GetString(section, QString::fromLatin1(key), file, 1);
        GetString(section, QString::fromLatin1(key), file, 0);
    }
    // Every "section / key" the file names, found again by its own spelling.
    QString current;
    const QStringList lines = splitLines(fromAnsi(bytes));
    for (qsizetype i = 0; i < lines.size() && i < 64; ++i) {
        const QString& line = lines[i];
        if (line.trimmed().startsWith(u'['))
            current = line.trimmed().mid(1).section(u']', 0, 0);
        else if (line.contains(u'='))
            GetString(current, line.section(u'=', 0, 0), file, 1);
    }
    GetString(section, QStringLiteral("STONE_ID"), path, 1);
    return 0;
}
