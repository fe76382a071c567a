#pragma once
#include "content/content_store.h"
#include "platform/clock.h"
#include "session/session_state.h"

#include <string>
#include <string_view>

namespace session {

constexpr int replayLimit = 3;
constexpr int questionSlot = slotsPerChapter + 1; // CurrentSlot while the save question waits

// Test mode's four states, told by the two flags and the slot.
enum class TestState { Idle, Running, Question, Review };
TestState testState(const SessionState& s);

// What Enter in the answer line means in each mode and state.
enum class EnterMeaning { Nothing, CheckTestStudy, RecordAnswer, ReplayVoice };
EnterMeaning enterMeaning(const SessionState& s);

// Starts a test on slot 1 of a fresh shuffle of the chapter (whatever the order option says; the
// option itself stays), unless the checklist pages are on show: they cannot be tested.
bool startTest(SessionState& s, std::uint32_t utcMsOfDay);

// The line above the answer line in test mode and test study.
enum class Overlay { None, WaitingForStart, TestUnderWay, VeryGood };

// What the test view shows in each state. The answer line is always on show.
struct TestView {
    bool clearAnswerLine = false;
    // The sentence with its translation and points, and the mark of the stored answer.
    bool sentenceShown = false;
    Overlay overlay = Overlay::None;
    EnabledButtons buttons;
    int replaysUsed = 0; // of the three plays, as the indicators show them
};
TestView testView(const SessionState& s);

// The message window's question answered with YES or NO.
enum class QuestionAnswer {
    Ignored,             // no question open
    FileScoreThenReview, // keep the score: file it and save; a failed save keeps the question
    Review,              // do not keep it: straight to the review
    Exit,                // the program closes
    Stay,                // back to the main window
};
QuestionAnswer answerQuestion(const SessionState& s, bool yes);

enum class AnswerOutcome {
    Ignored,  // no test running, the save question open, or the plays spent
    Replay,   // no answer yet: one of the three plays is used
    Taken,    // the answer is stored and the next slot is on
    Finished, // the tenth answer is stored: the save question comes next
};
// Takes typed code page 932 bytes as the answer of the slot on show.
AnswerOutcome recordAnswer(SessionState& s, std::string_view typed);

// The number of stored answers equal to their sentences.
int countCorrect(const Tsentence& sentence, const content::ContentStore& content);

// Whether the answer stored for the slot equals its sentence.
bool answerIsRight(const Tsentence& sentence, int slot, const content::ContentStore& content);

// Files the score in the first empty slot of the chapter (a full chapter is cleared and starts
// again at slot 1) with the day's month and day. Gives the slot used.
int fileTestResult(records::ResultTable& results, int courseChapter, int score,
                   platform::MonthDay day);

// The save question is answered: the test becomes its review, from slot 1.
void startReview(SessionState& s);

} // namespace session
