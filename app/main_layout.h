#pragma once
#include "session/session_state.h"

namespace app {

// Top of the translation: in study above the sentence, in test study and test higher, above the
// answer line. -1: the mode shows no sentence.
constexpr int japaneseTop(session::SessionMode mode) {
    using enum session::SessionMode;
    return mode == Study ? 146 : (mode == TestStudy || mode == Test) ? 125 : -1;
}

// Placement of the slot counter between the arrow buttons, and of the answer line in the content
// area; halves are truncated, never rounded.
constexpr int counterWidth = 99;
constexpr int counterLeft() { return (800 - counterWidth) / 2; }
constexpr int counterTop(int height) { return (60 - height) / 2 + 447; }
constexpr int inputLeft(int width) { return (800 - width) / 2; }
constexpr int inputTop(int height) { return (347 - height) / 2 + 62; }

} // namespace app
