#include "session/trainer_fixture.h"

#include "failing_file_system.h"
#include "platform/cp932.h"
#include "records/save_record.h"
#include "session/saved_state.h"

#include <functional>

using session::EnabledButtons;
using session::MessageId;
using session::NavButton;
using session::Overlay;
using session::QuestionReply;
using session::SessionMode;

// ---- moving and starting ------------------------------------------------------------------------

TEST_F(TrainerTest, AMoveShowsWhatItsModeShowsAndIsHeard) {
    const struct {
        SessionMode mode;
        bool moves;
        bool sentenceShown;
        const char* answerLineAfter; // "typed" was on the line before
    } rows[] = {
        {SessionMode::Study, true, true, "typed"},
        {SessionMode::TestStudy, true, false, ""},
        {SessionMode::Test, true, false, ""}, // no test taken: no stored answer
        {SessionMode::Results, false, false, "typed"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.mode));
        trainer->chooseTab(row.mode);
        s().sentence.currentSlot = 10;
        sound.played.clear();
        view.answerLine = "typed";
        trainer->press(NavButton::Right);
        EXPECT_EQ(slot(), row.moves ? 1 : 10);
        EXPECT_EQ(view.answerLine, row.answerLineAfter);
        trainer->press(NavButton::Left);
        EXPECT_EQ(slot(), 10);
        if (row.mode != SessionMode::Results) {
            EXPECT_EQ(view.label.visible, row.sentenceShown);
        }
        if (row.sentenceShown) {
            EXPECT_EQ(view.label.caption, "Sentence 10.");
        }
        const std::vector<std::string> heard{voiceOf(1), voiceOf(10)};
        EXPECT_EQ(sound.played, row.moves ? heard : std::vector<std::string>{});
        EXPECT_EQ(sound.prepared.back(), voiceOf(s().sentence.currentId())) << "made ready for repeat";
    }
}

// START: study builds the order anew, test study begins the order it has, a test takes a fresh
// shuffle in silence, and the checklist pages cannot be tested.
TEST_F(TrainerTest, StartInEachMode) {
    const struct {
        const char* name;
        SessionMode mode;
        int stepChange;
        bool orderChanges;
        bool heard;
        bool testRuns;
        std::vector<MessageId> messages;
    } rows[] = {
        {"study", SessionMode::Study, 0, true, true, false, {}},
        {"test study", SessionMode::TestStudy, 0, false, true, false, {}},
        {"test", SessionMode::Test, 0, true, false, true, {}},
        {"test of the checklist", SessionMode::Test, -1, false, false, false, {MessageId::NoTestOnChecklist}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        startTrainer();
        s().sentence.randomOrder = true;
        if (row.stepChange)
            trainer->changeStep(row.stepChange);
        trainer->chooseTab(row.mode);
        s().sentence.currentSlot = 4;
        view.answerLine = "kept";
        const auto order = s().sentence.order;
        sound.played.clear();
        clock.ms += 1; // another seed for a shuffle
        trainer->press(NavButton::Start);
        EXPECT_EQ(s().sentence.order != order, row.orderChanges);
        EXPECT_EQ(s().testRunning, row.testRuns);
        EXPECT_EQ(view.messages, row.messages);
        if (row.messages.empty()) {
            EXPECT_EQ(slot(), 1);
        }
        EXPECT_EQ(sound.prepared.back(), voiceOf(s().sentence.currentId())) << "made ready for repeat";
        EXPECT_EQ(sound.played, row.heard ? std::vector<std::string>{voiceOf(s().sentence.idAt(1))}
                                          : std::vector<std::string>{});
        if (row.mode == SessionMode::Study) {
            EXPECT_EQ(view.label.caption, sentenceAt(1));
        }
        if (row.mode == SessionMode::TestStudy) {
            EXPECT_EQ(view.answerLine, "kept");
        }
        if (row.testRuns) {
            EXPECT_EQ(view.buttons, (EnabledButtons{.giveUp = true}));
            EXPECT_EQ(view.overlay, Overlay::TestUnderWay);
            EXPECT_EQ(view.answerLine, "");
        }
    }
}

// ---- test study --------------------------------------------------------------------------------

TEST_F(TrainerTest, TestStudyPraisesTheExactSentenceAndReplaysAnythingElse) {
    const struct {
        const char* typed;
        bool right;
    } rows[] = {
        {"Sentence 1.   ", true},   {"Ｓｅｎｔｅｎｃｅ　１。", true}, {" Sentence 1.", false},
        {"sentence 1.", false},     {"Sentence 1", false},         {"", false},
    };
    trainer->chooseTab(SessionMode::TestStudy);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        sound.played.clear();
        view.departuresMarked = 0;
        view.advancing = false;
        view.answerLine = row.typed;
        trainer->enter(row.typed);
        EXPECT_EQ(sound.played, std::vector<std::string>{row.right ? chime() : voiceOf(1)});
        EXPECT_EQ(view.advancing, row.right);
        EXPECT_EQ(view.departuresMarked, row.right ? 0 : 1);
        EXPECT_EQ(view.answerLine, row.typed) << "the line keeps what was typed";
        if (row.right) {
            EXPECT_EQ(view.overlay, Overlay::VeryGood);
            EXPECT_FALSE(view.label.visible);
        }
    }
}

