#pragma once
#include "records/save_record.h"
#include "session/session_state.h"

namespace session {

// The saved values of the session as save.dat's record.
records::SaveRecord toSaveRecord(const SessionState& state);

// Takes a read of save.dat into the session. A complete record gives every saved value; an
// incomplete one only what it had of the result table, the rest keeping the session's values.
void applySaveRecord(SessionState& state, const records::LoadedRecord& loaded);

} // namespace session
