#pragma once
#include <cstdint>
#include <string>

namespace records {

// Colours as the stored label writes them: red + green*256 + blue*65536, or a system colour
// (0x80000000 + index).
using StoredColor = std::int32_t;
constexpr StoredColor systemColor(int index) { return static_cast<StoredColor>(0x80000000u + index); }
constexpr StoredColor windowTextColor = systemColor(8);
constexpr StoredColor rgb(int r, int g, int b) { return r + g * 256 + b * 65536; }

enum FontStyle : std::uint8_t { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

// A label's font as it is kept in the save file: the face name stays exactly as stored (code page
// 932 bytes) even where the face drawn is another one.
struct FontSpec {
    std::string name;            // code page 932
    int charset = 1;             // 128 = Shift-JIS
    StoredColor color = windowTextColor;
    int height = -12;            // negative: character height in pixels
    int size = 9;                // points
    std::string pitch = "fpDefault";
    std::uint8_t style = 0;      // FontStyle bits

    int pixels() const { return height < 0 ? -height : height; }

    bool operator==(const FontSpec&) const = default;
};

} // namespace records
