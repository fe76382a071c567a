#include "content/course_file.h"


namespace content {

std::vector<std::string> splitCourseLines(std::string_view bytes) {
    // Whole lines at a time: the course is read at every start.
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines.emplace_back(bytes.substr(start, end - start));
        if (end == bytes.size())
            break;
        start = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

} // namespace content
