#pragma once
#include "app/controls.h"

#include <QString>

#include <string>
#include <vector>

namespace app {

// What a control shows of where an answer departs from its sentence: the marks on its text and
// the short Japanese a screen reader says for them.
struct MarkedText {
    std::vector<TextMark> marks;
    QString description;
};

// Test study: the first place where the answer line's text departs, marked on that text; nothing
// for an empty line or a right answer. The sentence is never shown.
MarkedText firstDepartureMark(const QString& line, const std::string& sentence);

// The review: every difference of a stored answer (code page 932), on the answer as the line
// shows it and on the sentence.
struct ReviewMarks {
    MarkedText answer;
    MarkedText sentence;
};
ReviewMarks reviewMarks(const std::string& answer, const std::string& sentence);

} // namespace app
