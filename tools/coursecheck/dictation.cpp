#include "dictation.h"

#include "cp932.h"

#include <algorithm>
#include <cctype>

namespace coursecheck {

namespace {

// A learner writes a number up to ten as a word, and anything larger as digits, which the course
// never asks for: so no number above ten is spoken at all.
constexpr std::string_view kNumbersAboveTen[] = {
    "eleven",      "twelve",     "thirteen",   "fourteen",   "fifteen",   "sixteen",
    "seventeen",   "eighteen",   "nineteen",   "twenty",     "thirty",    "forty",
    "fifty",       "sixty",      "seventy",    "eighty",     "ninety",    "hundred",
    "hundreds",    "thousand",   "thousands",  "million",    "millions",  "billion",
    "eleventh",    "twelfth",    "thirteenth", "fourteenth", "fifteenth", "sixteenth",
    "seventeenth", "eighteenth", "nineteenth", "twentieth",  "thirtieth", "fortieth",
    "fiftieth",    "sixtieth",   "seventieth", "eightieth",  "ninetieth", "hundredth",
    "thousandth",  "millionth",
};

struct Variant {
    std::string_view words; // one word, or two separated by a blank, in lower case
    std::string_view forms; // the forms a learner may write, for the message
};

// Words and phrases written in more than one accepted way (or capitalised either way): whichever
// the course chose, a learner who writes the other is marked wrong.
constexpr Variant kVariants[] = {
    {"ok", "OK, okay"},
    {"okay", "OK, okay"},
    {"email", "email, e-mail"},
    {"emails", "emails, e-mails"},
    {"canceled", "canceled, cancelled"},
    {"cancelled", "canceled, cancelled"},
    {"canceling", "canceling, cancelling"},
    {"cancelling", "canceling, cancelling"},
    {"traveled", "traveled, travelled"},
    {"travelled", "traveled, travelled"},
    {"traveling", "traveling, travelling"},
    {"travelling", "traveling, travelling"},
    {"traveler", "traveler, traveller"},
    {"traveller", "traveler, traveller"},
    {"checkout", "checkout, check-out"},
    {"someday", "someday, some day"},
    {"some day", "someday, some day"},
    {"seatbelt", "seatbelt, seat belt"},
    {"seat belt", "seatbelt, seat belt"},
    {"alright", "alright, all right"},
    {"all right", "alright, all right"},
    {"gray", "gray, grey"},
    {"grey", "gray, grey"},
    {"theater", "theater, theatre"},
    {"theatre", "theater, theatre"},
    {"donut", "donut, doughnut"},
    {"doughnut", "donut, doughnut"},
    {"goodbye", "goodbye, good-bye, good bye"},
    {"good bye", "goodbye, good-bye, good bye"},
    {"toward", "toward, towards"},
    {"towards", "toward, towards"},
    {"website", "website, web site"},
    {"web site", "website, web site"},
    {"cellphone", "cellphone, cell phone"},
    {"cell phone", "cellphone, cell phone"},
    {"tee shirt", "T-shirt, tee shirt"},
    {"city hall", "City Hall, city hall"},
    {"dr", "Dr., Doctor"},
    {"a.m", "a.m., AM, am"},
    {"p.m", "p.m., PM, pm"},
};

// Contractions whose 've is all but silent in fast speech ("I've wanted" sounds like "I wanted"):
// fair to dictate once a point line has named what the ear hears.
constexpr std::string_view kSilentHave[] = {
    "i've",     "you've",    "we've",    "they've",  "who've",
    "could've", "should've", "would've", "might've", "must've",
};

// After 's these words show a contracted has ("It's been"), which is as hard to hear; a contracted
// had ("We'd had") fades as every 'd does.
constexpr std::string_view kAfterContractedHave[] = {"been", "gone", "got", "had", "better"};

// Words whose comma before them is optional ("I like it, too." and "I like it too.").
constexpr std::string_view kOptionalCommaWords[] = {"too", "either"};

template <std::size_t N> bool contains(const std::string_view (&list)[N], std::string_view word) {
    return std::find(std::begin(list), std::end(list), word) != std::end(list);
}

struct Word {
    std::string_view raw;  // as written
    std::string_view bare; // without surrounding quotes and punctuation
    std::string lower;     // bare, in lower case
};

std::vector<Word> splitWords(std::string_view english) {
    std::vector<Word> words;
    std::size_t pos = 0;
    while (pos < english.size()) {
        const std::size_t start = english.find_first_not_of(' ', pos);
        if (start == std::string_view::npos)
            break;
        std::size_t end = english.find(' ', start);
        if (end == std::string_view::npos)
            end = english.size();
        const std::string_view raw = english.substr(start, end - start);
        const std::size_t first = raw.find_first_not_of('"');
        const std::size_t last = raw.find_last_not_of(",.?!;:\"");
        std::string_view bare;
        if (first != std::string_view::npos && last != std::string_view::npos && last >= first)
            bare = raw.substr(first, last + 1 - first);
        std::string lower;
        for (char c : bare)
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        words.push_back({raw, bare, std::move(lower)});
        pos = end;
    }
    return words;
}

std::string inQuotes(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

bool isCp932(std::string_view text, std::size_t pos, std::string_view character) {
    return text.substr(pos, character.size()) == character;
}

constexpr std::string_view kFullStop = "\x81\x42";     // 。
constexpr std::string_view kQuestionMark = "\x81\x48"; // ？
constexpr std::string_view kExclamation = "\x81\x49";  // ！
// Closing brackets that may follow the mark that ends a sentence: 」 』 ）
constexpr std::string_view kClosers[] = {"\x81\x76", "\x81\x78", "\x81\x6A"};

struct JapaneseSentences {
    std::vector<bool> questions;                        // per sentence: ends in a question mark
    std::size_t halfWidthMark = std::string_view::npos; // offset of a '?' or '!', if any
};

// Splits a translation at its sentence-ending marks; a mark (with any closing brackets after it)
// ends a sentence, and text after the last mark is one more sentence.
JapaneseSentences japaneseSentences(std::string_view text) {
    JapaneseSentences result;
    bool open = false; // a sentence has begun and not ended
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t len = cp932CharLength(text, pos);
        const bool halfWidth = len == 1 && (text[pos] == '?' || text[pos] == '!');
        if (halfWidth && result.halfWidthMark == std::string_view::npos)
            result.halfWidthMark = pos;
        const bool isQuestion = isCp932(text, pos, kQuestionMark) || (len == 1 && text[pos] == '?');
        const bool isMark = isQuestion || halfWidth || isCp932(text, pos, kFullStop) ||
                            isCp932(text, pos, kExclamation);
        const bool isCloser = len == 2 && contains(kClosers, text.substr(pos, 2));
        if (isMark) {
            if (open) {
                result.questions.push_back(isQuestion);
                open = false;
            } else if (!result.questions.empty()) {
                result.questions.back() = isQuestion; // "！？": the last mark of a run counts
            }
        } else if (!isCloser || open) {
            open = true;
        }
        pos += len;
    }
    if (open)
        result.questions.push_back(false);
    return result;
}

// Pronouns (and thanks) that show a "No" at the start of a sentence to be an answer, which the
// course writes with a comma ("No, I'm not."); "No problem." has none.
constexpr std::string_view kAfterAnswerNo[] = {"i",    "i'm", "you",   "he",    "she",  "it",
                                               "it's", "we",  "they",  "thank", "thanks"};

// The commas the course teaches once and then tests everywhere: after an answering Yes or No and
// a greeting, before "but", before a final "please", and after a clause that opens a statement
// with If or When. A sentence that breaks one marks wrong the learner who keeps it.
void addCommaProblems(std::string_view english, std::vector<std::string>& problems) {
    auto endsInComma = [](const Word& w) {
        std::string_view raw = w.raw;
        if (raw.ends_with('"')) // "Hi," said Tom.
            raw.remove_suffix(1);
        return raw.ends_with(',');
    };
    for (const std::string_view sentence : englishSentences(english)) {
        const std::vector<Word> words = splitWords(sentence);
        if (words.size() < 2)
            continue;
        const Word& first = words.front();
        const bool answerOrGreeting =
            first.lower == "yes" || first.lower == "hi" || first.lower == "hello" ||
            (first.lower == "no" && contains(kAfterAnswerNo, words[1].lower));
        if (answerOrGreeting && !endsInComma(first))
            problems.push_back("English sentence has " + inQuotes(first.bare) +
                               " without the comma after it that the course teaches");
        for (std::size_t i = 1; i < words.size(); ++i)
            if (words[i].lower == "but" && !endsInComma(words[i - 1]))
                problems.push_back("English sentence has \"but\" without the comma before it"
                                   " that the course teaches (\", but\")");
        if (words.back().lower == "please" && !endsInComma(words[words.size() - 2]))
            problems.push_back("English sentence ends in \"please\" without the comma before it"
                               " that the course teaches (\", please\")");
        const bool opensWithClause = first.lower == "if" || first.lower == "when";
        if (opensWithClause && !sentence.ends_with('?') &&
            sentence.find(',') == std::string_view::npos)
            problems.push_back("English sentence opens with an " + inQuotes(first.bare) +
                               " clause and has no comma after it");
    }
}

} // namespace

bool isAbbreviationDot(std::string_view sentence, std::size_t dot) {
    std::size_t start = sentence.rfind(' ', dot);
    start = start == std::string_view::npos ? 0 : start + 1;
    if (start < sentence.size() && sentence[start] == '"')
        ++start;
    std::size_t end = sentence.find(' ', dot);
    if (end == std::string_view::npos)
        end = sentence.size();
    const std::string_view word = sentence.substr(start, end - start);
    static constexpr std::string_view abbreviations[] = {"Mr.", "Mrs.", "Ms.",
                                                         "Dr.", "a.m.", "p.m."};
    for (std::string_view a : abbreviations) {
        if (word.starts_with(a) && dot - start < a.size() &&
            word.substr(a.size()).find_first_not_of(",;:.?!\"") == std::string_view::npos)
            return true;
    }
    return false;
}

bool endsInnerSentence(std::string_view sentence, std::size_t mark) {
    if (mark == 0 || mark + 2 >= sentence.size())
        return false;
    if (sentence[mark] == '.' && isAbbreviationDot(sentence, mark))
        return false; // "Mr. Brown"
    const auto before = static_cast<unsigned char>(sentence[mark - 1]);
    const bool wordEnds = std::isalnum(before) || before == '"' || before == '\'';
    return wordEnds && sentence[mark + 1] == ' ' && sentence[mark + 2] >= 'A' &&
           sentence[mark + 2] <= 'Z';
}

std::vector<std::string_view> englishSentences(std::string_view english) {
    std::vector<std::string_view> sentences;
    std::size_t start = 0;
    for (std::size_t i = 0; i < english.size(); ++i) {
        const char c = english[i];
        if ((c == '.' || c == '?' || c == '!') && endsInnerSentence(english, i)) {
            sentences.push_back(english.substr(start, i + 1 - start));
            start = i + 2;
        }
    }
    if (start < english.size())
        sentences.push_back(english.substr(start));
    return sentences;
}

std::vector<std::string> dictationProblems(std::string_view english) {
    std::vector<std::string> problems;
    for (std::size_t i = 0; i < english.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(english[i]))) {
            problems.push_back("English sentence has the digit '" + std::string(1, english[i]) +
                               "' at column " + std::to_string(i + 1) +
                               ": numbers are words, one to ten");
            break;
        }
    }
    if (const std::size_t hyphen = english.find('-'); hyphen != std::string_view::npos)
        problems.push_back("English sentence has a hyphen at column " + std::to_string(hyphen + 1) +
                           ": a listener cannot hear it");
    if (const std::size_t mark = english.find('!'); mark != std::string_view::npos)
        problems.push_back("English sentence has '!' at column " + std::to_string(mark + 1) +
                           ": a listener cannot tell it from '.'");

    addCommaProblems(english, problems);

    const std::vector<Word> words = splitWords(english);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const Word& w = words[i];
        if (contains(kNumbersAboveTen, w.lower))
            problems.push_back("English sentence has the number " + inQuotes(w.bare) +
                               ": numbers above ten are written with digits, so leave them out");
        const std::string pair = i + 1 < words.size() ? w.lower + " " + words[i + 1].lower : "";
        for (const Variant& v : kVariants) {
            if (v.words == w.lower || v.words == pair) {
                const std::string written =
                    v.words == w.lower ? std::string(w.bare)
                                       : std::string(w.bare) + " " + std::string(words[i + 1].bare);
                problems.push_back("English sentence has " + inQuotes(written) +
                                   ", which is written more than one way (" + std::string(v.forms) +
                                   ")");
                break;
            }
        }
        std::string_view bare = w.raw;
        if (bare.ends_with('"'))
            bare.remove_suffix(1);
        const bool endsSentence =
            !bare.empty() && std::string_view(".?!").find(bare.back()) != std::string_view::npos;
        const bool afterComma = i > 0 && words[i - 1].raw.ends_with(',');
        if (contains(kOptionalCommaWords, w.lower) && (endsSentence || afterComma))
            problems.push_back("English sentence has " + inQuotes(w.bare) +
                               " at the end of a clause: the comma before it is optional, so"
                               " the sentence has two right answers");
    }
    return problems;
}

