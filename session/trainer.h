#pragma once
#include "content/content_store.h"
#include "platform/clock.h"
#include "platform/replace_file.h"
#include "platform/sound.h"
#include "records/label_stream.h"
#include "session/checklist_edit.h"
#include "session/navigation.h"
#include "session/session_state.h"
#include "session/settings.h"
#include "session/test_run.h"

#include <string>

namespace session {

// What the windows are asked to draw. They decide nothing: each call draws what the trainer holds
// now, read through Trainer::state() and Trainer::content().
class TrainerView {
public:
    virtual ~TrainerView() = default;

    // The bar above the sentence.
    virtual void showModeTab(SessionMode mode) = 0;
    virtual void showStepAndChapter() = 0;
    virtual void showChapterTitle() = 0;
    virtual void showCounter() = 0;
    virtual void showFunctionKeyCaptions(bool shown) = 0;

    // The English sentence is drawn from the label the trainer keeps; its height in a font is the
    // screen's to measure.
    virtual void showSentenceLabel(const records::StoredLabel& label) = 0;
    virtual int sentenceLineHeight(const records::FontSpec& font) = 0;
    virtual void showTranslation(int id) = 0;
    virtual void showPoints(int id) = 0;
    // Hides the translation and the points.
    virtual void hideNotes() = 0;
    // Study's lines: the translation line on, the overlay and the mark off.
    virtual void showStudyLines() = 0;
    virtual void showOverlay(Overlay overlay) = 0;
    // The mark of the stored answer of the slot on show, and its differences.
    virtual void showAnswerMark() = 0;
    virtual void hideAnswerMark() = 0;

    virtual void showNavigationButtons(EnabledButtons enabled) = 0;
    virtual void showReplayIndicators(int used) = 0;

    // The answer line; a hidden line gives the keys back to the window.
    virtual std::string answerLineText() const = 0; // UTF-8, as typed
    virtual void showAnswerLine() = 0;
    virtual void hideAnswerLine() = 0;
    virtual void focusAnswerLine() = 0;
    virtual void setAnswerLine(const std::string& cp932) = 0;
    virtual void appendFullStop() = 0;
    // Marks where the typed line first departs from the sentence, never what the sentence says.
    virtual void markFirstDeparture(const std::string& sentence) = 0;

    // The message window shows the message the trainer has just opened, or brings forward the
    // question that stays.
    virtual void showMessage(MessageId id) = 0;
    virtual void bringMessageForward() = 0;
    virtual void openResults() = 0;
    virtual void openSettings() = 0;

    // The test study's advance to the next slot, a moment after the chime.
    virtual void startAdvance() = 0;
    virtual void stopAdvance() = 0;

    virtual void reportSaveFault(const platform::FileFault& fault) = 0;
    virtual void reportResetFault(const std::string& path, const std::string& reason) = 0;
};

// What the message window does once its question is answered.
enum class QuestionReply {
    Ignored,    // no question was open
    Stays,      // the score could not be saved: the question waits for another try
    Closes,     // on to the review
    Exits,      // the program closes
    BackToMain, // the main window takes the keys again
};

// The one owner of the session: it holds the session state, the course and the English sentence's
// label as fs.dat keeps it, takes every command of the learner and tells its view what to show.
// The windows hold no rule and write no session state; they forward presses here.
class Trainer {
public:
    Trainer(content::ContentStore course, platform::Sound& sound, platform::Clock& clock, int ppi);

    void attach(TrainerView& view) { view_ = &view; }
    // The start: the label as the window first has it, the save files read, the study view.
    void start(int sentenceLineHeight);

    const SessionState& state() const { return state_; }
    const content::ContentStore& content() const { return content_; }
    const records::StoredLabel& sentenceLabel() const { return label_; }
    // Tests set up a situation here; the windows never write the session.
    SessionState& arrange() { return state_; }
    // The file system the saves go through; tests put in one that fails.
    platform::FileSystem* fileSystem = &platform::systemFileSystem();

    // Whether the main window's controls act, and whether a picture button does.
    bool windowActs() const { return mainWindowActs(state_); }
    bool buttonActs(NavButton button) const {
        return windowActs() && state_.enabledButtons[button];
    }

    // The learner's commands on the main window.
    void press(NavButton button);
    // A key the window previews; returns the button it presses, if any.
    std::optional<NavButton> buttonOfKey(Key key) const { return session::buttonOfKey(key, state_.mode); }
    void enter(const std::string& lineUtf8);
    void giveUp(const std::string& lineUtf8);
    void advance();
    // A tab, a selector, the settings or the exit button pressed: in a test the learner is told
    // that it cannot be done. Returns whether the choice acts.
    bool choiceActs();
    void chooseTab(SessionMode mode);
    void changeStep(int delta);
    void changeChapter(int delta);
    void addToChecklist();
    void removeFromChecklist();
    void openSettings();
    void askToExit();

    // The message window.
    void showMessage(MessageId id);
    QuestionReply answerQuestion(bool yes);
    // A child window went: nothing to hand the focus back to.
    void childWindowClosed();
    void splashShown();

    // The results window.
    void resultsOpened();
    void showResults(int step, records::ResultsView view);
    void resultsClosed();

    // The settings window.
    SettingsOutcome executeSettings(const SettingsTicks& ticks);
    void useDefaultSentenceFont();
    void chooseSentenceFont(const records::FontSpec& font);

    // Saves save.dat and then fs.dat; a failure is reported and gives false, and the caller
    // ends what it was doing (a close stays open).
    bool save();

    // The steps of the commands, public for the tests that drive one of them alone.
    void initSession();
    void readCourse();
    void buildSentenceOrder();
    void nextSentence();
    void previousSentence();
    void startStudy();
    void startTestStudy();
    void startTest();
    void recordAnswer(const std::string& lineUtf8);
    bool recordTestResult();
    void startReview();
    void showStudyView();
    void showTestStudyView();
    void showTestView();
    void redrawCurrentView();
    void playSentenceVoice();
    void playChime();

private:
    class Settings;

    // Deletes save.dat; false (after telling the learner) when the file is still there.
    bool deleteSaveFile();
    void showFunctionKeyCaptions(bool shown);

    void loadState();
    bool loadSaveRecord();
    void loadSentenceLabel();
    void showSentence();
    void showEnglish(int id);
    void hideSentence();
    void showCounter();
    void setButtons(EnabledButtons enabled);
    void moveToSlot(int slot);
    void changeStepOrChapter(int step, int chapter);
    void checkTestStudyAnswer(const std::string& lineUtf8);
    void applyChecklistEdit(const ChecklistEdit& edit);
    void closeQuestion();
    void setLabelFont(const records::FontSpec& font);

    content::ContentStore content_;
    platform::Sound& sound_;
    platform::Clock& clock_;
    int ppi_;
    TrainerView* view_ = nullptr;
    SessionState state_;
    records::StoredLabel label_;
};

} // namespace session
