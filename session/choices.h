#pragma once
#include "session/session_state.h"

#include <cstdint>

namespace session {

// What a press on a tab, a selector, the settings or the exit button comes to. While a question
// is open nothing happens; while a test runs the learner is told that nothing else can be done.
enum class Gate { Ignored, RefusedInTest, Acts };
Gate gateOfChoice(const SessionState& s);

enum class StepChange { Ignored, RefusedInTest, Changed };
// The selectors choose another step or chapter: the new one starts on slot 1 of its own order,
// without the review of the old one. The results window, while open, keeps what is under it.
StepChange changeStepOrChapter(SessionState& s, int step, int chapter, std::uint32_t utcMsOfDay);

enum class ModeSwitch { Ignored, OpenResults, Redraw };
// A tab chosen: results remember the mode they were opened from.
ModeSwitch switchMode(SessionState& s, SessionMode chosen);

} // namespace session
