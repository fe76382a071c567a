"""Test study and the test: a right answer with its chime and advance, a whole test with its
score, review and the record it files."""
import datetime

from harness import *


def scenario_test_study(d, folder):
    p = Program.past_the_splash(d, folder)
    p.click(TAB["teststudy"])
    p.wait_for_answer_line()
    expect(ANSWER not in p.texts(), "test study shows the sentence before it is answered")
    d.screenshot("teststudy")
    with Listening(d) as heard:
        p.type(ANSWER)
        p.key("Return")
        p.wait_to_read("Very Good !", brief=True)
        d.screenshot("teststudy-right")
        chime = heard.when_heard("the chime of a right answer", above=CHIME_ABOVE)
        heard.until_heard(tone_hz(2), after=chime)   # the advance comes 2.5 s after the chime
    expect_heard(heard, tone_hz(2), "the advance to slot 2", after=chime)
    p.wait_to_read("2")       # the counter
    expect("Very Good !" not in p.texts(), "the mark stayed after the advance")
    p.close_by_exit_question()


def scenario_whole_test(d, folder):
    p = Program.past_the_splash(d, folder)
    p.click(TAB["test"])
    p.wait_to_read("STARTボタンを押すとテストを開始します。")
    p.key("F3")
    p.wait_to_read("・・・　テスト中　・・・")
    p.press(MAIN, "Setting")
    notice(p, "テスト中は他の操作はできません！")
    for taken in range(1, 10):
        p.type(ANSWER)
        p.key("Return")
        p.wait_to_read(str(taken + 1))     # the counter moves on
    p.type(ANSWER)
    p.key("Return")
    p.wait_to_read("得点 10 :  テスト結果を保存しますか？", MESSAGE)
    d.screenshot("test-question")
    p.answer_question(yes=True)
    # The review: the first answer with its mark and its sentence.
    p.wait_for(lambda: "○正解" in [t.strip() for t in p.texts()], "the mark of a right answer")
    expect(ANSWER in p.texts(), "the review does not show the sentence")
    d.screenshot("test-review")
    p.close_by_exit_question()
    data = p.save()
    expect(int32(data, SCORES_AT) == 10, f"the score filed is {int32(data, SCORES_AT)}, not 10")
    today = datetime.date.today()
    date = f"{today.month}/{today.day}".encode()
    stored = data[DATES_AT + 1:DATES_AT + 1 + data[DATES_AT]]
    expect(stored == date, f"the date filed is {stored!r}, not {date!r}")
