// tavemf2svg: converts one enhanced metafile into SVG on standard output.
//
// The converter library does not survive every malformed file, so the program runs it
// in this separate process: a crash or a hang here costs only the picture.

#include <emf2svg.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace {

// Nothing a scanner writes comes near this; a larger file is not a report view.
constexpr std::size_t maxMetafileBytes = 64u * 1024u * 1024u;

std::uint32_t littleEndian32(const std::vector<char>& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i]))
                 << (8 * i);
    return value;
}

// A header record of at least the base size, the " EMF" signature, and a stated file
// size that the bytes on hand can hold.
bool looksLikeMetafile(const std::vector<char>& bytes) {
    constexpr std::size_t headerSize = 88;
    if (bytes.size() < headerSize)
        return false;
    const std::uint32_t recordType = littleEndian32(bytes, 0);
    const std::uint32_t headerBytes = littleEndian32(bytes, 4);
    const std::uint32_t signature = littleEndian32(bytes, 40);
    const std::uint32_t fileBytes = littleEndian32(bytes, 48);
    return recordType == 1 && signature == 0x464D4520 && headerBytes >= headerSize &&
           headerBytes <= bytes.size() && fileBytes <= bytes.size();
}

struct FreeDeleter {
    void operator()(char* memory) const { std::free(memory); }
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: tavemf2svg <file.emf>\n", stderr);
        return 2;
    }
    // The size is checked before anything is read, so a hostile file cannot make this
    // process allocate without limit; the read is bounded by it too, should the file grow.
    std::error_code error;
    const std::filesystem::path path(argv[1]);
    const bool regular = std::filesystem::is_regular_file(path, error);
    const std::uintmax_t size = regular ? std::filesystem::file_size(path, error) : 0;
    if (error || !regular) {
        std::fprintf(stderr, "tavemf2svg: cannot open %s\n", argv[1]);
        return 1;
    }
    if (size == 0 || size > maxMetafileBytes) {
        std::fprintf(stderr, "tavemf2svg: %s is empty or larger than any report view\n", argv[1]);
        return 1;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "tavemf2svg: cannot open %s\n", argv[1]);
        return 1;
    }
    std::vector<char> contents(static_cast<std::size_t>(size));
    in.read(contents.data(), static_cast<std::streamsize>(contents.size()));
    contents.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad() || !looksLikeMetafile(contents)) {
        std::fprintf(stderr, "tavemf2svg: %s is no enhanced metafile\n", argv[1]);
        return 1;
    }

    generatorOptions options{};
    options.nameSpace = nullptr;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    char* rawSvg = nullptr;
    std::size_t svgLength = 0;
    const int converted = emf2svg(contents.data(), contents.size(), &rawSvg, &svgLength, &options);
    const std::unique_ptr<char, FreeDeleter> svg(rawSvg);
    if (converted == 0 || !svg || svgLength == 0) {
        std::fprintf(stderr, "tavemf2svg: %s could not be converted\n", argv[1]);
        return 1;
    }
    if (std::fwrite(svg.get(), 1, svgLength, stdout) != svgLength || std::fflush(stdout) != 0)
        return 1;
    return 0;
}
