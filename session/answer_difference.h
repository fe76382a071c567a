#pragma once
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace session {

// Bytes [begin, end) of a text; an empty range is a place between two characters.
struct ByteRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool operator==(const ByteRange&) const = default;
};

enum class DifferenceKind {
    MissingWord,     // a word of the sentence that the answer lacks
    ExtraWord,       // a word of the answer that the sentence lacks
    MisspeltWord,    // a word typed otherwise
    SmallForCapital, // "i" where the sentence has "I"
    CapitalForSmall, // "I" where the sentence has "i"
    MissingEndMark,  // the answer does not end in ".", "?" or "!"
    WrongEndMark,    // it ends in another one, or in one where the sentence has none
    LeadingBlank,    // blanks before the first word
    ExtraBlank,      // a blank too many: doubled, before the end mark, or splitting a word
    MissingBlank,    // two words typed as one
};

struct Difference {
    DifferenceKind kind;
    ByteRange answer;   // in the answer; empty, at its place, for something missing
    ByteRange sentence; // in the sentence; empty, at its place, for something extra
    // A misspelt word's first character that differs, in the answer and in the sentence (empty
    // where that word ends first); for the other kinds the same as the ranges above.
    ByteRange wrongInAnswer;
    ByteRange wrongInSentence;
    bool operator==(const Difference&) const = default;
};

// Where typed code page 932 bytes, trimmed as the check trims them, depart from the sentence:
// aligned word by word, and inside a misspelt word character by character, in the order of the
// answer. Empty exactly when judgeAnswer says Right. A range never splits a double-byte character.
std::vector<Difference> answerDifferences(std::string_view typed, std::string_view sentence);

// The first place where the answer departs, a byte offset in it (its end when all it lacks is at
// its end); nothing when there is no difference.
std::optional<std::size_t> firstDeparture(const std::vector<Difference>& differences);

} // namespace session
