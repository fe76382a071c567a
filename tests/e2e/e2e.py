#!/usr/bin/env python3
"""End-to-end runs of the real program on a real X display.

    e2e.py <program> <bmp-dir> <chime.wav> <screenshot-dir> [scenario ...]

Every scenario starts the built executable (Qt's xcb platform) on a private Xvfb display with a
light window manager (openbox), from a fresh program folder holding a small course of our own,
the bitmaps and voices that are tones of known pitch; it drives the program with real X input
(xdotool), listens on a private PulseAudio null sink, and reads save.dat after the program ends.
Screenshots go to <screenshot-dir>. Exits 1 when a scenario fails.
"""
import array, datetime, math, os, shutil, signal, struct, subprocess, sys, tempfile, time, wave

PROGRAM, BMP_DIR, CHIME, SHOTS = map(os.path.abspath, sys.argv[1:5])
ONLY = sys.argv[5:]
RATE = 48000
AUDIBLE = 328                    # -40 dBFS
SOUND_WAIT = 2.5                 # a loaded machine's sound server can take this long to start playing
CAPTION = " ◆ Yomirin！　ビギナー編"
ANSWER = "I am Ken."             # every sentence of step 1, chapter 1
SAVE_SIZE = 17956
SCORES_AT, DATES_AT, CHECKLIST_AT = 452, 2452, 52

# Places on the 800 x 600 client area.
TAB = {"study": (85, 17), "teststudy": (160, 17), "test": (240, 17), "results": (300, 17)}
CHECK, DELETE, EXIT = (83, 475), (83, 534), (716, 534)


class Failed(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failed(message)


def tone_hz(sentence_id):
    return 220 + 40 * (sentence_id % 10)


# ---- the program folder ---------------------------------------------------------------------

def write_course(folder):
    os.makedirs(os.path.join(folder, "text"))
    for n in range(1, 51):
        lines = [f"[S{(n - 1) // 10 + 1}-C{(n - 1) % 10 + 1:02d}]  Chapter {n}"]
        for i in range(1, 11):
            sid = (n - 1) * 10 + i
            english = ANSWER if n == 1 else f"Sentence {sid}."
            lines += [f"{sid:03d}", f"J{sid}", english, f"P{sid}a", f"P{sid}b"]
        with open(os.path.join(folder, "text", f"c{n}.txt"), "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode("cp932"))


def write_tone(path, hz, seconds=0.6):
    with wave.open(path, "wb") as w:
        w.setnchannels(1); w.setsampwidth(2); w.setframerate(22050)
        w.writeframes(array.array("h", (int(12000 * math.sin(2 * math.pi * hz * i / 22050))
                                        for i in range(int(seconds * 22050)))).tobytes())


def make_program_folder(root):
    folder = os.path.join(root, "program")
    write_course(folder)
    shutil.copytree(BMP_DIR, os.path.join(folder, "bmp"))
    onsei = os.path.join(folder, "onsei")
    os.makedirs(onsei)
    for sid in range(1, 11):
        write_tone(os.path.join(onsei, f"{sid:03d}.wav"), tone_hz(sid))
    shutil.copy(CHIME, os.path.join(onsei, "seikai.wav"))
    os.makedirs(os.path.join(folder, "savedata"))
    return folder


# ---- the desktop: display, window manager, sound server ------------------------------------

class Desktop:
    SCREEN = "1024x768x24"

    def __init__(self, tmp):
        self.tmp = tmp
        self.children = []
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "PULSE_", "XDG_")) and k not in ("DISPLAY", "XAUTHORITY")}
        for d in ("home", "run", "state"):
            os.makedirs(os.path.join(tmp, d), mode=0o700)
        with open(os.path.join(tmp, "client.conf"), "w") as f:
            f.write("autospawn = no\n")
        sock = os.path.join(tmp, "pulse.sock")
        env.update(HOME=os.path.join(tmp, "home"), XDG_RUNTIME_DIR=os.path.join(tmp, "run"),
                   PULSE_RUNTIME_PATH=os.path.join(tmp, "run", "pulse"),
                   PULSE_STATE_PATH=os.path.join(tmp, "state"),
                   PULSE_CLIENTCONFIG=os.path.join(tmp, "client.conf"),
                   PULSE_SERVER="unix:" + sock,
                   DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(tmp, "no-bus"))
        self.env = env
        log = open(os.path.join(tmp, "pulseaudio.log"), "wb")
        pulse = self.start(["pulseaudio", "-n", "--daemonize=no", "--system=false",
                            "--exit-idle-time=-1", "--disallow-exit", "--use-pid-file=no",
                            "--log-target=stderr",
                            "-L", f"module-null-sink sink_name=e2e rate={RATE} channels=1",
                            "-L", f"module-native-protocol-unix auth-anonymous=1 socket={sock}"],
                           stdout=log, stderr=log)
        deadline = time.monotonic() + 20
        while subprocess.run(["pactl", "info"], env=env, capture_output=True).returncode != 0:
            if pulse.poll() is not None or time.monotonic() > deadline:
                raise Failed("the sound server did not start")
            time.sleep(0.1)
        r, w = os.pipe()
        self.start(["Xvfb", "-displayfd", str(w), "-screen", "0", self.SCREEN, "-nolisten", "tcp"],
                   pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            number = f.readline().strip()
        if not number.isdigit():
            raise Failed("Xvfb did not start")
        env["DISPLAY"] = ":" + number
        self.start(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)

    def start(self, argv, **kw):
        proc = subprocess.Popen(argv, env=kw.pop("env", None) or self.env, **kw)
        self.children.append(proc)
        return proc

    def stop_all(self):
        while self.children:
            end(self.children.pop())

    def xdotool(self, *args, check=True):
        done = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True,
                              text=True, timeout=30)
        if check and done.returncode != 0:
            raise Failed(f"xdotool {' '.join(map(str, args))}: {done.stderr.strip()}")
        return done.stdout.rstrip("\n")

    def screenshot(self, name):
        os.makedirs(SHOTS, exist_ok=True)
        subprocess.run(["import", "-window", "root", os.path.join(SHOTS, name + ".png")],
                       env=self.env, capture_output=True, timeout=30)


