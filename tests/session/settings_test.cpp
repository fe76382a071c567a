#include "session/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace session;

namespace {

// Records what executing asks of the main window, and what the session holds at each call.
class RecordingTarget : public SettingsTarget {
public:
    explicit RecordingTarget(SessionState& state) : state_(state) {}

    bool deleteSaveFile() override {
        log("delete");
        return deleteWorks;
    }
    void readCourse() override { log("course"); }
    void initSession() override {
        log("init");
        state_ = SessionState{}; // the defaults, as with no save file
    }
    void setDefaultSentenceFont() override { log("font"); }
    void buildSentenceOrder() override {
        log("order random=" + std::to_string(state_.sentence.randomOrder) +
            " checklist=" + std::to_string(state_.sentence.checklist[0]));
    }
    void showStudyView() override { log("study view"); }
    void showTestStudyView() override { log("test-study view"); }
    void showTestView() override { log("test view"); }
    void showFunctionKeyCaptions(bool shown) override {
        state_.showShortcuts = shown;
        log(shown ? "captions 1" : "captions 0");
    }
    bool saveState() override {
        log("save tag=" + std::to_string(state_.windowFocusTag));
        return saveWorks;
    }

    std::vector<std::string> calls;
    bool deleteWorks = true;
    bool saveWorks = true;

private:
    void log(const std::string& call) { calls.push_back(call); }
    SessionState& state_;
};

SessionState openSettings() {
    SessionState s;
    s.step = 3;
    s.chapter = 7;
    s.windowFocusTag = SettingsWindow;
    s.sentence.checklist[0] = 42;
    s.sentence.checklist[1] = 7;
    s.results.scores[0][26] = 8;
    s.results.dates[0][26].assign("3/4");
    return s;
}

} // namespace

TEST(Settings, WhatExecutingDoesForEachTicking) {
    struct Row {
        const char* name;
        SettingsTicks ticks;
        SessionMode mode;
        std::vector<std::string> calls;
    };
    SettingsTicks reset;
    reset.resetAll = true;
    SettingsTicks resetAndMore = reset;
    resetAndMore.clearChecklist = resetAndMore.clearResults = resetAndMore.randomOrder = true;
    SettingsTicks optionsOnly;
    optionsOnly.showTranslation = true;
    SettingsTicks checklistAndRandom;
    checklistAndRandom.clearChecklist = checklistAndRandom.randomOrder = true;
    checklistAndRandom.showShortcuts = true;
    const Row rows[] = {
        {"reset", reset, SessionMode::Study, {"delete", "course", "init", "font", "save tag=4"}},
        {"reset ignores the other ticks", resetAndMore, SessionMode::Test, {"delete", "course", "init", "font", "save tag=4"}},
        {"options only", optionsOnly, SessionMode::Study, {"captions 0", "save tag=4"}},
        {"checklist in study", checklistAndRandom, SessionMode::Study,
         {"order random=0 checklist=0", "study view", "captions 1", "save tag=4"}},
        {"checklist in test study", checklistAndRandom, SessionMode::TestStudy,
         {"order random=0 checklist=0", "test-study view", "captions 1", "save tag=4"}},
        {"checklist in test", checklistAndRandom, SessionMode::Test,
         {"order random=0 checklist=0", "test view", "captions 1", "save tag=4"}},
        {"checklist in results", checklistAndRandom, SessionMode::Results,
         {"order random=0 checklist=0", "captions 1", "save tag=4"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SessionState s = openSettings();
        s.mode = row.mode;
        RecordingTarget target(s);
        EXPECT_EQ(executeSettings(row.ticks, s, target), SettingsOutcome::Applied);
        EXPECT_EQ(target.calls, row.calls);
        EXPECT_EQ(s.windowFocusTag, NoWindow);
    }
}

TEST(Settings, AReviewKeepsItsOrderWhenTheChecklistIsCleared) {
    SessionState s = openSettings();
    s.mode = SessionMode::Test;
    s.reviewActive = 1;
    SettingsTicks ticks;
    ticks.clearChecklist = true;
    RecordingTarget target(s);
    executeSettings(ticks, s, target);
    EXPECT_EQ(s.sentence.checklist[1], 0);
    EXPECT_EQ(target.calls, (std::vector<std::string>{"test view", "captions 0", "save tag=4"}));
}

TEST(Settings, NothingHappensWhileATestRuns) {
    for (bool reset : {false, true}) {
        SessionState s = openSettings();
        s.testRunning = 1;
        SettingsTicks ticks;
        ticks.resetAll = reset;
        ticks.clearChecklist = ticks.clearResults = true;
        RecordingTarget target(s);
        EXPECT_EQ(executeSettings(ticks, s, target), SettingsOutcome::RefusedInTest);
        EXPECT_TRUE(target.calls.empty());
        EXPECT_EQ(s.sentence.checklist[0], 42);
        EXPECT_EQ(s.windowFocusTag, SettingsWindow);
    }
}

TEST(Settings, AFailureEndsTheRunWhereItHappensAndKeepsWhatWasApplied) {
    struct Row {
        const char* name;
        bool reset;
        bool deleteWorks;
        std::vector<std::string> calls;
        int step;      // 3 untouched, 1 after the reset's own start
        int checklist; // the first place: 42 untouched
    };
    const Row rows[] = {
        {"options", false, true, {"order random=0 checklist=0", "study view", "captions 0", "save tag=4"}, 3, 0},
        {"reset, save fails", true, true, {"delete", "course", "init", "font", "save tag=4"}, 1, 0},
        {"reset, save.dat stays", true, false, {"delete"}, 3, 42},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SessionState s = openSettings();
        SettingsTicks ticks;
        ticks.resetAll = row.reset;
        ticks.clearChecklist = ticks.showPoint = true;
        RecordingTarget target(s);
        target.deleteWorks = row.deleteWorks;
        target.saveWorks = false;
        EXPECT_EQ(executeSettings(ticks, s, target), SettingsOutcome::Failed);
        EXPECT_EQ(target.calls, row.calls);
        EXPECT_EQ(s.step, row.step);
        EXPECT_EQ(s.sentence.checklist[0], row.checklist);
        EXPECT_EQ(s.windowFocusTag, SettingsWindow) << "the window stays open";
    }
}
