#include "course_rules.h"

#include "cp932.h"
#include "dictation.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <system_error>

namespace coursecheck {

namespace {

constexpr std::string_view kPrefixExample = "[S1-C01]  ";
constexpr std::size_t kPrefixLength = kPrefixExample.size(); // the program cuts this many bytes
constexpr std::string_view kIdeographicSpace = "\x81\x40";

std::string hexByte(unsigned char b) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", b);
    return buf;
}

// Quotes raw bytes for a message: printable ASCII as is, anything else as \xNN, so that a message
// never puts code page 932 bytes on a UTF-8 terminal.
std::string quoteBytes(std::string_view bytes) {
    std::string out = "\"";
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b <= 0x7E) {
            out += c;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", b);
            out += buf;
        }
    }
    return out + "\"";
}

std::string widthNote(std::size_t width, int limit) {
    return " (display width " + std::to_string(width) + ", at most " + std::to_string(limit) + ")";
}

bool isBlankAt(std::string_view text, std::size_t pos, std::size_t len) {
    return (len == 1 && text[pos] == ' ') || (len == 2 && text.substr(pos, 2) == kIdeographicSpace);
}

bool isAllBlanks(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t len = cp932CharLength(text, pos);
        if (!isBlankAt(text, pos, len))
            return false;
        pos += len;
    }
    return true;
}

std::vector<std::string> englishProblems(std::string_view s) {
    std::vector<std::string> problems;
    if (s.empty()) {
        problems.push_back("English sentence is empty");
        return problems;
    }
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x20 || b > 0x7E) {
            problems.push_back("English sentence has the byte " + hexByte(b) + " at column " +
                               std::to_string(i + 1) + ": only printable ASCII is allowed");
            break;
        }
    }
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        problems.push_back("English sentence is only blanks");
        return problems;
    }
    const std::size_t last = s.find_last_not_of(' ');
    if (first > 0)
        problems.push_back("English sentence starts with a blank");
    if (last + 1 < s.size())
        problems.push_back("English sentence ends with a blank");
    const std::string_view core = s.substr(first, last + 1 - first);
    if (const std::size_t twin = core.find("  "); twin != std::string_view::npos)
        problems.push_back("English sentence has more than one blank between words at column " +
                           std::to_string(first + twin + 1));

    int words = 0;
    for (std::size_t i = 0; i < core.size(); ++i)
        if (core[i] != ' ' && (i == 0 || core[i - 1] == ' '))
            ++words;
    if (words < kMinEnglishWords || words > kMaxEnglishWords)
        problems.push_back("English sentence has " + std::to_string(words) +
                           (words == 1 ? " word" : " words") + ", expected " +
                           std::to_string(kMinEnglishWords) + " to " +
                           std::to_string(kMaxEnglishWords));
    if (s.size() > static_cast<std::size_t>(kMaxEnglishLength))
        problems.push_back("English sentence has " + std::to_string(s.size()) +
                           " characters, at most " + std::to_string(kMaxEnglishLength));

    if (std::string_view(".?!").find(core.back()) == std::string_view::npos)
        problems.push_back("English sentence does not end in '.', '?' or '!'");
    for (std::size_t i = 0; i + 1 < core.size(); ++i) {
        const char c = core[i];
        // A short reply may hold two sentences ("No, I'm not. I'm his cousin."): a mark that
        // ends a sentence is followed by one blank and a capital letter.
        if ((c == '.' || c == '?' || c == '!') && endsInnerSentence(core, i))
            continue;
        if (c == '?' || c == '!') {
            problems.push_back(std::string("English sentence has '") + c +
                               "' before its end, at column " + std::to_string(first + i + 1));
            break;
        }
        if (c == '.' && !isAbbreviationDot(core, i)) {
            problems.push_back("English sentence has '.' before its end, at column " +
                               std::to_string(first + i + 1) +
                               " (only in Mr. Mrs. Ms. Dr. a.m. p.m.)");
            break;
        }
    }
    if (!((core.front() >= 'A' && core.front() <= 'Z') || core.front() == '"'))
        problems.push_back(
            "English sentence does not start with an upper-case letter or a double quote");
    return problems;
}

class ChapterChecker {
  public:
    ChapterChecker(int chapter, std::string_view bytes)
        : chapter_(chapter), file_(chapterFileName(chapter)), bytes_(bytes) {}