def end(proc, sig=signal.SIGTERM):
    if proc.poll() is None:
        proc.send_signal(sig)
        try:
            proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


# ---- listening --------------------------------------------------------------------------------

class Listening:
    """Records the null sink's monitor while the block runs."""

    def __init__(self, desktop):
        self.desktop = desktop

    def __enter__(self):
        self.path = os.path.join(self.desktop.tmp, "monitor.raw")
        self.proc = subprocess.Popen(["parecord", "--device=e2e.monitor", "--raw", "--format=s16le",
                                      f"--rate={RATE}", "--channels=1", "--latency-msec=20",
                                      self.path], env=self.desktop.env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.3)
        return self

    def __exit__(self, *exc):
        end(self.proc, signal.SIGINT)
        with open(self.path, "rb") as f:
            self.samples = array.array("h", f.read())

    def loud(self):
        return [s for s in self.samples if abs(s) > AUDIBLE]

    def pitch(self):
        """The pitch of the loud part, from its zero crossings; None when nothing was heard."""
        idx = [i for i, s in enumerate(self.samples) if abs(s) > AUDIBLE]
        if len(idx) < RATE // 20:
            return None
        part = self.samples[idx[0]:idx[-1]]
        crossings = sum(1 for a, b in zip(part, part[1:]) if (a < 0) != (b < 0))
        return crossings / 2 / (len(part) / RATE)


def chime_pitch():
    with wave.open(CHIME) as w:
        rate, channels, width = w.getframerate(), w.getnchannels(), w.getsampwidth()
        samples = array.array("h", w.readframes(w.getnframes()))[::channels]
    idx = [i for i, s in enumerate(samples) if abs(s) > AUDIBLE]
    part = samples[idx[0]:idx[-1]]
    return sum(1 for a, b in zip(part, part[1:]) if (a < 0) != (b < 0)) / 2 / (len(part) / rate)


def expect_heard(listening, hz, what):
    heard = listening.pitch()
    expect(heard is not None, f"{what}: nothing was heard")
    expect(abs(heard - hz) < 0.08 * hz, f"{what}: heard {heard:.0f} Hz, not {hz:.0f} Hz")