// The advance runs in the mode its tick finds, but a new chapter drops it.
TEST_F(TrainerTest, TheAdvanceMovesOnInTheModeOfItsTick) {
    trainer->chooseTab(SessionMode::TestStudy);
    trainer->enter("Sentence 1.");
    trainer->chooseTab(SessionMode::Study);
    trainer->advance();
    EXPECT_EQ(slot(), 2);
    EXPECT_EQ(view.label.caption, "Sentence 2.");
    EXPECT_TRUE(view.label.visible);
    EXPECT_EQ(view.overlay, Overlay::None);
    EXPECT_EQ(view.answerLine, "");
    EXPECT_FALSE(view.advancing);
    EXPECT_EQ(sound.played.back(), voiceOf(2));

    trainer->chooseTab(SessionMode::TestStudy);
    trainer->enter("Sentence 2.");
    ASSERT_TRUE(view.advancing);
    trainer->changeChapter(1);
    EXPECT_FALSE(view.advancing);
    EXPECT_EQ(slot(), 1);
    EXPECT_EQ(sound.prepared.back(), voiceOf(11)) << "the new chapter's voice made ready";
}

// Give-up shows the sentence in test study; in a running test it files the line with a full
// stop, blanks and all, and moves on.
TEST_F(TrainerTest, GiveUp) {
    trainer->chooseTab(SessionMode::TestStudy);
    view.answerLine = "Sen";
    trainer->press(NavButton::GiveUp);
    EXPECT_TRUE(view.label.visible);
    EXPECT_EQ(view.label.caption, "Sentence 1.");
    EXPECT_EQ(view.answerLine, "Sen");

    startTest();
    for (const char* typed : {"", "My answer  "}) {
        const int filed = slot() - 1;
        view.answerLine = typed;
        trainer->press(NavButton::GiveUp);
        EXPECT_EQ(s().sentence.answers[filed], std::string(typed) + ".");
        EXPECT_EQ(slot(), filed + 2);
        EXPECT_EQ(view.answerLine, "");
    }
}

TEST_F(TrainerTest, ATestPlaysEachSentenceThreeTimesAtMost) {
    startTest();
    for (int play = 1; play <= 4; ++play) {
        trainer->enter("");
        EXPECT_EQ(sound.played.size(), static_cast<std::size_t>(std::min(play, 3)));
        EXPECT_EQ(view.replaysUsed, std::min(play, 3));
    }
    trainer->enter("Sentence.");
    EXPECT_EQ(view.replaysUsed, 0) << "the next sentence has its three plays";
}

// ---- the score and the review ------------------------------------------------------------------

