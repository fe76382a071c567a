#pragma once
#include "session/trainer.h"

#include "content/voice_files.h"
#include "platform/whole_file.h"
#include "recording_seams.h"
#include "temp_app_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// What the trainer last asked its view to draw.
class RecordingView : public session::TrainerView {
public:
    void showModeTab(session::SessionMode mode) override { tab = mode; }
    void showStepAndChapter() override {}
    void showChapterTitle() override {}
    void showCounter() override {}
    void showFunctionKeyCaptions(bool shown) override { captionsShown = shown; }
    void showSentenceLabel(const records::StoredLabel& shown) override { label = shown; }
    int sentenceLineHeight(const records::FontSpec& font) override { return font.pixels() + 6; }
    void showTranslation(int) override {}
    void showPoints(int) override {}
    void hideNotes() override {}
    void showStudyLines() override {}
    void showOverlay(session::Overlay shown) override { overlay = shown; }
    void showAnswerMark() override { markShown = true; }
    void hideAnswerMark() override { markShown = false; }
    void showNavigationButtons(session::EnabledButtons enabled) override { buttons = enabled; }
    void showReplayIndicators(int used) override { replaysUsed = used; }
    std::string answerLineText() const override { return answerLine; }
    void showAnswerLine() override { answerLineShown = true; }
    void hideAnswerLine() override { answerLineShown = false; }
    void focusAnswerLine() override {}
    void setAnswerLine(const std::string& text) override { answerLine = text; }
    void appendFullStop() override { answerLine += "."; }
    void markFirstDeparture(const std::string&) override { ++departuresMarked; }
    void showMessage(session::MessageId id) override { messages.push_back(id); }
    void bringMessageForward() override { ++broughtForward; }
    void openResults() override { ++resultsOpened; }
    void openSettings() override { ++settingsOpened; }
    void startAdvance() override { advancing = true; }
    void stopAdvance() override { advancing = false; }
    void reportSaveFault(const platform::FileFault& fault) override { faults.push_back(fault.path); }
    void reportResetFault(const std::string& path, const std::string&) override {
        faults.push_back(path);
    }

    session::SessionMode tab = session::SessionMode::Study;
    bool captionsShown = false;
    records::StoredLabel label;
    session::Overlay overlay = session::Overlay::None;
    bool markShown = false;
    session::EnabledButtons buttons;
    int replaysUsed = 0;
    std::string answerLine;
    bool answerLineShown = false;
    int departuresMarked = 0;
    std::vector<session::MessageId> messages;
    int broughtForward = 0;
    int resultsOpened = 0;
    int settingsOpened = 0;
    bool advancing = false;
    std::vector<std::string> faults;
};

class TrainerTest : public testing::Test {
protected:
    TrainerTest() {
        writeCourse(dir);
        startTrainer();
    }
    // As the program starts: the course read, then the save files.
    void startTrainer() {
        content::ContentStore course;
        course.loadCourseText(dir.path());
        view = RecordingView();
        trainer = std::make_unique<session::Trainer>(std::move(course), sound, clock, 96);
        trainer->attach(view);
        trainer->start(30);
    }
    session::SessionState& s() { return trainer->arrange(); }
    int slot() { return s().sentence.currentSlot; }
    std::string sentenceAt(int slotNumber) {
        return "Sentence " + std::to_string(s().sentence.idAt(slotNumber)) + ".";
    }
    std::string voiceOf(int id) const { return content::voicePath(dir.path(), id); }
    std::string chime() const { return content::chimePath(dir.path()); }
    std::string file(const char* name) const {
        return platform::readWholeFile(dir.file(std::string("savedata/") + name)).value_or("missing");
    }
    void startTest() {
        trainer->chooseTab(session::SessionMode::Test);
        trainer->press(session::NavButton::Start);
    }
    // A whole test with the given number of right answers first, then wrong ones.
    void takeTest(int right) {
        startTest();
        for (int n = 1; n <= 10; ++n)
            trainer->enter(n <= right ? sentenceAt(n) : "Wrong answer.");
    }

    TempAppDir dir;
    RecordingSound sound;
    FixedClock clock;
    RecordingView view;
    std::unique_ptr<session::Trainer> trainer;
};
