#include "app/answer_marks.h"

#include "session/answer_check.h"
#include "session/answer_difference.h"
#include "session/answer_fold.h"
#include "platform/cp932_characters.h"

#include <algorithm>

namespace app {
namespace {

using session::DifferenceKind;

QString kindText(DifferenceKind kind) {
    switch (kind) {
    case DifferenceKind::MissingWord:
        return QStringLiteral("抜けた単語");
    case DifferenceKind::ExtraWord:
        return QStringLiteral("余分な単語");
    case DifferenceKind::MisspeltWord:
        return QStringLiteral("つづりの違い");
    case DifferenceKind::SmallForCapital:
        return QStringLiteral("大文字にする所が小文字");
    case DifferenceKind::CapitalForSmall:
        return QStringLiteral("小文字にする所が大文字");
    case DifferenceKind::MissingEndMark:
        return QStringLiteral("文末の記号がない");
    case DifferenceKind::WrongEndMark:
        return QStringLiteral("文末の記号の違い");
    case DifferenceKind::LeadingBlank:
        return QStringLiteral("先頭の空白");
    case DifferenceKind::ExtraBlank:
        return QStringLiteral("余分な空白");
    case DifferenceKind::MissingBlank:
        return QStringLiteral("空白がない");
    }
    return {};
}

// The byte offset at which each UTF-16 unit of the shown text begins in the judged bytes; a
// character of two units gives both its offset. Byte ranges never split a character, so the unit
// index of a byte offset is the number of units that begin before it.
class CharacterPlaces {
public:
    int at(std::size_t byte) const {
        return static_cast<int>(std::lower_bound(starts_.begin(), starts_.end(), byte) - starts_.begin());
    }
    void add(std::size_t start, int units) { starts_.insert(starts_.end(), units, start); }

private:
    std::vector<std::size_t> starts_;
};

// Code page 932 text as fromCp932 shows it: one unit a character.
CharacterPlaces placesInCp932(const std::string& text) {
    CharacterPlaces places;
    for (std::size_t pos = 0; pos < text.size(); pos += platform::characterLength(text, pos))
        places.add(pos, 1);
    return places;
}

// The answer line's text as its typed bytes are made from it, character by character.
CharacterPlaces placesInLine(const QString& line) {
    CharacterPlaces places;
    std::size_t byte = 0;
    for (int unit = 0; unit < line.size();) {
        const int units = line.at(unit).isHighSurrogate() && unit + 1 < line.size() ? 2 : 1;
        places.add(byte, units);
        byte += session::typedAnswerBytes(line.mid(unit, units).toStdString()).size();
        unit += units;
    }
    return places;
}

TextMark markOf(const CharacterPlaces& places, session::ByteRange range, session::ByteRange box) {
    return {places.at(range.begin), places.at(range.end), places.at(box.begin), places.at(box.end)};
}

QString placeText(const TextMark& mark, DifferenceKind kind) {
    return QStringLiteral("%1文字目 %2").arg(mark.boxBegin + 1).arg(kindText(kind));
}

} // namespace

MarkedText firstDepartureMark(const QString& line, const std::string& sentence) {
    const std::string typed = session::typedAnswerBytes(line.toStdString());
    if (session::trimAnswer(typed).empty())
        return {};
    const auto differences = session::answerDifferences(typed, sentence);
    const auto departure = session::firstDeparture(differences);
    if (!departure)
        return {};
    const auto first = std::find_if(differences.begin(), differences.end(), [&](const auto& d) {
        return d.wrongInAnswer.begin == *departure;
    });
    const TextMark mark = markOf(placesInLine(line), first->wrongInAnswer, first->wrongInAnswer);
    return {{mark}, placeText(mark, first->kind)};
}

ReviewMarks reviewMarks(const std::string& answer, const std::string& sentence) {
    const CharacterPlaces inAnswer = placesInCp932(answer);
    const CharacterPlaces inSentence = placesInCp932(sentence);
    ReviewMarks review;
    QStringList answerPlaces;
    QStringList sentencePlaces;
    for (const session::Difference& d : session::answerDifferences(answer, sentence)) {
        review.answer.marks.push_back(markOf(inAnswer, d.answer, d.wrongInAnswer));
        review.sentence.marks.push_back(markOf(inSentence, d.sentence, d.wrongInSentence));
        answerPlaces << placeText(review.answer.marks.back(), d.kind);
        sentencePlaces << placeText(review.sentence.marks.back(), d.kind);
    }
    review.answer.description = answerPlaces.join(QStringLiteral("、"));
    review.sentence.description = sentencePlaces.join(QStringLiteral("、"));
    return review;
}

} // namespace app
