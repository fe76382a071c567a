"""Test study and the test: a right answer with its chime and advance, a whole test with its
score, review and the record it files, a wrong answer marked where it departs."""
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


def description_of(p, name, role):
    """What a screen reader says beside the control's name: its accessible description."""
    return (p.node(MAIN, name, role) or {}).get("description", "")


def expect_described(p, name, role, description, what):
    try:
        p.wait_for(lambda: description_of(p, name, role) == description, what)
    except Failed as e:
        raise Failed(f"{e}: {name!r} reads {description_of(p, name, role)!r}, "
                     f"not {description!r}") from None


def retype(p, text):
    p.key("ctrl+a", "BackSpace")
    p.type(text)


# Answers with the faults a beginner makes, and what the answer line says of each: the place
# counted in characters from 1, and the kind of difference.
FAULTS = [("I am  Ken.", "6文字目 余分な空白", "a doubled blank"),
          (" I am Ken.", "1文字目 先頭の空白", "a leading blank"),
          ("i am Ken.", "1文字目 大文字にする所が小文字", "a small i")]


def scenario_answer_marks(d, folder):
    """A wrong answer is marked where it departs, as the screen reader tells it and as the screen
    shows it: in test study the first place only (a missing end mark at the end), in the review
    every difference on the answer and on the sentence; the running test shows nothing."""
    p = Program.past_the_splash(d, folder)
    p.click(TAB["teststudy"])
    p.wait_for_answer_line()
    for typed, description, what in FAULTS + [("I am Ken", "9文字目 文末の記号がない",
                                               "a missing end mark")]:
        retype(p, typed)
        p.key("Return")
        expect_described(p, "解答", "text", description, f"the mark of {what} in test study")
        expect(ANSWER not in p.texts(), f"test study showed the sentence after {what}")
    d.screenshot("answer-marks-teststudy")
    retype(p, FAULTS[0][0])                                 # the guide shows the doubled blank
    p.key("Return")
    expect_described(p, "解答", "text", FAULTS[0][1], "the mark of the guide's picture")
    guide_picture(p, "teststudy-mark")
    p.type(".")
    expect_described(p, "解答", "text", "", "the mark to go as the line is edited")

    p.click(TAB["test"])
    p.wait_to_read("STARTボタンを押すとテストを開始します。")
    p.key("F3")
    p.wait_to_read("・・・　テスト中　・・・")
    for taken, (typed, _, _) in enumerate(FAULTS, start=1):
        p.type(typed)
        p.key("Return")
        p.wait_to_read(str(taken + 1))
    p.type(ANSWER[:-1])
    p.key("Return")                  # without its end mark: heard again, and nothing marked
    expect(description_of(p, "解答", "text") == "", "the running test marked an answer")
    p.key("F4")                      # give-up adds the full stop
    p.wait_to_read("5")
    for taken in range(5, 11):
        p.type(ANSWER)
        p.key("Return")
        if taken < 10:
            p.wait_to_read(str(taken + 1))
    p.answer_question(yes=False, question="得点 7 :  テスト結果を保存しますか？")
    for slot, (typed, description, what) in enumerate(FAULTS, start=1):
        p.wait_to_read(str(slot))
        expect_described(p, "解答", "text", description, f"the review's mark of {what} on the answer")
        expect_described(p, ANSWER, "label", description, f"the review's mark of {what} on the sentence")
        if slot == 1:
            d.screenshot("answer-marks-review")
        p.key("F2")
    p.wait_to_read("4")
    expect_described(p, ANSWER, "label", "", "a right answer's review marks nothing")
    p.close_by_exit_question()
