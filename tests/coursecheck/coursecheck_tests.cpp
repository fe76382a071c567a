#include "course_rules.h"
#include "test_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

using coursecheck::checkChapter;
using coursecheck::Finding;
using coursecheck::kWholeFile;

namespace {

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

// A different sentence for every id, without digits: id 122 has the pen "bcc".
std::string sentenceOf(int id) {
    const std::string tag{static_cast<char>('a' + id / 100), static_cast<char>('a' + id / 10 % 10),
                          static_cast<char>('a' + id % 10)};
    return "Tom has the red pen " + tag + ".";
}

// A clean chapter: every rule satisfied, sentences unique across the whole course.
std::vector<std::string> validLines(int chapter) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "[S%d-C%02d]  ", (chapter - 1) / 10 + 1,
                  (chapter - 1) % 10 + 1);
    std::vector<std::string> lines{prefix + sj("三人称単数の -s")};
    for (int i = 1; i <= 10; ++i) {
        char number[16];
        const int id = (chapter - 1) * 10 + i;
        std::snprintf(number, sizeof number, "%03d", id);
        lines.push_back(number);
        lines.push_back(sj("ケンは赤いペンを持っています。"));
        lines.push_back(sentenceOf(id));
        lines.push_back(sj("has は he/she/it のときの形"));
        lines.push_back(i % 2 ? std::string() : sj("ペンの数が2以上なら pens"));
    }
    return lines;
}

std::string joinCrlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}

constexpr int kChapter = 13; // step 2, chapter 3: sentences 121 .. 130

std::string describe(const std::vector<Finding>& findings) {
    std::string out;
    for (const auto& f : findings)
        out += "\n  " + coursecheck::formatFinding(f);
    return out;
}

bool hasFinding(const std::vector<Finding>& findings, int line, const std::string& text) {
    for (const auto& f : findings)
        if (f.line == line && f.message.find(text) != std::string::npos)
            return true;
    return false;
}

struct LineCase {
    const char* name;
    int line;
    std::string content;
    std::string expected; // part of the message; empty: the line must be accepted
};

std::vector<LineCase> badLines() {
    const std::string prefix = "[S2-C03]  ";
    const std::string title = sj("一般動詞の疑問文");
    return {
        {"prefix of another chapter", 0, "[S2-C04]  " + title, "expected \"[S2-C03]  \""},
        {"chapter without two digits", 0, "[S2-C3]  " + title, "title line starts with"},
        {"prefix cut inside a character", 0, "[S2-C03] " + sj("あいう"),
         "splits a double-byte character"},
        {"no title", 0, prefix, "title is empty"},
        {"title only blanks", 0, prefix + sj("　") + " ", "title is empty"},
        {"title too wide", 0, prefix + repeat(sj("あ"), 27),
         "title longer than 26 characters (display width 54, at most 52)"},
        {"title padded", 0, prefix + title + sj("　"), "title ends with a blank"},
        {"wrong sentence number", 6, "121", "sentence number is \"121\", expected \"122\""},
        {"sentence number without zeros", 1, "121 ", "expected \"121\""},
        {"empty translation", 2, "", "translation is empty"},
        {"translation too wide", 2, repeat(sj("あ"), 36) + "x",
         "translation longer than 36 characters (display width 73, at most 72)"},
        {"translation with a tab", 2, sj("ケンは\tペン"), "control character 0x09 at column 7"},
        {"translation with DEL", 2, sj("ケン") + "\x7F", "control character 0x7F"},
        {"translation led by ideographic blank", 2, sj("　ケンです。"), "starts with a blank"},
        {"translation ending in a blank", 2, sj("ケンです。 "), "ends with a blank"},
        {"empty first point", 4, "", "first point line is empty"},
        {"second point too wide", 10, repeat(sj("あ"), 23),
         "second point line longer than 22 characters (display width 46, at most 44)"},
        {"invalid byte", 2, sj("ケン") + "\x85\x40", "byte 0x85 at column 5"},
        {"unconverted UTF-8", 2, "ケンです", "looks like UTF-8"},
        {"lead byte at the end", 4, sj("ケン") + "\x82", "cut off at the end of the line"},
        {"user-defined character", 4, "\xF0\x40", "user-defined CP932 character at column 1"},
        {"empty English", 3, "", "English sentence is empty"},
        {"full-width full stop", 3, "I am Ken" + sj("。"), "byte 0x81 at column 9"},
        {"leading blank", 3, " I am Ken.", "starts with a blank"},
        {"trailing blank", 3, "I am Ken. ", "ends with a blank"},
        {"double blank", 3, "I am  Ken.", "more than one blank between words at column 5"},
        {"one word", 3, "Hello!", "has 1 word, expected 2 to 12"},
        {"thirteen words", 3, "I like red and blue and green and pink and gray and white.",
         "has 13 words"},
        {"too long", 3, "Ken and Emma walk to the big green park each day.",
         "has 49 characters, at most 48"},
        {"no final mark", 3, "I am Ken", "does not end in '.', '?' or '!'"},
        {"question inside", 3, "Really?I am Ken.", "'?' before its end, at column 7"},
        {"second sentence in lower case", 3, "I am Ken. you are Tom.", "'.' before its end, at column 9"},
        {"abbreviation without blank", 3, "Mr.Brown is here.", "'.' before its end"},
        {"double full stop", 3, "Mr.. Brown is here.", "'.' before its end, at column 4"},
        {"lower-case start", 3, "i am Ken.", "does not start with an upper-case letter"},
        {"exclamation mark", 3, "Ken is here!", "'!' at column 12"},
        {"full-width mark to type", 5, sj("文の最後には「？」をつける"), "as a mark to type"},
    };
}

