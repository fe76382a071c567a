#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace records {

// Little-endian integers in byte strings, by explicit shifts so that the file forms do not depend
// on the host's byte order or on struct layout. The caller keeps `at` inside the bytes.

inline std::uint32_t readU32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

inline std::int32_t readI32(std::string_view bytes, std::size_t at) {
    return static_cast<std::int32_t>(readU32(bytes, at));
}

inline std::int16_t readI16(std::string_view bytes, std::size_t at) {
    return static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                     static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

inline void writeU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

inline void writeI32(std::string& bytes, std::size_t at, std::int32_t value) {
    writeU32(bytes, at, static_cast<std::uint32_t>(value));
}

inline void appendU32(std::string& bytes, std::uint32_t value) {
    bytes.append(4, '\0');
    writeU32(bytes, bytes.size() - 4, value);
}

} // namespace records
