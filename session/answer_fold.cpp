#include "session/answer_fold.h"

#include "platform/cp932.h"
#include "platform/cp932_characters.h"

namespace session {
namespace {

struct FoldedMark {
    unsigned code;
    char halfWidth;
};

// Only marks whose half-width form an English sentence can hold; "ー", "・" and the corner
// brackets are kana script and stay.
constexpr FoldedMark foldedMarks[] = {
    {0x8140, ' '}, {0x8141, ','}, {0x8142, '.'},  {0x8143, ','}, {0x8144, '.'},  {0x8146, ':'},
    {0x8147, ';'}, {0x8148, '?'}, {0x8149, '!'},  {0x815E, '/'}, {0x8165, '\''}, {0x8166, '\''},
    {0x8167, '"'}, {0x8168, '"'}, {0x8169, '('},  {0x816A, ')'}, {0x817C, '-'},  {0x8190, '$'},
    {0x8193, '%'}, {0x8195, '&'}, {0xFA56, '\''}, {0xFA57, '"'},
};

// The half-width form of a double-byte character, or 0 when it is not folded.
char halfWidthOf(unsigned code) {
    if (code >= 0x8260 && code <= 0x8279)
        return static_cast<char>('A' + (code - 0x8260));
    if (code >= 0x8281 && code <= 0x829A)
        return static_cast<char>('a' + (code - 0x8281));
    if (code >= 0x824F && code <= 0x8258)
        return static_cast<char>('0' + (code - 0x824F));
    for (const FoldedMark& mark : foldedMarks)
        if (mark.code == code)
            return mark.halfWidth;
    return 0;
}

// What code page 932 conversion puts for a character it lacks.
constexpr std::string_view unknownCharacter = "\x81\x48";

std::size_t utf8CharacterLength(std::string_view utf8) {
    std::size_t length = 1;
    while (length < utf8.size() && (static_cast<unsigned char>(utf8[length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

} // namespace

std::string foldFullWidth(std::string_view cp932) {
    std::string folded;
    folded.reserve(cp932.size());
    for (std::size_t pos = 0; pos < cp932.size();) {
        const std::size_t length = platform::characterLength(cp932, pos);
        const char half = length == 2 ? halfWidthOf(static_cast<unsigned char>(cp932[pos]) << 8 |
                                                    static_cast<unsigned char>(cp932[pos + 1]))
                                      : 0;
        if (half != 0)
            folded += half;
        else
            folded.append(cp932.substr(pos, length));
        pos += length;
    }
    return folded;
}

std::string typedAnswerBytes(std::string_view utf8) {
    if (const auto whole = platform::utf8ToCp932(utf8))
        return foldFullWidth(*whole);
    std::string answer;
    while (!utf8.empty()) {
        const std::size_t length = utf8CharacterLength(utf8);
        const auto character = platform::utf8ToCp932(utf8.substr(0, length));
        answer += character ? foldFullWidth(*character) : std::string(unknownCharacter);
        utf8.remove_prefix(length);
    }
    return answer;
}

} // namespace session
