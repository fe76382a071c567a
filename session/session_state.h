#pragma once
#include "content/content_store.h"
#include "records/result_table.h"
#include "records/save_record.h"
#include "records/results_view.h"
#include "session/checklist.h"
#include "session/message_id.h"

#include <array>
#include <cstdint>
#include <string>

namespace session {

// The four tabs of the main window, by the numbers the session has always used for them.
enum class SessionMode : int { Study = 10, TestStudy = 20, Test = 30, Results = 50 };

// Which child window the main window hands the focus back to when it is activated.
enum FocusTag : int {
    NoWindow = 0,
    MessageWindow = 2,
    ResultsWindow = 3,
    SettingsWindow = 4,
    SplashWindow = 6,
};

// A chapter's sentences are its slots; save.dat keeps an order of exactly as many.
constexpr int slotsPerChapter = content::sentencesPerChapter;
static_assert(slotsPerChapter == records::savedOrderSlots);

// The sentence record: the chapter's order of presentation with the slot on show, the answers
// of the current or last test and the checklist. Slots are 1..10 everywhere in the interface.
struct Tsentence {
    std::array<std::int32_t, slotsPerChapter> order{};
    bool randomOrder = false;
    int currentSlot = 1;
    std::array<std::string, slotsPerChapter> answers; // code page 932 bytes
    checklist::List checklist{};

    std::int32_t idAt(int slot) const {
        return slot >= 1 && slot <= slotsPerChapter ? order[slot - 1] : 0;
    }
    std::int32_t currentId() const { return idAt(currentSlot); }
};

// The five picture buttons below the sentence.
enum class NavButton { Left, Right, Start, GiveUp, Repeat };
constexpr NavButton navButtons[] = {NavButton::Left, NavButton::Right, NavButton::Start,
                                    NavButton::GiveUp, NavButton::Repeat};

// Which of them act; a button that does not shows its greyed picture.
struct EnabledButtons {
    bool left = false;
    bool right = false;
    bool start = false;
    bool giveUp = false;
    bool repeat = false;

    constexpr bool operator[](NavButton b) const {
        switch (b) {
        case NavButton::Left:
            return left;
        case NavButton::Right:
            return right;
        case NavButton::Start:
            return start;
        case NavButton::GiveUp:
            return giveUp;
        case NavButton::Repeat:
            return repeat;
        }
        return false;
    }
    bool operator==(const EnabledButtons&) const = default;
};

// All program-wide state of a running session. The main window owns the one instance; the other
// windows reach it through the main window.
struct SessionState {
    SessionMode mode = SessionMode::Study;
    int step = 1;
    int chapter = 1;
    SessionMode previousMode = SessionMode::Study;
    // What the results window shows: a step 1..5, and scores or dates.
    int resultsStep = 1;
    records::ResultsView resultsView = records::ResultsView::Scores;

    bool showTranslation = true;
    bool showPoint = true;
    bool showShortcuts = false;

    Tsentence sentence;
    records::ResultTable results;

    bool testRunning = false;
    bool reviewActive = false;
    // The score of the running test is in the table already: a YES after a failed save only
    // saves again, it never files the score twice.
    bool resultFiled = false;
    // Test study shows the sentence of the slot once the learner gives up, until the next move.
    bool answerRevealed = false;
    int replayCount = 0;
    int correctCount = 0;

    int windowFocusTag = NoWindow;
    // The question the message window asks (exit, or keep the test's score), None when none.
    MessageId openQuestion = MessageId::None;
    EnabledButtons enabledButtons;

    // Bytes of save.dat that carry no value, kept so that a file loaded and saved again without a
    // change is the same file.
    std::array<std::uint8_t, 3> recordPadding1{};
    std::uint8_t recordPadding2 = 0;
};

// A question stays until it is answered: while one is open the main window's buttons, keys,
// tabs, selectors and answer line do nothing, so nothing can replace the question, answer it for
// the learner or add to a finished test.
constexpr bool mainWindowActs(const SessionState& s) { return s.openQuestion == MessageId::None; }

} // namespace session
