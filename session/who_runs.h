#pragma once
#include "platform/program_lock.h"

#include <optional>

namespace session {

// One running program per program folder. What a start has found out so far about the folder's
// lock and the program holding it; each finding is made only when the one before asks for it.
struct StartFindings {
    std::optional<platform::LockTry> lock;      // the first try
    std::optional<bool> answered;               // the holder came to the front within its second
    std::optional<platform::LockTry> lockAgain; // a second try, after no answer
};

enum class StartStep {
    TryLock,
    AskHolder,    // to bring its main window to the front
    TryLockAgain, // the holder may have closed since the first try
    Run,          // holding the lock, listening for later starts
    RunUnlocked,  // no lock to be had here (a read-only or missing savedata): start as without one
    LeaveAnswered,   // the running program is in front; this start ends with 0 and no window
    LeaveUnanswered, // a live holder that did not answer: no second writer, this start ends with 1
};

StartStep nextStartStep(const StartFindings& found);

} // namespace session
