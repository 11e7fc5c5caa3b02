// Numbers as texts: every reader of a number text, and the writers on what was read and
// on raw bit patterns (infinities, NaNs, subnormals). The plain decimal form is only ever
// asked of a text the writers made, so it gets only those.
#include "platform/NumberText.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tav;
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    leadingNumber(text);
    toInt16(text);
    toInt32(text);
    if (const auto value = wholeNumber(text)) {
        doubleToText(*value);
        toInt16(*value);
        plainDecimalText(doubleToText(*value));
        if (std::isfinite(*value) && std::fabs(*value) <= 3.4e38) {
            singleToText(float(*value));
            plainDecimalText(singleToText(float(*value)));
        }
    }
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        plainDecimalText(doubleToText(raw));
        toInt16(raw);
        float single;
        std::memcpy(&single, data, sizeof single);
        plainDecimalText(singleToText(single));
    }
    return 0;
}
