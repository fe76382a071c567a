#pragma once

namespace session {

// The message window's notices and questions, by the numbers the program has always given them.
enum class MessageId : int {
    None = 0,
    ChecklistSaved = 1,
    AlreadyListed = 2,
    NotListed = 3,
    RemovedFromChecklist = 4,
    ChecklistFull = 5,
    ExitQuestion = 6,
    TestRunning = 7,
    SaveQuestion = 8,
    NoTestOnChecklist = 9,
};

} // namespace session
