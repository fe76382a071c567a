// A course file as a disk may hold it: any bytes, as chapter 1 and chapter 50 of the course.
#include "content/content_store.h"
#include "content/course_file.h"
#include "fuzz_check.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// The lines are the bytes between the line ends, all of them and nothing else.
void requireLinesCover(std::string_view bytes, const std::vector<std::string>& lines) {
    std::string withoutEnds;
    std::size_t ends = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!isLineEnd(bytes[i])) {
            withoutEnds += bytes[i];
            continue;
        }
        ++ends;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
    }
    std::string joined;
    for (const std::string& line : lines) {
        for (char c : line)
            FUZZ_REQUIRE(!isLineEnd(c));
        joined += line;
    }
    FUZZ_REQUIRE(joined == withoutEnds);
    const bool openLast = !bytes.empty() && !isLineEnd(bytes.back());
    FUZZ_REQUIRE(lines.size() == ends + (openLast ? 1 : 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = content::splitCourseLines(bytes);
    requireLinesCover(bytes, lines);

    content::ContentStore store;
    for (int n = 1; n <= content::chapterCount; ++n)
        store.appendChapter(n == 1 || n == content::chapterCount ? std::optional(bytes) : std::nullopt);
    FUZZ_REQUIRE(store.chapterLines().size() == content::chapterCount);
    // Each entry is its line, or the line's start when the line is beyond reason.
    const auto isLine = [&](const std::string& entry, std::size_t n) {
        const std::string line = n < lines.size() ? lines[n] : std::string();
        if (line.size() <= content::courseLineLimit)
            return entry == line;
        return entry.size() <= content::courseLineLimit && entry.size() + 1 >= content::courseLineLimit &&
               line.compare(0, entry.size(), entry) == 0;
    };
    for (int i = 1; i <= content::sentencesPerChapter; ++i) {
        for (int id : {i, 490 + i}) {
            FUZZ_REQUIRE(isLine(store.lookup(content::ContentKind::English, id), 5 * i - 2));
            FUZZ_REQUIRE(isLine(store.lookup(content::ContentKind::Japanese, id), 5 * i - 3));
            FUZZ_REQUIRE(isLine(store.lookup(content::ContentKind::FirstPoint, id), 5 * i - 1));
            FUZZ_REQUIRE(isLine(store.lookup(content::ContentKind::SecondPoint, id), 5 * i));
        }
        // The chapters between have no file: their sentences are empty, and their places kept.
        FUZZ_REQUIRE(store.lookup(content::ContentKind::English, 10 + i).empty());
    }
    for (int step = 1; step <= 6; ++step)
        for (int chapter = 1; chapter <= 10; ++chapter) {
            const std::string title = store.chapterTitle(step, chapter);
            FUZZ_REQUIRE(title.empty() || (static_cast<unsigned char>(title.front()) > 32 &&
                                           static_cast<unsigned char>(title.back()) > 32));
        }
    return 0;
}
