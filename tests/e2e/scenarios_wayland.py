"""GNOME's default session on Debian 12: Wayland with XWayland, sound through PipeWire, the
program installed and started through its launcher."""
import os, shutil, subprocess

from harness import *


def install_program(d, folder):
    """The build installed under a fresh prefix, with the test course and its voices in place of
    the real ones, so that what is heard tells the sentence."""
    build = os.path.dirname(os.path.dirname(PATHS.program))
    expect(os.path.exists(os.path.join(build, "cmake_install.cmake")),
           f"{build} is not the build tree of {PATHS.program}")
    prefix = os.path.join(d.tmp, "usr")
    done = subprocess.run(["cmake", "--install", build, "--prefix", prefix], capture_output=True,
                          text=True, timeout=300)
    expect(done.returncode == 0, f"cmake --install: {done.stderr.strip()[-500:]}")
    for part in ("text", "onsei"):
        installed = os.path.join(prefix, "share", "yomirin", part)
        shutil.rmtree(installed)
        shutil.copytree(os.path.join(folder, part), installed)
    return prefix


def colour_box(rgb, width, colour):
    """The count and the bounding box (left, top, right, bottom) of the pixels of one colour."""
    wanted = bytes(colour)
    xs, ys, count = [], [], 0
    for at in range(0, len(rgb), 3):
        if rgb[at:at + 3] == wanted:
            count += 1
            xs.append(at // 3 % width)
            ys.append(at // 3 // width)
    return count, ((min(xs), min(ys), max(xs), max(ys)) if count else None)


def question_out_of_place(shot):
    """What is wrong with the picture, or None when the message window's blue panel is seen whole
    and within the main window's bounds."""
    rgb = raw_pixels(shot)
    width = WaylandDesktop.WIDTH
    blue, blue_box = colour_box(rgb, width, (0, 73, 148))
    if blue <= 20000:
        return f"only {blue} pixels of the question's blue panel are seen"
    _, content = colour_box(rgb, width, (225, 221, 202))   # the main window's content area
    if not content:
        return "the main window is not seen"
    left, top = content[0], content[1] - 62                  # the content area begins at row 62
    x0, y0, x1, y1 = blue_box
    if not (left <= x0 and x1 < left + 800 and top <= y0 and y1 < top + 600):
        return f"the question {blue_box} is not over the main window at {left}, {top}"
    return None


def expect_question_in_front(p):
    """The compositor shows a window a moment after the program shows it, and places it after
    that: its pictures are taken until one shows the question in place."""
    seen = []
    def in_place():
        seen.append(question_out_of_place(p.desktop.screenshot("wayland-exit-question")))
        return seen[-1] is None
    try:
        p.wait_for(in_place, "the question in front of the main window")
    except Failed as e:
        raise Failed(f"{e}: {seen[-1] if seen else 'no picture'}") from None


def scenario_wayland_pipewire(d, folder):
    prefix = install_program(d, folder)
    p = InstalledProgram(d, prefix)
    expect(d.xdotool("getwindowname", p.window) == CAPTION, "the caption on XWayland")
    expect(p.window_of_size(800, 600) == p.window, "the client area is not 800 x 600")
    p.wait_for(lambda: p.window_of_size(476, 359), "the splash")
    p.wait_for(lambda: p.window_of_size(476, 359) is None, "the splash to go")
    expect_sentence(p, 1, "the start")
    expect_voice(d, lambda: p.send_key("F2"), 2, "F2 through PipeWire")
    expect_sentence(p, 2, "F2")
    p.press_by_reader(MAIN, "Exit")
    p.wait_to_read("終了してもよろしいですか？", MESSAGE)
    expect_question_in_front(p)
    p.press_by_reader(MESSAGE, "YES")
    p.expect_clean_exit("YES to the exit question")
    expect(len(p.save()) == SAVE_SIZE, "no save.dat after the close")
    expect(os.path.getsize(os.path.join(p.folder, "savedata", "fs.dat")) > 4, "no fs.dat after the close")


scenario_wayland_pipewire.desktop = WaylandDesktop