std::vector<std::string> pairingProblems(std::string_view english, std::string_view translation) {
    std::vector<std::string> problems;
    const JapaneseSentences japanese = japaneseSentences(translation);
    if (japanese.halfWidthMark != std::string_view::npos)
        problems.push_back("translation has a half-width '" +
                           std::string(1, translation[japanese.halfWidthMark]) + "' at column " +
                           std::to_string(japanese.halfWidthMark + 1) +
                           ": questions end in '？' (full width)");
    const std::vector<std::string_view> sentences = englishSentences(english);
    if (sentences.size() != japanese.questions.size()) {
        problems.push_back("translation has " + std::to_string(japanese.questions.size()) +
                           (japanese.questions.size() == 1 ? " sentence" : " sentences") +
                           ", the English " + std::to_string(sentences.size()) +
                           ": translate sentence for sentence");
        return problems;
    }
    for (std::size_t k = 0; k < sentences.size(); ++k) {
        const bool englishAsks = sentences[k].ends_with('?');
        if (englishAsks == japanese.questions[k])
            continue;
        const std::string which =
            sentences.size() == 1 ? "translation" : "translation sentence " + std::to_string(k + 1);
        problems.push_back(englishAsks
                               ? which + " does not end in '？' though the English asks a question"
                               : which + " ends in '？' though the English is no question");
    }
    return problems;
}

