#include "platform/whole_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>

namespace platform {

std::optional<std::string> readFileHead(const std::string& path, std::size_t maxBytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return std::nullopt;
    try {
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        if (!in)
            return std::nullopt;
        const std::streamoff size = in.tellg();
        if (size < 0)
            return std::nullopt;
        const auto wanted = std::min<std::uintmax_t>(static_cast<std::uintmax_t>(size), maxBytes);
        std::string bytes(static_cast<size_t>(wanted), '\0');
        in.seekg(0);
        if (wanted > 0 && !in.read(bytes.data(), static_cast<std::streamsize>(wanted)))
            return std::nullopt;
        return bytes;
    } catch (const std::exception&) {
        // A read error part-way (a device error, a file replaced under us) counts as unreadable.
        return std::nullopt;
    }
}

std::optional<std::string> readWholeFile(const std::string& path) {
    return readFileHead(path, std::numeric_limits<std::size_t>::max());
}

} // namespace platform
