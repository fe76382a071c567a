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
    case SessionMode::TestStudy:
        return EnterMeaning::CheckTestStudy;
    case SessionMode::Test:
        return s.testRunning ? EnterMeaning::RecordAnswer : EnterMeaning::ReplayVoice;
    default:
        return EnterMeaning::Nothing;
    }
}

bool startTest(SessionState& s, std::uint32_t utcMsOfDay) {
    if (s.step == content::checklistStep)
        return false;
    s.reviewActive = false;
    s.testRunning = true;
    s.resultFiled = false;
    s.replayCount = 0;
    const bool option = s.sentence.randomOrder;
    s.sentence.randomOrder = true;
    buildSentenceOrder(s.sentence, s.step, s.chapter, utcMsOfDay);
    s.sentence.randomOrder = option;
    s.sentence.currentSlot = 1;
    return true;
}

TestView testView(const SessionState& s) {
    TestView view;
    switch (testState(s)) {
    case TestState::Idle:
        view.clearAnswerLine = true;
        view.overlay = Overlay::WaitingForStart;
        view.buttons = {.start = true};
        break;
    case TestState::Running:
    case TestState::Question:
        view.clearAnswerLine = true;
        view.overlay = Overlay::TestUnderWay;
        view.buttons = {.giveUp = true};
        break;
    case TestState::Review:
        view.sentenceShown = true;
        view.buttons = {.left = true, .right = true, .start = true, .repeat = true};
        view.replaysUsed = replayLimit;
        break;
    }
    return view;
}

QuestionAnswer answerQuestion(const SessionState& s, bool yes) {
    switch (s.openQuestion) {
    case MessageId::SaveQuestion:
        return yes ? QuestionAnswer::FileScoreThenReview : QuestionAnswer::Review;
    case MessageId::ExitQuestion:
        return yes ? QuestionAnswer::Exit : QuestionAnswer::Stay;
    default:
        return QuestionAnswer::Ignored;
    }
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
    s.testRunning = false;
    s.reviewActive = true;
    s.sentence.currentSlot = 1;
}

} // namespace session
