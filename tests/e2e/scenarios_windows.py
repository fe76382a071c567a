"""The windows and the program's life: the child windows kept in front of the main window under
openbox and GNOME's window manager, closes at any moment after a sound, a failed save, a second
start in the same folder, a desktop at 200 %."""
import os, re, shutil, signal, subprocess, time

from harness import *


def sound_voice(p):
    p.key("F5")                           # repeat: the voice of slot 1, 0.6 s


def sound_repeat_click(p):
    p.click(REPEAT)                       # the voice, by a click, which works during the splash


def sound_chime_with_notice(p):
    p.click(CHECK)                        # the chime, and a notice on show for 2.7 s


def sound_beep_with_notice(p):
    p.click(CHECK)
    notice(p, "チェックリストに保存しました。")
    p.click(CHECK)                        # already listed: the beep, and its notice


def sound_very_good(p):
    p.click(TAB["teststudy"])
    p.wait_for_answer_line()
    p.type(ANSWER)
    p.key("Return")                       # the chime; 2.5 s later the advance plays a voice


def sound_voice_then_server_gone(p):
    p.key("F5")
    p.desktop.stop_sound_server()


def sound_server_gone_then_voice(p):
    p.desktop.stop_sound_server()
    p.key("F5")                           # a press that finds the sound server gone


# Closes at spread moments after a sound: (the sound, while the splash is still on show, seconds
# from the sound's press to the close, closed by the exit question's YES rather than the close
# box). The rounds during the splash spare its four seconds; YES comes after it, as the exit
# question shows where the splash lies.
CLOSES_AFTER_SOUNDS = (
    (sound_repeat_click, True, 0.0, False), (sound_repeat_click, True, 0.5, False),
    (sound_chime_with_notice, True, 0.1, False), (sound_chime_with_notice, True, 1.2, False),
    (sound_voice, False, 0.3, True), (sound_voice, False, 0.7, False),
    (sound_chime_with_notice, False, 0.4, True),
    (sound_very_good, False, 0.1, True), (sound_very_good, False, 2.7, False),
    (sound_beep_with_notice, False, 0.2, True),
    (sound_voice_then_server_gone, False, 0.2, False), (sound_server_gone_then_voice, False, 0.5, True),
)


def scenario_close_after_sounds(d, folder):
    """Each close, however soon after a sound and by either way, ends the program cleanly."""
    for round, (sound, in_splash, seconds, by_yes) in enumerate(CLOSES_AFTER_SOUNDS, 1):
        if d.sound_server not in d.children:
            d.start_sound_server()
        p = Program(d, make_program_folder(os.path.join(d.tmp, f"round-{round}")))
        if not in_splash:
            p.past_splash()
        sound(p)
        time.sleep(seconds)               # the moment of the close is what is tried here
        what = (f"{sound.__name__[len('sound_'):]}{' in the splash' if in_splash else ''}, "
                f"closed {seconds} s later")
        try:
            p.close_by_exit_question() if by_yes else p.close_by_close_box()
        except Failed as e:
            raise Failed(f"{what}: {e}") from None


def scenario_save_into_missing_folder(d, folder):
    p = Program.past_the_splash(d, folder)
    shutil.rmtree(os.path.join(folder, "savedata"))
    p.press_close_box()
    p.wait_for(lambda: [w for w in p.windows() if w[0] != p.window],
               "a dialog telling of the failed save")
    expect(p.still_running(0.5), "the program ended although its save failed")
    p.wait_for(lambda: any(t.startswith("保存できませんでした。") for t in p.texts(CAPTION)),
               "the dialog's text")
    d.screenshot("save-failed")
    os.makedirs(os.path.join(folder, "savedata"))
    p.press(CAPTION, "OK")
    p.wait_until_gone(CAPTION)
    p.close_by_exit_question()
    expect(len(p.save()) == SAVE_SIZE, "the save after the folder came back")


