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
// hyphens, exclamation marks, words written more than one accepted way, optional commas and
// commas the course teaches left out.
std::vector<std::string> dictationProblems(std::string_view english);

// Problems of a translation (code page 932 bytes) against its English sentence: both have the same
// number of sentences, and a sentence is a question in both or in neither ("？" in the
// translation).
std::vector<std::string> pairingProblems(std::string_view english, std::string_view translation);

// The Japanese names of the course whose sentence of first appearance must say in a point line how
// the name is written (the romanised spelling leaves out long vowels: Taro for タロウ).
const std::vector<std::string_view>& japaneseNames();

// A problem of a point line (code page 932 bytes) that shows a full-width "？" or "！" on its own,
// as a mark to type: the answer takes the half-width one. Empty when there is none; a full-width
// mark that ends a Japanese phrase (「～してもいい？」) is no problem.
std::string typedMarkProblem(std::string_view point);

// True when `name` occurs as a word among the single-byte characters of `cp932` (an English
// sentence, or a point line whose double-byte characters separate words and whose second bytes are
// never read as letters). "Ken's" mentions Ken, "Kenji" does not.
bool mentionsName(std::string_view cp932, std::string_view name);

// Like mentionsName, but also true for the word with a plural "s" ("textbooks" mentions textbook)
// and, with `anyCase`, in any case ("We'll" mentions we'll).
bool mentionsWord(std::string_view cp932, std::string_view word, bool anyCase);

// The proper nouns of an English line: every capitalised word that does not start a sentence,
// other than "I" and the abbreviations Mr. Mrs. Ms. Dr., without a possessive or contraction
// ("Kate's" gives Kate). A learner cannot hear how they are spelt nor that they take a capital.
std::vector<std::string> properNouns(std::string_view english);

// The contractions of an English line whose ending fades in speech, in lower case: 'll and 'd ("I'll
// carry" sounds like "I carry"), 've ("I've lived") and a 's that stands for has, with the word
// that shows it ("it's been").
std::vector<std::string> fadingContractions(std::string_view english);

// Words that sound like another word written otherwise (whose and who's), in lower case.
const std::vector<std::string_view>& homophones();

} // namespace coursecheck