# ---- the program --------------------------------------------------------------------------------

class Program:
    def __init__(self, desktop, folder):
        self.desktop, self.folder = desktop, folder
        env = dict(desktop.env, QT_QPA_PLATFORM="xcb")
        self.log = open(os.path.join(desktop.tmp, "yomirin.log"), "ab")
        self.proc = desktop.start([PROGRAM], cwd=folder, env=env, stdout=self.log,
                                  stderr=subprocess.STDOUT)
        found = desktop.xdotool("search", "--sync", "--onlyvisible", "--pid", self.proc.pid,
                                "--name", "Yomirin")
        self.window = found.split()[0]

    def windows(self):
        """Visible windows of the program as (id, width, height)."""
        out = self.desktop.xdotool("search", "--onlyvisible", "--pid", self.proc.pid, check=False)
        result = []
        for wid in out.split():
            geometry = self.desktop.xdotool("getwindowgeometry", "--shell", wid, check=False)
            values = dict(line.split("=", 1) for line in geometry.splitlines() if "=" in line)
            if "WIDTH" in values:
                result.append((wid, int(values["WIDTH"]), int(values["HEIGHT"])))
        return result

    def window_of_size(self, width, height):
        return next((wid for wid, w, h in self.windows() if (w, h) == (width, height)), None)

    def wait_for(self, predicate, what, seconds=8.0):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            value = predicate()
            if value:
                return value
            time.sleep(0.1)
        raise Failed(f"waited in vain for {what}")

    def past_splash(self):
        self.wait_for(lambda: self.window_of_size(476, 359) is None, "the splash to go")
        self.desktop.xdotool("windowactivate", "--sync", self.window, check=False)
        self.desktop.xdotool("windowfocus", "--sync", self.window)
        time.sleep(0.3)

    def click(self, place, window=None):
        x, y = place
        self.desktop.xdotool("mousemove", "--window", window or self.window, x, y, "click", "1")
        time.sleep(0.4)

    def key(self, *keys):
        self.desktop.xdotool("key", "--delay", "60", *keys)
        time.sleep(0.3)

    def type(self, text):
        self.desktop.xdotool("type", "--delay", "30", text)

    def answer_question(self, yes):
        message = self.wait_for(lambda: self.window_of_size(330, 110), "the message window")
        self.click((119, 81) if yes else (209, 81), message)

    def ended(self, seconds=8.0):
        try:
            self.proc.wait(timeout=seconds)
            return True
        except subprocess.TimeoutExpired:
            return False

    def save(self):
        with open(os.path.join(self.folder, "savedata", "save.dat"), "rb") as f:
            data = f.read()
        expect(len(data) == SAVE_SIZE, f"save.dat has {len(data)} bytes")
        return data

    def press_close_box(self):
        # The window manager's close (alt+F4) is what its close box does; it goes to the active
        # window, so the main window is made active first.
        self.desktop.xdotool("windowactivate", "--sync", self.window, check=False)
        self.key("alt+F4")

    def close_by_exit_question(self):
        self.click(EXIT)
        self.answer_question(yes=True)
        expect(self.ended(), "the program did not end after YES to the exit question")


def int32(data, at):
    return struct.unpack_from("<i", data, at)[0]


# ---- scenarios ---------------------------------------------------------------------------------

def scenario_start(d, folder):
    p = Program(d, folder)
    # The splash comes up just after the main window; the time is taken from the main window's
    # appearance, since polling would see the splash late on a loaded machine.
    up = time.monotonic()
    caption = d.xdotool("getwindowname", p.window)
    expect(caption == CAPTION, f"the caption is {caption!r}")
    expect(p.window_of_size(800, 600) == p.window, "the client area is not 800 x 600")
    p.wait_for(lambda: p.window_of_size(476, 359), "the splash", 4)
    d.screenshot("splash")
    p.wait_for(lambda: p.window_of_size(476, 359) is None, "the splash to go", 10)
    gone = time.monotonic() - up
    # xdotool sees windows a few tenths of a second late under load, hence the margin.
    expect(3.5 < gone < 8, f"the splash went after {gone:.1f} s, not 4 s")
    d.screenshot("study")
    p.close_by_exit_question()


