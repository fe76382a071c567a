#include "session/choices.h"

#include "session/sentence_order.h"

namespace session {

Gate gateOfChoice(const SessionState& s) {
    if (!mainWindowActs(s))
        return Gate::Ignored;
    return s.testRunning ? Gate::RefusedInTest : Gate::Acts;
}

StepChange changeStepOrChapter(SessionState& s, int step, int chapter, std::uint32_t utcMsOfDay) {
    // While a test runs the step and chapter stay as they were: the result is filed under them
    // and the answers are scored against this order.
    switch (gateOfChoice(s)) {
    case Gate::Ignored:
        return StepChange::Ignored;
    case Gate::RefusedInTest:
        return StepChange::RefusedInTest;
    case Gate::Acts:
        break;
    }
    if (s.mode == SessionMode::Results || (step == s.step && chapter == s.chapter))
        return StepChange::Ignored;
    s.step = step;
    s.chapter = chapter;
    // A review belongs to the chapter it was taken in; another chapter starts from the idle view.
    s.reviewActive = false;
    s.sentence.currentSlot = 1;
    buildSentenceOrder(s.sentence, step, chapter, utcMsOfDay);
    return StepChange::Changed;
}

ModeSwitch switchMode(SessionState& s, SessionMode chosen) {
    if (gateOfChoice(s) != Gate::Acts || chosen == s.mode)
        return ModeSwitch::Ignored;
    if (chosen == SessionMode::Results) {
        s.previousMode = s.mode;
        s.mode = chosen;
        return ModeSwitch::OpenResults;
    }
    s.mode = chosen;
    return ModeSwitch::Redraw;
}

} // namespace session
