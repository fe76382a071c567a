#include "session/answer_check.h"

namespace session {

std::string trimAnswer(std::string_view typed) {
    std::size_t end = typed.size();
    while (end > 0 && static_cast<unsigned char>(typed[end - 1]) <= 32)
        --end;
    return std::string(typed.substr(0, end));
}

// No trail byte of a double-byte character is one of these three, so the last byte decides.
bool endsInSentencePunctuation(std::string_view trimmed) {
    if (trimmed.empty())
        return false;
    const char last = trimmed.back();
    return last == '.' || last == '?' || last == '!';
}

Verdict judgeAnswer(std::string_view typed, std::string_view sentence) {
    const std::string trimmed = trimAnswer(typed);
    if (!endsInSentencePunctuation(trimmed))
        return Verdict::NoAnswer;
    return trimmed == sentence ? Verdict::Right : Verdict::Wrong;
}

} // namespace session
