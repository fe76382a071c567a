#pragma once
#include "session/session_state.h"

#include <string>

namespace session {

// Slots wrap around: 1 follows 10 and 10 precedes 1.
constexpr int nextSlot(int slot) { return slot >= slotsPerChapter ? 1 : slot + 1; }
constexpr int previousSlot(int slot) { return slot <= 1 ? slotsPerChapter : slot - 1; }

// Study, test study and test move through the chapter; results mode does not.
constexpr bool navigates(int mode) {
    return mode == StudyMode || mode == TestStudyMode || mode == TestMode;
}

// Tops of the sentence and its translation: study shows the translation above the sentence,
// test study and test both higher, above the answer line. -1: the mode shows no sentence.
constexpr int englishTop(int mode) {
    return mode == StudyMode ? 210 : (mode == TestStudyMode || mode == TestMode) ? 166 : -1;
}
constexpr int japaneseTop(int mode) {
    return mode == StudyMode ? 146 : (mode == TestStudyMode || mode == TestMode) ? 125 : -1;
}

// The display options apply to study and test study; a test always shows everything.
constexpr bool translationSuppressed(const SessionState& s) {
    return s.showTranslation == 0 && (s.mode == StudyMode || s.mode == TestStudyMode);
}
constexpr bool pointsSuppressed(const SessionState& s) {
    return s.showPoint == 0 && (s.mode == StudyMode || s.mode == TestStudyMode);
}

// Placement of the slot counter between the arrow buttons, and of the answer line in the content
// area; halves are truncated, never rounded.
constexpr int counterWidth = 99;
constexpr int counterLeft() { return (800 - counterWidth) / 2; }
constexpr int counterTop(int height) { return (60 - height) / 2 + 447; }
constexpr int inputLeft(int width) { return (800 - width) / 2; }
constexpr int inputTop(int height) { return (347 - height) / 2 + 62; }

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