def scenario_close_box(d, folder):
    p = Program.past_the_splash(d, folder)
    p.key("F2")
    p.close_by_close_box()
    expect(len(p.save()) == SAVE_SIZE, "no save on closing")


# ---- the child windows: owned by the main window and kept in front of it ---------------------

SPOT = (20, 300)       # a place on the main window where nothing is, beside every child window


def xprop(d, *args):
    done = subprocess.run(["xprop", *map(str, args)], env=d.env, capture_output=True, text=True,
                          timeout=30)
    return done.stdout


def transient_for(d, window):
    """The window the window is transient for (WM_TRANSIENT_FOR), or None."""
    found = re.search(r"window id # (0x[0-9a-f]+)", xprop(d, "-id", window, "WM_TRANSIENT_FOR"))
    return int(found.group(1), 16) if found else None


def stacking(d):
    """The windows the window manager manages, from the bottom up."""
    return [int(w, 16) for w in re.findall(r"0x[0-9a-f]+", xprop(d, "-root", "_NET_CLIENT_LIST_STACKING"))]


def expect_owned(p, window, what, kind="_NET_WM_WINDOW_TYPE_DIALOG"):
    """The window is transient for the main window, of its type, and in front of it."""
    owner, main = transient_for(p.desktop, window), int(p.window)
    expect(owner == main, f"{what} is transient for {owner and hex(owner)}, not for the main window "
                          f"{hex(main)}")
    expect(kind in xprop(p.desktop, "-id", window, "_NET_WM_WINDOW_TYPE"), f"{what} is not {kind}")


def in_front(p, window):
    order = stacking(p.desktop)
    return int(window) in order and int(p.window) in order and \
        order.index(int(window)) > order.index(int(p.window))


def expect_kept_in_front(p, window, what):
    """A click on the main window leaves the child window in front of it."""
    expect_owned(p, window, what)
    p.click(SPOT)
    p.wait_for(lambda: in_front(p, window), f"{what} in front of the main window after a click on it")


def scenario_child_windows_in_front(d, folder):
    """The splash, the exit question, the settings and the results window each belong to the main
    window, and a click on the main window leaves them in front of it."""
    p = Program(d, folder)
    expect(d.xdotool("getwindowname", p.window) == CAPTION, "the caption")
    splash = p.wait_for(lambda: p.window_of_size(476, 359), "the splash")
    expect_owned(p, splash, "the splash", "_NET_WM_WINDOW_TYPE_SPLASH")
    p.wait_for(lambda: p.window_of_size(476, 359) is None, "the splash to go")
    p.activate()

    p.click(EXIT)
    question = p.wait_for(lambda: p.window_of_size(330, 110), "the exit question")
    p.wait_to_read("終了してもよろしいですか？", MESSAGE)
    d.screenshot("exit-question")
    expect_kept_in_front(p, question, "the exit question")
    p.answer_question(yes=False)
    p.wait_until_gone(MESSAGE)
    expect(p.still_running(0.5), "NO ended the program")

    open_settings(p)
    settings = p.wait_for(lambda: p.window_of_size(397, 463), "the settings window")
    expect_kept_in_front(p, settings, "the settings window")
    p.press(SETTINGS, "キャンセル")
    p.wait_until_gone(SETTINGS)

    p.click(TAB["results"])
    results = p.wait_for(lambda: p.window_of_size(690, 348), "the results window")
    expect(d.xdotool("getwindowname", results) == " ◆ 成績", "the results window's caption")
    p.wait_for(lambda: "成績" in p.read(), "the results window on the accessibility bus")
    d.screenshot("results")
    expect_kept_in_front(p, results, "the results window")
    p.click((598 + 32, 16 + 10), results)   # EXIT
    p.wait_for(lambda: p.window_of_size(690, 348) is None, "the results window to close")
    p.close_by_exit_question()


def scenario_gnome_child_windows_in_front(d, folder):
    scenario_child_windows_in_front(d, folder)


