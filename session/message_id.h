#pragma once
#include <iterator>
#include <optional>

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

// Notices close by themselves; questions stay until they are answered. Each comes with the chime
// or the desktop's beep.
enum class MessageKind { Notice, Question };
enum class MessageSound { Beep, Chime };
struct MessageRule {
    MessageKind kind;
    MessageSound sound;
};

// None, and numbers outside the catalogue, are no message.
constexpr std::optional<MessageRule> messageRule(MessageId id) {
    using enum MessageKind;
    using enum MessageSound;
    constexpr MessageRule rules[] = {
        {Notice, Chime}, {Notice, Beep},     {Notice, Beep}, {Notice, Chime}, {Notice, Beep},
        {Question, Beep}, {Notice, Beep}, {Question, Chime}, {Notice, Beep},
    };
    const int number = static_cast<int>(id);
    if (number < 1 || number > static_cast<int>(std::size(rules)))
        return std::nullopt;
    return rules[number - 1];
}

} // namespace session
