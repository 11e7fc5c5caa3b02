// What the balance sends, in the chunks the port hands over: each chunk is one byte of
// length (1 to 16) and that many bytes.
#include "FuzzBench.h"
#include "app/BalanceLink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tav;
    static const auto run = fuzz::FuzzBench::instance().newRun();
    FrmStoneID& w = *run->window;
    w.txtRealWgt->clear();
    std::size_t at = 0;
    while (at < size) {
        const std::size_t length = std::min<std::size_t>(data[at] % 16 + 1, size - at - 1);
        ++at;
        HandleInput(
            w, QString::fromLatin1(reinterpret_cast<const char*>(data + at), qsizetype(length)));
        at += length;
    }
    return 0;
}
