#include "session/who_runs.h"

#include <gtest/gtest.h>

using platform::LockTry;
using session::StartFindings;
using session::StartStep;

namespace {

struct WhoRunsCase {
    const char* name;
    StartFindings found;
    StartStep next;
};

const WhoRunsCase whoRunsCases[] = {
    {"nothing_tried_yet", {}, StartStep::TryLock},
    {"the_only_start", {LockTry::Taken, {}, {}}, StartStep::Run},
    {"a_read_only_or_missing_savedata", {LockTry::Unavailable, {}, {}}, StartStep::RunUnlocked},
    {"a_program_runs", {LockTry::HeldElsewhere, {}, {}}, StartStep::AskHolder},
    {"it_came_to_the_front", {LockTry::HeldElsewhere, true, {}}, StartStep::LeaveAnswered},
    {"it_did_not_answer", {LockTry::HeldElsewhere, false, {}}, StartStep::TryLockAgain},
    {"it_closed_meanwhile", {LockTry::HeldElsewhere, false, LockTry::Taken}, StartStep::Run},
    {"hung_or_on_another_computer", {LockTry::HeldElsewhere, false, LockTry::HeldElsewhere},
     StartStep::LeaveUnanswered},
    {"held_and_then_unavailable", {LockTry::HeldElsewhere, false, LockTry::Unavailable},
     StartStep::LeaveUnanswered},
};

class WhoRuns : public testing::TestWithParam<WhoRunsCase> {};

} // namespace

TEST_P(WhoRuns, NextStep) {
    EXPECT_EQ(session::nextStartStep(GetParam().found), GetParam().next);
}

INSTANTIATE_TEST_SUITE_P(Starts, WhoRuns, testing::ValuesIn(whoRunsCases),
                         [](const auto& info) { return std::string(info.param.name); });
