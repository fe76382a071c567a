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
    s.mode = SessionMode::Test;
    EXPECT_TRUE(startTest(s, 0));
    for (int i = 0; i < 10; ++i)
        s.sentence.order[i] = i + 1;
    s.sentence.currentSlot = 1;
    return s;
}

} // namespace

TEST(TestRun, EnterMeansWhatTheModeAndStateSay) {
    SessionState s;
    EXPECT_EQ(enterMeaning(s), EnterMeaning::Nothing) << "study: Enter is the repeat key";
    s.mode = SessionMode::TestStudy;
    EXPECT_EQ(enterMeaning(s), EnterMeaning::CheckTestStudy);
    s.mode = SessionMode::Test;
    EXPECT_EQ(enterMeaning(s), EnterMeaning::ReplayVoice) << "idle and review replay freely";
    s.testRunning = 1;
    EXPECT_EQ(enterMeaning(s), EnterMeaning::RecordAnswer);
    s.openQuestion = MessageId::SaveQuestion;
    EXPECT_EQ(enterMeaning(s), EnterMeaning::Nothing) << "the save question waits for its answer";
    s.mode = SessionMode::Results;
    s.openQuestion = MessageId::None;
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
    EXPECT_TRUE(startTest(s, 0));
    EXPECT_EQ(testState(s), TestState::Running);
    EXPECT_EQ(s.reviewActive, 0);
}

TEST(TestRun, TheChecklistPagesCannotBeTested) {
    SessionState s;
    s.step = content::checklistStep;
    s.reviewActive = 1;
    EXPECT_FALSE(startTest(s, 0));
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
    SessionState s;
    s.step = 2;
    s.chapter = 3;
    s.sentence.currentSlot = 7;
    s.replayCount = 2;
    ASSERT_TRUE(startTest(s, 45296789));
    EXPECT_FALSE(s.sentence.randomOrder);
    EXPECT_EQ(s.sentence.currentSlot, 1);
    EXPECT_EQ(s.replayCount, 0);
    const Tsentence& sentence = s.sentence;
    std::array<std::int32_t, 10> inOrder;
    for (int i = 0; i < 10; ++i)
        inOrder[i] = 121 + i;
    EXPECT_NE(sentence.order, inOrder);
    auto sorted = sentence.order;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, inOrder) << "the chapter's ten sentences, each once";
}

TEST(TestRun, WhatTheTestViewShowsInEachState) {
    struct Row {
        const char* name;
        bool running;
        bool review;
        int slot;
        bool clear;
        bool sentence;
        Overlay overlay;
        EnabledButtons buttons;
        int replaysUsed;
    };
    const Row rows[] = {
        {"idle", false, false, 1, true, false, Overlay::WaitingForStart, {.start = true}, 0},
        {"running", true, false, 4, true, false, Overlay::TestUnderWay, {.giveUp = true}, 0},
        {"question", true, false, questionSlot, true, false, Overlay::TestUnderWay, {.giveUp = true}, 0},
        {"review", false, true, 1, false, true, Overlay::None,
         {.left = true, .right = true, .start = true, .repeat = true}, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SessionState s;
        s.mode = SessionMode::Test;
        s.testRunning = row.running;
        s.reviewActive = row.review;
        s.sentence.currentSlot = row.slot;
        s.replayCount = 2;
        const SessionState before = s;
        const TestView view = testView(s);
        EXPECT_EQ(view.clearAnswerLine, row.clear);
        EXPECT_EQ(view.sentenceShown, row.sentence);
        EXPECT_EQ(view.overlay, row.overlay);
        EXPECT_EQ(view.buttons, row.buttons);
        EXPECT_EQ(view.replaysUsed, row.replaysUsed);
        EXPECT_EQ(s.replayCount, before.replayCount) << "drawing changes nothing";
        EXPECT_EQ(s.sentence.order, before.sentence.order);
    }
}

TEST(TestRun, YesAndNoOfEachQuestion) {
    struct Row {
        MessageId question;
        bool yes;
        QuestionAnswer answer;
    };
    const Row rows[] = {
        {MessageId::SaveQuestion, true, QuestionAnswer::FileScoreThenReview},
        {MessageId::SaveQuestion, false, QuestionAnswer::Review},
        {MessageId::ExitQuestion, true, QuestionAnswer::Exit},
        {MessageId::ExitQuestion, false, QuestionAnswer::Stay},
        {MessageId::None, true, QuestionAnswer::Ignored},
        {MessageId::None, false, QuestionAnswer::Ignored},
    };
    for (const Row& row : rows) {
        SessionState s;
        s.openQuestion = row.question;
        EXPECT_EQ(answerQuestion(s, row.yes), row.answer)
            << static_cast<int>(row.question) << (row.yes ? " YES" : " NO");
    }
}
