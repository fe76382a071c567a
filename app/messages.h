#pragma once
#include "platform/replace_file.h"
#include "session/message_id.h"

#include <string>

namespace app {

// The message window's catalogue: seven notices that close by themselves and two questions.
enum class MessageKind { Notice, Question };
enum class MessageSound { Beep, Chime };

struct Message {
    MessageKind kind;
    MessageSound sound;
    const char* text; // UTF-8; message 8 is composed from the test's score
};

using session::MessageId;

// None, and numbers outside the catalogue, have no message.
const Message* findMessage(MessageId id);

// "得点 7 :  テスト結果を保存しますか？" for a score of 7.
std::string saveQuestionText(int score);

// What the learner is told when the save files could not be written: the step that failed, the
// file and the system's reason.
std::string saveFaultText(const platform::FileFault& fault);

} // namespace app
