#pragma once
#include "platform/program_lock.h"
#include "platform_qt/program_channel.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace app {

// One running program per program folder, so that one learner's files have one writer. Made
// first thing at start: takes the lock in savedata/, or asks the program that holds it to come to
// the front, in which case this start leaves without a window.
class OneProgram {
public:
    OneProgram();
    OneProgram(const OneProgram&) = delete;
    OneProgram& operator=(const OneProgram&) = delete;

    // Set when this start leaves: 0 when the running program came to the front, 1 (said on
    // standard error) when it did not answer.
    std::optional<int> leaveWith() const { return leaveWith_; }
    // From now on, until the listener given back goes, a later start in this folder calls
    // `comeForward`. Nothing listens (null) where the lock could not be had.
    std::unique_ptr<platform::ChannelListener> listen(std::function<void()> comeForward) const;

private:
    std::string lockPath_;
    platform::ProgramLock lock_;
    std::optional<int> leaveWith_;
};

} // namespace app
