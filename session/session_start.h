#pragma once
#include "session/session_state.h"

#include <cstdint>

namespace session {

// The values a session starts from, before save.dat is read over them.
void resetSession(SessionState& s);

// Once the saved state is read: slot 1 of a freshly built order, no test, no review and no child
// window in front.
void beginSession(SessionState& s, std::uint32_t utcMsOfDay);

} // namespace session
