#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace content {

enum class ContentKind { English = 1, Japanese = 2, FirstPoint = 3, SecondPoint = 4 };

constexpr int chapterCount = 50;
constexpr int sentencesPerChapter = 10;
constexpr int sentenceCount = chapterCount * sentencesPerChapter;
constexpr int checklistStep = 6;

// A course file is a few kilobytes. Past these limits a file is no course file, and what it holds
// is kept only so far that no text costs seconds to lay out on the screen: a line keeps its first
// 4 KiB (whole characters), and a file is read up to 16 MiB.
constexpr std::size_t courseLineLimit = 4096;
constexpr std::size_t courseFileLimit = 16 << 20;

// Course chapter 1..50 of a step 1..5 and chapter 1..10.
constexpr int courseChapter(int step, int chapter) { return (step - 1) * 10 + chapter; }

// The course text in memory: four lists of code page 932 lines, appended chapter by chapter so that
// every entry sits at a place computed from its sentence id, whether or not its file was found.
class ContentStore {
public:
    // Reads appDir + "/text/c1.txt" .. "/text/c50.txt". A file that is missing or unreadable
    // leaves its chapter empty; every other chapter keeps its place. Lines and files are cut at
    // the limits above.
    void loadCourseText(const std::string& appDir);

    // Appends the next course chapter from its file's bytes; nothing stands for a file that is
    // missing or unreadable, which leaves the chapter empty.
    void appendChapter(const std::optional<std::string>& bytes);

    // The text of kind for a sentence id; id 0 is the empty checklist place ("no sentence" for
    // the English text); an id outside the course gives empty text.
    std::string lookup(ContentKind kind, int id) const;

    // The title shown for a step and chapter: the chapter line without its first 10 bytes,
    // trimmed of bytes up to 32 at both ends; "Check Sentence" for the checklist step.
    std::string chapterTitle(int step, int chapter) const;

    const std::vector<std::string>& chapterLines() const { return chapters_; }

private:
    static std::string entry(const std::vector<std::string>& list, long long position);

    std::vector<std::string> chapters_;  // Memo_chapter
    std::vector<std::string> sentences_; // Memo_sentence
    std::vector<std::string> japanese_;  // Memo_wabun
    std::vector<std::string> points_;    // Memo_point, two per sentence
};

} // namespace content
