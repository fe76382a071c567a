#include "platform_qt/bmp_file.h"
#include "temp_app_dir.h"

#include <gtest/gtest.h>

namespace {

QImage pattern(int w, int h, QImage::Format format) {
    QImage image(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixelColor(x, y, QColor(x * 40 % 256, y * 70 % 256, (x + y) * 20 % 256));
    return image;
}

bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

std::string le32(std::uint32_t v) {
    return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

// A 2 x 2 top-down 32-bit bitmap, written by hand.
std::string topDown32() {
    std::string info = le32(40) + le32(2) + le32(static_cast<std::uint32_t>(-2)) +
                       std::string("\x01\x00\x20\x00", 4) + le32(0) + le32(16) + le32(0) +
                       le32(0) + le32(0) + le32(0);
    std::string pixels = std::string("\x00\x00\xff\x00", 4) + std::string("\x00\xff\x00\x00", 4) +
                         std::string("\xff\x00\x00\x00", 4) + std::string("\x10\x20\x30\x00", 4);
    return "BM" + le32(14 + 40 + 16) + le32(0) + le32(14 + 40) + info + pixels;
}

} // namespace

TEST(LoadBmp, ReadsWhatQtWritesWithRowPadding) {
    TempAppDir dir;
    // Widths around the groups of four pixels the rows are read in.
    for (const QSize size : {QSize(3, 2), QSize(1, 1), QSize(4, 2), QSize(5, 3), QSize(8, 1), QSize(61, 7)}) {
        const QImage original = pattern(size.width(), size.height(), QImage::Format_RGB888);
        original.save(QString::fromStdString(dir.file("bmp/p.bmp")), "BMP");
        const QImage read = platform::loadBmp(dir.file("bmp/p.bmp"));
        EXPECT_TRUE(samePixels(read, original)) << size.width() << "x" << size.height();
    }
}

TEST(LoadBmp, TopDownThirtyTwoBit) {
    TempAppDir dir;
    dir.write("bmp/t.bmp", topDown32());
    const QImage read = platform::loadBmp(dir.file("bmp/t.bmp"));
    ASSERT_EQ(read.size(), QSize(2, 2));
    EXPECT_EQ(read.pixelColor(0, 0), QColor(255, 0, 0)) << "first row is the top one";
    EXPECT_EQ(read.pixelColor(1, 0), QColor(0, 255, 0));
    EXPECT_EQ(read.pixelColor(0, 1), QColor(0, 0, 255));
    EXPECT_EQ(read.pixelColor(1, 1), QColor(0x30, 0x20, 0x10));
}

TEST(LoadBmp, OtherKindsGoThroughQt) {
    TempAppDir dir;
    QImage indexed = pattern(5, 4, QImage::Format_RGB32).convertToFormat(QImage::Format_Indexed8);
    indexed.save(QString::fromStdString(dir.file("bmp/i.bmp")), "BMP");
    EXPECT_TRUE(samePixels(platform::loadBmp(dir.file("bmp/i.bmp")), indexed));
}

TEST(LoadBmp, BrokenFilesGiveNothing) {
    TempAppDir dir;
    const std::string good = topDown32();
    dir.write("bmp/short.bmp", good.substr(0, good.size() - 3));
    dir.write("bmp/text.bmp", "hello, not a bitmap");
    dir.write("bmp/empty.bmp", "");
    for (const char* name : {"bmp/short.bmp", "bmp/text.bmp", "bmp/empty.bmp", "bmp/none.bmp", "bmp"})
        EXPECT_TRUE(platform::loadBmp(dir.file(name)).isNull()) << name;
}

namespace {

// A plain bitmap's headers as a file may state them, followed by `pixels` bytes.
std::string plainBitmap(std::int32_t width, std::int32_t height, std::size_t pixels,
                        std::uint32_t dataOffset = 54) {
    const std::string info = le32(40) + le32(static_cast<std::uint32_t>(width)) +
                             le32(static_cast<std::uint32_t>(height)) +
                             std::string("\x01\x00\x18\x00", 4) + std::string(24, '\0');
    return "BM" + le32(static_cast<std::uint32_t>(54 + pixels)) + le32(0) + le32(dataOffset) +
           info + std::string(pixels, '\x40');
}

} // namespace

TEST(DecodeBmp, HeadersThatPromiseMoreThanTheFileHoldsGiveNothing) {
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"the lowest height, whose sign cannot be dropped", plainBitmap(60, INT32_MIN, 10800)},
        {"more rows than there are bytes", plainBitmap(800, 600, 1000)},
        {"wider than any picture", plainBitmap(16385, 1, 49156)},
        {"pixels beyond the end of the file", plainBitmap(2, 2, 16, 1u << 30)},
        {"no width", plainBitmap(0, 2, 16)},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(platform::decodeBmp(c.bytes).isNull()) << c.what;
    EXPECT_EQ(platform::decodeBmp(plainBitmap(2, -2, 16)).size(), QSize(2, 2)) << "the same, told true";
}
