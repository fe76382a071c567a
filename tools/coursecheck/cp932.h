#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace coursecheck {

// Byte-level view of code page 932. The course files are read as raw bytes; lengths are counted in
// bytes because in this code page a byte is exactly one column on screen (single-byte characters are
// half-width, double-byte ones full-width).

// True for the first byte of a double-byte character.
bool isCp932LeadByte(unsigned char b);

// Length in bytes of the character that starts at `pos`: 2 for a lead byte followed by another byte,
// otherwise 1 (a lead byte at the very end counts as one broken byte).
std::size_t cp932CharLength(std::string_view bytes, std::size_t pos);

struct Cp932Decoding {
    enum class Problem { None, InvalidByte, TruncatedCharacter, UserDefinedCharacter };
    Problem problem = Problem::None;
    std::size_t offset = 0; // byte offset of the first bad character in the input
    std::string utf8;       // the decoded text up to the first problem (all of it when None)
};

// Decodes strictly with iconv: an invalid or unmappable byte stops the decoding. Characters from
// the user-defined rows are rejected too: they decode to private-use code points that no font shows.
Cp932Decoding decodeCp932(std::string_view bytes);

// True when `bytes` is well-formed UTF-8 with at least one three- or four-byte character (as all
// Japanese text is): the sign of a file saved without converting it to code page 932.
bool looksLikeUtf8(std::string_view bytes);

} // namespace coursecheck
