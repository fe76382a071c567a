#include "app/messages.h"

#include <iterator>

namespace app {
namespace {

using enum MessageKind;
using enum MessageSound;

constexpr Message catalogue[] = {
    {Notice, Chime, "チェックリストに保存しました。"},
    {Notice, Beep, "すでにチェックリストに登録されています。"},
    {Notice, Beep, "チェックリストにはありません。"},
    {Notice, Chime, "チェックリストから削除しました。"},
    {Notice, Beep, "これ以上登録することはできません！"},
    {Question, Beep, "終了してもよろしいですか？"},
    {Notice, Beep, "テスト中は他の操作はできません！"},
    {Question, Chime, ""},
    {Notice, Beep, "STEP Cはテストできません！"},
};

} // namespace

const Message* findMessage(MessageId id) {
    const int number = static_cast<int>(id);
    if (number < 1 || number > static_cast<int>(std::size(catalogue)))
        return nullptr;
    return &catalogue[number - 1];
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
