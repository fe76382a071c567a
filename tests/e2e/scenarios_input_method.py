"""A Japanese learner's desktop: with the input method on, an English answer typed in the answer
line is taken as typed, and accepted."""
from harness import *


def scenario_answer_through_input_method(d, folder):
    d.give_to_user(folder)
    p = Program.past_the_splash(d, folder)
    p.click(TAB["teststudy"])
    p.wait_for_answer_line()
    d.input_method("-o")      # switched on, as the learner leaves it for Japanese
    p.wait_for(lambda: d.input_method() == "2", "the input method on")
    p.type(ANSWER)
    p.key("Return")
    try:
        p.wait_to_read("Very Good !", brief=True)
    except Failed as e:
        line = p.node(MAIN, "解答", "text") or {}
        raise Failed(f"{e}; the answer line holds {line.get('text')!r}, the input method is "
                     f"{d.input_method()!r} (2: on) with {d.input_method('-n')!r}") from None
    p.wait_to_read("2")       # the counter, after the advance
    d.screenshot("input-method-answer")
    p.close_by_exit_question()


scenario_answer_through_input_method.desktop = JapaneseInputDesktop
