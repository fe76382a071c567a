#include "session/checklist_edit.h"
#include "session/choices.h"
#include "session/session_start.h"

#include <gtest/gtest.h>

using namespace session;

TEST(Choices, AnotherStepOrChapter) {
    struct Row {
        const char* name;
        SessionMode mode;
        bool running;
        MessageId question;
        int step;
        int chapter;
        StepChange outcome;
    };
    const Row rows[] = {
        {"another chapter", SessionMode::Test, false, MessageId::None, 2, 5, StepChange::Changed},
        {"another step", SessionMode::Study, false, MessageId::None, 3, 4, StepChange::Changed},
        {"the same", SessionMode::Study, false, MessageId::None, 2, 4, StepChange::Ignored},
        {"results open", SessionMode::Results, false, MessageId::None, 2, 5, StepChange::Ignored},
        {"a test running", SessionMode::Test, true, MessageId::None, 2, 5, StepChange::RefusedInTest},
        {"a question open", SessionMode::Study, false, MessageId::ExitQuestion, 2, 5,
         StepChange::Ignored},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SessionState s;
        s.mode = row.mode;
        s.step = 2;
        s.chapter = 4;
        s.testRunning = row.running;
        s.reviewActive = true;
        s.openQuestion = row.question;
        s.sentence.currentSlot = 7;
        const bool changes = row.outcome == StepChange::Changed;
        EXPECT_EQ(changeStepOrChapter(s, row.step, row.chapter, 1000), row.outcome);
        EXPECT_EQ(s.step, changes ? row.step : 2);
        EXPECT_EQ(s.chapter, changes ? row.chapter : 4);
        EXPECT_EQ(s.sentence.currentSlot, changes ? 1 : 7);
        EXPECT_EQ(s.reviewActive, !changes) << "a review belongs to its chapter";
        EXPECT_EQ(s.sentence.order[0] != 0, changes) << "a changed chapter has its order";
    }
}

TEST(Choices, TabsAndTheModeTheResultsCameFrom) {
    SessionState s;
    s.mode = SessionMode::TestStudy;
    EXPECT_EQ(switchMode(s, SessionMode::TestStudy), ModeSwitch::Ignored);
    EXPECT_EQ(switchMode(s, SessionMode::Results), ModeSwitch::OpenResults);
    EXPECT_EQ(s.previousMode, SessionMode::TestStudy);
    EXPECT_EQ(switchMode(s, SessionMode::Study), ModeSwitch::Redraw);
    EXPECT_EQ(s.mode, SessionMode::Study);
    EXPECT_EQ(s.previousMode, SessionMode::TestStudy);
    s.testRunning = true;
    EXPECT_EQ(switchMode(s, SessionMode::Test), ModeSwitch::Ignored);
    EXPECT_EQ(gateOfChoice(s), Gate::RefusedInTest);
    s.openQuestion = MessageId::SaveQuestion;
    EXPECT_EQ(gateOfChoice(s), Gate::Ignored);
}

TEST(Choices, ChecklistEditsActOnTheSentenceOnShow) {
    struct Row {
        const char* name;
        SessionMode mode;
        SessionMode previous;
        bool revealed;
        bool review;
        bool listedBefore;
        bool add;
        ChecklistEdit edit;
    };
    using enum MessageId;
    const ChecklistEdit none;
    const Row rows[] = {
        {"add in study", SessionMode::Study, SessionMode::Study, false, false, false, true,
         {true, false, false, true, ChecklistSaved}},
        {"add again", SessionMode::Study, SessionMode::Study, false, false, true, true,
         {true, false, false, true, AlreadyListed}},
        {"add in test study, hidden", SessionMode::TestStudy, SessionMode::Study, false, false, false,
         true, none},
        {"add in test study, given up", SessionMode::TestStudy, SessionMode::Study, true, false,
         false, true, {true, false, false, true, ChecklistSaved}},
        {"add in the idle test", SessionMode::Test, SessionMode::Study, false, false, false, true, none},
        {"add in a review, under the results", SessionMode::Results, SessionMode::Test, false, true,
         false, true, {true, false, false, true, ChecklistSaved}},
        {"remove in study", SessionMode::Study, SessionMode::Study, false, false, true, false,
         {true, true, true, true, RemovedFromChecklist}},
        {"remove what is not listed", SessionMode::Study, SessionMode::Study, false, false, false,
         false, {true, true, true, true, NotListed}},
        {"remove in a review keeps its order", SessionMode::Test, SessionMode::Study, false, true,
         true, false, {true, false, true, true, RemovedFromChecklist}},
        {"remove under the results", SessionMode::Results, SessionMode::Study, false, false, true,
         false, {true, true, false, true, RemovedFromChecklist}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SessionState s;
        s.mode = row.mode;
        s.previousMode = row.previous;
        s.answerRevealed = row.revealed;
        s.reviewActive = row.review;
        s.sentence.order[0] = 42;
        s.sentence.checklist[0] = row.listedBefore ? 42 : 0;
        const ChecklistEdit edit = row.add ? addToChecklist(s) : removeFromChecklist(s);
        EXPECT_EQ(edit.acts, row.edit.acts);
        EXPECT_EQ(edit.rebuildOrder, row.edit.rebuildOrder);
        EXPECT_EQ(edit.redraw, row.edit.redraw);
        EXPECT_EQ(edit.save, row.edit.save);
        EXPECT_EQ(edit.message, row.edit.message);
        const bool listed = edit.acts ? row.add : row.listedBefore;
        EXPECT_EQ(s.sentence.checklist[0] == 42, listed);
    }
}

TEST(Choices, AFullChecklistRefusesWithoutASaveAndTheChecklistPagesAreNotListed) {
    SessionState s;
    s.sentence.order[0] = 500;
    for (int i = 0; i < checklist::places; ++i)
        s.sentence.checklist[i] = i + 1;
    const ChecklistEdit full = addToChecklist(s);
    EXPECT_TRUE(full.acts);
    EXPECT_FALSE(full.save);
    EXPECT_EQ(full.message, MessageId::ChecklistFull);
    s.step = 6;
    EXPECT_FALSE(addToChecklist(s).acts);
}

TEST(Choices, ASessionStartsFromItsDefaultsOnSlotOne) {
    SessionState s;
    s.mode = SessionMode::Test;
    s.step = 4;
    s.showShortcuts = true;
    s.sentence.checklist[0] = 9;
    s.testRunning = true;
    s.windowFocusTag = SettingsWindow;
    resetSession(s);
    EXPECT_EQ(s.mode, SessionMode::Study);
    EXPECT_EQ(s.step, 1);
    EXPECT_FALSE(s.showShortcuts);
    EXPECT_EQ(s.sentence.checklist[0], 0);
    s.chapter = 3; // as a save file may have it
    s.sentence.currentSlot = 5;
    beginSession(s, 1000);
    EXPECT_EQ(s.sentence.currentSlot, 1);
    EXPECT_EQ(s.sentence.order[0], 21) << "step 1, chapter 3, in order";
    EXPECT_FALSE(s.testRunning);
    EXPECT_EQ(s.windowFocusTag, NoWindow);
}
