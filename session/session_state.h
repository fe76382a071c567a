#pragma once
#include "records/result_table.h"
#include "records/results_view.h"

#include <array>
#include <cstdint>
#include <string>

namespace session {

enum Mode : int { StudyMode = 10, TestStudyMode = 20, TestMode = 30, ResultsMode = 50 };

// Which child window the main window hands the focus back to when it is activated.
enum FocusTag : int {
    NoWindow = 0,
    MessageWindow = 2,
    ResultsWindow = 3,
    SettingsWindow = 4,
    SplashWindow = 6,
};

constexpr int slotsPerChapter = 10;
constexpr int checklistPlaces = 100;

// The sentence record: the chapter's order of presentation with the slot on show, the answers
// of the current or last test and the checklist. Slots are 1..10 everywhere in the interface.
struct Tsentence {
    std::array<std::int32_t, slotsPerChapter> order{};
    std::uint8_t randomOrder = 0;
    int currentSlot = 1;
    std::array<std::string, slotsPerChapter> answers; // code page 932 bytes
    std::array<std::int32_t, checklistPlaces> checklist{};

    std::int32_t idAt(int slot) const {
        return slot >= 1 && slot <= slotsPerChapter ? order[slot - 1] : 0;
    }
    std::int32_t currentId() const { return idAt(currentSlot); }
};

// Navigation buttons, in the order their enabled flags are set.
enum NavButton : int { LeftButton, RightButton, StartButton, GiveUpButton, RepeatButton };
constexpr int navButtonCount = 5;

// All program-wide state of a running session. The main window owns the one instance; the other
// windows reach it through the main window.
struct SessionState {
    int mode = StudyMode;
    int step = 1;
    int chapter = 1;
    int previousMode = StudyMode;
    // What the results window shows: a step 1..5, and scores or dates.
    int resultsStep = 1;
    records::ResultsView resultsView = records::ResultsView::Scores;

    std::uint8_t showTranslation = 1;
    std::uint8_t showPoint = 1;
    std::uint8_t showShortcuts = 0;

    Tsentence sentence;
    records::ResultTable results;

    std::uint8_t testRunning = 0;
    std::uint8_t reviewActive = 0;
    // The score of the running test is in the table already: a YES after a failed save only
    // saves again, it never files the score twice.
    std::uint8_t resultFiled = 0;
    int replayCount = 0;
    int correctCount = 0;

    int windowFocusTag = NoWindow;
    // The question the message window asks (6 exit, 8 keep the test's score), 0 when none.
    int openQuestion = 0;
    std::array<int, navButtonCount> buttonEnabled{};

    // Bytes of save.dat that carry no value, kept so that a file loaded and saved again without a
    // change is the same file.
    std::array<std::uint8_t, 3> recordPadding1{};
    std::uint8_t recordPadding2 = 0;
};

// A question stays until it is answered: while one is open the main window's buttons, keys,
// tabs, selectors and answer line do nothing, so nothing can replace the question, answer it for
// the learner or add to a finished test.
constexpr bool mainWindowActs(const SessionState& s) { return s.openQuestion == 0; }

} // namespace session
