#include "session/settings.h"

#include "session/checklist.h"

namespace session {
namespace {

bool resetAll(SessionState& state, SettingsTarget& target) {
    if (!target.deleteSaveFile())
        return false; // a reset now would only load the old file again
    target.readCourse();
    target.initSession();
    // The window is still on show until the save has gone through.
    state.windowFocusTag = SettingsWindow;
    target.setDefaultSentenceFont();
    return target.saveState();
}

void redrawView(SessionMode mode, SettingsTarget& target) {
    switch (mode) {
    case SessionMode::Study:
        target.showStudyView();
        break;
    case SessionMode::TestStudy:
        target.showTestStudyView();
        break;
    case SessionMode::Test:
        target.showTestView();
        break;
    case SessionMode::Results:
        break;
    }
}

bool applyClearingsAndOptions(const SettingsTicks& ticks, SessionState& state,
                              SettingsTarget& target) {
    if (ticks.clearResults)
        state.results.clear(0);
    if (ticks.clearChecklist) {
        checklist::clear(state.sentence.checklist);
        // A review pairs the answers with the order they were typed in; a new order would pair
        // them with other sentences. Outside the checklist pages the order does not depend on
        // the list anyway.
        if (!state.reviewActive)
            target.buildSentenceOrder(); // still with the old RandomOrder
        redrawView(state.mode, target);
    }
    state.sentence.randomOrder = ticks.randomOrder;
    target.showFunctionKeyCaptions(ticks.showShortcuts);
    state.showTranslation = ticks.showTranslation;
    state.showPoint = ticks.showPoint;
    return target.saveState();
}

} // namespace

SettingsTicks ticksFor(const SessionState& state) {
    SettingsTicks ticks;
    ticks.randomOrder = state.sentence.randomOrder;
    ticks.showShortcuts = state.showShortcuts;
    ticks.showTranslation = state.showTranslation;
    ticks.showPoint = state.showPoint;
    return ticks;
}

SettingsOutcome executeSettings(const SettingsTicks& ticks, SessionState& state,
                                SettingsTarget& target) {
    // A reset or a new order in the middle of a test would score the answers against other
    // sentences; like every other control, the settings wait until the test is over.
    if (state.testRunning)
        return SettingsOutcome::RefusedInTest;
    const bool done = ticks.resetAll ? resetAll(state, target)
                                     : applyClearingsAndOptions(ticks, state, target);
    if (!done)
        return SettingsOutcome::Failed;
    state.windowFocusTag = NoWindow;
    return SettingsOutcome::Applied;
}

} // namespace session
