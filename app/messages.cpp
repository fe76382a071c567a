#include "app/messages.h"

#include <iterator>

namespace app {
namespace {

constexpr const char* texts[] = {
    "チェックリストに保存しました。",
    "すでにチェックリストに登録されています。",
    "チェックリストにはありません。",
    "チェックリストから削除しました。",
    "これ以上登録することはできません！",
    "終了してもよろしいですか？",
    "テスト中は他の操作はできません！",
    "",
    "STEP Cはテストできません！",
};

} // namespace

const char* messageText(MessageId id) {
    const int number = static_cast<int>(id);
    if (number < 1 || number > static_cast<int>(std::size(texts)))
        return nullptr;
    return texts[number - 1];
}

std::string saveQuestionText(int score) {
    return "得点 " + std::to_string(score) + " :  テスト結果を保存しますか？";
}

std::string saveFaultText(const platform::FileFault& fault) {
    const char* step = fault.step == platform::FileFault::Create  ? "ファイルの作成"
                       : fault.step == platform::FileFault::Write ? "ファイルへの書き込み"
                                                                  : "ファイルの置き換え";
    return std::string("保存できませんでした。\n") + step + "に失敗しました: " + fault.path + "\n" +
           fault.reason;
}

} // namespace app
