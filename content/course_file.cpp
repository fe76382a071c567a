#include "content/course_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace content {

std::vector<std::string> splitCourseLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            current += c;
            continue;
        }
        lines.push_back(std::move(current));
        current.clear();
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
    }
    if (!current.empty())
        lines.push_back(std::move(current));
    return lines;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return std::nullopt;
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return std::nullopt;
        std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (in.bad())
            return std::nullopt;
        return bytes;
    } catch (const std::exception&) {
        // A read error part-way (a device error, a file replaced under us) empties the chapter.
        return std::nullopt;
    }
}

} // namespace content
