#pragma once
#include <optional>
#include <string>

namespace platform {

// The whole of a regular file, or nothing when it is missing, is no regular file (a folder of
// that name) or cannot be read to its end.
std::optional<std::string> readWholeFile(const std::string& path);

} // namespace platform
