#pragma once
#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// The whole of a regular file, or nothing when it is missing, is no regular file (a folder of
// that name) or cannot be read to its end.
std::optional<std::string> readWholeFile(const std::string& path);

// At most the first maxBytes of a regular file (all of a shorter one), so that an outsized file
// costs no more than what is wanted of it; nothing as for readWholeFile.
std::optional<std::string> readFileHead(const std::string& path, std::size_t maxBytes);

} // namespace platform
