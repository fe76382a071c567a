#include "session/who_runs.h"

namespace session {

using platform::LockTry;

StartStep nextStartStep(const StartFindings& found) {
    if (!found.lock)
        return StartStep::TryLock;
    if (*found.lock == LockTry::Taken)
        return StartStep::Run;
    if (*found.lock == LockTry::Unavailable)
        return StartStep::RunUnlocked;
    if (!found.answered)
        return StartStep::AskHolder;
    if (*found.answered)
        return StartStep::LeaveAnswered;
    if (!found.lockAgain)
        return StartStep::TryLockAgain;
    // Held a moment ago and not free now: a holder that is hung, or on another computer sharing
    // this folder, keeps its lock. A lock that has since become unavailable is no sign that the
    // holder is gone either.
    return *found.lockAgain == LockTry::Taken ? StartStep::Run : StartStep::LeaveUnanswered;
}

} // namespace session
