#pragma once
#include <string>
#include <string_view>

namespace session {

// The typed text without its trailing blanks and control characters; leading blanks stay.
std::string trimAnswer(std::string_view typed);

// An answer ends in ".", "?" or "!" as single bytes; full-width marks never count.
bool endsInSentencePunctuation(std::string_view trimmed);

enum class Verdict {
    NoAnswer, // empty, or without its final punctuation: only worth hearing the sentence again
    Wrong,
    Right,
};

// Judges typed code page 932 bytes against a sentence as the course stores it: trimmed, then
// compared byte for byte, case and punctuation included.
Verdict judgeAnswer(std::string_view typed, std::string_view sentence);

} // namespace session