    ChapterResult run() {
        splitLines();
        const int count = static_cast<int>(lines_.size());
        if (count != kLinesPerChapter)
            add(kWholeFile, "file has " + std::to_string(count) + " lines, expected " +
                                std::to_string(kLinesPerChapter) +
                                (count > kLinesPerChapter ? ": nothing may follow line 50"
                                                          : " (lines 0 to 50)"));
        const int checked = std::min(count, kLinesPerChapter);
        for (int n = 0; n < checked; ++n)
            checkEncoding(n);
        if (checked > 0)
            checkTitleLine();
        for (int i = 1; i <= kSentencesPerChapter; ++i)
            checkBlock(i, checked);
        return std::move(result_);
    }

  private:
    void add(int line, std::string message) {
        result_.findings.push_back({file_, line, std::move(message)});
    }

    // Splits on every CR LF, lone CR and lone LF, so that line numbers stay meaningful in a file
    // with the wrong line ends; each wrong kind is reported once, at its first line.
    void splitLines() {
        struct Tally {
            int first = -1;
            int count = 0;
        };
        Tally loneLf, loneCr;
        auto note = [](Tally& t, int line) {
            if (t.first < 0)
                t.first = line;
            ++t.count;
        };
        std::size_t pos = 0;
        while (pos < bytes_.size()) {
            const int n = static_cast<int>(lines_.size());
            const std::size_t end = bytes_.find_first_of("\r\n", pos);
            if (end == std::string_view::npos) {
                lines_.push_back(bytes_.substr(pos));
                add(n, "last line does not end in CR LF");
                break;
            }
            lines_.push_back(bytes_.substr(pos, end - pos));
            if (bytes_[end] == '\r' && end + 1 < bytes_.size() && bytes_[end + 1] == '\n') {
                pos = end + 2;
            } else {
                note(bytes_[end] == '\r' ? loneCr : loneLf, n);
                pos = end + 1;
            }
        }
        auto report = [this](const Tally& t, const std::string& what) {
            if (t.count == 0)
                return;
            std::string message = "line ends in " + what;
            if (t.count > 1)
                message += " (" + std::to_string(t.count) + " lines in this file)";
            add(t.first, message);
        };
        report(loneLf, "LF without CR");
        report(loneCr, "CR without LF");
    }

    void checkEncoding(int n) {
        const std::string_view line = lines_[n];
        // Japanese in UTF-8 may well pass as (garbled) CP932, so catch an unconverted file first.
        // Real CP932 text is practically never valid UTF-8: its lead bytes 0x81..0x9F cannot start
        // a UTF-8 sequence and its two-byte characters are too short for the three-byte ones.
        if (looksLikeUtf8(line)) {
            add(n, "line looks like UTF-8: convert the file to CP932");
            return;
        }
        const Cp932Decoding d = decodeCp932(line);
        const std::string column = std::to_string(d.offset + 1);
        switch (d.problem) {
        case Cp932Decoding::Problem::None:
            break;
        case Cp932Decoding::Problem::InvalidByte:
            add(n, "not valid CP932: byte " + hexByte(static_cast<unsigned char>(line[d.offset])) +
                       " at column " + column);
            break;
        case Cp932Decoding::Problem::TruncatedCharacter:
            add(n, "not valid CP932: double-byte character cut off at the end of the line");
            break;
        case Cp932Decoding::Problem::UserDefinedCharacter:
            add(n, "user-defined CP932 character at column " + column + ": no font shows it");
            break;
        }
    }

    void checkTitleLine() {
        const std::string_view line = lines_[0];
        const int step = (chapter_ - 1) / 10 + 1;
        char expected[32];
        std::snprintf(expected, sizeof expected, "[S%d-C%02d]  ", step, (chapter_ - 1) % 10 + 1);
        if (line.size() < kPrefixLength) {
            add(0, std::string("title line is shorter than its prefix \"") + expected + "\"");
            return;
        }
        const std::string_view prefix = line.substr(0, kPrefixLength);
        if (prefix != expected)
            add(0, "title line starts with " + quoteBytes(prefix) + ", expected \"" + expected +
                       "\" (10 bytes)");

        // The program drops the first 10 bytes: that cut must fall between two characters.
        std::size_t pos = 0;
        while (pos < kPrefixLength)
            pos += cp932CharLength(line, pos);
        if (pos != kPrefixLength)
            add(0, "cutting the 10-byte prefix splits a double-byte character");

        const std::string_view title = line.substr(kPrefixLength);
        if (isAllBlanks(title)) {
            add(0, "title is empty");
            return;
        }
        if (title.size() > static_cast<std::size_t>(kMaxTitleWidth))
            add(0, "title longer than 26 characters" + widthNote(title.size(), kMaxTitleWidth));
        checkJapanese(0, title, "title");
    }

