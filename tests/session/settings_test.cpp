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

    bool deleteSaveFile() override { return log("delete"), deleteWorks; }
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
    void showFunctionKeyCaptions(int value) override {
        state_.showShortcuts = static_cast<std::uint8_t>(value);
        log("captions " + std::to_string(value));
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

TEST(Settings, TicksShowTheOptionsAndNoAction) {
    SessionState s;
    s.sentence.randomOrder = 1;
    s.showShortcuts = 1;
    s.showTranslation = 0;
    s.showPoint = 1;
    SettingsTicks expected;
    expected.randomOrder = true;
    expected.showShortcuts = true;
    expected.showPoint = true;
    EXPECT_EQ(ticksFor(s), expected);
}

TEST(Settings, WhatExecutingDoesForEachTicking) {
    struct Row {
        const char* name;
        SettingsTicks ticks;
        int mode;
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
        {"reset", reset, StudyMode, {"delete", "init", "font", "save tag=4"}},
        {"reset ignores the other ticks", resetAndMore, TestMode, {"delete", "init", "font", "save tag=4"}},
        {"options only", optionsOnly, StudyMode, {"captions 0", "save tag=4"}},
        {"checklist in study", checklistAndRandom, StudyMode,
         {"order random=0 checklist=0", "study view", "captions 1", "save tag=4"}},
        {"checklist in test study", checklistAndRandom, TestStudyMode,
         {"order random=0 checklist=0", "test-study view", "captions 1", "save tag=4"}},
        {"checklist in test", checklistAndRandom, TestMode,
         {"order random=0 checklist=0", "test view", "captions 1", "save tag=4"}},
        {"checklist in results", checklistAndRandom, ResultsMode,
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

TEST(Settings, TheResetLeavesTheDefaults) {
    SessionState s = openSettings();
    s.sentence.randomOrder = 1;
    SettingsTicks ticks;
    ticks.resetAll = true;
    ticks.randomOrder = true;
    RecordingTarget target(s);
    executeSettings(ticks, s, target);
    EXPECT_EQ(s.step, 1);
    EXPECT_EQ(s.sentence.randomOrder, 0) << "the tick beside the reset is not looked at";
    EXPECT_EQ(s.sentence.checklist[0], 0);
}

TEST(Settings, ClearingsAndOptionsTakeTheTicks) {
    SessionState s = openSettings();
    s.showPoint = 1;
    SettingsTicks ticks;
    ticks.clearResults = true;
    ticks.showTranslation = true;
    ticks.randomOrder = true;
    RecordingTarget target(s);
    executeSettings(ticks, s, target);
    EXPECT_EQ(s.results.score(1, 27), -1);
    EXPECT_EQ(s.results.date(1, 27).length, 0);
    EXPECT_EQ(s.sentence.checklist[0], 42) << "the checklist was not ticked";
    EXPECT_EQ(s.sentence.randomOrder, 1);
    EXPECT_EQ(s.showTranslation, 1);
    EXPECT_EQ(s.showPoint, 0);
    EXPECT_EQ(s.showShortcuts, 0);
}

TEST(Settings, AReviewKeepsItsOrderWhenTheChecklistIsCleared) {
    SessionState s = openSettings();
    s.mode = TestMode;
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

TEST(Settings, AFailureEndsTheRunAndKeepsWhatWasApplied) {
    SessionState s = openSettings();
    SettingsTicks ticks;
    ticks.clearChecklist = true;
    ticks.showPoint = true;
    RecordingTarget target(s);
    target.saveWorks = false;
    EXPECT_EQ(executeSettings(ticks, s, target), SettingsOutcome::Failed);
    EXPECT_EQ(s.sentence.checklist[0], 0);
    EXPECT_EQ(s.showPoint, 1);
    EXPECT_EQ(s.windowFocusTag, SettingsWindow);

    SessionState r = openSettings();
    SettingsTicks reset;
    reset.resetAll = true;
    RecordingTarget failingReset(r);
    failingReset.saveWorks = false;
    EXPECT_EQ(executeSettings(reset, r, failingReset), SettingsOutcome::Failed);
    EXPECT_EQ(r.windowFocusTag, SettingsWindow) << "the window is still open after the reset's own start";
}

TEST(Settings, AResetThatCannotDeleteTheSaveFileChangesNothing) {
    SessionState s = openSettings();
    SettingsTicks ticks;
    ticks.resetAll = true;
    RecordingTarget target(s);
    target.deleteWorks = false;
    EXPECT_EQ(executeSettings(ticks, s, target), SettingsOutcome::Failed);
    EXPECT_EQ(target.calls, std::vector<std::string>{"delete"});
    EXPECT_EQ(s.step, 3);
    EXPECT_EQ(s.windowFocusTag, SettingsWindow);
}
