#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace content {

// Lines of a course file as raw code page 932 bytes. CR LF, a lone CR and a lone LF each end a line,
// so LF followed by CR ends two. A final line end does not open another line.
std::vector<std::string> splitCourseLines(std::string_view bytes);

} // namespace content