    void checkBlock(int i, int available) {
        const int numberLine = 5 * i - 4;
        const int translationLine = 5 * i - 3;
        const int englishLine = 5 * i - 2;
        const int pointLine1 = 5 * i - 1;
        const int pointLine2 = 5 * i;

        if (numberLine < available) {
            char expected[32];
            std::snprintf(expected, sizeof expected, "%03d", (chapter_ - 1) * 10 + i);
            if (lines_[numberLine] != expected)
                add(numberLine, "sentence number is " + quoteBytes(lines_[numberLine]) +
                                    ", expected \"" + expected + "\"");
        }
        if (translationLine < available) {
            const std::string_view t = lines_[translationLine];
            if (t.empty()) {
                add(translationLine, "translation is empty");
            } else {
                if (t.size() > static_cast<std::size_t>(kMaxTranslationWidth))
                    add(translationLine, "translation longer than 36 characters" +
                                             widthNote(t.size(), kMaxTranslationWidth));
                checkJapanese(translationLine, t, "translation");
            }
        }
        if (englishLine < available) {
            const std::string_view e = lines_[englishLine];
            std::vector<std::string> problems = englishProblems(e);
            // Dictation and translation are judged on a well-formed sentence only.
            const bool wellFormed = problems.empty();
            if (wellFormed)
                problems = dictationProblems(e);
            for (auto& problem : problems)
                add(englishLine, std::move(problem));
            if (!e.empty()) {
                std::string points;
                for (const int n : {pointLine1, pointLine2})
                    if (n < available)
                        points += std::string(lines_[n]) + " ";
                result_.english.push_back({std::string(e), file_, englishLine, std::move(points)});
            }
            if (wellFormed && translationLine < available && !lines_[translationLine].empty())
                for (auto& problem : pairingProblems(e, lines_[translationLine]))
                    add(translationLine, std::move(problem));
        }
        const std::pair<int, const char*> points[] = {{pointLine1, "first point line"},
                                                      {pointLine2, "second point line"}};
        for (const auto& [n, what] : points) {
            if (n >= available)
                continue;
            const std::string_view p = lines_[n];
            if (p.empty()) {
                if (n == pointLine1)
                    add(n, "first point line is empty");
                continue;
            }
            if (p.size() > static_cast<std::size_t>(kMaxPointWidth))
                add(n, std::string(what) + " longer than 22 characters" +
                           widthNote(p.size(), kMaxPointWidth));
            checkJapanese(n, p, what);
            if (std::string problem = typedMarkProblem(p); !problem.empty())
                add(n, std::move(problem));
        }
    }

    // Lines shown to the learner as Japanese text: no control characters, no stray blanks at
    // either end (they would shift the text on screen and are invisible to the writer).
    void checkJapanese(int n, std::string_view text, const std::string& what) {
        bool controlReported = false;
        std::size_t lastStart = 0, lastLength = 0;
        for (std::size_t pos = 0; pos < text.size();) {
            const std::size_t len = cp932CharLength(text, pos);
            const auto b = static_cast<unsigned char>(text[pos]);
            if ((b < 0x20 || b == 0x7F) && !controlReported) {
                add(n, what + " contains the control character " + hexByte(b) + " at column " +
                           std::to_string(pos + 1));
                controlReported = true;
            }
            lastStart = pos;
            lastLength = len;
            pos += len;
        }
        if (text.empty())
            return;
        if (isBlankAt(text, 0, cp932CharLength(text, 0)))
            add(n, what + " starts with a blank");
        if (isBlankAt(text, lastStart, lastLength))
            add(n, what + " ends with a blank");
    }

    int chapter_;
    std::string file_;
    std::string_view bytes_;
    std::vector<std::string_view> lines_;
    ChapterResult result_;
};

// 1 .. 50 for the course's own file names, a larger number for anything else (sorted last).
int chapterOrder(const std::string& file) {
    for (int n = 1; n <= kChapterCount; ++n)
        if (file == chapterFileName(n))
            return n;
    return kChapterCount + 1;
}

bool readFile(const std::filesystem::path& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return false;
    out = std::move(buffer).str();
    return true;
}

} // namespace

std::string formatFinding(const Finding& finding) {
    if (finding.line == kWholeFile)
        return finding.file + ": " + finding.message;
    return finding.file + ":" + std::to_string(finding.line) + ": " + finding.message;
}

std::string chapterFileName(int chapter) { return "c" + std::to_string(chapter) + ".txt"; }

ChapterResult checkChapter(int chapter, std::string_view bytes) {
    return ChapterChecker(chapter, bytes).run();
}

