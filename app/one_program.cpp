#include "app/one_program.h"

#include "records/save_files.h"
#include "session/who_runs.h"

#include <chrono>
#include <cstdio>

namespace app {

namespace {

// How long a later start waits for the running program, from the connection to its answer.
constexpr std::chrono::seconds answerPatience(1);

bool askHolder(const std::string& lockPath) {
    return platform::askToComeForward(platform::channelName(lockPath), answerPatience);
}

} // namespace

OneProgram::OneProgram() : lockPath_(records::saveFolder() + "/yomirin.lock") {
    session::StartFindings found;
    for (;;) {
        switch (session::nextStartStep(found)) {
        case session::StartStep::TryLock:
            found.lock = lock_.tryTake(lockPath_);
            break;
        case session::StartStep::AskHolder:
            found.answered = askHolder(lockPath_);
            break;
        case session::StartStep::TryLockAgain:
            found.lockAgain = lock_.tryTake(lockPath_);
            break;
        case session::StartStep::Run:
        case session::StartStep::RunUnlocked:
            return;
        case session::StartStep::LeaveAnswered:
            leaveWith_ = 0;
            return;
        case session::StartStep::LeaveUnanswered:
            std::fprintf(stderr, "%s\n",
                         "このフォルダーのプログラムはすでに動いていますが、応答がありません"
                         "（ほかのコンピューターで動いているのかもしれません）。");
            leaveWith_ = 1;
            return;
        }
    }
}

std::unique_ptr<platform::ChannelListener> OneProgram::listen(
    std::function<void()> comeForward) const {
    if (!lock_.held())
        return nullptr;
    auto listener = std::make_unique<platform::ChannelListener>(std::move(comeForward));
    listener->listen(platform::channelName(lockPath_));
    return listener;
}

} // namespace app
