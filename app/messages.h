#pragma once
#include "platform/replace_file.h"
#include "session/message_id.h"

#include <string>

namespace app {

using session::MessageId;

// The text of each message, UTF-8; none for None and numbers outside the catalogue. The save
// question's is composed from the test's score (saveQuestionText).
const char* messageText(MessageId id);

// "得点 7 :  テスト結果を保存しますか？" for a score of 7.
std::string saveQuestionText(int score);

// What the learner is told when the save files could not be written: the step that failed, the
// file and the system's reason.
std::string saveFaultText(const platform::FileFault& fault);

} // namespace app
