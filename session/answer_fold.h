#pragma once
#include <string>
#include <string_view>

namespace session {

// Code page 932 text with the full-width forms that an input method types for the keys of an
// English sentence made half-width: the letters, the digits, the ideographic space and the marks
// an English sentence uses (. , ? ! ' " : ; ( ) - / & $ %), the ideographic 。 and 、 among them,
// as they are what the full stop and comma keys type. Everything else, kana and kanji included,
// stays as it is.
std::string foldFullWidth(std::string_view cp932);

// The answer line's text (UTF-8) as the code page 932 bytes the check judges, folded. A character
// that code page 932 lacks becomes "？" only after the fold, so it never turns into a "?" that
// would pass for an end mark.
std::string typedAnswerBytes(std::string_view utf8);

} // namespace session