std::vector<LineCase> acceptedLines() {
    const std::string prefix = "[S2-C03]  ";
    return {
        {"title of 26 full-width characters", 0, prefix + repeat(sj("あ"), 26), ""},
        {"translation of width 72", 2, repeat(sj("あ"), 36), ""},
        {"0x40 as second byte is no blank", 2, sj("ケンはァ"), ""},
        {"\\x81\\x40 across two characters", 2, sj("ケンはメ@"), ""},
        {"half-width katakana", 2, sj("ｹﾝﾃﾞｽ。"), ""},
        {"half-width katakana that is also UTF-8", 2, sj("ﾃｨ"), ""},
        {"point of width 44", 9, repeat(sj("あ"), 22), ""},
        {"abbreviations", 3, "Mr. and Mrs. Brown met Ms. Ito at seven.", ""},
        {"quote and abbreviation", 3, "\"Hi,\" said Mr. Lee to Ms. Ito.", ""},
        {"abbreviation before a comma", 3, "Hello, Mr. Ito, this is Tom.", ""},
        {"twelve words", 3, "I can see a cat and a dog and a bird here.", ""},
        {"48 characters", 3, "Ken and Emma walk to the big green park at six.", ""},
        {"two words", 3, "Come here.", ""},
        {"Japanese gloss ending in a full-width mark", 4, sj("Can I ～?「～してもいい？」"), ""},
    };
}

} // namespace

TEST(ChapterRules, ValidChapterHasNoFindings) {
    const auto result = checkChapter(kChapter, joinCrlf(validLines(kChapter)));
    EXPECT_TRUE(result.findings.empty()) << describe(result.findings);
    ASSERT_EQ(result.english.size(), 10u);
    EXPECT_EQ(result.english[0].line, 3);
    EXPECT_EQ(result.english[9].line, 48);
}