def scenario_study_keys(d, folder):
    p = Program(d, folder)
    p.past_splash()
    for keys, sid, what in ((["F5"], 1, "F5 on slot 1"), (["F2"], 2, "F2 to slot 2"),
                            (["F2"], 3, "F2 to slot 3"), (["F1"], 2, "F1 back to slot 2"),
                            (["F5"], 2, "F5 on slot 2")):
        with Listening(d) as heard:
            p.key(*keys)
            time.sleep(SOUND_WAIT)
        expect_heard(heard, tone_hz(sid), what)
    with Listening(d) as heard:
        p.click((480, 477))   # the next picture: a click is F2
        time.sleep(SOUND_WAIT)
    expect_heard(heard, tone_hz(3), "a click on the next picture")
    p.close_by_exit_question()


def scenario_test_study(d, folder):
    p = Program(d, folder)
    p.past_splash()
    p.click(TAB["teststudy"])
    time.sleep(1.0)
    d.screenshot("teststudy")
    with Listening(d) as heard:
        p.type(ANSWER)
        p.key("Return")
        time.sleep(2.0)
    expect(abs((heard.pitch() or 0) - chime_pitch()) < 0.15 * chime_pitch(),
           "the chime of a right answer was not heard")
    d.screenshot("teststudy-right")
    with Listening(d) as heard:
        time.sleep(SOUND_WAIT + 1.0)   # the advance comes 2.5 s after the chime
    expect_heard(heard, tone_hz(2), "the advance to slot 2")
    p.close_by_exit_question()


def scenario_whole_test(d, folder):
    p = Program(d, folder)
    p.past_splash()
    p.click(TAB["test"])
    p.key("F3")
    time.sleep(0.5)
    for _ in range(10):
        p.type(ANSWER)
        p.key("Return")
    d.screenshot("test-question")
    p.answer_question(yes=True)
    time.sleep(0.5)
    d.screenshot("test-review")
    p.close_by_exit_question()
    data = p.save()
    expect(int32(data, SCORES_AT) == 10, f"the score filed is {int32(data, SCORES_AT)}, not 10")
    today = datetime.date.today()
    date = f"{today.month}/{today.day}".encode()
    stored = data[DATES_AT + 1:DATES_AT + 1 + data[DATES_AT]]
    expect(stored == date, f"the date filed is {stored!r}, not {date!r}")


def scenario_check_delete(d, folder):
    p = Program(d, folder)
    p.past_splash()
    p.key("F2")
    p.click(CHECK)
    time.sleep(3.0)       # the notice of the message window
    p.close_by_exit_question()
    expect(int32(p.save(), CHECKLIST_AT) == 2, "Check did not put sentence 2 on the checklist")
    p = Program(d, folder)
    p.past_splash()
    p.key("F2")
    p.click(DELETE)
    time.sleep(3.0)
    p.close_by_exit_question()
    expect(int32(p.save(), CHECKLIST_AT) == 0, "Delete did not take sentence 2 off the checklist")


def scenario_results_window(d, folder):
    p = Program(d, folder)
    p.past_splash()
    p.click(TAB["results"])
    results = p.wait_for(lambda: p.window_of_size(690, 348), "the results window")
    expect(d.xdotool("getwindowname", results) == " ◆ 成績", "the results window's caption")
    time.sleep(0.5)
    d.screenshot("results")
    p.click((598 + 32, 16 + 10), results)   # EXIT
    p.wait_for(lambda: p.window_of_size(690, 348) is None, "the results window to close")
    p.close_by_exit_question()


def scenario_close_box(d, folder):
    p = Program(d, folder)
    p.past_splash()
    p.key("F2")
    p.press_close_box()
    expect(p.ended(), "the close box did not end the program")
    expect(len(p.save()) == SAVE_SIZE, "no save on closing")


def scenario_exit_question(d, folder):
    p = Program(d, folder)
    p.past_splash()
    p.click(EXIT)
    p.wait_for(lambda: p.window_of_size(330, 110), "the exit question")
    d.screenshot("exit-question")
    p.answer_question(yes=False)
    expect(not p.ended(1.0), "NO ended the program")
    p.close_by_exit_question()


