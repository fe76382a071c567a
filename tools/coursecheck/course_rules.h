#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The rules a chapter file of the course must follow before the program and the voice generator can
// rely on it. Everything works on the raw bytes of the files (code page 932, CR LF line ends).
namespace coursecheck {

inline constexpr int kChapterCount = 50;
inline constexpr int kSentencesPerChapter = 10;
inline constexpr int kLinesPerChapter = 1 + 5 * kSentencesPerChapter; // lines 0 .. 50

inline constexpr int kMaxTitleWidth = 52;       // 26 full-width characters
inline constexpr int kMaxTranslationWidth = 72; // 36 full-width characters
inline constexpr int kMaxPointWidth = 44;       // 22 full-width characters
inline constexpr int kMaxEnglishLength = 48;
inline constexpr int kMinEnglishWords = 2;
inline constexpr int kMaxEnglishWords = 12;

// Line number of a finding about a file as a whole (missing, wrong number of lines).
inline constexpr int kWholeFile = -1;

struct Finding {
    std::string file; // "c7.txt"
    int line;         // counted from 0 like the file format (0 = title line), or kWholeFile
    std::string message;

    bool operator==(const Finding&) const = default;
};

// "c7.txt:12: message", or "c7.txt: message" for a whole-file finding.
std::string formatFinding(const Finding& finding);

std::string chapterFileName(int chapter);

// Where an English sentence stands, for the course-wide duplicate check.
struct EnglishPlace {
    std::string sentence;
    std::string file;
    int line;
    std::string points; // the block's point lines (CP932), for the check of names
};

struct ChapterResult {
    std::vector<Finding> findings;
    std::vector<EnglishPlace> english; // every non-empty English line of the chapter
};

// Checks one chapter file (chapter 1 .. 50) given its raw bytes.
ChapterResult checkChapter(int chapter, std::string_view bytes);

// One finding at every place of a sentence that occurs more than once, naming the other places.
std::vector<Finding> findDuplicateSentences(const std::vector<EnglishPlace>& places);

// One finding for each word whose first sentence (in course order) has no point line that shows
// it, neither its own nor one of an earlier sentence: the Japanese names and every other proper
// noun (how they are spelt), the words of `spelledWords` (loanwords, closed compounds and words
// whose sound hides their spelling), the contractions whose 'll or 'd fades and the homophones.
std::vector<Finding> findUnshownWords(const std::vector<EnglishPlace>& places,
                                      const std::vector<std::string>& spelledWords);

// Reads a list of words, one a line; blank lines and lines starting with '#' are skipped. False
// when the file cannot be read.
bool readWordList(const std::filesystem::path& path, std::vector<std::string>& words);

struct CourseResult {
    int filesPresent = 0;
    std::vector<Finding> findings; // ordered by chapter, then line
};

// Checks c1.txt .. c50.txt in `textDir` and the sentences across all of them; `spelledWords` as
// for findUnshownWords.
CourseResult checkCourse(const std::filesystem::path& textDir,
                         const std::vector<std::string>& spelledWords);

} // namespace coursecheck
