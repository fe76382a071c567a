#include "session/answer_difference.h"

#include "session/answer_check.h"
#include "platform/cp932_characters.h"

#include <algorithm>
#include <string>

namespace session {
namespace {

constexpr char blank = ' ';

std::size_t lengthOf(ByteRange range) {
    return range.end - range.begin;
}
ByteRange placeAt(std::size_t offset) {
    return {offset, offset};
}

void add(std::vector<Difference>& out, DifferenceKind kind, ByteRange answer, ByteRange sentence) {
    out.push_back({kind, answer, sentence, answer, sentence});
}

// A text cut at its blanks: the blanks before the first word, the words (with the blanks between
// them), the blanks after the last word, and the end mark.
struct Parts {
    std::string_view text;
    std::vector<ByteRange> words;
    ByteRange leading;
    ByteRange trailing;
    ByteRange mark; // empty at the text's end when it has none

    std::size_t bodyEnd() const { return mark.begin; }
    bool marked() const { return lengthOf(mark) == 1; }
    std::string_view word(std::size_t k) const {
        return text.substr(words[k].begin, lengthOf(words[k]));
    }
};

// The last byte decides the end mark: no trail byte is a mark.
Parts cutIntoParts(std::string_view text) {
    Parts parts;
    parts.text = text;
    const char last = text.empty() ? '\0' : text.back();
    const std::size_t bodyEnd =
        last == '.' || last == '?' || last == '!' ? text.size() - 1 : text.size();
    parts.mark = {bodyEnd, text.size()};
    const auto pastBlanks = [&](std::size_t pos) {
        while (pos < bodyEnd && text[pos] == blank)
            ++pos;
        return pos;
    };
    std::size_t pos = pastBlanks(0);
    parts.leading = {0, pos};
    parts.trailing = placeAt(bodyEnd);
    while (pos < bodyEnd) {
        std::size_t end = pos;
        while (end < bodyEnd && text[end] != blank)
            ++end;
        parts.words.push_back({pos, end});
        pos = pastBlanks(end);
        if (pos == bodyEnd)
            parts.trailing = {end, pos};
    }
    return parts;
}

// Costs of the word alignment. A misspelt pair costs less than a missing and an extra word
// together, so that a word typed otherwise is named as such.
constexpr int caseCost = 1;
constexpr int joinCost = 1;
constexpr int missingOrExtraCost = 2;
constexpr int misspeltCost = 3;

std::optional<DifferenceKind> caseSlip(std::string_view typed, std::string_view expected) {
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (typed.size() != 1 || expected.size() != 1 || !isLetter(typed[0]) ||
        (typed[0] | 0x20) != (expected[0] | 0x20))
        return std::nullopt;
    return typed[0] >= 'a' ? DifferenceKind::SmallForCapital : DifferenceKind::CapitalForSmall;
}

// Compares two words character by character: the cost of pairing them and, given a list, their
// differences at the words' offsets in the answer and the sentence.
int compareWords(std::string_view typed, std::size_t typedAt, std::string_view expected,
                 std::size_t expectedAt, std::vector<Difference>* out) {
    std::size_t p = 0;
    std::size_t q = 0;
    int cost = 0;
    while (p < typed.size() && q < expected.size()) {
        const std::size_t lp = platform::characterLength(typed, p);
        const std::size_t lq = platform::characterLength(expected, q);
        if (typed.substr(p, lp) != expected.substr(q, lq)) {
            const auto slip = caseSlip(typed.substr(p, lp), expected.substr(q, lq));
            if (!slip)
                break;
            cost = caseCost;
            if (out)
                add(*out, *slip, {typedAt + p, typedAt + p + 1},
                    {expectedAt + q, expectedAt + q + 1});
        }
        p += lp;
        q += lq;
    }
    if (p == typed.size() && q == expected.size())
        return cost;
    if (out) {
        const auto firstWrong = [](std::string_view word, std::size_t at, std::size_t pos) {
            const std::size_t length = pos < word.size() ? platform::characterLength(word, pos) : 0;
            return ByteRange{at + pos, at + pos + length};
        };
        out->push_back({DifferenceKind::MisspeltWord,
                        {typedAt, typedAt + typed.size()},
                        {expectedAt, expectedAt + expected.size()},
                        firstWrong(typed, typedAt, p),
                        firstWrong(expected, expectedAt, q)});
    }
    return misspeltCost;
}

bool isJoined(std::string_view whole, std::string_view first, std::string_view second) {
    return whole.size() == first.size() + second.size() && whole.starts_with(first) &&
           whole.ends_with(second);
}

// One step of the alignment, tried in this order where costs tie, so that the earlier of two
// equal words is the one matched.
enum class StepKind { Pair, Joined, Split, Missing, Extra };
constexpr StepKind stepKinds[] = {StepKind::Pair, StepKind::Joined, StepKind::Split,
                                  StepKind::Missing, StepKind::Extra};

struct Step {
    StepKind kind;
    std::size_t answerWord;   // the first answer word it takes, or the next one when it takes none
    std::size_t sentenceWord; // the same in the sentence
    ByteRange inAnswer;
    ByteRange inSentence;

