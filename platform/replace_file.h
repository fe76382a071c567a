#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Why a file could not be replaced: the step that failed and the system's words for it.
struct FileFault {
    enum Step { Create, Write, Commit } step = Create;
    std::string path;
    std::string reason;
};

// Replaces the file at path with bytes, or leaves the old file whole: the bytes go to a
// temporary file beside it, which is renamed over the old one only when everything was written.
std::optional<FileFault> replaceFile(const std::string& path, std::string_view bytes);

} // namespace platform
