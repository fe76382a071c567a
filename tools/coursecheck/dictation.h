#pragma once

#include <string>
#include <string_view>
#include <vector>

// What makes a sentence fair to dictate. The learner hears the voice and types the sentence, and
// the answer must match it byte for byte, case and punctuation included; so a sentence may hold
// nothing whose written form the voice leaves open.
namespace coursecheck {

// True when the "." at `dot` belongs to one of the abbreviations Mr. Mrs. Ms. Dr. a.m. p.m. and the
// rest of its word is punctuation ("Mr.Brown" is a missing blank, not an abbreviation).
bool isAbbreviationDot(std::string_view sentence, std::size_t dot);

// True when the '.', '?' or '!' at `mark` ends a sentence inside `sentence` ("No, I'm not. I'm his
// cousin."): it follows a word, is no abbreviation's dot, and is followed by one blank and a
// capital letter.
bool endsInnerSentence(std::string_view sentence, std::size_t mark);

// The sentences of an English line, each with its final mark.
std::vector<std::string_view> englishSentences(std::string_view english);

// Problems of one English sentence (printable ASCII) for dictation: digits, numbers above ten,
// hyphens, words written more than one accepted way, optional commas and contractions that fast
// speech hides.
std::vector<std::string> dictationProblems(std::string_view english);

// Problems of a translation (code page 932 bytes) against its English sentence: both have the same
// number of sentences, and a sentence is a question in both or in neither ("？" in the
// translation).
std::vector<std::string> pairingProblems(std::string_view english, std::string_view translation);

// The Japanese names of the course whose sentence of first appearance must say in a point line how
// the name is written (the romanised spelling leaves out long vowels: Taro for タロウ).
const std::vector<std::string_view>& japaneseNames();

// True when `name` occurs as a word among the single-byte characters of `cp932` (an English
// sentence, or a point line whose double-byte characters separate words and whose second bytes are
// never read as letters). "Ken's" mentions Ken, "Kenji" does not.
bool mentionsName(std::string_view cp932, std::string_view name);

} // namespace coursecheck