scenario_gnome_child_windows_in_front.desktop = GnomeDesktop


# ---- a desktop that doubles its windows ----------------------------------------------------------

def active_window_of(d, p):
    """The caption of the desktop's active window when it is one of the program's, else None."""
    active = d.xdotool("getactivewindow", check=False)
    if not active or d.xdotool("getwindowpid", active, check=False) != str(p.proc.pid):
        return None
    return d.xdotool("getwindowname", active, check=False)


def scenario_second_start(d, folder):
    other = shutil.copytree(folder, folder + "-other")
    p = checking_sentence_two(d, folder)
    open_settings(p)
    # Another learner's folder runs beside it, its window in front.
    q = Program.past_the_splash(d, other)
    expect(active_window_of(d, p) is None, "the other learner's window did not come to the front")

    again = Program(d, folder, main_window=False)
    again.expect_clean_exit("a second start in the same folder, which should only bring the "
                            "running program forward")
    # The main window comes forward and hands the focus to its open settings window.
    p.wait_for(lambda: active_window_of(d, p) == " ◆ Setting",
               "the running program's settings window to come to the front")
    mains = [w for w, width, height in p.windows() if (width, height) == (800, 600)]
    expect(mains == [p.window], f"the program shows the main windows {mains}, not only {p.window}")
    d.screenshot("second-start")
    p.press(SETTINGS, "キャンセル")
    p.wait_until_gone(SETTINGS)
    q.activate()                         # the same place on the screen, now behind
    q.close_by_exit_question()
    p.activate()
    p.close_by_exit_question()
    expect(int32(p.save(), CHECKLIST_AT) == 2, "the mark made before the second start was lost")

    # A program that is killed leaves no lock behind: the next start comes up.
    killed = Program.past_the_splash(d, folder)
    killed.proc.kill()
    killed.proc.wait(timeout=WAIT)
    killed.exit_checked = True
    expect(killed.proc.returncode == -signal.SIGKILL, f"the kill ended it with {killed.proc.returncode}")
    p = Program.past_the_splash(d, folder)
    p.close_by_exit_question()
    expect(int32(p.save(), CHECKLIST_AT) == 2, "the mark did not survive the kill and restart")


def scenario_scale_two(d, folder):
    p = Program(d, folder)
    expect(p.window_of_size(1600, 1200) == p.window, "the main window is not 1600 x 1200")
    p.wait_for(lambda: p.window_of_size(952, 718), "the splash at twice its size")
    p.wait_for(lambda: p.window_of_size(952, 718) is None, "the splash to go")
    p.activate()
    d.screenshot("scale-two")
    shot = os.path.join(d.tmp, "window.png")
    subprocess.run(["import", "-window", p.window, shot], env=d.env, check=True, timeout=30)
    expect(len(raw_pixels(shot)) == 1600 * 1200 * 3, "the window's picture is not 1600 x 1200")
    # Each picture at its doubled place, drawn at twice the size rather than blown up.
    bmp = os.path.join(folder, "bmp")
    for name, (x, y, w, h) in (("l_button", (290, 447, 60, 60)), ("start", (263, 537, 65, 27))):
        shown = raw_pixels(shot, (2 * x, 2 * y, 2 * w, 2 * h))
        twin = raw_pixels(os.path.join(bmp, name + "@2x.bmp"))
        blown_up = doubled(raw_pixels(os.path.join(bmp, name + ".bmp")), w)
        expect(mean_difference(shown, twin) < 1, f"{name} does not show its picture at its place")
        expect(mean_difference(shown, blown_up) > 2, f"{name} is the small picture blown up")
    # A click at the doubled place of the next picture is a click on it.
    expect_voice(d, lambda: p.click((2 * NEXT[0], 2 * NEXT[1])), 2, "a click on the next picture")
    p.close_by_close_box()


scenario_scale_two.desktop = DoubledDesktop
