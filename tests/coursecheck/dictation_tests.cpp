#include "dictation.h"
#include "test_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using coursecheck::dictationProblems;
using coursecheck::mentionsName;
using coursecheck::pairingProblems;

namespace {

std::string joined(const std::vector<std::string>& problems) {
    std::string out;
    for (const auto& p : problems)
        out += "\n  " + p;
    return out;
}

struct SentenceCase {
    const char* sentence;
    const char* expected; // part of the one problem; empty: the sentence is fair
};

const SentenceCase kSentences[] = {
    // numbers: words up to ten, nothing larger, never digits
    {"I am 12 years old.", "the digit '1' at column 6: numbers are words"},
    {"I am twelve years old.", "the number \"twelve\""},
    {"It is her twentieth birthday.", "the number \"twentieth\""},
    {"I have a hundred cards.", "the number \"hundred\""},
    {"I am ten years old.", ""},
    {"It is the seventh day.", ""},
    // hyphens, exclamation marks and words written more than one way
    {"My T-shirt is blue.", "hyphen at column 5"},
    {"It's so big!", "'!' at column 12: a listener cannot tell it from '.'"},
    {"Look! The baby is sleeping.", "'!' at column 5"},
    {"Are you OK?", "\"OK\", which is written more than one way (OK, okay)"},
    {"It is okay.", "(OK, okay)"},
    {"Send me an email.", "(email, e-mail)"},
    {"The game was cancelled.", "(canceled, cancelled)"},
    {"Wear your seat belt.", "\"seat belt\", which is written"},
    {"I will visit Canada someday.", "(someday, some day)"},
    {"How do I get to City Hall?", "\"City Hall\", which is written"},
    {"Dr. Ito is here.", "(Dr., Doctor)"},
    {"Is it seven a.m.?", "(a.m., AM, am)"},
    {"Some days are long.", ""},
    {"Mr. Brown is our teacher.", ""},
    // contractions that fast speech hides are fair once a point line names them (checked course-wide)
    {"I've wanted this watch.", ""},
    {"It's been cold since Monday.", ""},
    {"He's going home.", ""},
    {"I'd like some tea.", ""},
    {"It's seven o'clock.", ""},
    // optional commas
    {"I like it, too.", "\"too\" at the end of a clause"},
    {"I like it too.", "\"too\" at the end of a clause"},
    {"Me too. Thanks.", "\"too\" at the end of a clause"},
    {"I, too, like cats.", "\"too\" at the end of a clause"},
    {"I don't like it either.", "\"either\" at the end"},
    {"It's too big.", ""},
    {"I have two cats.", ""},
    {"Either one is fine.", ""},
    // commas the course teaches, kept in every sentence
    {"Mike is kind but a little shy.", "\"but\" without the comma before it"},
    {"I'm sorry but I can't.", "\"but\" without the comma before it"},
    {"No I'm not.", "\"No\" without the comma after it"},
    {"Yes I can. It's easy.", "\"Yes\" without the comma after it"},
    {"Sure. Hello this is Ken.", "\"Hello\" without the comma after it"},
    {"A table for two please.", "ends in \"please\" without the comma"},
    {"If it rains we'll stay home.", "opens with an \"If\" clause and has no comma"},
    {"I like math, but I don't like science.", ""},
    {"No problem.", ""},
    {"Please sit here.", ""},
    {"When does the movie start?", ""},
    {"When I'm tired, I go to bed early.", ""},
};

TEST(DictationRules, EachSentenceHasTheExpectedProblemOrNone) {
    for (const auto& c : kSentences) {
        const auto problems = dictationProblems(c.sentence);
        if (*c.expected == '\0') {
            EXPECT_TRUE(problems.empty()) << c.sentence << joined(problems);
            continue;
        }
        ASSERT_EQ(problems.size(), 1u) << c.sentence << joined(problems);
        EXPECT_NE(problems[0].find(c.expected), std::string::npos)
            << c.sentence << ": expected \"" << c.expected << "\"" << joined(problems);
    }
}

struct PairCase {
    const char* name;
    const char* english;
    const char* translation; // UTF-8, converted to code page 932
    const char* expected;    // part of the one problem; empty: the pair is fine
};

const PairCase kPairs[] = {
    {"question for question", "Is this your pen?", "これはあなたのペンですか？", ""},
    {"question ending in a full stop", "Is this your pen?", "これはあなたのペンですか。",
     "translation does not end in '？' though the English asks a question"},
    {"question mark on a statement", "This is my pen.", "これは私のペンですか？",
     "translation ends in '？' though the English is no question"},
    {"half-width question mark", "Is it cold?", "寒いですか?", "half-width '?' at column 11"},
    {"two for two", "No, I'm not. I'm his cousin.", "いいえ、違います。私は彼のいとこです。", ""},
    {"one for two", "No, I'm not. I'm his cousin.", "いいえ、私は彼のいとこです。",
     "translation has 1 sentence, the English 2"},
    {"two for one", "No, she can't, but she can read it.", "いいえ。でも読めます。",
     "translation has 2 sentences, the English 1"},
    {"second of two asks", "Look! Is that a bird?", "見て！あれは鳥？", ""},
    {"second of two does not ask", "Look! Is that a bird?", "見て！あれは鳥だ。",
     "translation sentence 2 does not end in '？'"},
    {"last of a run of marks counts", "Really? Yes!", "本当に！？うん！", ""},
    {"no final mark", "I am Ken.", "私はケン", ""},
    {"mark inside brackets", "He said, \"Thanks.\"", "「ありがとう。」", ""},
};

TEST(DictationRules, TranslationGoesSentenceForSentence) {
    for (const auto& c : kPairs) {
        const auto problems = pairingProblems(c.english, sj(c.translation));
        if (*c.expected == '\0') {
            EXPECT_TRUE(problems.empty()) << c.name << joined(problems);
            continue;
        }
        ASSERT_EQ(problems.size(), 1u) << c.name << joined(problems);
        EXPECT_NE(problems[0].find(c.expected), std::string::npos)
            << c.name << ": expected \"" << c.expected << "\"" << joined(problems);
    }
}

TEST(DictationRules, AFullWidthMarkOnItsOwnIsNoMarkToType) {
    struct Case {
        const char* point; // UTF-8
        const char* expected;
    } const cases[] = {
        {"文の最後には「？」をつける", "full-width '？' at column 15 as a mark to type"},
        {"最後に ！ をつける", "half-width '!'"},
        {"？で終わる", "column 1"},
        {"Can I ～?「～してもいい？」", ""},
        {"Look! は「見て！」", ""},
        {"文の最後には半角の ? をつける", ""},
    };
    for (const auto& c : cases) {
        const std::string problem = coursecheck::typedMarkProblem(sj(c.point));
        if (*c.expected == '\0')
            EXPECT_EQ(problem, "") << c.point;
        else
            EXPECT_NE(problem.find(c.expected), std::string::npos) << c.point << ": " << problem;
    }
}

TEST(DictationRules, WordsToShowAreFoundInTheSentence) {
    using V = std::vector<std::string>;
    EXPECT_EQ(coursecheck::properNouns("I met Kate's sister in Kyoto. Then Mr. Brown came."),
              (V{"Kate", "Kyoto", "Brown"}));
    EXPECT_EQ(coursecheck::properNouns("Emma, I'm here. \"Yes,\" said Tom."), (V{"Tom"}));
    EXPECT_EQ(coursecheck::fadingContractions("I'll go if we'd like it. It's OK, isn't it?"),
              (V{"i'll", "we'd"}));
    EXPECT_EQ(coursecheck::fadingContractions("I've been here. It's been cold, and he's gone."),
              (V{"i've", "it's been", "he's gone"}));
}

TEST(DictationRules, NamesAreFoundAsWholeWordsOfSingleByteText) {
    struct Case {
        const char* name;
        std::string text;
        bool found;
    } const cases[] = {
        {"point line", sj("アヤは Aya と書く"), true},
        {"possessive", "This is Aya's bag.", true},
        {"longer word", "Ayaka is here.", false},
        // ア is 0x83 0x41: its second byte is an 'A' that must not join the "ya" after it
        {"second byte of a double-byte character", sj("ア") + "ya", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mentionsName(c.text, "Aya"), c.found) << c.name;

    EXPECT_TRUE(coursecheck::mentionsWord("Open your textbooks.", "textbook", false));
    EXPECT_FALSE(coursecheck::mentionsWord("Open your textbookstore.", "textbook", false));
    EXPECT_TRUE(coursecheck::mentionsWord("We'll go.", "we'll", true));
    EXPECT_FALSE(coursecheck::mentionsWord("We'll go.", "we'll", false));
}

} // namespace
