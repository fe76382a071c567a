#pragma once
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

constexpr int firstMessage = 1;
constexpr int lastMessage = 9;
constexpr int exitQuestion = 6;
constexpr int testRunningNotice = 7;
constexpr int saveQuestion = 8;
constexpr int noTestOnChecklist = 9;

// Numbers outside 1..9 have no message.
const Message* findMessage(int number);

// "得点 7 :  テスト結果を保存しますか？" for a score of 7.
std::string saveQuestionText(int score);

} // namespace app