TEST_F(TrainerTest, TheScoreQuestionFilesOnYesAndReviewsEitherWay) {
    const struct {
        int right;
        bool yes;
    } rows[] = {{7, true}, {0, false}, {10, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.right);
        takeTest(row.right);
        EXPECT_EQ(view.messages.back(), MessageId::SaveQuestion);
        EXPECT_EQ(s().correctCount, row.right);
        EXPECT_EQ(sound.played.back(), chime());
        EXPECT_EQ(trainer->answerQuestion(row.yes), QuestionReply::Closes);
        EXPECT_EQ(s().results.score(1, 1), row.yes ? row.right : -1);
        EXPECT_EQ(file("save.dat"), row.yes ? records::encodeSaveRecord(session::toSaveRecord(s()))
                                            : "missing");
        EXPECT_FALSE(s().testRunning);
        EXPECT_TRUE(s().reviewActive);
        EXPECT_EQ(slot(), 1);
        EXPECT_EQ(view.answerLine, s().sentence.answers[0]);
        EXPECT_EQ(view.buttons, (EnabledButtons{.left = true, .right = true, .start = true, .repeat = true}));
        EXPECT_EQ(s().openQuestion, MessageId::None);
        s().results.clear(0);
        std::filesystem::remove(dir.file("savedata/save.dat"));
    }
}

TEST_F(TrainerTest, AFailedSaveOfTheScoreKeepsTheQuestionAndFilesOnce) {
    takeTest(4);
    FailingFileSystem failing(FailingFileSystem::CreateNew, "save.dat", EACCES);
    trainer->fileSystem = &failing;
    EXPECT_EQ(trainer->answerQuestion(true), QuestionReply::Stays);
    EXPECT_EQ(view.faults, std::vector<std::string>{dir.file("savedata/save.dat")});
    EXPECT_TRUE(s().testRunning);
    EXPECT_EQ(s().openQuestion, MessageId::SaveQuestion);
    failing.heal();
    EXPECT_EQ(trainer->answerQuestion(true), QuestionReply::Closes);
    EXPECT_EQ(s().results.score(1, 1), 4);
    EXPECT_EQ(s().results.date(1, 1).str(), "12/8");
    EXPECT_EQ(s().results.score(2, 1), -1);
    trainer->fileSystem = &platform::systemFileSystem();
}

// The review pairs each slot with the answer stored for it, whatever the line shows; a new order
// ends it.
TEST_F(TrainerTest, TheReviewShowsTheStoredAnswersUntilANewOrder) {
    takeTest(9);
    trainer->answerQuestion(false);
    view.answerLine = "edited";
    trainer->press(NavButton::Left);
    EXPECT_EQ(view.answerLine, "Wrong answer.");
    EXPECT_TRUE(view.markShown);
    trainer->chooseTab(SessionMode::Study);
    trainer->chooseTab(SessionMode::Test);
    EXPECT_TRUE(view.label.visible) << "back in test mode: the review";
    sound.played.clear();
    for (int i = 0; i < 5; ++i)
        trainer->enter("");
    EXPECT_EQ(sound.played.size(), 5u) << "the review replays without limit";

    trainer->chooseTab(SessionMode::Study);
    trainer->press(NavButton::Start);
    EXPECT_FALSE(s().reviewActive);
    trainer->chooseTab(SessionMode::Test);
    EXPECT_FALSE(view.markShown);
    EXPECT_EQ(view.overlay, Overlay::WaitingForStart);
}

// ---- refusals and messages ---------------------------------------------------------------------

