"""Study mode: the start, the keys and clicks that move and speak, the checklist's marks, a
sound server that comes back."""
import time

from harness import *


def scenario_start(d, folder):
    # The splash's time is taken from before the start: a loaded machine can only make it look
    # longer, never shorter than it was on show.
    up = time.monotonic()
    p = Program(d, folder)
    caption = d.xdotool("getwindowname", p.window)
    expect(caption == CAPTION, f"the caption is {caption!r}")
    expect(p.window_of_size(800, 600) == p.window, "the client area is not 800 x 600")
    p.wait_for(lambda: p.window_of_size(476, 359), "the splash")
    d.screenshot("splash")
    p.wait_for(lambda: p.window_of_size(476, 359) is None, "the splash to go")
    gone = time.monotonic() - up
    # The window tests hold the splash timer's 4 s; here it is enough that the splash went by
    # itself and did not flash by.
    expect(gone > 3.5, f"the splash went {gone:.1f} s after the start, not 4 s")
    d.screenshot("study")
    p.close_by_exit_question()


def scenario_study_keys(d, folder):
    p = Program.past_the_splash(d, folder)
    for keys, sid, what in ((["F5"], 1, "F5 on slot 1"), (["F2"], 2, "F2 to slot 2"),
                            (["F2"], 3, "F2 to slot 3"), (["F1"], 2, "F1 back to slot 2"),
                            (["F5"], 2, "F5 on slot 2")):
        expect_voice(d, lambda: p.key(*keys), sid, what)
        expect_sentence(p, sid, what)
    expect_voice(d, lambda: p.click(NEXT), 3, "a click on the next picture")   # a click is F2
    expect_sentence(p, 3, "a click on the next picture")
    # Chapter 2, whose English sentences differ one from the next.
    p.press(MAIN, "チャプターを上げる")
    expect_sentence(p, 11, "the chapter up")
    expect_voice(d, lambda: p.key("F2"), 12, "F2 in chapter 2")
    expect_sentence(p, 12, "F2 in chapter 2")
    p.close_by_exit_question()


def scenario_sound_server_back(d, folder):
    """A sound server that went away and came back (a desktop's restarts it) is used again, without
    restarting the program: a press finds it gone, and soon after it is back a press plays."""
    p = Program.past_the_splash(d, folder)
    d.stop_sound_server()
    p.key("F5")
    d.start_sound_server()

    def heard_after_a_press():
        with Listening(d) as heard:
            p.key("F5")
            heard.until_heard(tone_hz(1), seconds=1.0)
        return heard.seconds_at(tone_hz(1)) >= HEARD_FOR and heard
    expect_heard(p.wait_for(heard_after_a_press, "a voice after the sound server came back",
                            seconds=SOUND_WAIT),
                 tone_hz(1), "F5 with the sound server back")
    p.close_by_exit_question()


def scenario_check_delete(d, folder):
    p = check_sentence_two(d, folder)
    expect(int32(p.save(), CHECKLIST_AT) == 2, "Check did not put sentence 2 on the checklist")
    p = Program.past_the_splash(d, folder)
    p.key("F2")
    expect_sentence(p, 2, "F2")
    p.click(DELETE)
    notice(p, "チェックリストから削除しました。")
    # Delete once more, while the voice plays: the beep is the desktop's bell, heard through the
    # sound server beside the voice, which goes on to its end.
    with Listening(d) as heard:
        p.key("F5")
        p.click(DELETE)
        notice(p, "チェックリストにはありません。")   # on show for 2.7 s, far longer than both sounds
        heard.until(lambda: heard.steepest_step() > BELL_STEP and heard.loud_seconds() > 0.5)
    expect(heard.steepest_step() > BELL_STEP, "the beep was not heard through the sound server")
    expect(heard.loud_seconds() > 0.5, f"the beep cut off the voice after {heard.loud_seconds()} s")
    p.close_by_exit_question()
    expect(int32(p.save(), CHECKLIST_AT) == 0, "Delete did not take sentence 2 off the checklist")
