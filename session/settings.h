#pragma once
#include "session/session_state.h"

namespace session {

// The ticks of the settings window: three actions, never ticked when the window comes up, and
// the four display options as they stand.
struct SettingsTicks {
    bool resetAll = false;
    bool clearResults = false;
    bool clearChecklist = false;
    bool randomOrder = false;
    bool showShortcuts = false;
    bool showTranslation = false;
    bool showPoint = false;

    bool operator==(const SettingsTicks&) const = default;
};

// What the settings window shows each time it becomes active.
SettingsTicks ticksFor(const SessionState& state);

// What executing the settings asks of the main window.
class SettingsTarget {
public:
    virtual ~SettingsTarget() = default;
    // Deletes save.dat; false (after telling the learner) when a save file is still there.
    virtual bool deleteSaveFile() = 0;
    // Reads the course text again: the reset starts as the program does.
    virtual void readCourse() = 0;
    virtual void initSession() = 0;
    virtual void setDefaultSentenceFont() = 0;
    virtual void buildSentenceOrder() = 0;
    virtual void showStudyView() = 0;
    virtual void showTestStudyView() = 0;
    virtual void showTestView() = 0;
    virtual void showFunctionKeyCaptions(bool shown) = 0;
    // Saves both files; false after a failure was reported.
    virtual bool saveState() = 0;
};

enum class SettingsOutcome {
    Applied,        // done and saved: the window goes
    RefusedInTest,  // nothing done: a test is running
    Failed,         // a file operation failed and was reported: the window stays
};

// "実行": either the full reset, or the clearings and then the options, followed by a save.
// The reset alone looks at no other tick. A failure ends the run where it happened; what was
// applied before it stays.
SettingsOutcome executeSettings(const SettingsTicks& ticks, SessionState& state,
                                SettingsTarget& target);

} // namespace session
