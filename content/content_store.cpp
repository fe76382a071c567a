#include "content/content_store.h"

#include "content/course_file.h"
#include "platform/cp932_characters.h"
#include "platform/whole_file.h"

#include <utility>

namespace content {
namespace {

constexpr int linesRead = 51;

// At most courseLineLimit bytes, ending on a whole code page 932 character.
void cutToLimit(std::string& line) {
    if (line.size() <= courseLineLimit)
        return;
    std::size_t kept = 0;
    while (kept < line.size()) {
        const std::size_t width = platform::isLeadByte(static_cast<unsigned char>(line[kept])) ? 2 : 1;
        if (kept + width > courseLineLimit)
            break;
        kept += width;
    }
    line.resize(kept);
}

// Each line is taken once.
std::string takeLine(std::vector<std::string>& lines, int n) {
    return n < static_cast<int>(lines.size()) ? std::move(lines[n]) : std::string();
}

bool isTrimmedByte(char c) { return static_cast<unsigned char>(c) <= 32; }

} // namespace

void ContentStore::loadCourseText(const std::string& appDir) {
    chapters_.clear();
    sentences_.clear();
    japanese_.clear();
    points_.clear();
    for (int n = 1; n <= chapterCount; ++n)
        appendChapter(platform::readFileHead(appDir + "/text/c" + std::to_string(n) + ".txt",
                                             courseFileLimit));
}

void ContentStore::appendChapter(const std::optional<std::string>& bytes) {
    std::vector<std::string> lines;
    if (bytes) {
        lines = splitCourseLines(*bytes);
        if (lines.size() > linesRead)
            lines.resize(linesRead);
        for (std::string& line : lines)
            cutToLimit(line);
    }
    // A missing file contributes empty lines: the same count as a present one.
    chapters_.push_back(takeLine(lines, 0));
    for (int i = 1; i <= sentencesPerChapter; ++i)
        sentences_.push_back(takeLine(lines, 5 * i - 2));
    for (int i = 1; i <= sentencesPerChapter; ++i)
        japanese_.push_back(takeLine(lines, 5 * i - 3));
    for (int i = 1; i <= sentencesPerChapter; ++i) {
        points_.push_back(takeLine(lines, 5 * i - 1));
        points_.push_back(takeLine(lines, 5 * i));
    }
}

std::string ContentStore::entry(const std::vector<std::string>& list, long long position) {
    if (position < 0 || position >= static_cast<long long>(list.size()))
        return {};
    return list[static_cast<size_t>(position)];
}

std::string ContentStore::lookup(ContentKind kind, int id) const {
    if (id == 0)
        return kind == ContentKind::English ? std::string("no sentence") : std::string();
    const long long n = id;
    switch (kind) {
    case ContentKind::English:
        return entry(sentences_, n - 1);
    case ContentKind::Japanese:
        return entry(japanese_, n - 1);
    case ContentKind::FirstPoint:
        return entry(points_, 2 * n - 2);
    case ContentKind::SecondPoint:
        return entry(points_, 2 * n - 1);
    }
    return {};
}

std::string ContentStore::chapterTitle(int step, int chapter) const {
    if (step == checklistStep)
        return "Check Sentence";
    std::string line = entry(chapters_, static_cast<long long>(step - 1) * 10 + chapter - 1);
    line.erase(0, std::min<size_t>(10, line.size()));
    size_t begin = 0;
    size_t end = line.size();
    while (begin < end && isTrimmedByte(line[begin]))
        ++begin;
    while (end > begin && isTrimmedByte(line[end - 1]))
        --end;
    return line.substr(begin, end - begin);
}

} // namespace content