std::vector<Finding> findDuplicateSentences(const std::vector<EnglishPlace>& places) {
    std::map<std::string, std::vector<const EnglishPlace*>> bySentence;
    for (const auto& p : places)
        bySentence[p.sentence].push_back(&p);
    std::vector<Finding> findings;
    for (const auto& [sentence, where] : bySentence) {
        if (where.size() < 2)
            continue;
        for (const EnglishPlace* p : where) {
            std::string others;
            for (const EnglishPlace* q : where) {
                if (q == p)
                    continue;
                if (!others.empty())
                    others += ", ";
                others += q->file + ":" + std::to_string(q->line);
            }
            findings.push_back(
                {p->file, p->line, "English sentence " + quoteBytes(sentence) + " also at " + others});
        }
    }
    return findings;
}

std::vector<Finding> findUnshownWords(const std::vector<EnglishPlace>& places,
                                      const std::vector<std::string>& spelledWords) {
    struct Rule {
        std::string word;
        bool anyCase;       // "We'll" shows we'll
        const char* reason; // what the point line must do
    };
    constexpr const char* kSpell = "a point line must show how it is written";
    std::vector<Rule> rules;
    std::set<std::string> known;
    auto addRule = [&](std::string word, bool anyCase, const char* reason) {
        if (known.insert(anyCase ? word : "=" + word).second)
            rules.push_back({std::move(word), anyCase, reason});
    };
    for (const std::string_view name : japaneseNames())
        addRule(std::string(name), false, kSpell);
    for (const EnglishPlace& p : places)
        for (std::string& noun : properNouns(p.sentence))
            addRule(std::move(noun), false, kSpell);
    for (const std::string& word : spelledWords)
        addRule(word, true, kSpell);
    for (const EnglishPlace& p : places)
        for (std::string& word : fadingContractions(p.sentence))
            addRule(std::move(word), true, "a point line must show it, as its ending fades in speech");
    for (const std::string_view word : homophones())
        addRule(std::string(word), true, "a point line must show it, as it sounds like another word");

    std::vector<Finding> findings;
    for (const Rule& rule : rules) {
        const auto first = std::find_if(places.begin(), places.end(), [&](const EnglishPlace& p) {
            return mentionsWord(p.sentence, rule.word, rule.anyCase);
        });
        if (first == places.end())
            continue;
        // A word taught in an earlier point line may be tested from then on.
        const bool shown = std::any_of(places.begin(), std::next(first), [&](const EnglishPlace& p) {
            return mentionsWord(p.points, rule.word, rule.anyCase);
        });
        if (!shown)
            findings.push_back({first->file, first->line,
                                "first sentence with \"" + rule.word + "\": " + rule.reason});
    }
    return findings;
}

bool readWordList(const std::filesystem::path& path, std::vector<std::string>& words) {
    std::string text;
    if (!readFile(path, text))
        return false;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
            line.pop_back();
        if (!line.empty() && line.front() != '#')
            words.push_back(line);
    }
    return true;
}

CourseResult checkCourse(const std::filesystem::path& textDir,
                         const std::vector<std::string>& spelledWords) {
    CourseResult result;
    std::vector<EnglishPlace> english;
    std::set<std::string> expectedNames;
    for (int n = 1; n <= kChapterCount; ++n) {
        const std::string name = chapterFileName(n);
        expectedNames.insert(name);
        const std::filesystem::path path = textDir / name;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) {
            result.findings.push_back({name, kWholeFile, "file missing"});
            continue;
        }
        ++result.filesPresent;
        std::string bytes;
        if (!readFile(path, bytes)) {
            result.findings.push_back({name, kWholeFile, "cannot read the file"});
            continue;
        }
        ChapterResult chapter = checkChapter(n, bytes);
        std::move(chapter.findings.begin(), chapter.findings.end(),
                  std::back_inserter(result.findings));
        std::move(chapter.english.begin(), chapter.english.end(), std::back_inserter(english));
    }
    for (auto& f : findDuplicateSentences(english))
        result.findings.push_back(std::move(f));
    for (auto& f : findUnshownWords(english, spelledWords))
        result.findings.push_back(std::move(f));

    // The build copies every c*.txt into the program folder, so a stray one (c05.txt, c51.txt)
    // would ship with the program.
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(textDir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("c") && name.ends_with(".txt") && !expectedNames.contains(name))
            result.findings.push_back(
                {name, kWholeFile, "unexpected file: the course is c1.txt .. c50.txt"});
    }

    std::stable_sort(result.findings.begin(), result.findings.end(),
                     [](const Finding& a, const Finding& b) {
                         const int ca = chapterOrder(a.file), cb = chapterOrder(b.file);
                         if (ca != cb)
                             return ca < cb;
                         if (a.file != b.file)
                             return a.file < b.file;
                         return a.line < b.line;
                     });
    return result;
}

} // namespace coursecheck
