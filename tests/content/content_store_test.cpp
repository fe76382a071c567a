#include "content/content_store.h"
#include "content/course_file.h"
#include "temp_app_dir.h"

#include <gtest/gtest.h>

using content::ContentKind;
using content::ContentStore;

namespace {

void writeAllChapters(const TempAppDir& dir) {
    for (int n = 1; n <= 50; ++n)
        dir.write("text/c" + std::to_string(n) + ".txt", numberedCourseFile(n));
}

ContentStore loaded(const TempAppDir& dir) {
    ContentStore store;
    store.loadCourseText(dir.path());
    return store;
}

} // namespace

TEST(ContentStore, LooksUpEveryKindAtItsLine) {
    TempAppDir dir;
    writeAllChapters(dir);
    const ContentStore store = loaded(dir);
    EXPECT_EQ(store.lookup(ContentKind::English, 1), "c1 L3");
    EXPECT_EQ(store.lookup(ContentKind::Japanese, 1), "c1 L2");
    EXPECT_EQ(store.lookup(ContentKind::FirstPoint, 1), "c1 L4");
    EXPECT_EQ(store.lookup(ContentKind::SecondPoint, 1), "c1 L5");
    EXPECT_EQ(store.lookup(ContentKind::English, 500), "c50 L48");
    EXPECT_EQ(store.lookup(ContentKind::SecondPoint, 500), "c50 L50");
    EXPECT_EQ(store.lookup(ContentKind::Japanese, 123), "c13 L12");
}

TEST(ContentStore, FreeFirstLineOfABlockIsNeverShown) {
    TempAppDir dir;
    writeAllChapters(dir);
    const ContentStore store = loaded(dir);
    for (int id = 1; id <= 500; ++id) {
        for (auto kind : {ContentKind::English, ContentKind::Japanese, ContentKind::FirstPoint,
                          ContentKind::SecondPoint}) {
            const std::string text = store.lookup(kind, id);
            const int line = std::stoi(text.substr(text.find('L') + 1));
            ASSERT_NE(line % 5, 1) << "id " << id;
        }
    }
}

TEST(ContentStore, IdZeroAndIdsPastTheCourse) {
    TempAppDir dir;
    writeAllChapters(dir);
    const ContentStore store = loaded(dir);
    EXPECT_EQ(store.lookup(ContentKind::English, 0), "no sentence");
    EXPECT_EQ(store.lookup(ContentKind::Japanese, 0), "");
    EXPECT_EQ(store.lookup(ContentKind::FirstPoint, 0), "");
    EXPECT_EQ(store.lookup(ContentKind::SecondPoint, 0), "");
    for (auto kind : {ContentKind::English, ContentKind::Japanese, ContentKind::SecondPoint}) {
        EXPECT_EQ(store.lookup(kind, 501), "");
        EXPECT_EQ(store.lookup(kind, -3), "");
    }
    EXPECT_EQ(ContentStore().lookup(ContentKind::English, 5), "") << "before loading";
}

TEST(ContentStore, MissingOrUnreadableChapterKeepsOthersInPlace) {
    TempAppDir dir;
    writeAllChapters(dir);
    std::filesystem::remove(dir.file("text/c7.txt"));
    std::filesystem::remove(dir.file("text/c9.txt"));
    std::filesystem::create_directory(dir.file("text/c9.txt")); // exists, cannot be read as a file
    const ContentStore store = loaded(dir);
    for (int id = 61; id <= 70; ++id) {
        EXPECT_EQ(store.lookup(ContentKind::English, id), "");
        EXPECT_EQ(store.lookup(ContentKind::FirstPoint, id), "");
    }
    EXPECT_EQ(store.lookup(ContentKind::English, 71), "c8 L3");
    EXPECT_EQ(store.lookup(ContentKind::English, 81), "");
    EXPECT_EQ(store.lookup(ContentKind::English, 91), "c10 L3");
    EXPECT_EQ(store.lookup(ContentKind::SecondPoint, 500), "c50 L50");
    EXPECT_EQ(store.chapterTitle(1, 7), "");
}

TEST(ContentStore, ShortAndLongFilesKeepPositions) {
    TempAppDir dir;
    writeAllChapters(dir);
    dir.write("text/c2.txt", numberedCourseFile(2, 13));   // blocks 1 and 2, then half of 3
    dir.write("text/c3.txt", numberedCourseFile(3, 400));  // far longer than 51 lines
    const ContentStore store = loaded(dir);
    EXPECT_EQ(store.lookup(ContentKind::English, 12), "c2 L8");
    EXPECT_EQ(store.lookup(ContentKind::English, 13), "");
    EXPECT_EQ(store.lookup(ContentKind::Japanese, 13), "c2 L12");
    EXPECT_EQ(store.lookup(ContentKind::SecondPoint, 20), "");
    EXPECT_EQ(store.lookup(ContentKind::SecondPoint, 30), "c3 L50");
    EXPECT_EQ(store.lookup(ContentKind::English, 31), "c4 L3");
    EXPECT_EQ(store.chapterLines().size(), 50u);
}

