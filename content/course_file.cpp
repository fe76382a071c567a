#include "content/course_file.h"


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

} // namespace content