const std::vector<std::string_view>& japaneseNames() {
    // Every Japanese name the course uses; a writer who brings in another adds it here.
    static const std::vector<std::string_view> names = {
        "Ken", "Yumi", "Mika", "Taro", "Aya", "Jiro", "Shota", "Rina", "Saki", "Daiki", "Sato",
    };
    return names;
}

std::string typedMarkProblem(std::string_view point) {
    // What may stand before a mark that ends a Japanese phrase: anything but a blank or an opening
    // bracket (「 『 （), which leave the mark on its own.
    constexpr std::string_view kOpeners[] = {"\x81\x75", "\x81\x77", "\x81\x69"};
    std::string_view before;
    for (std::size_t pos = 0; pos < point.size();) {
        const std::size_t len = cp932CharLength(point, pos);
        const std::string_view c = point.substr(pos, len);
        if (c == kQuestionMark || c == kExclamation) {
            const bool endsPhrase =
                before.size() == 2 && before != "\x81\x40" && !contains(kOpeners, before);
            const bool question = c == kQuestionMark;
            if (!endsPhrase)
                return std::string("point line shows a full-width '") + (question ? "？" : "！") +
                       "' at column " + std::to_string(pos + 1) +
                       " as a mark to type: the answer takes the half-width '" +
                       (question ? "?" : "!") + "'";
        }
        before = c;
        pos += len;
    }
    return {};
}

