#pragma once
#include <QImage>
#include <string>
#include <string_view>

namespace platform {

// Reads a bitmap file. Uncompressed 24- and 32-bit bitmaps, which is what the installation ships,
// are read straight into an image row by row; any other kind goes through Qt's reader. A file
// that is missing or is no bitmap gives a null image.
QImage loadBmp(const std::string& path);

// The same for the bytes of a bitmap already in memory (a resource of the program).
QImage decodeBmp(std::string_view bytes);

} // namespace platform
