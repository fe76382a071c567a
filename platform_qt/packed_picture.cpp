#include "platform_qt/packed_picture.h"

#include <QResource>

#include <cstdint>
#include <cstring>

namespace platform {
namespace {

constexpr char magic[4] = {'Y', 'P', 'I', 'C'};
constexpr std::size_t headerSize = 16; // magic, width, height, pixel format
constexpr std::uint32_t maxPackedSide = 16384;

void putU32(QByteArray& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t getU32(const unsigned char* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

bool isOpaque(const QImage& image) {
    if (!image.hasAlphaChannel())
        return true;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(row[x]) != 255)
                return false;
    }
    return true;
}

} // namespace

QByteArray packPicture(const QImage& image) {
    if (image.isNull())
        return {};
    const QImage::Format format =
        isOpaque(image) ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
    const QImage pixels = image.convertToFormat(format);
    QByteArray out(magic, sizeof magic);
    putU32(out, static_cast<std::uint32_t>(pixels.width()));
    putU32(out, static_cast<std::uint32_t>(pixels.height()));
    putU32(out, static_cast<std::uint32_t>(format));
    for (int y = 0; y < pixels.height(); ++y)
        out.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), pixels.width() * 4);
    return out;
}

QImage unpackPicture(const unsigned char* bytes, std::size_t size) {
    if (!bytes || size < headerSize || std::memcmp(bytes, magic, sizeof magic) != 0)
        return {};
    const std::uint32_t width = getU32(bytes + 4);
    const std::uint32_t height = getU32(bytes + 8);
    const std::uint32_t format = getU32(bytes + 12);
    if (width == 0 || height == 0 || width > maxPackedSide || height > maxPackedSide ||
        (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) ||
        (size - headerSize) / 4 / width < height)
        return {};
    const unsigned char* pixels = bytes + headerSize;
    const QImage shared(pixels, static_cast<int>(width), static_cast<int>(height),
                        static_cast<qsizetype>(width) * 4, static_cast<QImage::Format>(format));
    // Pixels are read as whole words, which must lie on a word's boundary.
    return reinterpret_cast<std::uintptr_t>(pixels) % alignof(QRgb) == 0 ? shared : shared.copy();
}

QImage builtInPicture(const QString& resource) {
    const QResource packed(resource);
    if (!packed.isValid())
        return {};
    if (packed.compressionAlgorithm() == QResource::NoCompression)
        return unpackPicture(packed.data(), static_cast<std::size_t>(packed.size()));
    // A compressed resource has no lasting bytes to share: the picture takes a copy.
    const QByteArray bytes = packed.uncompressedData();
    return unpackPicture(reinterpret_cast<const unsigned char*>(bytes.constData()),
                         static_cast<std::size_t>(bytes.size()))
        .copy();
}

} // namespace platform
