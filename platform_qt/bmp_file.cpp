#include "platform_qt/bmp_file.h"

#include "platform/whole_file.h"

#include <QFile>

#include <cstdint>
#include <cstring>
#include <string_view>

namespace platform {
namespace {

constexpr size_t fileHeaderSize = 14;
constexpr size_t minInfoHeaderSize = 40;
constexpr std::int32_t maxSide = 16384;
constexpr qint64 smallestMapped = 256 * 1024;

unsigned byte(std::string_view b, size_t at) { return static_cast<unsigned char>(b[at]); }
std::uint32_t u32(std::string_view b, size_t at) {
    return byte(b, at) | byte(b, at + 1) << 8 | byte(b, at + 2) << 16 |
           static_cast<std::uint32_t>(byte(b, at + 3)) << 24;
}
std::uint16_t u16(std::string_view b, size_t at) {
    return static_cast<std::uint16_t>(byte(b, at) | byte(b, at + 1) << 8);
}

// Blue, green, red (and an unused byte) per pixel into opaque 0xffRRGGBB. Each pixel is read as
// one little-endian word of four bytes, which for 24 bits takes the first byte of the next pixel
// along, masked off; the last pixel of a row is read byte by byte, as nothing may follow it.
void copyRow(const unsigned char* in, QRgb* out, std::int32_t width, size_t bytesPerPixel) {
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "pixels are read as little-endian words");
    for (std::int32_t x = 0; x + 1 < width; ++x, in += bytesPerPixel) {
        std::uint32_t word;
        std::memcpy(&word, in, sizeof word);
        out[x] = 0xFF000000u | (word & 0x00FFFFFFu);
    }
    out[width - 1] = qRgb(in[2], in[1], in[0]);
}

// The plain case: BI_RGB, 24 or 32 bits, rows padded to four bytes, bottom-up unless the height
// is negative. Anything else is left to Qt.
QImage readPlainBitmap(std::string_view b, bool& handled) {
    handled = false;
    if (b.size() < fileHeaderSize + minInfoHeaderSize || b[0] != 'B' || b[1] != 'M')
        return {};
    const std::uint32_t dataOffset = u32(b, 10);
    const std::uint32_t infoSize = u32(b, 14);
    const auto width = static_cast<std::int32_t>(u32(b, 18));
    const auto rawHeight = static_cast<std::int32_t>(u32(b, 22));
    const std::uint16_t bits = u16(b, 28);
    const std::uint32_t compression = u32(b, 30);
    if (infoSize < minInfoHeaderSize || compression != 0 || (bits != 24 && bits != 32))
        return {};
    handled = true;
    // Checked before the sign is dropped: the negation of the lowest height does not exist.
    if (width <= 0 || width > maxSide || rawHeight == 0 || rawHeight < -maxSide ||
        rawHeight > maxSide)
        return {};
    const std::int32_t height = rawHeight < 0 ? -rawHeight : rawHeight;
    const size_t bytesPerPixel = bits / 8;
    const size_t stride = (static_cast<size_t>(width) * bytesPerPixel + 3) & ~size_t(3);
    if (dataOffset > b.size() || (b.size() - dataOffset) / stride < static_cast<size_t>(height))
        return {};
    // Opaque 32-bit pixels: what the screen takes without a conversion at every paint.
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (std::int32_t y = 0; y < height; ++y) {
        const std::int32_t source = rawHeight < 0 ? y : height - 1 - y;
        const auto* in = reinterpret_cast<const unsigned char*>(b.data()) + dataOffset + static_cast<size_t>(source) * stride;
        copyRow(in, reinterpret_cast<QRgb*>(image.scanLine(y)), width, bytesPerPixel);
    }
    return image;
}

} // namespace

QImage decodeBmp(std::string_view bytes) {
    if (bytes.empty())
        return {};
    bool handled = false;
    QImage image = readPlainBitmap(bytes, handled);
    if (handled)
        return image;
    image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()),
                       "BMP");
    return image;
}

QImage loadBmp(const std::string& path) {
    // A large file is mapped rather than read: the background alone is 1.4 MB, which a read would
    // first zero and then copy at every start. A button's few kilobytes are read: unmapping them
    // again, which every processor running the program has to hear of, costs more than the copy.
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::ReadOnly) && file.size() > smallestMapped) {
        if (const uchar* mapped = file.map(0, file.size()))
            return decodeBmp({reinterpret_cast<const char*>(mapped), static_cast<size_t>(file.size())});
    }
    const auto whole = readWholeFile(path);
    return whole ? decodeBmp(*whole) : QImage();
}

} // namespace platform
