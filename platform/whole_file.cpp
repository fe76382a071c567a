#include "platform/whole_file.h"

#include <filesystem>
#include <fstream>

namespace platform {

std::optional<std::string> readWholeFile(const std::string& path) {
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
        std::string bytes(static_cast<size_t>(size), '\0');
        in.seekg(0);
        if (size > 0 && !in.read(bytes.data(), size))
            return std::nullopt;
        return bytes;
    } catch (const std::exception&) {
        // A read error part-way (a device error, a file replaced under us) counts as unreadable.
        return std::nullopt;
    }
}

} // namespace platform
