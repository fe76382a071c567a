#include "platform/cp932.h"
#include "session/answer_check.h"
#include "session/answer_difference.h"
#include "session/answer_fold.h"

#include <gtest/gtest.h>
#include <ostream>

using session::ByteRange;
using session::Difference;
using K = session::DifferenceKind;

namespace session {
void PrintTo(const Difference& d, std::ostream* os) {
    *os << "kind " << static_cast<int>(d.kind) << " answer [" << d.answer.begin << ","
        << d.answer.end << ") sentence [" << d.sentence.begin << "," << d.sentence.end
        << ") wrong [" << d.wrongInAnswer.begin << "," << d.wrongInAnswer.end << ")/["
        << d.wrongInSentence.begin << "," << d.wrongInSentence.end << ")";
}
} // namespace session

namespace {

Difference at(K kind, ByteRange answer, ByteRange sentence) {
    return {kind, answer, sentence, answer, sentence};
}
Difference misspelt(ByteRange answer, ByteRange sentence, ByteRange wrong, ByteRange wrongThere) {
    return {K::MisspeltWord, answer, sentence, wrong, wrongThere};
}

struct DifferenceCase {
    const char* typed; // UTF-8, as the answer line holds it; folded as the window folds it
    const char* sentence;
    std::vector<Difference> differences;
    std::optional<std::size_t> departs;
};

const char* const ken = "I am Ken.";
const char* const tokyo = "I'm from Tokyo.";

const DifferenceCase differenceCases[] = {
    {"I am Ken.  ", ken, {}, std::nullopt},
    {"I am Ken.　", ken, {}, std::nullopt},
    {"I'm on the  tennis team.",
     "I'm on the tennis team.",
     {at(K::ExtraBlank, {11, 12}, {11, 11})},
     11},
    {" I am Ken.", ken, {at(K::LeadingBlank, {0, 1}, {0, 0})}, 0},
    {"I am Ken .", ken, {at(K::ExtraBlank, {8, 9}, {8, 8})}, 8},
    {"I am Ke n.", ken, {at(K::ExtraBlank, {7, 8}, {7, 7})}, 7},
    {"Iam Ken.", ken, {at(K::MissingBlank, {1, 1}, {1, 2})}, 1},
    {"i am Ken.", ken, {at(K::SmallForCapital, {0, 1}, {0, 1})}, 0},
    {"I aM Ken.", ken, {at(K::CapitalForSmall, {3, 4}, {3, 4})}, 3},
    {"I am Ken", ken, {at(K::MissingEndMark, {8, 8}, {8, 9})}, 8},
    {"I am Ken?", ken, {at(K::WrongEndMark, {8, 9}, {8, 9})}, 8},
    {"I Ken.", ken, {at(K::MissingWord, {2, 2}, {2, 4})}, 2},
    {"I am am Ken.", ken, {at(K::ExtraWord, {5, 7}, {5, 5})}, 5},
    {"I am Kem.", ken, {misspelt({5, 8}, {5, 8}, {7, 8}, {7, 8})}, 7},
    {"I am Ke.", ken, {misspelt({5, 7}, {5, 8}, {7, 7}, {7, 8})}, 7},
    {"I am Kけn.", ken, {misspelt({5, 9}, {5, 8}, {6, 8}, {6, 7})}, 6},
    {"no sentence", "no sentence", {at(K::MissingEndMark, {11, 11}, {11, 11})}, 11},
    {"ｉ’ｍ　ｆｒｏｍ　Ｔｏｋｙｏ。", tokyo, {at(K::SmallForCapital, {0, 1}, {0, 1})}, 0},
    {"ｉｍｆｒｏｍ。",
     tokyo,
     {at(K::SmallForCapital, {0, 1}, {0, 1}), misspelt({0, 6}, {0, 3}, {1, 2}, {1, 2}),
      at(K::MissingWord, {6, 6}, {4, 8}), at(K::MissingWord, {6, 6}, {9, 14})},
     0},
    {"あいむけん。",
     ken,
     {misspelt({0, 10}, {0, 1}, {0, 2}, {0, 1}), at(K::MissingWord, {10, 10}, {2, 4}),
      at(K::MissingWord, {10, 10}, {5, 8})},
     0},
    // A character code page 932 lacks is no question mark, folded or not.
    {"I am Ken😀",
     ken,
     {misspelt({5, 10}, {5, 8}, {8, 10}, {8, 8}), at(K::MissingEndMark, {10, 10}, {8, 9})},
     8},
};

} // namespace

TEST(AnswerDifference, WhereTypedAnswersDepart) {
    for (const DifferenceCase& c : differenceCases) {
        SCOPED_TRACE(c.typed);
        const std::string typed = session::typedAnswerBytes(c.typed);
        const auto differences = session::answerDifferences(typed, c.sentence);
        EXPECT_EQ(differences, c.differences);
        EXPECT_EQ(session::firstDeparture(differences), c.departs);
        EXPECT_EQ(differences.empty(),
                  session::judgeAnswer(typed, c.sentence) == session::Verdict::Right);
    }
}

TEST(AnswerFold, FullWidthFormsOfEnglishBecomeHalfWidth) {
    const struct {
        const char* typed;
        const char* folded;
    } rows[] = {
        {"Ｉｔ＇ｓ　＄５，　ｏｒ　５０％！", "It's $5, or 50%!"},
        {"“Ｙｅｓ，”　（Ａ－Ｂ／Ｃ：Ｄ；Ｅ＆Ｆ）？", "\"Yes,\" (A-B/C:D;E&F)?"},
        {"０９ＡＺａｚ＂‘", "09AZaz\"'"},
        {"あいう、漢字ー・「」ｱ＃＋", "あいう,漢字ー・「」ｱ＃＋"},
        {"＝@", "＝@"}, // 0x81 0x81 0x40: the ideographic space's bytes, but not its character
        {"bag😀", "bag？"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(platform::cp932ToUtf8(session::typedAnswerBytes(row.typed)), row.folded)
            << row.typed;
}