namespace {

// The single-byte characters of `cp932`, each double-byte one replaced by a blank.
std::string singleByteText(std::string_view cp932) {
    std::string letters;
    for (std::size_t pos = 0; pos < cp932.size();) {
        const std::size_t len = cp932CharLength(cp932, pos);
        letters += len == 1 ? cp932[pos] : ' ';
        pos += len;
    }
    return letters;
}

std::string lowerCase(std::string_view s) {
    std::string out;
    for (char c : s)
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool containsWord(const std::string& letters, std::string_view word, bool plural) {
    auto isLetter = [&](std::size_t at) {
        return at < letters.size() && std::isalpha(static_cast<unsigned char>(letters[at]));
    };
    for (std::size_t at = letters.find(word); at != std::string::npos;
         at = letters.find(word, at + 1)) {
        std::size_t after = at + word.size();
        if (plural && after < letters.size() && letters[after] == 's')
            ++after;
        if ((at == 0 || !isLetter(at - 1)) && !isLetter(after))
            return true;
    }
    return false;
}

} // namespace

bool mentionsName(std::string_view cp932, std::string_view name) {
    return containsWord(singleByteText(cp932), name, false);
}

bool mentionsWord(std::string_view cp932, std::string_view word, bool anyCase) {
    if (anyCase)
        return containsWord(lowerCase(singleByteText(cp932)), lowerCase(word), true);
    return containsWord(singleByteText(cp932), word, true);
}

std::vector<std::string> properNouns(std::string_view english) {
    std::vector<std::string> nouns;
    for (const std::string_view sentence : englishSentences(english)) {
        const std::vector<Word> words = splitWords(sentence);
        for (std::size_t i = 1; i < words.size(); ++i) {
            if (words[i].raw.starts_with('"'))
                continue; // a quoted sentence starts here
            const std::string_view word = words[i].bare.substr(0, words[i].bare.find('\''));
            static constexpr std::string_view kTitles[] = {"Mr", "Mrs", "Ms", "Dr"};
            if (word.empty() || !std::isupper(static_cast<unsigned char>(word.front())) ||
                word == "I" || contains(kTitles, word))
                continue;
            nouns.emplace_back(word);
        }
    }
    return nouns;
}

std::vector<std::string> fadingContractions(std::string_view english) {
    std::vector<std::string> found;
    const std::vector<Word> words = splitWords(english);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i].lower;
        if (w.ends_with("'ll") || w.ends_with("'d") || contains(kSilentHave, w))
            found.push_back(w);
        else if (w.ends_with("'s") && i + 1 < words.size() &&
                 contains(kAfterContractedHave, words[i + 1].lower))
            found.push_back(w + " " + words[i + 1].lower); // "it's been": 's is has, not is
    }
    return found;
}

const std::vector<std::string_view>& homophones() {
    static const std::vector<std::string_view> words = {
        "whose", "who's", "their", "there", "they're", "its", "it's",
    };
    return words;
}

} // namespace coursecheck
