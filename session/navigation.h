#pragma once
#include "session/session_state.h"

#include <optional>
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

// The keys the main window previews before the focused control has them.
enum class Key { Other, Enter, F1, F2, F3, F4, F5 };

// F1 to F5 press the picture buttons in their order; Enter repeats the sentence in study, where
// there is no answer line to take it.
constexpr std::optional<NavButton> buttonOfKey(Key key, SessionMode mode) {
    switch (key) {
    case Key::Enter:
        return mode == SessionMode::Study ? std::optional(NavButton::Repeat) : std::nullopt;
    case Key::F1:
    case Key::F2:
    case Key::F3:
    case Key::F4:
    case Key::F5:
        return navButtons[static_cast<int>(key) - static_cast<int>(Key::F1)];
    case Key::Other:
        break;
    }
    return std::nullopt;
}

} // namespace session
