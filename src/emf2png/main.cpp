// tavemf2png: draws one enhanced metafile as a PNG picture on standard output, as large
// as fits the size asked for and keeping the page's shape.
//
// The conversion library does not survive every malformed file, and a picture of many
// records can take long and much memory to draw, so the program runs the whole work in
// this separate process under a memory limit: a crash, a hang or a refusal here costs
// only the picture, and the program's own memory does not grow with it.

#include <emf2svg.h>

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

#include <sys/resource.h>

#if defined(__SANITIZE_ADDRESS__)
#define TAV_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAV_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

// Nothing a scanner writes comes near this; a larger file is not a report view.
constexpr std::size_t maxMetafileBytes = 64u * 1024u * 1024u;
// Far more than any picture box shows.
constexpr int maxSide = 4096;

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

std::optional<int> side(const char* text) {
    int value = 0;
    const char* end = text + std::strlen(text);
    const auto [rest, error] = std::from_chars(text, end, value);
    if (error != std::errc() || rest != end || value < 1 || value > maxSide)
        return std::nullopt;
    return value;
}

// Lowers the limit, never raises one set before. AddressSanitizer reserves terabytes of
// address space for itself, so under it the limit cannot apply; the time limit of the
// caller still does.
bool limitMemory() {
#ifdef TAV_ADDRESS_SANITIZER
    return true;
#else
    // The whole process, libraries included: a real view needs a fifth of it.
    constexpr rlim_t maxAddressSpace = rlim_t(512) << 20;
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0)
        return false;
    limit.rlim_cur = std::min(limit.rlim_cur, maxAddressSpace);
    limit.rlim_max = std::min(limit.rlim_max, maxAddressSpace);
    return setrlimit(RLIMIT_AS, &limit) == 0;
#endif
}

struct FreeDeleter {
    void operator()(char* memory) const { std::free(memory); }
};

// The file's bytes when it is an enhanced metafile of a sensible size. The size is
// checked before anything is read, so a hostile file cannot make this process allocate
// without limit; the read is bounded by it too, should the file grow.
std::optional<std::vector<char>> readMetafile(const char* name) {
    std::error_code error;
    const std::filesystem::path path(name);
    const bool regular = std::filesystem::is_regular_file(path, error);
    const std::uintmax_t size = regular ? std::filesystem::file_size(path, error) : 0;
    if (error || !regular) {
        std::fprintf(stderr, "tavemf2png: cannot open %s\n", name);
        return std::nullopt;
    }
    if (size == 0 || size > maxMetafileBytes) {
        std::fprintf(stderr, "tavemf2png: %s is empty or larger than any report view\n", name);
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "tavemf2png: cannot open %s\n", name);
        return std::nullopt;
    }
    std::vector<char> contents(static_cast<std::size_t>(size));
    in.read(contents.data(), static_cast<std::streamsize>(contents.size()));
    contents.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad() || !looksLikeMetafile(contents)) {
        std::fprintf(stderr, "tavemf2png: %s is no enhanced metafile\n", name);
        return std::nullopt;
    }
    return contents;
}

std::optional<QByteArray> toSvg(std::vector<char>& metafile) {
    generatorOptions options{};
    options.nameSpace = nullptr;
    options.verbose = false;
    options.emfplus = true;
    options.svgDelimiter = true;
    char* rawSvg = nullptr;
    std::size_t svgLength = 0;
    const int converted = emf2svg(metafile.data(), metafile.size(), &rawSvg, &svgLength, &options);
    const std::unique_ptr<char, FreeDeleter> svg(rawSvg);
    if (converted == 0 || !svg || svgLength == 0)
        return std::nullopt;
    return QByteArray(svg.get(), qsizetype(svgLength));
}

// Transparent where the metafile draws nothing, as if played onto the box.
QImage draw(const QByteArray& svg, QSize bounds) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    QSizeF natural = renderer.viewBoxF().size();
    if (natural.isEmpty())
        natural = renderer.defaultSize();
    if (natural.isEmpty())
        return {};
    const QSize size = natural.scaled(QSizeF(bounds), Qt::KeepAspectRatio).toSize();
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: tavemf2png <file.emf> <width> <height>\n", stderr);
        return 2;
    }
    const std::optional<int> width = side(argv[2]);
    const std::optional<int> height = side(argv[3]);
    if (!width || !height) {
        std::fprintf(stderr, "tavemf2png: width and height must be 1 to %d\n", maxSide);
        return 2;
    }
    if (!limitMemory()) {
        std::fputs("tavemf2png: cannot limit its memory\n", stderr);
        return 1;
    }
    std::optional<std::vector<char>> metafile = readMetafile(argv[1]);
    if (!metafile)
        return 1;
    const std::optional<QByteArray> svg = toSvg(*metafile);
    metafile.reset();
    if (!svg) {
        std::fprintf(stderr, "tavemf2png: %s could not be converted\n", argv[1]);
        return 1;
    }

    // Texts in the picture need the font database of a GUI application; it never shows
    // a window, so it needs no display.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    int appArgc = 1;
    QGuiApplication app(appArgc, argv);
    const QImage picture = draw(*svg, QSize(*width, *height));
    if (picture.isNull()) {
        std::fprintf(stderr, "tavemf2png: %s could not be drawn\n", argv[1]);
        return 1;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArrayLiteral("png"));
    if (!writer.write(picture)) {
        std::fprintf(stderr, "tavemf2png: %s could not be written\n", argv[1]);
        return 1;
    }
    if (std::fwrite(png.constData(), 1, std::size_t(png.size()), stdout) !=
            std::size_t(png.size()) ||
        std::fflush(stdout) != 0)
        return 1;
    return 0;
}
