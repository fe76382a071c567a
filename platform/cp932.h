#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Course and save files hold code page 932 bytes; only display converts them.
// Bytes that do not decode become U+FFFD, one per offending byte, so that a damaged file never
// shifts or swallows the text around it.
std::string cp932ToUtf8(std::string_view bytes);

// Strict decoding: nothing when any byte sequence is invalid.
std::optional<std::string> cp932ToUtf8Strict(std::string_view bytes);

// Typed text back to code page 932 for byte comparisons; nothing when a character has no
// code page 932 form.
std::optional<std::string> utf8ToCp932(std::string_view utf8);

// Typed text to code page 932 whatever it holds: a character with no code page 932 form becomes
// the full-width "？", which no English sentence holds and which is no sentence punctuation.
std::string utf8ToCp932Lossy(std::string_view utf8);

} // namespace platform