def scenario_save_into_missing_folder(d, folder):
    p = Program(d, folder)
    p.past_splash()
    shutil.rmtree(os.path.join(folder, "savedata"))
    p.press_close_box()
    p.wait_for(lambda: [w for w in p.windows() if w[0] != p.window],
               "a dialog telling of the failed save")
    expect(not p.ended(0.5), "the program ended although its save failed")
    d.screenshot("save-failed")
    os.makedirs(os.path.join(folder, "savedata"))
    p.key("Return")       # the dialog's OK
    p.close_by_exit_question()
    expect(len(p.save()) == SAVE_SIZE, "the save after the folder came back")


# ---- a desktop that doubles its windows ----------------------------------------------------------

class DoubledDesktop(Desktop):
    SCREEN = "2048x1536x24"   # room for the window at twice its size

    def __init__(self, tmp):
        super().__init__(tmp)
        # The desktop's font resolution, as a desktop set to 200 % publishes it.
        subprocess.run(["xrdb", "-nocpp", "-merge"], input="Xft.dpi: 192\n", text=True,
                       env=self.env, check=True, timeout=30)


def raw_pixels(path, box=None):
    """The RGB bytes of a picture file, or of the box (x, y, width, height) of it."""
    crop = ["-crop", "{2}x{3}+{0}+{1}".format(*box), "+repage"] if box else []
    return subprocess.run(["convert", path, *crop, "-depth", "8", "rgb:-"], capture_output=True,
                          check=True, timeout=30).stdout


def mean_difference(a, b):
    expect(len(a) == len(b) and a, f"pictures of {len(a)} and {len(b)} bytes compared")
    return sum(abs(x - y) for x, y in zip(a, b)) / len(a)


def doubled(rgb, width):
    """Each pixel of an RGB picture `width` pixels wide made into two by two."""
    rows = [rgb[i:i + 3 * width] for i in range(0, len(rgb), 3 * width)]
    out = bytearray()
    for row in rows:
        line = b"".join(row[i:i + 3] * 2 for i in range(0, len(row), 3))
        out += line + line
    return bytes(out)


def scenario_scale_two(d, folder):
    p = Program(d, folder)
    expect(p.window_of_size(1600, 1200) == p.window, "the main window is not 1600 x 1200")
    p.wait_for(lambda: p.window_of_size(952, 718), "the splash at twice its size", 4)
    p.wait_for(lambda: p.window_of_size(952, 718) is None, "the splash to go", 10)
    d.xdotool("windowactivate", "--sync", p.window, check=False)
    d.xdotool("windowfocus", "--sync", p.window)
    time.sleep(0.3)
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
    with Listening(d) as heard:
        p.click((2 * 480, 2 * 477))
        time.sleep(SOUND_WAIT)
    expect_heard(heard, tone_hz(2), "a click on the next picture")
    p.press_close_box()
    expect(p.ended(), "the close box did not end the program")


scenario_scale_two.desktop = DoubledDesktop


SCENARIOS = [(name[len("scenario_"):], fn) for name, fn in globals().items()
             if name.startswith("scenario_")]


def main():
    failures = 0
    started = time.monotonic()
    for name, fn in SCENARIOS:
        if ONLY and name not in ONLY:
            continue
        tmp = tempfile.mkdtemp(prefix=f"yomirin-e2e-{name}-")
        desktop = None
        t = time.monotonic()
        try:
            desktop = getattr(fn, "desktop", Desktop)(tmp)
            fn(desktop, make_program_folder(tmp))
            print(f"ok    {name} ({time.monotonic() - t:.1f} s)", flush=True)
        except Exception as e:   # every failure is reported, the other scenarios still run
            failures += 1
            print(f"FAIL  {name}: {e}", flush=True)
            log = os.path.join(tmp, "yomirin.log")
            if os.path.exists(log):
                print(open(log, errors="replace").read()[-1500:])
        finally:
            if desktop:
                desktop.stop_all()
            shutil.rmtree(tmp, ignore_errors=True)
    print(f"{'all passed' if not failures else f'{failures} failed'} in {time.monotonic() - started:.0f} s")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