TEST_F(TrainerTest, DuringATestEverythingThatLeavesItIsRefusedAloud) {
    const struct {
        const char* name;
        std::function<void(session::Trainer&)> act;
    } rows[] = {
        {"a tab", [](auto& t) { if (t.choiceActs()) t.chooseTab(SessionMode::Study); }},
        {"the results tab", [](auto& t) { if (t.choiceActs()) t.chooseTab(SessionMode::Results); }},
        {"the settings", [](auto& t) { t.openSettings(); }},
        {"the exit", [](auto& t) { t.askToExit(); }},
        {"a step", [](auto& t) { t.changeStep(1); }},
        {"a chapter", [](auto& t) { t.changeChapter(-1); }},
        {"a reset", [](auto& t) { t.executeSettings({.resetAll = true, .clearChecklist = true}); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        startTrainer();
        s().sentence.checklist[0] = 33;
        startTest();
        const auto order = s().sentence.order;
        const int beeps = sound.beeps;
        row.act(*trainer);
        EXPECT_EQ(view.messages, std::vector<MessageId>{MessageId::TestRunning});
        EXPECT_EQ(sound.beeps, beeps + 1);
        EXPECT_EQ(s().mode, SessionMode::Test);
        EXPECT_TRUE(s().testRunning);
        EXPECT_EQ(s().step, 1);
        EXPECT_EQ(s().chapter, 1);
        EXPECT_EQ(s().sentence.order, order);
        EXPECT_EQ(s().sentence.checklist[0], 33);
        EXPECT_EQ(view.settingsOpened + view.resultsOpened, 0);
    }
}

TEST_F(TrainerTest, EachMessageSoundsAsItsKindSays) {
    const struct {
        MessageId id;
        bool chime;
        bool question;
    } rows[] = {
        {MessageId::ChecklistSaved, true, false},  {MessageId::AlreadyListed, false, false},
        {MessageId::NotListed, false, false},      {MessageId::RemovedFromChecklist, true, false},
        {MessageId::ChecklistFull, false, false},  {MessageId::TestRunning, false, false},
        {MessageId::NoTestOnChecklist, false, false}, {MessageId::ExitQuestion, false, true},
        {MessageId::SaveQuestion, true, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.id));
        startTrainer();
        sound.played.clear();
        const int beeps = sound.beeps;
        trainer->showMessage(row.id);
        EXPECT_EQ(view.messages, std::vector<MessageId>{row.id});
        EXPECT_EQ(sound.played, row.chime ? std::vector<std::string>{chime()} : std::vector<std::string>{});
        EXPECT_EQ(sound.beeps - beeps, row.chime ? 0 : 1);
        EXPECT_EQ(s().windowFocusTag, session::MessageWindow);
        EXPECT_EQ(s().openQuestion, row.question ? row.id : MessageId::None);
    }
    for (int outside : {0, 10, -1})
        trainer->showMessage(MessageId(outside));
    EXPECT_EQ(view.messages.size(), 1u) << "numbers outside the catalogue show nothing";
}

// A notice in the place of an open question would leave it unanswered: the question comes
// forward with a beep instead.
TEST_F(TrainerTest, ANoticeNeverTakesThePlaceOfAnOpenQuestion) {
    trainer->askToExit();
    trainer->showMessage(MessageId::TestRunning);
    EXPECT_EQ(view.messages, std::vector<MessageId>{MessageId::ExitQuestion});
    EXPECT_EQ(view.broughtForward, 1);
    EXPECT_EQ(sound.beeps, 2);
    EXPECT_EQ(s().openQuestion, MessageId::ExitQuestion);
    EXPECT_FALSE(trainer->windowActs());
    EXPECT_EQ(trainer->answerQuestion(false), QuestionReply::BackToMain);
    EXPECT_TRUE(trainer->windowActs());
    EXPECT_EQ(s().windowFocusTag, session::NoWindow);
}

TEST_F(TrainerTest, ClosingTheResultsReturnsToTheModeTheyWereChosenFrom) {
    trainer->chooseTab(SessionMode::TestStudy);
    trainer->chooseTab(SessionMode::Results);
    trainer->chooseTab(SessionMode::Results);
    EXPECT_EQ(view.resultsOpened, 1);
    trainer->resultsOpened();
    view.answerLineShown = false;
    trainer->resultsClosed();
    EXPECT_EQ(s().mode, SessionMode::TestStudy);
    EXPECT_EQ(view.tab, SessionMode::TestStudy);
    EXPECT_TRUE(view.answerLineShown) << "the test-study view is drawn again";
    EXPECT_EQ(s().windowFocusTag, session::NoWindow);
}

// ---- the sentence's font -----------------------------------------------------------------------

// Whatever size is chosen, the sentence is drawn 24 pixels high across the width; the rest of the
// font is the learner's, and fs.dat keeps the label as the trainer has it.
TEST_F(TrainerTest, AChosenFontIsDrawn24PixelsHighAndSavedAsShown) {
    for (int points : {8, 18, 72}) {
        SCOPED_TRACE(points);
        records::FontSpec chosen;
        chosen.name = "DejaVu Sans";
        chosen.size = points;
        chosen.height = -points * 96 / 72;
        chosen.color = records::rgb(0, 0, 255);
        chosen.style = records::Italic | records::Underline;
        trainer->chooseSentenceFont(chosen);
        const records::FontSpec& font = trainer->sentenceLabel().font;
        EXPECT_EQ(font.pixels(), 24);
        EXPECT_EQ(font.size, 18);
        EXPECT_EQ(font.name, chosen.name);
        EXPECT_EQ(font.color, chosen.color);
        EXPECT_EQ(font.style, chosen.style);
        EXPECT_EQ(view.label, trainer->sentenceLabel());
        ASSERT_TRUE(trainer->save());
        EXPECT_EQ(file("fs.dat"), records::writeLabelStream(trainer->sentenceLabel()));
    }
    trainer->useDefaultSentenceFont();
    const records::FontSpec& font = trainer->sentenceLabel().font;
    EXPECT_EQ(platform::cp932ToUtf8(font.name), "MS Pゴシック");
    EXPECT_EQ(font.color, records::rgb(120, 0, 0));
    EXPECT_EQ(font.style, records::Bold);
    EXPECT_EQ(font.pixels(), 24);
}

// ---- the checklist -----------------------------------------------------------------------------

// Check and Delete act on the sentence on show; what acts is saved and said.
TEST_F(TrainerTest, ChecklistEditsSaveAndSayWhatTheyDid) {
    const auto list = [this]() -> auto& { return s().sentence.checklist; }; // of the trainer now
    const struct {
        const char* name;
        std::function<void()> arrange;
        bool add;
        int firstListed;
        bool saved;
        std::vector<MessageId> messages;
        bool reordered = false;
    } rows[] = {
        {"add", [] {}, true, 1, true, {MessageId::ChecklistSaved}},
        {"add of a listed one", [&] { list()[0] = 1; }, true, 1, true, {MessageId::AlreadyListed}},
        {"add to a full list", [&] { for (int i = 0; i < 100; ++i) list()[i] = 201 + i; }, true, 201,
         false, {MessageId::ChecklistFull}},
        {"remove", [&] { list() = {1, 77}; }, false, 77, true, {MessageId::RemovedFromChecklist}},
        {"remove of one not listed", [] {}, false, 0, true, {MessageId::NotListed}},
        {"remove, shuffled", [&] { s().sentence.randomOrder = true; clock.ms += 1; list()[0] = 1; },
         false, 0, true, {MessageId::RemovedFromChecklist}, true},
        {"remove on the checklist pages", [&] { list() = {5, 6}; trainer->changeStep(-1); }, false, 6,
         true, {MessageId::RemovedFromChecklist}, true},
        {"add on the checklist pages", [&] { list()[0] = 5; trainer->changeStep(-1); }, true, 5, false, {}},
        {"add in test study", [&] { trainer->chooseTab(SessionMode::TestStudy); }, true, 0, false, {}},
        {"add in test study after the give-up", [&] {
             trainer->chooseTab(SessionMode::TestStudy);
             trainer->press(NavButton::GiveUp);
         }, true, 1, true, {MessageId::ChecklistSaved}},
        {"add in a running test", [&] { startTest(); }, true, 0, false, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove(dir.file("savedata/save.dat")); // the row before saved its list
        startTrainer();
        row.arrange();
        const auto order = s().sentence.order;
        row.add ? trainer->addToChecklist() : trainer->removeFromChecklist();
        EXPECT_EQ(s().sentence.checklist[0], row.firstListed);
        EXPECT_EQ(std::filesystem::exists(dir.file("savedata/save.dat")), row.saved);
        EXPECT_EQ(view.messages, row.messages);
        EXPECT_EQ(s().sentence.order != order, row.reordered);
        if (s().step == content::checklistStep) {
            EXPECT_EQ(view.label.caption, sentenceAt(slot())) << "the page is drawn again";
        }
    }
}
