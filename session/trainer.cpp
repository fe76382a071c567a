#include "session/trainer.h"

#include "content/voice_files.h"
#include "platform/app_dir.h"
#include "platform/cp932.h"
#include "platform/file_attributes.h"
#include "platform/whole_file.h"
#include "records/font_size.h"
#include "records/save_files.h"
#include "session/answer_check.h"
#include "session/answer_fold.h"
#include "session/choices.h"
#include "session/saved_state.h"
#include "session/sentence_order.h"
#include "session/session_start.h"

#include <filesystem>

namespace session {
namespace {

// The English sentence spans the window, one line high, above the translation in study and above
// the answer line in test study and the test. Results mode shows no sentence of its own.
constexpr int sentenceWidth = 800;
constexpr int sentenceLineHeight = 30;
constexpr int sentencePixels = 24;
constexpr int englishTop(SessionMode mode) {
    using enum SessionMode;
    return mode == Study ? 210 : (mode == TestStudy || mode == Test) ? 166 : -1;
}

// The largest fs.dat worth reading: a label's stream is a few hundred bytes.
constexpr std::size_t fsDatLimit = 1 << 20;

// The English sentence's own font, made from the label's: used until the learner picks another.
records::FontSpec defaultSentenceFont(records::FontSpec font, int ppi) {
    font.color = records::rgb(120, 0, 0);
    font.name = platform::utf8ToCp932("MS Pゴシック").value_or(std::string());
    font.charset = 128;
    font.style = records::Bold;
    records::setFontPixels(font, sentencePixels, ppi);
    return font;
}

} // namespace

// What executing the settings asks of the session, in the order session::executeSettings keeps.
class Trainer::Settings : public SettingsTarget {
public:
    explicit Settings(Trainer& trainer) : t_(trainer) {}
    bool deleteSaveFile() override { return t_.deleteSaveFile(); }
    void readCourse() override { t_.readCourse(); }
    void initSession() override { t_.initSession(); }
    void setDefaultSentenceFont() override { t_.useDefaultSentenceFont(); }
    void buildSentenceOrder() override { t_.buildSentenceOrder(); }
    void showStudyView() override { t_.showStudyView(); }
    void showTestStudyView() override { t_.showTestStudyView(); }
    void showTestView() override { t_.showTestView(); }
    void showFunctionKeyCaptions(bool shown) override { t_.showFunctionKeyCaptions(shown); }
    bool saveState() override { return t_.save(); }

private:
    Trainer& t_;
};

Trainer::Trainer(content::ContentStore course, platform::Sound& sound, platform::Clock& clock,
                 int ppi)
    : content_(std::move(course)), sound_(sound), clock_(clock), ppi_(ppi) {
    // Where the label stands before the first sentence: hidden, with no text, one pixel wide.
    label_.left = 48;
    label_.top = 112;
    label_.width = 1;
    label_.caption.clear();
    label_.font = defaultSentenceFont(records::FontSpec(), ppi_);
    label_.visible = false;
}

void Trainer::start(int lineHeight) {
    label_.height = lineHeight;
    // A save file left read-only by a copy from a disc would refuse every save.
    platform::removeReadOnly(records::saveDatPath());
    initSession();
}

// ---- start, course and saved state -------------------------------------------------------------

void Trainer::initSession() {
    view_->stopAdvance();
    resetSession(state_);
    // No save file, or one that cannot be read, leaves the defaults: the learner still gets a session.
    try {
        loadState();
    } catch (...) {
    }
    beginSession(state_, clock_.utcMillisecondsOfDay());
    view_->showModeTab(state_.mode);
    showFunctionKeyCaptions(state_.showShortcuts);
    view_->showStepAndChapter();
    showCounter();
    showStudyView();
}

void Trainer::readCourse() { content_.loadCourseText(platform::appDir()); }

void Trainer::buildSentenceOrder() {
    // A review pairs the stored answers with the order the test was taken in: a new order ends it.
    state_.reviewActive = false;
    session::buildSentenceOrder(state_.sentence, state_.step, state_.chapter,
                                clock_.utcMillisecondsOfDay());
}

bool Trainer::save() {
    const auto fault = records::writeSaveFiles(records::saveFolder(), toSaveRecord(state_), label_,
                                               *fileSystem);
    if (fault)
        view_->reportSaveFault(*fault);
    return !fault;
}

// Whatever goes wrong here is passed over: the start goes on with what could be read.
void Trainer::loadState() {
    if (loadSaveRecord())
        loadSentenceLabel();
}

bool Trainer::loadSaveRecord() {
    const std::optional<std::string> bytes =
        platform::readFileHead(records::saveDatPath(), records::saveRecordSize);
    if (!bytes)
        return false;
    const records::LoadedRecord loaded = records::decodeSaveRecord(*bytes, toSaveRecord(state_));
    applySaveRecord(state_, loaded);
    return loaded.complete;
}

// The label takes its place, size, text, font and visibility from fs.dat; the rest of what the
// file may say of it (alignment, transparency) is the program's own.
void Trainer::loadSentenceLabel() {
    const std::optional<std::string> bytes = platform::readFileHead(records::fsDatPath(), fsDatLimit);
    if (!bytes)
        return;
    records::StoredLabel stored = label_;
    records::readLabelStream(*bytes, stored); // what was read before a fault stays applied
    label_.left = stored.left;
    label_.top = stored.top;
    label_.width = stored.width;
    label_.height = stored.height;
    label_.caption = stored.caption;
    label_.font = stored.font;
    label_.font.size = records::pointsForPixels(stored.font.pixels(), ppi_);
    label_.visible = stored.visible;
    view_->showSentenceLabel(label_);
}

bool Trainer::deleteSaveFile() {
    const std::string path = records::saveDatPath();
    std::error_code error;
    std::filesystem::remove(path, error); // a file that is not there is no failure
    if (error)
        view_->reportResetFault(path, error.message());
    return !error;
}

// ---- sound -------------------------------------------------------------------------------------

void Trainer::playSentenceVoice() {
    sound_.playWave(content::voicePath(platform::appDir(), state_.sentence.currentId()));
}

void Trainer::playChime() { sound_.playWave(content::chimePath(platform::appDir())); }

// ---- the sentence and the views ----------------------------------------------------------------

void Trainer::setLabelFont(const records::FontSpec& font) {
    label_.font = font;
    label_.width = sentenceWidth;
    label_.height = view_->sentenceLineHeight(font);
    view_->showSentenceLabel(label_);
}

void Trainer::useDefaultSentenceFont() { setLabelFont(defaultSentenceFont(label_.font, ppi_)); }

// The whole font chosen, but always drawn 24 pixels high across the full width.
void Trainer::chooseSentenceFont(const records::FontSpec& font) {
    records::FontSpec sized = font;
    records::setFontPixels(sized, sentencePixels, ppi_);
    setLabelFont(sized);
}

void Trainer::showEnglish(int id) {
    const int top = englishTop(state_.mode);
    if (top < 0)
        return;
    if (state_.mode != SessionMode::Study)
        hideSentence();
    label_.caption = content_.lookup(content::ContentKind::English, id);
    label_.left = 0;
    label_.top = top;
    label_.width = sentenceWidth;
    label_.height = sentenceLineHeight;
    label_.visible = true;
    view_->showSentenceLabel(label_);
}

void Trainer::showSentence() {
    const int id = state_.sentence.currentId();
    showEnglish(id);
    view_->showTranslation(id);
    view_->showPoints(id);
}

void Trainer::hideSentence() {
    label_.visible = false;
    view_->showSentenceLabel(label_);
    view_->hideNotes();
}

void Trainer::showCounter() {
    view_->showCounter();
    // The slot on show is what a press of repeat plays: its voice is made ready before it is asked for.
    sound_.prepare(content::voicePath(platform::appDir(), state_.sentence.currentId()));
}

void Trainer::setButtons(EnabledButtons enabled) {
    state_.enabledButtons = enabled;
    view_->showNavigationButtons(enabled);
}

void Trainer::showFunctionKeyCaptions(bool shown) {
    state_.showShortcuts = shown;
    view_->showFunctionKeyCaptions(shown);
}

void Trainer::showStudyView() {
    view_->hideAnswerLine();
    view_->showChapterTitle();
    showSentence();
    label_.visible = true;
    view_->showSentenceLabel(label_);
    view_->showStudyLines();
    setButtons({.left = true, .right = true, .start = true, .repeat = true});
    view_->showReplayIndicators(3);
}

void Trainer::showTestStudyView() {
    state_.answerRevealed = false;
    view_->setAnswerLine({});
    view_->showAnswerLine();
    view_->focusAnswerLine();
    hideSentence();
    view_->showOverlay(Overlay::None);
    view_->hideAnswerMark();
    setButtons({.left = true, .right = true, .start = true, .giveUp = true, .repeat = true});
    view_->showReplayIndicators(3);
}

void Trainer::showTestView() {
    const TestView view = testView(state_);
    view_->showAnswerLine();
    if (view.clearAnswerLine)
        view_->setAnswerLine({});
    if (view.sentenceShown) {
        showSentence();
        view_->showAnswerMark();
    } else {
        hideSentence();
        view_->hideAnswerMark();
    }
    setButtons(view.buttons);
    view_->showOverlay(view.overlay);
    view_->showReplayIndicators(view.replaysUsed);
}

// The view of the mode; results mode keeps what is on show.
void Trainer::redrawCurrentView() {
    switch (state_.mode) {
    case SessionMode::Study:
        showStudyView();
        break;
    case SessionMode::TestStudy:
        showTestStudyView();
        break;
    case SessionMode::Test:
        showTestView();
        break;
    case SessionMode::Results:
        break;
    }
}

// ---- moving through the chapter ----------------------------------------------------------------

void Trainer::press(NavButton button) {
    switch (button) {
    case NavButton::Left:
        previousSentence();
        break;
    case NavButton::Right:
        nextSentence();
        break;
    case NavButton::Start:
        if (state_.mode == SessionMode::Study)
            startStudy();
        else if (state_.mode == SessionMode::TestStudy)
            startTestStudy();
        else if (state_.mode == SessionMode::Test)
            startTest();
        break;
    case NavButton::GiveUp:
        giveUp(view_->answerLineText());
        break;
    case NavButton::Repeat:
        playSentenceVoice();
        break;
    }
}

void Trainer::nextSentence() { moveToSlot(nextSlot(state_.sentence.currentSlot)); }

void Trainer::previousSentence() { moveToSlot(previousSlot(state_.sentence.currentSlot)); }

// What a move to another slot shows in each mode; the new sentence is always heard.
void Trainer::moveToSlot(int slot) {
    if (!navigates(state_.mode))
        return;
    state_.sentence.currentSlot = slot;
    switch (state_.mode) {
    case SessionMode::Study:
        showSentence();
        showCounter();
        break;
    case SessionMode::TestStudy:
        state_.answerRevealed = false;
        showCounter();
        hideSentence();
        view_->setAnswerLine({});
        break;
    case SessionMode::Test:
        showSentence();
        showCounter();
        view_->setAnswerLine(answerAt(state_.sentence, state_.sentence.currentSlot));
        showTestView();
        break;
    case SessionMode::Results:
        return;
    }
    playSentenceVoice();
}

void Trainer::startStudy() {
    buildSentenceOrder();
    state_.sentence.currentSlot = 1;
    showSentence();
    showCounter();
    playSentenceVoice();
}

void Trainer::startTestStudy() {
    state_.sentence.currentSlot = 1;
    showCounter();
    playSentenceVoice();
}

// The test study's advance, once the chime of a right answer has sounded.
void Trainer::advance() {
    view_->showOverlay(Overlay::None);
    nextSentence();
    view_->stopAdvance();
    view_->setAnswerLine({});
}

// ---- typed answers -----------------------------------------------------------------------------

void Trainer::enter(const std::string& lineUtf8) {
    switch (enterMeaning(state_)) {
    case EnterMeaning::CheckTestStudy:
        checkTestStudyAnswer(lineUtf8);
        break;
    case EnterMeaning::RecordAnswer:
        recordAnswer(lineUtf8);
        break;
    case EnterMeaning::ReplayVoice:
        playSentenceVoice();
        break;
    case EnterMeaning::Nothing:
        break;
    }
}

// Full-width letters, digits and marks that an input method still sends are folded first, so the
// check judges the keys typed rather than the input method's state.
void Trainer::checkTestStudyAnswer(const std::string& lineUtf8) {
    const std::string sentence =
        content_.lookup(content::ContentKind::English, state_.sentence.currentId());
    if (judgeAnswer(typedAnswerBytes(lineUtf8), sentence) != Verdict::Right) {
        view_->markFirstDeparture(sentence);
        playSentenceVoice();
        return;
    }
    hideSentence();
    view_->hideAnswerMark();
    state_.answerRevealed = false;
    view_->showOverlay(Overlay::VeryGood);
    playChime();
    view_->startAdvance();
}

// Test study shows the sentence; a running test takes the line as it stands, with a full stop.
void Trainer::giveUp(const std::string& lineUtf8) {
    if (state_.mode == SessionMode::TestStudy) {
        state_.answerRevealed = true;
        showSentence();
    } else if (state_.mode == SessionMode::Test && testState(state_) == TestState::Running) {
        view_->appendFullStop();
        recordAnswer(lineUtf8 + ".");
    }
}

void Trainer::startTest() {
    if (!session::startTest(state_, clock_.utcMillisecondsOfDay())) {
        showMessage(MessageId::NoTestOnChecklist);
        return;
    }
    // A test-study advance still pending must not move the test's slot.
    view_->stopAdvance();
    showTestView();
    showCounter();
    view_->focusAnswerLine();
}

void Trainer::recordAnswer(const std::string& lineUtf8) {
    switch (session::recordAnswer(state_, typedAnswerBytes(lineUtf8))) {
    case AnswerOutcome::Ignored:
        break;
    case AnswerOutcome::Replay:
        playSentenceVoice();
        view_->showReplayIndicators(state_.replayCount);
        break;
    case AnswerOutcome::Taken:
        view_->setAnswerLine({});
        showCounter();
        view_->showReplayIndicators(0);
        break;
    case AnswerOutcome::Finished:
        state_.correctCount = countCorrect(state_.sentence, content_);
        showMessage(MessageId::SaveQuestion);
        break;
    }
}

// Files the score once: a YES after a failed save only saves again.
bool Trainer::recordTestResult() {
    if (!state_.resultFiled) {
        const int courseChapter = content::courseChapter(state_.step, state_.chapter);
        fileTestResult(state_.results, courseChapter, state_.correctCount, clock_.localDate());
        state_.resultFiled = true;
    }
    return save();
}

void Trainer::startReview() {
    session::startReview(state_);
    showCounter();
    view_->setAnswerLine(answerAt(state_.sentence, 1));
    showTestView();
}

// ---- choices on the main window ----------------------------------------------------------------

bool Trainer::choiceActs() {
    const Gate gate = gateOfChoice(state_);
    if (gate == Gate::RefusedInTest)
        showMessage(MessageId::TestRunning);
    return gate == Gate::Acts;
}

void Trainer::chooseTab(SessionMode mode) {
    switch (switchMode(state_, mode)) {
    case ModeSwitch::Ignored:
        break;
    case ModeSwitch::OpenResults:
        view_->openResults();
        break;
    case ModeSwitch::Redraw:
        redrawCurrentView();
        break;
    }
}

void Trainer::changeStep(int delta) {
    changeStepOrChapter(stepAfter(state_.step, delta), state_.chapter);
}

void Trainer::changeChapter(int delta) {
    changeStepOrChapter(state_.step, chapterAfter(state_.chapter, delta));
}

void Trainer::changeStepOrChapter(int step, int chapter) {
    switch (session::changeStepOrChapter(state_, step, chapter, clock_.utcMillisecondsOfDay())) {
    case StepChange::Ignored:
        return;
    case StepChange::RefusedInTest:
        showMessage(MessageId::TestRunning);
        return;
    case StepChange::Changed:
        break;
    }
    // A pending test-study advance belongs to the old chapter: the new one starts on slot 1.
    view_->stopAdvance();
    view_->showStepAndChapter();
    showCounter();
    view_->showChapterTitle();
    redrawCurrentView();
}

void Trainer::addToChecklist() {
    if (windowActs())
        applyChecklistEdit(session::addToChecklist(state_));
}

void Trainer::removeFromChecklist() {
    if (windowActs())
        applyChecklistEdit(session::removeFromChecklist(state_));
}

void Trainer::applyChecklistEdit(const ChecklistEdit& edit) {
    if (!edit.acts)
        return;
    if (edit.rebuildOrder)
        buildSentenceOrder();
    if (edit.redraw)
        redrawCurrentView();
    if (edit.save && !save())
        return;
    showMessage(edit.message);
}

void Trainer::openSettings() {
    if (!choiceActs())
        return;
    state_.windowFocusTag = SettingsWindow;
    view_->openSettings();
}

void Trainer::askToExit() {
    if (choiceActs())
        showMessage(MessageId::ExitQuestion);
}

// ---- the child windows -------------------------------------------------------------------------

// Nothing may take the place of an open question: it would be left unanswered. The press that
// asked for a notice is refused, but not in silence, and the question comes forward.
void Trainer::showMessage(MessageId id) {
    const std::optional<MessageRule> rule = messageRule(id);
    if (!rule)
        return;
    if (state_.openQuestion != MessageId::None && rule->kind == MessageKind::Notice) {
        sound_.beep();
        view_->bringMessageForward();
        return;
    }
    state_.windowFocusTag = MessageWindow;
    state_.openQuestion = rule->kind == MessageKind::Question ? id : MessageId::None;
    view_->showMessage(id);
    if (rule->sound == MessageSound::Chime)
        playChime();
    else
        sound_.beep();
}

void Trainer::closeQuestion() {
    state_.windowFocusTag = NoWindow;
    state_.openQuestion = MessageId::None;
}

QuestionReply Trainer::answerQuestion(bool yes) {
    switch (session::answerQuestion(state_, yes)) {
    case QuestionAnswer::Ignored:
        return QuestionReply::Ignored;
    case QuestionAnswer::FileScoreThenReview:
        if (!recordTestResult())
            return QuestionReply::Stays; // the save failed and was reported
        startReview();
        closeQuestion();
        return QuestionReply::Closes;
    case QuestionAnswer::Review:
        startReview();
        closeQuestion();
        return QuestionReply::Closes;
    case QuestionAnswer::Exit:
        closeQuestion();
        return QuestionReply::Exits;
    case QuestionAnswer::Stay:
        closeQuestion();
        return QuestionReply::BackToMain;
    }
    return QuestionReply::Ignored;
}

void Trainer::childWindowClosed() { state_.windowFocusTag = NoWindow; }

void Trainer::splashShown() { state_.windowFocusTag = SplashWindow; }

void Trainer::resultsOpened() { state_.windowFocusTag = ResultsWindow; }

void Trainer::showResults(int step, records::ResultsView view) {
    state_.resultsStep = step;
    state_.resultsView = view;
}

// Back to the mode the results tab was chosen from, its tab lit again.
void Trainer::resultsClosed() {
    state_.windowFocusTag = NoWindow;
    state_.mode = state_.previousMode;
    view_->showModeTab(state_.mode);
    redrawCurrentView();
}

SettingsOutcome Trainer::executeSettings(const SettingsTicks& ticks) {
    Settings target(*this);
    const SettingsOutcome outcome = session::executeSettings(ticks, state_, target);
    if (outcome == SettingsOutcome::RefusedInTest)
        showMessage(MessageId::TestRunning);
    return outcome;
}

} // namespace session