TEST(ChapterRules, EachBadLineIsReportedAtItsLine) {
    for (const auto& c : badLines()) {
        auto lines = validLines(kChapter);
        lines[c.line] = c.content;
        const auto findings = checkChapter(kChapter, joinCrlf(lines)).findings;
        EXPECT_TRUE(hasFinding(findings, c.line, c.expected))
            << c.name << ": expected \"" << c.expected << "\" at line " << c.line
            << describe(findings);
        for (const auto& f : findings)
            EXPECT_EQ(f.line, c.line) << c.name << ": spilled over" << describe(findings);
    }
}

TEST(ChapterRules, LinesAtTheLimitsAreAccepted) {
    for (const auto& c : acceptedLines()) {
        auto lines = validLines(kChapter);
        lines[c.line] = c.content;
        const auto findings = checkChapter(kChapter, joinCrlf(lines)).findings;
        EXPECT_TRUE(findings.empty()) << c.name << describe(findings);
    }
}

TEST(ChapterRules, EnglishOfTwoSentencesIsAcceptedWithATranslationOfTwo) {
    const std::pair<std::string, std::string> cases[] = {
        {"No, I'm not. I'm his cousin.", sj("いいえ。いとこです。")},
        {"Be quiet. The baby is sleeping.", sj("静かに。赤ちゃんが寝ているよ。")},
    };
    for (const auto& [english, translation] : cases) {
        auto lines = validLines(kChapter);
        lines[2] = translation;
        lines[3] = english;
        const auto findings = checkChapter(kChapter, joinCrlf(lines)).findings;
        EXPECT_TRUE(findings.empty()) << english << describe(findings);
    }
}

TEST(ChapterRules, LineEndsAndLineCount) {
    struct Case {
        const char* name;
        std::function<std::string(std::string)> damage;
        int line;
        const char* expected;
    };
    const Case cases[] = {
        {"LF only",
         [](std::string s) {
             std::string out;
             for (char c : s)
                 if (c != '\r')
                     out += c;
             return out;
         },
         0, "line ends in LF without CR (51 lines in this file)"},
        {"no final CR LF", [](std::string s) { return s.substr(0, s.size() - 2); }, 50,
         "last line does not end in CR LF"},
        {"final LF only", [](std::string s) { return s.erase(s.size() - 2, 1); }, 50,
         "line ends in LF without CR"},
        {"lone CR inside a line",
         [](std::string s) { return s.insert(s.find(sentenceOf(122)), "\r"); }, 8,
         "line ends in CR without LF"},
        {"blank line after line 50", [](std::string s) { return s + "\r\n"; }, kWholeFile,
         "file has 52 lines, expected 51: nothing may follow line 50"},
        {"line missing",
         [](std::string s) { return s.erase(0, s.find("\r\n") + 2); }, kWholeFile,
         "file has 50 lines, expected 51"},
        {"empty file", [](std::string) { return std::string(); }, kWholeFile,
         "file has 0 lines, expected 51"},
    };
    for (const auto& c : cases) {
        const auto findings = checkChapter(kChapter, c.damage(joinCrlf(validLines(kChapter))))
                                  .findings;
        EXPECT_TRUE(hasFinding(findings, c.line, c.expected))
            << c.name << ": expected \"" << c.expected << "\"" << describe(findings);
    }
}

class CourseFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("coursecheck-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        for (int n = 1; n <= coursecheck::kChapterCount; ++n)
            write(n, validLines(n));
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void write(int chapter, const std::vector<std::string>& lines) {
        std::ofstream(dir_ / coursecheck::chapterFileName(chapter), std::ios::binary)
            << joinCrlf(lines);
    }

    std::filesystem::path dir_;
};

TEST_F(CourseFolder, CleanCourseHasNoFindings) {
    const auto result = coursecheck::checkCourse(dir_, {});
    EXPECT_EQ(result.filesPresent, 50);
    EXPECT_TRUE(result.findings.empty()) << describe(result.findings);
}

