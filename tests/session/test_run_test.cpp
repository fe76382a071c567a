#include "session/test_run.h"
#include "temp_app_dir.h"

#include <gtest/gtest.h>

using namespace session;

namespace {

// Chapter 1 whose sentence i reads "Sentence i."; the other chapters are missing.
content::ContentStore chapterOne(const TempAppDir& dir) {
    std::string text = "[S1-C01]  Title\r\n";
    for (int i = 1; i <= 10; ++i) {
        const std::string n = std::to_string(i);
        text += n + "\r\nJ\r\nSentence " + n + ".\r\nP\r\nP\r\n";
    }
    dir.write("text/c1.txt", text);
    content::ContentStore store;
    store.loadCourseText(dir.path());
    return store;
}

SessionState runningTest() {
    SessionState s;
    s.mode = TestMode;
    EXPECT_TRUE(startTest(s));
    for (int i = 0; i < 10; ++i)
        s.sentence.order[i] = i + 1;
    s.sentence.currentSlot = 1;
    return s;
}

} // namespace

TEST(TestRun, EnterMeansWhatTheModeAndStateSay) {
    SessionState s;
    EXPECT_EQ(enterMeaning(s), EnterMeaning::Nothing) << "study: Enter is the repeat key";
    s.mode = TestStudyMode;
    EXPECT_EQ(enterMeaning(s), EnterMeaning::CheckTestStudy);
    s.mode = TestMode;
    EXPECT_EQ(enterMeaning(s), EnterMeaning::ReplayVoice) << "idle and review replay freely";
    s.testRunning = 1;
    EXPECT_EQ(enterMeaning(s), EnterMeaning::RecordAnswer);
    s.openQuestion = 8;
    EXPECT_EQ(enterMeaning(s), EnterMeaning::Nothing) << "the save question waits for its answer";
    s.mode = ResultsMode;
    s.openQuestion = 0;
    EXPECT_EQ(enterMeaning(s), EnterMeaning::Nothing);
}

TEST(TestRun, StatesFollowTheFlagsAndTheSlot) {
    SessionState s;
    EXPECT_EQ(testState(s), TestState::Idle);
    s = runningTest();
    EXPECT_EQ(testState(s), TestState::Running);
    s.sentence.currentSlot = questionSlot;
    EXPECT_EQ(testState(s), TestState::Question);
    startReview(s);
    EXPECT_EQ(testState(s), TestState::Review);
    EXPECT_EQ(s.sentence.currentSlot, 1);
    EXPECT_TRUE(startTest(s));
    EXPECT_EQ(testState(s), TestState::Running);
    EXPECT_EQ(s.reviewActive, 0);
}

TEST(TestRun, TheChecklistPagesCannotBeTested) {
    SessionState s;
    s.step = content::checklistStep;
    s.reviewActive = 1;
    EXPECT_FALSE(startTest(s));
    EXPECT_EQ(s.testRunning, 0);
    EXPECT_EQ(s.reviewActive, 1) << "nothing else changes";
}

TEST(TestRun, ThreePlaysAndThenSilence) {
    SessionState s = runningTest();
    for (int play = 1; play <= 3; ++play) {
        EXPECT_EQ(recordAnswer(s, play == 2 ? "Sentence one" : ""), AnswerOutcome::Replay);
        EXPECT_EQ(s.replayCount, play);
    }
    EXPECT_EQ(recordAnswer(s, "  "), AnswerOutcome::Ignored);
    EXPECT_EQ(s.replayCount, 3);
    EXPECT_EQ(s.sentence.currentSlot, 1);
    EXPECT_EQ(recordAnswer(s, ". "), AnswerOutcome::Taken) << "a lone full stop is an answer";
    EXPECT_EQ(s.sentence.answers[0], ".");
    EXPECT_EQ(s.replayCount, 0);
    EXPECT_EQ(s.sentence.currentSlot, 2);
}

TEST(TestRun, TheTenthAnswerFinishesAndNothingMoreIsStored) {
    SessionState s = runningTest();
    for (int slot = 1; slot <= 9; ++slot)
        EXPECT_EQ(recordAnswer(s, "Sentence " + std::to_string(slot) + ".  "), AnswerOutcome::Taken);
    EXPECT_EQ(recordAnswer(s, "x."), AnswerOutcome::Finished);
    EXPECT_EQ(s.sentence.currentSlot, questionSlot);
    EXPECT_EQ(s.sentence.answers[9], "x.");
    EXPECT_EQ(recordAnswer(s, "eleventh."), AnswerOutcome::Ignored);
    EXPECT_EQ(recordAnswer(s, ""), AnswerOutcome::Ignored);
    EXPECT_EQ(s.sentence.currentSlot, questionSlot);
    EXPECT_EQ(s.sentence.answers[0], "Sentence 1.") << "answers are stored trimmed";
}

TEST(TestRun, ScoresCountExactAnswersOnly) {
    TempAppDir dir;
    const content::ContentStore store = chapterOne(dir);
    SessionState s = runningTest();
    for (int slot = 1; slot <= 10; ++slot)
        s.sentence.answers[slot - 1] = "Sentence " + std::to_string(slot) + ".";
    EXPECT_EQ(countCorrect(s.sentence, store), 10);
    s.sentence.answers[2] = "sentence 3.";
    s.sentence.answers[6] = " Sentence 7.";
    EXPECT_EQ(countCorrect(s.sentence, store), 8);
    EXPECT_FALSE(answerIsRight(s.sentence, 3, store));
    EXPECT_TRUE(answerIsRight(s.sentence, 4, store));
    for (auto& answer : s.sentence.answers)
        answer = ".";
    EXPECT_EQ(countCorrect(s.sentence, store), 0);
}

TEST(TestRun, ResultsFillTheFirstEmptySlotAndTheEleventhStandsAlone) {
    records::ResultTable table;
    table.clear(0);
    table.scores[3][6] = 4; // slot 4 of chapter 7 is taken, slots 1..3 are free
    EXPECT_EQ(fileTestResult(table, 7, 9, {1, 1}), 1);
    EXPECT_EQ(table.score(1, 7), 9);
    EXPECT_EQ(table.date(1, 7).str(), "1/1");
    EXPECT_EQ(fileTestResult(table, 7, 0, {12, 25}), 2);
    EXPECT_EQ(table.date(2, 7).str(), "12/25");
    for (int n = 0; n < 7; ++n)
        fileTestResult(table, 7, 5, {3, 5});
    EXPECT_EQ(table.score(10, 7), 5) << "slots 1..10 are full now";
    EXPECT_EQ(fileTestResult(table, 7, 10, {12, 8}), 1);
    EXPECT_EQ(table.score(1, 7), 10);
    EXPECT_EQ(table.date(1, 7).str(), "12/8");
    for (int slot = 2; slot <= 10; ++slot)
        EXPECT_EQ(table.score(slot, 7), -1);
    EXPECT_EQ(table.score(1, 8), -1) << "other chapters are untouched";
}

TEST(TestRun, EveryTestIsShuffledAndTheOptionStays) {
    Tsentence sentence;
    sentence.randomOrder = 0;
    buildTestOrder(sentence, 2, 3, 45296789);
    EXPECT_EQ(sentence.randomOrder, 0);
    std::array<std::int32_t, 10> inOrder;
    for (int i = 0; i < 10; ++i)
        inOrder[i] = 121 + i;
    EXPECT_NE(sentence.order, inOrder);
    auto sorted = sentence.order;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, inOrder) << "the chapter's ten sentences, each once";
}
