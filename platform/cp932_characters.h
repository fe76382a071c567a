#pragma once
#include <cstddef>
#include <string_view>

namespace platform {

// A code page 932 character of two bytes: a lead byte and a trail byte after it. No trail byte is
// below 0x40, so a blank or an end mark is always a character of its own.
inline bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
inline bool isTrailByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// The length of the character at pos; a lead byte without a trail byte is a character alone.
inline std::size_t characterLength(std::string_view text, std::size_t pos) {
    const bool pair = pos + 1 < text.size() && isLeadByte(static_cast<unsigned char>(text[pos])) &&
                      isTrailByte(static_cast<unsigned char>(text[pos + 1]));
    return pair ? 2 : 1;
}

} // namespace platform
