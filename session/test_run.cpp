#include "session/test_run.h"

#include "session/answer_check.h"
#include "session/sentence_order.h"

namespace session {

TestState testState(const SessionState& s) {
    if (s.testRunning)
        return s.sentence.currentSlot >= questionSlot ? TestState::Question : TestState::Running;
    return s.reviewActive ? TestState::Review : TestState::Idle;
}

EnterMeaning enterMeaning(const SessionState& s) {
    if (!mainWindowActs(s))
        return EnterMeaning::Nothing;
    switch (s.mode) {
    case TestStudyMode:
        return EnterMeaning::CheckTestStudy;
    case TestMode:
        return s.testRunning ? EnterMeaning::RecordAnswer : EnterMeaning::ReplayVoice;
    default:
        return EnterMeaning::Nothing;
    }
}

bool startTest(SessionState& s) {
    if (s.step == content::checklistStep)
        return false;
    s.reviewActive = 0;
    s.testRunning = 1;
    s.resultFiled = 0;
    return true;
}

void buildTestOrder(Tsentence& sentence, int step, int chapter, std::uint32_t utcMsOfDay) {
    const std::uint8_t option = sentence.randomOrder;
    sentence.randomOrder = 1;
    buildSentenceOrder(sentence, step, chapter, utcMsOfDay);
    sentence.randomOrder = option;
}

AnswerOutcome recordAnswer(SessionState& s, std::string_view typed) {
    if (testState(s) != TestState::Running)
        return AnswerOutcome::Ignored;
    const std::string trimmed = trimAnswer(typed);
    if (!endsInSentencePunctuation(trimmed)) {
        if (s.replayCount >= replayLimit)
            return AnswerOutcome::Ignored;
        ++s.replayCount;
        return AnswerOutcome::Replay;
    }
    s.sentence.answers[s.sentence.currentSlot - 1] = trimmed;
    ++s.sentence.currentSlot;
    if (s.sentence.currentSlot == questionSlot)
        return AnswerOutcome::Finished;
    s.replayCount = 0;
    return AnswerOutcome::Taken;
}

bool answerIsRight(const Tsentence& sentence, int slot, const content::ContentStore& content) {
    if (slot < 1 || slot > slotsPerChapter)
        return false;
    return sentence.answers[slot - 1] ==
           content.lookup(content::ContentKind::English, sentence.idAt(slot));
}

int countCorrect(const Tsentence& sentence, const content::ContentStore& content) {
    int right = 0;
    for (int slot = 1; slot <= slotsPerChapter; ++slot)
        right += answerIsRight(sentence, slot, content) ? 1 : 0;
    return right;
}

int fileTestResult(records::ResultTable& results, int courseChapter, int score,
                   platform::MonthDay day) {
    int slot = 1;
    while (slot <= records::resultSlots && results.score(slot, courseChapter) != -1)
        ++slot;
    if (slot > records::resultSlots) {
        results.clear(courseChapter);
        slot = 1;
    }
    results.scores[slot - 1][courseChapter - 1] = score;
    results.dates[slot - 1][courseChapter - 1].assign(std::to_string(day.month) + "/" +
                                                      std::to_string(day.day));
    return slot;
}

void startReview(SessionState& s) {
    s.testRunning = 0;
    s.reviewActive = 1;
    s.sentence.currentSlot = 1;
}

} // namespace session
