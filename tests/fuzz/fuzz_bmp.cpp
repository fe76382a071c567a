// A bitmap file as a disk may hold it: any bytes, read as the installation's bitmaps are.
#include "fuzz_check.h"
#include "platform_qt/bmp_file.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QImage image = platform::decodeBmp(std::string_view(reinterpret_cast<const char*>(data), size));
    if (image.isNull())
        return 0;
    FUZZ_REQUIRE(image.width() > 0 && image.height() > 0);
    // Every pixel of what came back is there to be drawn.
    volatile QRgb sum = 0;
    for (int y = 0; y < image.height(); ++y)
        sum = sum + image.pixel(0, y) + image.pixel(image.width() - 1, y);
    return 0;
}