struct LineCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

class SplitCourseLines : public testing::TestWithParam<LineCase> {};

TEST_P(SplitCourseLines, EndsLinesAtCrLfCrOrLf) {
    EXPECT_EQ(content::splitCourseLines(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    LineEnds, SplitCourseLines,
    testing::Values(LineCase{"crlf", "a\r\nb\r\n", {"a", "b"}},
                    LineCase{"lone_cr", "a\rb\r", {"a", "b"}},
                    LineCase{"lone_lf", "a\nb", {"a", "b"}},
                    LineCase{"lf_then_cr_ends_two", "a\n\rb", {"a", "", "b"}},
                    LineCase{"blank_lines", "\r\n\r\nx\r\n", {"", "", "x"}},
                    LineCase{"no_final_end", "a\r\nlast", {"a", "last"}},
                    LineCase{"empty", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ContentStore, MixedLineEndsInOneFile) {
    TempAppDir dir;
    std::string text = numberedCourseFile(1, 20, "\n") + numberedCourseFile(1, 31, "\r");
    dir.write("text/c1.txt", text);
    const ContentStore store = loaded(dir);
    EXPECT_EQ(store.lookup(ContentKind::English, 1), "c1 L3");
    EXPECT_EQ(store.lookup(ContentKind::English, 5), "c1 L3") << "line 23 is the 4th of the CR part";
}

struct TitleCase {
    const char* name;
    std::string chapterLine;
    std::string title;
};

class ChapterTitle : public testing::TestWithParam<TitleCase> {};

TEST_P(ChapterTitle, DropsTenBytesAndTrims) {
    TempAppDir dir;
    dir.write("text/c12.txt", GetParam().chapterLine + "\r\n");
    const ContentStore store = loaded(dir);
    EXPECT_EQ(store.chapterTitle(2, 2), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, ChapterTitle,
    testing::Values(TitleCase{"plain", "[S2-C02]  Pronouns", "Pronouns"},
                    TitleCase{"ten_bytes_only", "0123456789", ""},
                    TitleCase{"shorter", "abc", ""},
                    TitleCase{"surrounded_by_blanks", "0123456789 \t Past tense \x01 ", "Past tense"},
                    // five double-byte characters fill the ten bytes
                    TitleCase{"double_byte_prefix", "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8\x8a\xbf",
                              "\x8a\xbf"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ContentStore, ChecklistStepTitle) {
    TempAppDir dir;
    writeAllChapters(dir);
    const ContentStore store = loaded(dir);
    for (int chapter = 1; chapter <= 10; ++chapter)
        EXPECT_EQ(store.chapterTitle(6, chapter), "Check Sentence");
    EXPECT_EQ(store.chapterTitle(5, 10), "") << "\"c50 L0\" is shorter than the cut";
}

struct CutCase {
    const char* name;
    std::string sentence;
    std::string kept;
};

void PrintTo(const CutCase& c, std::ostream* os) { *os << c.name; }

const std::string a4094(4094, 'a');
const std::string a4095(4095, 'a');
const std::string a4096(4096, 'a');

const CutCase cutCases[] = {
    {"AtTheLimit", a4096, a4096},
    {"OneByteOver", a4096 + "b", a4096},
    {"EightMegabytesOnOneLine", std::string(8 << 20, 'a'), a4096},
    {"DoubleByteCharacterAcrossTheLimit", a4095 + "\x82\xA0" + "z", a4095},
    {"DoubleByteCharacterEndingAtTheLimit", a4094 + "\x82\xA0" + "z", a4094 + "\x82\xA0"},
    {"HalfWidthKanaAreOneByte", a4095 + "\xB1\xB2", a4095 + "\xB1"},
};

class OverlongLine : public testing::TestWithParam<CutCase> {};

TEST_P(OverlongLine, KeepsItsFirstWholeCharactersAndTheLinesAfterIt) {
    ContentStore store;
    store.appendChapter("title\r\n1\r\nJ1\r\n" + GetParam().sentence + "\r\nP1a\r\nP1b\r\n2\r\nJ2\r\n");
    EXPECT_EQ(store.lookup(ContentKind::English, 1), GetParam().kept);
    EXPECT_EQ(store.lookup(ContentKind::FirstPoint, 1), "P1a");
    EXPECT_EQ(store.lookup(ContentKind::Japanese, 2), "J2");
}

INSTANTIATE_TEST_SUITE_P(Cut, OverlongLine, testing::ValuesIn(cutCases),
                         [](const auto& info) { return std::string(info.param.name); });
