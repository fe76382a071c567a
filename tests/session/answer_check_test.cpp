#include "platform/cp932.h"
#include "session/answer_check.h"

#include <gtest/gtest.h>

using session::Verdict;

namespace {

struct Case {
    const char* name;
    std::string typed; // UTF-8, as the answer line holds it
    Verdict verdict;
};

const std::string sentence = "Is this your bag?";

const Case cases[] = {
    {"exact", "Is this your bag?", Verdict::Right},
    {"trailing blanks and tabs", "Is this your bag?  \t ", Verdict::Right},
    {"trailing control characters", "Is this your bag?\r\n", Verdict::Right},
    {"leading blank", " Is this your bag?", Verdict::Wrong},
    {"one letter in lower case", "is this your bag?", Verdict::Wrong},
    {"another mark", "Is this your bag!", Verdict::Wrong},
    {"a lone full stop", ".", Verdict::Wrong},
    {"no final mark", "Is this your bag", Verdict::NoAnswer},
    {"full-width question mark", "Is this your bag？", Verdict::NoAnswer},
    {"full-width full stop", "Is this your bag。", Verdict::NoAnswer},
    {"empty", "", Verdict::NoAnswer},
    {"blanks only", "   ", Verdict::NoAnswer},
    {"a character code page 932 lacks", "Is this your bag😀?", Verdict::Wrong},
    {"ending in one code page 932 lacks", "Is this your bag?😀", Verdict::NoAnswer},
};

} // namespace

TEST(AnswerCheck, TypedAnswersAgainstASentence) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string typed = platform::utf8ToCp932Lossy(c.typed);
        EXPECT_EQ(session::judgeAnswer(typed, sentence), c.verdict);
    }
}

TEST(AnswerCheck, TheStoredSentenceIsNotTrimmed) {
    EXPECT_EQ(session::judgeAnswer("Hello.", "Hello. "), Verdict::Wrong);
    EXPECT_EQ(session::judgeAnswer("no sentence", "no sentence"), Verdict::NoAnswer)
        << "an empty checklist place can never be answered";
}

TEST(AnswerCheck, TrimmingKeepsLeadingBlanksAndDoubleByteText) {
    EXPECT_EQ(session::trimAnswer("  a b \x01 "), "  a b");
    // Double-byte text before the blanks stays whole.
    const std::string kana = "\x83\x41";
    EXPECT_EQ(session::trimAnswer(kana + "  "), kana);
    EXPECT_FALSE(session::endsInSentencePunctuation("\x81\x42")) << "。";
    EXPECT_FALSE(session::endsInSentencePunctuation("\x81\x48")) << "？";
    EXPECT_FALSE(session::endsInSentencePunctuation("\x81\x49")) << "！";
}

TEST(AnswerCheck, LossyConversionNeverFailsAndNeverFakesPunctuation) {
    EXPECT_EQ(platform::utf8ToCp932Lossy("Tom."), "Tom.");
    EXPECT_EQ(platform::utf8ToCp932Lossy("a\xF0\x9F\x98\x80" "b"), "a\x81\x48" "b");
    EXPECT_EQ(platform::utf8ToCp932Lossy("\xFF\xFE."), "\x81\x48\x81\x48.");
    EXPECT_EQ(platform::utf8ToCp932Lossy("ア"), "\x83\x41");
}
