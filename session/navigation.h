#pragma once
#include "session/session_state.h"

#include <string>

namespace session {

// Slots wrap around: 1 follows 10 and 10 precedes 1.
constexpr int nextSlot(int slot) { return slot >= slotsPerChapter ? 1 : slot + 1; }
constexpr int previousSlot(int slot) { return slot <= 1 ? slotsPerChapter : slot - 1; }

// Study, test study and test move through the chapter; results mode does not.
constexpr bool navigates(SessionMode mode) { return mode != SessionMode::Results; }

// The display options apply to study and test study; a test always shows everything.
constexpr bool translationSuppressed(const SessionState& s) {
    return !s.showTranslation && (s.mode == SessionMode::Study || s.mode == SessionMode::TestStudy);
}
constexpr bool pointsSuppressed(const SessionState& s) {
    return !s.showPoint && (s.mode == SessionMode::Study || s.mode == SessionMode::TestStudy);
}

inline std::string answerAt(const Tsentence& s, int slot) {
    return slot >= 1 && slot <= slotsPerChapter ? s.answers[slot - 1] : std::string();
}

// The step selector runs 1..5 and then the checklist pages (6, shown as "C"); the chapter
// selector 1..10. Both wrap around at either end.
constexpr int stepAfter(int step, int delta) {
    const int n = ((step - 1 + delta) % 6 + 6) % 6;
    return n + 1;
}
constexpr int chapterAfter(int chapter, int delta) {
    const int n = ((chapter - 1 + delta) % 10 + 10) % 10;
    return n + 1;
}

} // namespace session