    std::size_t answerWords() const {
        return kind == StepKind::Split ? 2 : kind == StepKind::Missing ? 0 : 1;
    }
    std::size_t sentenceWords() const {
        return kind == StepKind::Joined ? 2 : kind == StepKind::Extra ? 0 : 1;
    }
    bool aligned() const { return kind != StepKind::Missing && kind != StepKind::Extra; }
};

ByteRange spanOf(const Parts& parts, std::size_t first, std::size_t count) {
    if (count == 0)
        return placeAt(first < parts.words.size() ? parts.words[first].begin : parts.bodyEnd());
    return {parts.words[first].begin, parts.words[first + count - 1].end};
}

Step placed(Step step, const Parts& a, const Parts& s) {
    step.inAnswer = spanOf(a, step.answerWord, step.answerWords());
    step.inSentence = spanOf(s, step.sentenceWord, step.sentenceWords());
    return step;
}

std::optional<int> stepCost(const Step& step, const Parts& a, const Parts& s) {
    const std::size_t i = step.answerWord;
    const std::size_t j = step.sentenceWord;
    if (i + step.answerWords() > a.words.size() || j + step.sentenceWords() > s.words.size())
        return std::nullopt;
    switch (step.kind) {
    case StepKind::Pair:
        return compareWords(a.word(i), 0, s.word(j), 0, nullptr);
    case StepKind::Joined:
        return isJoined(a.word(i), s.word(j), s.word(j + 1)) ? std::optional(joinCost)
                                                             : std::nullopt;
    case StepKind::Split:
        return isJoined(s.word(j), a.word(i), a.word(i + 1)) ? std::optional(joinCost)
                                                             : std::nullopt;
    case StepKind::Missing:
    case StepKind::Extra:
        return missingOrExtraCost;
    }
    return std::nullopt;
}

// The cheapest edit of the answer's words into the sentence's.
std::vector<Step> alignWords(const Parts& a, const Parts& s) {
    const std::size_t n = a.words.size();
    const std::size_t m = s.words.size();
    // cheapest[i * (m + 1) + j]: aligning the answer's words from i with the sentence's from j.
    std::vector<int> cheapest((n + 1) * (m + 1), 0);
    const auto at = [&](std::size_t i, std::size_t j) -> int& { return cheapest[i * (m + 1) + j]; };
    const auto withRest = [&](const Step& step) -> std::optional<int> {
        const auto cost = stepCost(step, a, s);
        if (!cost)
            return std::nullopt;
        return *cost +
               at(step.answerWord + step.answerWords(), step.sentenceWord + step.sentenceWords());
    };
    for (std::size_t i = n + 1; i-- > 0;)
        for (std::size_t j = m + 1; j-- > 0;) {
            if (i == n && j == m)
                continue;
            std::optional<int> best;
            for (StepKind kind : stepKinds)
                if (const auto total = withRest({kind, i, j, {}, {}}))
                    best = best ? std::min(*best, *total) : *total;
            at(i, j) = *best;
        }
    std::vector<Step> steps;
    for (std::size_t i = 0, j = 0; i < n || j < m;)
        for (StepKind kind : stepKinds) {
            const Step step{kind, i, j, {}, {}};
            if (withRest(step) == at(i, j)) {
                steps.push_back(placed(step, a, s));
                i += step.answerWords();
                j += step.sentenceWords();
                break;
            }
        }
    return steps;
}

// The blanks between two words of the answer, or before or after them, against the blanks of the
// sentence between the places those words stand for. Only where nothing is missing or extra
// between them must they be as many; otherwise one is enough between words.
void compareBlanks(std::vector<Difference>& out, ByteRange gap, const Parts& s, std::size_t from,
                   std::size_t to, bool adjacent, std::size_t minimum, DifferenceKind tooMany) {
    const auto blanks =
        static_cast<std::size_t>(std::count(s.text.begin() + from, s.text.begin() + to, blank));
    const std::size_t allowed = std::max(minimum, blanks);
    const std::size_t required = adjacent ? blanks : minimum;
    if (lengthOf(gap) > allowed)
        add(out, tooMany, {gap.begin + allowed, gap.end}, placeAt(to));
    else if (lengthOf(gap) < required)
        add(out, DifferenceKind::MissingBlank, placeAt(gap.end),
            {to - (required - lengthOf(gap)), to});
}

void addStepDifferences(std::vector<Difference>& out, const Step& step, const Parts& a,
                        const Parts& s) {
    const std::size_t i = step.answerWord;
    const std::size_t j = step.sentenceWord;
    switch (step.kind) {
    case StepKind::Pair:
        compareWords(a.word(i), a.words[i].begin, s.word(j), s.words[j].begin, &out);
        break;
    case StepKind::Joined:
        add(out, DifferenceKind::MissingBlank, placeAt(a.words[i].begin + s.word(j).size()),
            {s.words[j].end, s.words[j + 1].begin});
        break;
    case StepKind::Split:
        add(out, DifferenceKind::ExtraBlank, {a.words[i].end, a.words[i + 1].begin},
            placeAt(s.words[j].begin + a.word(i).size()));
        break;
    case StepKind::Missing:
        add(out, DifferenceKind::MissingWord, step.inAnswer, step.inSentence);
        break;
    case StepKind::Extra:
        add(out, DifferenceKind::ExtraWord, step.inAnswer, step.inSentence);
        break;
    }
}

std::vector<Difference> wordAndBlankDifferences(const Parts& a, const Parts& s) {
    std::vector<Difference> out;
    const std::vector<Step> steps = alignWords(a, s);
    std::vector<std::size_t> typing; // the steps that take answer words, in order
    for (std::size_t k = 0; k < steps.size(); ++k)
        if (steps[k].answerWords() > 0)
            typing.push_back(k);

    if (typing.empty()) {
        compareBlanks(out, a.leading, s, s.leading.begin, s.leading.end, true, 0,
                      DifferenceKind::LeadingBlank);
    } else {
        const Step& first = steps[typing.front()];
        compareBlanks(out, a.leading, s, 0, first.inSentence.begin,
                      typing.front() == 0 && first.aligned(), 0, DifferenceKind::LeadingBlank);
    }
    for (std::size_t t = 0; t < typing.size(); ++t) {
        const std::size_t k = typing[t];
        const Step& step = steps[k];
        const std::size_t lastWord = step.answerWord + step.answerWords() - 1;
        if (t + 1 < typing.size()) {
            const Step& next = steps[typing[t + 1]];
            compareBlanks(out, {a.words[lastWord].end, a.words[lastWord + 1].begin}, s,
                          step.inSentence.end, next.inSentence.begin,
                          typing[t + 1] == k + 1 && step.aligned() && next.aligned(), 1,
                          DifferenceKind::ExtraBlank);
        } else {
            compareBlanks(out, a.trailing, s, step.inSentence.end, s.bodyEnd(),
                          k + 1 == steps.size() && step.aligned(), 0, DifferenceKind::ExtraBlank);
        }
    }
    for (const Step& step : steps)
        addStepDifferences(out, step, a, s);
    return out;
}

} // namespace

std::vector<Difference> answerDifferences(std::string_view typed, std::string_view sentence) {
    const std::string answer = trimAnswer(typed);
    const Parts a = cutIntoParts(answer);
    const Parts s = cutIntoParts(sentence);
    std::vector<Difference> out = wordAndBlankDifferences(a, s);
    if (!a.marked())
        add(out, DifferenceKind::MissingEndMark, a.mark, s.mark);
    else if (!s.marked() || answer.back() != sentence.back())
        add(out, DifferenceKind::WrongEndMark, a.mark, s.mark);
    std::stable_sort(out.begin(), out.end(), [](const Difference& x, const Difference& y) {
        return x.wrongInAnswer.begin < y.wrongInAnswer.begin;
    });
    return out;
}

std::optional<std::size_t> firstDeparture(const std::vector<Difference>& differences) {
    if (differences.empty())
        return std::nullopt;
    std::size_t first = differences.front().wrongInAnswer.begin;
    for (const Difference& difference : differences)
        first = std::min(first, difference.wrongInAnswer.begin);
    return first;
}

} // namespace session
