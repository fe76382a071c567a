#include "session/session_start.h"

#include "session/checklist.h"
#include "session/sentence_order.h"

namespace session {

void resetSession(SessionState& s) {
    s.mode = SessionMode::Study;
    s.step = 1;
    s.chapter = 1;
    s.results.clear(0);
    s.showTranslation = true;
    s.showPoint = true;
    s.showShortcuts = false;
    checklist::clear(s.sentence.checklist);
    s.sentence.randomOrder = false;
    s.recordPadding1 = {};
    s.recordPadding2 = 0;
}

void beginSession(SessionState& s, std::uint32_t utcMsOfDay) {
    s.sentence.currentSlot = 1;
    buildSentenceOrder(s.sentence, s.step, s.chapter, utcMsOfDay);
    s.testRunning = false;
    s.reviewActive = false;
    s.answerRevealed = false;
    s.windowFocusTag = NoWindow;
}

} // namespace session
