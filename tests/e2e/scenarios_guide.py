"""The learner's guide: its pictures, taken on the real course."""
import os, re, shutil, subprocess

from harness import *


# ---- the learner's guide: its pictures, taken on the real course ------------------------------

def scenario_guide_pictures(d, folder):
    """What the guide tells, on the course the learner has, with a picture of each step."""
    shutil.rmtree(os.path.join(folder, "text"))
    shutil.copytree(os.path.join(os.path.dirname(PATHS.program), "text"), os.path.join(folder, "text"))
    first = "I am Ken."                                  # the course's first sentence
    p = Program.past_the_splash(d, folder)
    p.wait_to_read(first)
    guide_picture(p, "study")
    p.click(CHECK)
    notice(p, "チェックリストに保存しました。")
    p.press(MAIN, "ステップを下げる")                      # from step 1 down to C
    p.wait_to_read("Check Sentence")
    p.wait_to_read(first)
    guide_picture(p, "stepc")
    p.press(MAIN, "ステップを上げる")
    p.wait_to_read(first)

    p.click(TAB["teststudy"])
    p.wait_for_answer_line()
    with Listening(d) as heard:
        p.type(first[:-1])                                # no final full stop: heard again only
        p.key("Return")
        heard.until_heard(tone_hz(1))
    expect_heard(heard, tone_hz(1), "an answer without its final full stop")
    expect("Very Good !" not in p.texts() + p.shown_since_input(),
           "an answer without its final full stop was taken")
    p.type(".")
    p.key("Return")
    p.wait_to_read("Very Good !", brief=True)
    guide_picture(p, "teststudy")
    p.wait_for(lambda: "Very Good !" not in p.texts(), "the advance after a right answer")

    p.click(TAB["test"])
    p.wait_to_read("STARTボタンを押すとテストを開始します。")
    p.key("F3")
    p.wait_to_read("・・・　テスト中　・・・")
    with Listening(d) as heard:
        p.key("Return")                                   # an empty line: the sentence is heard
        heard.when_heard("a voice after Enter on an empty line in a test")
    guide_picture(p, "test-hearing")
    for taken in range(1, 11):
        p.type(first)
        p.key("Return")
        if taken < 10:
            p.wait_to_read(str(taken + 1))
    p.wait_to_read("得点 1 :  テスト結果を保存しますか？", MESSAGE)
    guide_picture(p, "test-question")
    p.answer_question(yes=True)
    p.wait_for(lambda: {"○正解", "×不正解"} & {t.strip() for t in p.texts()}, "the review's mark")
    guide_picture(p, "test-review")

    p.click(TAB["results"])
    results = p.wait_for(lambda: p.window_of_size(690, 348), "the results window")
    p.wait_for(lambda: "成績" in p.read(), "the results window on the accessibility bus")
    guide_picture(p, "results", results)
    p.click((598 + 32, 16 + 10), results)                # EXIT
    p.wait_for(lambda: p.window_of_size(690, 348) is None, "the results window to close")

    open_settings(p)
    p.tick(SETTINGS, "ショートカットの表示")
    settings = p.wait_for(lambda: p.window_of_size(397, 463), "the settings window")
    guide_picture(p, "settings", settings)
    execute_settings(p)
    p.wait_to_read("F2")
    guide_picture(p, "keys")
    p.close_by_exit_question()
    expect(int32(p.save(), SCORES_AT) == 1, "the guide's test score was not kept")