TEST_F(CourseFolder, ReportsMissingStrayAndRepeatedAcrossFiles) {
    std::filesystem::remove(dir_ / "c7.txt");
    std::ofstream(dir_ / "c05.txt") << "x";
    auto c40 = validLines(40);
    c40[23] = sentenceOf(25); // the fifth sentence of c3.txt
    write(40, c40);

    const auto result = coursecheck::checkCourse(dir_, {});
    EXPECT_EQ(result.filesPresent, 49);
    const std::vector<Finding> expected{
        {"c3.txt", 23, "English sentence \"Tom has the red pen acf.\" also at c40.txt:23"},
        {"c7.txt", kWholeFile, "file missing"},
        {"c40.txt", 23, "English sentence \"Tom has the red pen acf.\" also at c3.txt:23"},
        {"c05.txt", kWholeFile, "unexpected file: the course is c1.txt .. c50.txt"},
    };
    EXPECT_EQ(result.findings, expected) << describe(result.findings);
}

TEST_F(CourseFolder, FirstSentenceOfAWordShowsIt) {
    struct Case {
        const char* sentence; // the second sentence of c3.txt, the word's first
        const char* point;    // UTF-8: a point line that shows the word
        const char* expected; // the finding without it; empty: the sentence needs no point
        bool pointEarlier = false; // the point is in the last sentence of c2.txt instead
    } const cases[] = {
        {"Taro is here.", "太郎は Taro（のばす音は書かない）",
         "first sentence with \"Taro\": a point line must show how it is written"},
        {"I met Emma's brother.", "エマは Emma と書く", "with \"Emma\": a point line must show"},
        {"I like natto very much.", "納豆は natto と書く", "with \"natto\""},
        {"Open your textbooks.", "textbook は1語", "with \"textbook\""},
        {"Natto is good.", "Natto は1語", "with \"natto\""},
        {"I run every day.", "every day（2語）", "with \"every day\""},
        {"I run every day.", "every day（2語）", "with \"every day\"", true},
        {"I wear everyday shoes.", "", ""}, // the one word is not the phrase
        {"I'll carry your bag.", "I'll の 'll を落とさない",
         "with \"i'll\": a point line must show it, as its ending fades in speech"},
        {"I've lived here.", "I've（I have）の 've は弱い", "with \"i've\": a point line must show it"},
        {"He's been busy.", "He's been は He has been", "with \"he's been\": a point line must show"},
        {"I know whose pen it is.", "Whose は Who's と同じ発音",
         "with \"whose\": a point line must show it, as it sounds like another word"},
        {"Sunday is my day.", "", ""}, // capitalised only where a sentence starts
        {"I think so.", "", ""},
    };
    for (const auto& c : cases) {
        auto c3 = validLines(3);
        c3[8] = c.sentence;
        write(3, c3);
        auto c40 = validLines(40);
        // a later sentence that shows the word does not count
        c40[2] = sj("ケンです。はい。");
        c40[3] = c.sentence + std::string(" Yes.");
        c40[4] = sj("Taro、Emma、natto");
        c40[5] = sj("textbook、I'll、Whose、every day");
        write(40, c40);
        const std::vector<std::string> words{"natto", "textbook", "every day"};
        auto findings = coursecheck::checkCourse(dir_, words).findings;
        if (*c.expected == '\0') {
            EXPECT_TRUE(findings.empty()) << c.sentence << describe(findings);
            continue;
        }
        ASSERT_EQ(findings.size(), 1u) << c.sentence << describe(findings);
        EXPECT_EQ(findings[0].line, 8) << c.sentence;
        EXPECT_NE(findings[0].message.find(c.expected), std::string::npos)
            << c.sentence << describe(findings);

        if (c.pointEarlier) {
            auto c2 = validLines(2);
            c2[50] = sj(c.point);
            write(2, c2);
        } else {
            c3[10] = sj(c.point); // the block's second point line
            write(3, c3);
        }
        findings = coursecheck::checkCourse(dir_, words).findings;
        EXPECT_TRUE(findings.empty()) << c.sentence << describe(findings);
    }
}
