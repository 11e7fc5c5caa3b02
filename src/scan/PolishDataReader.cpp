#include "scan/PolishDataReader.h"

#include "platform/IniReader.h"
#include "platform/NumberText.h"
#include "scan/KeyReader.h"

namespace tav {

void GetPolishData(PolishData& data, const QString& keyFilePath) {
    GetPolishData(data, IniFile::read(keyFilePath));
}

void GetPolishData(PolishData& data, const IniFile& keyFile) {
    for (std::size_t i = 0; i < PolishData::fieldCount; ++i) {
        const QString value =
            GetString(numericalParameters, QString::fromLatin1(PolishData::keys[i]), keyFile, 0);
        data.field(i) = leadingNumber(value);
    }
}

} // namespace tav
