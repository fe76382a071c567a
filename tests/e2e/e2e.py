#!/usr/bin/env python3
"""End-to-end runs of the real program on a real X display.

    [E2E_JOBS=n] e2e.py <program> <bmp-dir> <chime.wav> <screenshot-dir> [scenario ...]

Every scenario starts the built executable (Qt's xcb platform) on a private Xvfb display with a
light window manager (openbox), from a fresh program folder holding a small course of our own,
the bitmaps and voices that are tones of known pitch; it drives the program with real X input
(xdotool), listens on a private PulseAudio null sink, reads the texts on show as a screen reader
does (AT-SPI, on a private session bus and accessibility bus), and reads save.dat and fs.dat
after the program ends. Screenshots go to <screenshot-dir>. Exits 1 when a scenario fails.
"""
import array, datetime, glob, json, math, os, re, select, shutil, signal, struct, subprocess, sys
import multiprocessing, tempfile, time, wave

PROGRAM, BMP_DIR, CHIME, SHOTS = map(os.path.abspath, sys.argv[1:5])
ONLY = sys.argv[5:]
JOBS = int(os.environ.get("E2E_JOBS", "1"))   # scenarios run side by side
RATE = 48000
AUDIBLE = 328                    # -40 dBFS
SOUND_WAIT = 30.0                # ends only a wait for a sound that never comes; a pass takes far less
QUIET_AFTER = 0.4                # this much silence after a sound ends it
WINDOW = 0.05                    # a sound's pitch is measured over windows this long
HEARD_FOR = 0.2                  # a voice (0.6 s) heard at least this long was heard
CHIME_ABOVE = 900                # the chime's pitch (over 1 kHz) is above any voice's (under 600 Hz)
BELL_STEP = 2000                 # steeper than any step of the voices' low tones, which stay under 500
CAPTION = " ◆ Yomirin！　ビギナー編"
ANSWER = "I am Ken."             # every sentence of step 1, chapter 1
SAVE_SIZE = 17956
CHAPTER_AT, SCORES_AT, DATES_AT, CHECKLIST_AT = 4, 452, 2452, 52
SHOW_TRANSLATION_AT, SHOW_SHORTCUTS_AT = 17952, 17954
WAIT = 15.0                      # the longest wait for anything on screen; a pass takes far less

# The windows by the names a screen reader reads.
MAIN, MESSAGE, SETTINGS, FONT_DIALOG = "Yomirin！ ビギナー編", "メッセージ", "Setting", "フォント"
HERE = os.path.dirname(os.path.abspath(__file__))
READER = os.path.join(HERE, "atspi_reader.py")
BUS_LAUNCHERS = ("/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher")

# Places on the 800 x 600 client area.
TAB = {"study": (85, 17), "teststudy": (160, 17), "test": (240, 17), "results": (300, 17)}
CHECK, DELETE, EXIT, NEXT, REPEAT = (83, 475), (83, 534), (716, 534), (480, 477), (503, 550)


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
    # Chapters 1 and 2 have voices; chapter 2's sentences are the ones told apart by their text.
    for sid in range(1, 11):
        write_tone(os.path.join(onsei, f"{sid:03d}.wav"), tone_hz(sid))
        shutil.copy(os.path.join(onsei, f"{sid:03d}.wav"), os.path.join(onsei, f"{sid + 10:03d}.wav"))
    shutil.copy(CHIME, os.path.join(onsei, "seikai.wav"))
    os.makedirs(os.path.join(folder, "savedata"))
    return folder


# ---- the desktop: display, window manager, sound server, buses --------------------------------

class Desktop:
    SCREEN = "1024x768x24"
    WINDOW_MANAGER = ["openbox", "--sm-disable"]

    def __init__(self, tmp):
        self.tmp = tmp
        self.children = []
        self._reader = None
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "PULSE_", "XDG_", "DBUS_", "AT_SPI_"))
               and k not in ("DISPLAY", "XAUTHORITY")}
        for d in ("home", "run", "state"):
            os.makedirs(os.path.join(tmp, d), mode=0o700)
        with open(os.path.join(tmp, "client.conf"), "w") as f:
            f.write("autospawn = no\n")
        sock = os.path.join(tmp, "pulse.sock")
        env.update(HOME=os.path.join(tmp, "home"), XDG_RUNTIME_DIR=os.path.join(tmp, "run"),
                   PULSE_RUNTIME_PATH=os.path.join(tmp, "run", "pulse"),
                   PULSE_STATE_PATH=os.path.join(tmp, "state"),
                   PULSE_CLIENTCONFIG=os.path.join(tmp, "client.conf"),
                   PULSE_SERVER="unix:" + sock)
        self.env = env
        self.sound_socket = sock
        self.log = open(os.path.join(tmp, "desktop.log"), "ab")
        self.programs = []       # every Program started here, each to be ended and checked
        self.start_session_bus()
        self.start_sound_server()
        r, w = os.pipe()
        self.start(["Xvfb", "-displayfd", str(w), "-screen", "0", self.SCREEN, "-nolisten", "tcp"],
                   pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            number = f.readline().strip()
        if not number.isdigit():
            raise Failed("Xvfb did not start")
        env["DISPLAY"] = ":" + number
        manager = self.start(self.WINDOW_MANAGER, stdout=self.log, stderr=self.log)
        # The desktop count is a property the window manager puts on the root window.
        self.poll(lambda: self.succeeds(["xdotool", "get_num_desktops"]), "the window manager",
                  manager)
        self.start_accessibility_bus()

    def start_sound_server(self):
        self.sound_server = self.start(
            ["pulseaudio", "-n", "--daemonize=no", "--system=false", "--exit-idle-time=-1",
             "--disallow-exit", "--use-pid-file=no", "--log-target=stderr",
             "-L", f"module-null-sink sink_name=e2e rate={RATE} channels=1",
             "-L", f"module-native-protocol-unix auth-anonymous=1 socket={self.sound_socket}"],
            stdout=self.log, stderr=self.log)
        self.poll(lambda: self.succeeds(["pactl", "info"]), "the sound server", self.sound_server)

    def stop_sound_server(self):
        """The sound server goes away, as when a desktop's sound server crashes or restarts."""
        end(self.sound_server)
        self.children.remove(self.sound_server)

    def start_session_bus(self):
        r, w = os.pipe()
        self.start(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                    "--address=unix:path=" + os.path.join(self.tmp, "bus"), f"--print-address={w}"],
                   pass_fds=(w,), stdout=self.log, stderr=self.log, start_new_session=True)
        os.close(w)
        with os.fdopen(r) as f:
            address = f.readline().strip()
        if not address:
            raise Failed("the session bus did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address

    def start_accessibility_bus(self):
        """The bus on which the program shows its widgets to screen readers, and its registry."""
        launcher = next((path for path in BUS_LAUNCHERS if os.access(path, os.X_OK)), None)
        if not launcher:
            raise Failed("at-spi-bus-launcher (at-spi2-core) is not installed")
        # Its own session, so that the bus and the registry it starts go with it.
        proc = self.start([launcher, "--launch-immediately"], stdout=self.log, stderr=self.log,
                          start_new_session=True)
        self.poll(lambda: self.succeeds(["dbus-send", "--session", "--print-reply",
                                         "--dest=org.a11y.Bus", "/org/a11y/bus",
                                         "org.a11y.Bus.GetAddress"]),
                  "the accessibility bus", proc)

    def succeeds(self, argv):
        return subprocess.run(argv, env=self.env, capture_output=True, timeout=30).returncode == 0

    def poll(self, condition, what, proc, seconds=WAIT):
        deadline = time.monotonic() + seconds
        while not condition():
            if proc.poll() is not None:
                raise Failed(f"{what} did not start: it ended with status {proc.returncode}")
            if time.monotonic() > deadline:
                raise Failed(f"{what} did not start within {seconds:.0f} s")
            time.sleep(0.1)

    @property
    def reader(self):
        if not self._reader:
            self._reader = ScreenReader(self)
        return self._reader

    def start(self, argv, **kw):
        proc = subprocess.Popen(argv, env=kw.pop("env", None) or self.env, **kw)
        proc.own_group = kw.get("start_new_session", False)
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

    def pixels(self, box):
        """The screen's RGB bytes inside box (x, y, width, height), row after row."""
        x, y, w, h = box
        done = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self.env,
                              capture_output=True, timeout=30)
        width = int(self.xdotool("getdisplaygeometry").split()[0])
        return b"".join(done.stdout[((y + row) * width + x) * 3:((y + row) * width + x + w) * 3]
                        for row in range(h))


def end(proc, sig=signal.SIGTERM):
    if proc.poll() is None:
        proc.send_signal(sig)
        try:
            proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
    # What a bus started in the process group of its own goes with it.
    if getattr(proc, "own_group", False):
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass


# ---- reading as a screen reader does ----------------------------------------------------------

def reader_python():
    """An interpreter that has pyatspi: this one, or the system's where this one is another."""
    for candidate in (sys.executable, "/usr/bin/python3"):
        if os.access(candidate, os.X_OK) and subprocess.run(
                [candidate, "-c", "import pyatspi"], capture_output=True).returncode == 0:
            return candidate
    raise Failed("no Python with pyatspi (python3-pyatspi) found")


class ScreenReader:
    """The program's windows as AT-SPI presents them, read by atspi_reader.py."""

    def __init__(self, desktop):
        self.proc = desktop.start([reader_python(), READER], stdin=subprocess.PIPE,
                                  stdout=subprocess.PIPE, stderr=desktop.log, text=True,
                                  encoding="utf-8")

    def windows(self, pid):
        """{window name: {"extents", "nodes"}} of the process's windows on show."""
        return {w["name"]: w for w in self.ask(f"tree {pid}") or []}

    def press(self, pid, window, name):
        """Presses the control of that name through its accessible action, as a screen reader's
        user does; False when no such control is on show."""
        return self.ask("press " + json.dumps({"pid": pid, "window": window, "name": name}))

    def appeared(self, pid):
        """The texts that came on show in the process's windows since the last call."""
        return self.ask(f"appeared {pid}")

    def ask(self, request):
        self.proc.stdin.write(request + "\n")
        self.proc.stdin.flush()
        if not select.select([self.proc.stdout], [], [], 30)[0]:
            raise Failed("the screen reader did not answer within 30 s")
        line = self.proc.stdout.readline()
        if not line:
            raise Failed("the screen reader ended")
        return json.loads(line)


# ---- listening --------------------------------------------------------------------------------

class Listening:
    """Records the null sink's monitor while the block runs. Sounds are told apart by their pitch
    over the whole recording, never by the silence between them: a loaded machine leaves gaps
    inside a sound."""

    def __init__(self, desktop):
        self.desktop = desktop

    def __enter__(self):
        self.path = os.path.join(self.desktop.tmp, "monitor.raw")
        self.proc = subprocess.Popen(["parecord", "--device=e2e.monitor", "--raw", "--format=s16le",
                                      f"--rate={RATE}", "--channels=1", "--latency-msec=20",
                                      self.path], env=self.desktop.env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Listening starts when the recording stream is connected, not when the recorder starts.
        self.desktop.poll(lambda: subprocess.run(
            ["pactl", "list", "short", "source-outputs"], env=self.desktop.env,
            capture_output=True, text=True, timeout=30).stdout.strip(), "the recording", self.proc)
        self.heard = array.array("h")
        self.loud_count, self.last_loud = 0, -1
        self.tones = []          # (seconds from the start, Hz) of each window heard whole
        self.measured = 0        # the samples measured so far
        return self

    def listen(self):
        """Takes in what was recorded since the last call."""
        with open(self.path, "rb") as f:
            f.seek(len(self.heard) * 2)
            data = f.read()
        new = array.array("h", data[:len(data) - len(data) % 2])
        for i, sample in enumerate(new, len(self.heard)):
            if abs(sample) > AUDIBLE:
                self.loud_count += 1
                self.last_loud = i
        self.heard.extend(new)
        # Only the windows recorded whole since the last call are measured.
        size = int(WINDOW * RATE)
        whole = len(self.heard) // size * size
        self.tones += [(self.measured / RATE + at, pitch) for at, pitch in
                       tones_of(self.heard[self.measured:whole], RATE) if pitch is not None]
        self.measured = whole

    def until_quiet(self, seconds=SOUND_WAIT):
        """Waits until a sound was heard and has ended, or for `seconds` when none comes. For
        what follows a sound (a notice, a look); a sound itself is waited for by until_heard."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            time.sleep(0.1)
            self.listen()
            if (self.loud_count >= RATE // 20
                    and len(self.heard) - self.last_loud > QUIET_AFTER * RATE):
                return

    def until_heard(self, hz, after=0.0, seconds=SOUND_WAIT):
        """Waits until a sound of that pitch was heard for long enough (after `after` seconds of
        the recording), or for `seconds` when none comes."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline and self.seconds_at(hz, after) < HEARD_FOR:
            time.sleep(0.1)
            self.listen()

    def seconds_at(self, hz, after=0.0):
        """How long a sound of that pitch was heard, from `after` seconds into the recording."""
        return sum(WINDOW for at, pitch in self.tones if at >= after and near(pitch, hz))

    def when_heard(self, what, above=0, seconds=SOUND_WAIT):
        """Waits for a sound (higher than `above` Hz); when it was first heard, in seconds into
        the recording."""
        deadline = time.monotonic() + seconds
        while True:
            self.listen()
            at = next((at for at, pitch in self.tones if pitch > above), None)
            if at is not None:
                return at
            if time.monotonic() > deadline:
                raise Failed(f"{what} was not heard ({self.summary()})")
            time.sleep(0.1)

    def __exit__(self, *exc):
        end(self.proc, signal.SIGINT)
        self.listen()
        self.samples = self.heard

    def loud_seconds(self):
        return len(loud_blocks(self.samples, RATE)) / 100

    def steepest_step(self):
        """The largest step from one sample to the next: a high sound such as the bell."""
        return max((abs(b - a) for a, b in zip(self.samples, self.samples[1:])), default=0)

    def summary(self):
        """What was heard, for a failure's message: each pitch with how long it was heard."""
        heard = {}
        for _, pitch in self.tones:
            key = next((k for k in heard if near(pitch, k)), pitch)
            heard[key] = heard.get(key, 0) + WINDOW
        loudest = max(map(abs, self.heard), default=0)
        return (f"{len(self.heard) / RATE:.1f} s recorded, loudest sample {loudest}, heard "
                + (", ".join(f"{hz:.0f} Hz for {t:.2f} s" for hz, t in sorted(heard.items()))
                   or "no steady pitch"))


def near(pitch, hz):
    return abs(pitch - hz) < 0.08 * hz


def loud_blocks(samples, rate):
    """Where the 10 ms blocks with anything audible begin."""
    block = rate // 100
    return [at for at in range(1, len(samples) - block + 1, block)
            if max(map(abs, samples[at:at + block])) > AUDIBLE]


def tones_of(samples, rate):
    """The pitch of each window of WINDOW seconds, as (start in seconds, Hz); None for a window
    mostly silent. The pitch is the median of the periods between the window's rising zero
    crossings, each placed between its samples: a window tells 300 Hz from 340 Hz, and the odd
    period at a gap a loaded machine left inside a sound does not move it."""
    size, block = int(WINDOW * rate), rate // 100
    result = []
    for at in range(0, len(samples) - size + 1, size):
        window = samples[at:at + size]
        audible = sum(max(map(abs, window[b:b + block])) > AUDIBLE for b in range(0, size, block))
        rising = [i + a / (a - b) for i, (a, b) in enumerate(zip(window, window[1:]))
                  if a < 0 <= b]
        periods = sorted(later - earlier for earlier, later in zip(rising, rising[1:]))
        pitch = (rate / periods[len(periods) // 2]
                 if audible * block * 2 >= size and len(periods) >= 3 else None)
        result.append((at / rate, pitch))
    return result


def expect_heard(listening, hz, what, after=0.0):
    heard = listening.seconds_at(hz, after)
    expect(heard >= HEARD_FOR, f"{what}: {hz:.0f} Hz was not heard{' after the chime' if after else ''} "
                               f"({listening.summary()})")


def expect_voice(desktop, act, sid, what):
    """Does act() while listening: the voice of sentence sid is what was heard."""
    with Listening(desktop) as heard:
        act()
        heard.until_heard(tone_hz(sid))
    expect_heard(heard, tone_hz(sid), what)


# ---- the program --------------------------------------------------------------------------------

# What standard error shows when a program ended abnormally: an assertion (the C library's, Qt's,
# a library's own), an abort, an uncaught exception, a crash, a sanitizer's report.
ABNORMAL_SIGNS = ("Assertion ", "ASSERT: ", "ASSERT failure", "Aborting", "terminate called",
                  "Segmentation fault", "AddressSanitizer", "LeakSanitizer",
                  "UndefinedBehaviorSanitizer", "ThreadSanitizer", "runtime error:")


def abnormal_exit(status, stderr):
    """What was wrong with an exit (status, standard error's text), or None for a clean one."""
    if status != 0:
        how = (f"killed by signal {-status}" if status < 0 else f"exit status {status}")
        return f"{how}; standard error ends: {stderr[-800:]!r}"
    signs = [line for line in stderr.splitlines() if any(s in line for s in ABNORMAL_SIGNS)]
    return f"standard error shows {signs[:5]}" if signs else None


class Program:
    """The program started from `folder` on the desktop. Its standard error is kept apart, and
    every start ends with a checked exit (expect_clean_exit, or one of the closes that call it):
    the suite fails a scenario that leaves a program's end unchecked. `main_window=False` for a
    start that is not expected to show one."""

    def __init__(self, desktop, folder, main_window=True, argv=None, cwd=None, env=None):
        self.desktop, self.folder = desktop, folder
        self.exit_checked = False
        self.appeared = []    # what came on show since the last input, when a wait asked for it
        # The accessibility bridge comes up even though no screen reader asked for it on the bus.
        env = env or dict(desktop.env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.log = open(os.path.join(desktop.tmp, "yomirin.log"), "ab")
        number = len(desktop.programs) + 1
        self.stderr_path = os.path.join(desktop.tmp, f"yomirin-{number}.stderr")
        with open(self.stderr_path, "wb") as stderr:
            self.proc = desktop.start(argv or [PROGRAM], cwd=cwd or folder, env=env,
                                      stdout=self.log, stderr=stderr)
        desktop.programs.append(self)
        if main_window:
            # Polled often rather than with search --sync, which looks only twice a second: the
            # start scenario times the splash from this moment.
            # --all: this program's window of that name, not any window of either.
            found = self.wait_for(lambda: desktop.xdotool("search", "--all", "--onlyvisible",
                                                          "--pid", self.proc.pid, "--name",
                                                          "Yomirin", check=False),
                                  "the main window")
            self.window = found.split()[0]

    # -- its end

    def stderr(self):
        with open(self.stderr_path, errors="replace") as f:
            return f.read()

    def expect_clean_exit(self, what, seconds=WAIT):
        """Waits for the program to end after `what`: exit status 0 and nothing on standard error
        that an assertion, an abort or a sanitizer writes."""
        try:
            self.proc.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            raise Failed(f"the program did not end after {what}") from None
        self.exit_checked = True
        problem = abnormal_exit(self.proc.returncode, self.stderr())
        expect(problem is None, f"after {what} the program ended abnormally: {problem}")

    def still_running(self, seconds):
        """True when the program is still running `seconds` from now."""
        try:
            self.proc.wait(timeout=seconds)
            return False
        except subprocess.TimeoutExpired:
            return True

    def close_by_close_box(self):
        self.press_close_box()
        self.expect_clean_exit("its close box")

    def close_by_exit_question(self):
        self.click(EXIT)
        self.answer_question(yes=True, question="終了してもよろしいですか？")
        self.expect_clean_exit("YES to the exit question")

    def press_close_box(self):
        # A click on the close box at the right end of openbox's title bar, above the client
        # area's top right corner. (alt+F4 would close whichever window is active, which is an
        # open child window whenever one is on show.)
        width = self.wait_for(lambda: next((w for wid, w, h in self.windows()
                                             if wid == self.window), None), "the main window's width")
        self.desktop.xdotool("mousemove", "--window", self.window, "--", width - 6, -10,
                             "click", "1")

    # -- its windows and input

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

    def wait_for(self, predicate, what, seconds=WAIT):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            value = predicate()
            if value:
                return value
            if self.proc.poll() is not None:
                raise Failed(f"the program ended (exit status {self.proc.returncode}) while "
                             f"waiting for {what}")
            time.sleep(0.05)
        raise Failed(f"waited in vain for {what}")

    def activate(self):
        """Makes the main window the active one, with the keyboard focus. Asked again until it
        is: a request made while the window manager is still busy with the window (the splash
        just gone) can fail or be lost."""
        def active():
            self.desktop.xdotool("windowactivate", "--sync", self.window, check=False)
            self.desktop.xdotool("windowfocus", "--sync", self.window, check=False)
            return self.desktop.xdotool("getactivewindow", check=False) == self.window
        self.wait_for(active, "the main window to be active")
        # The program hands keys to the window it was last told has the focus: until it has been
        # told (the splash's going and the focus's coming are events it takes in turn), a key
        # can go to the splash.
        self.wait_for(lambda: (self.read().get(MAIN) or {}).get("active"),
                      "the main window active in the program")

    def past_splash(self):
        # The splash comes a moment after the main window, and takes the focus: on a loaded
        # machine a splash not come yet looks like one gone, and the first key went to it.
        self.wait_for(lambda: self.window_of_size(476, 359), "the splash")
        self.wait_for(lambda: self.window_of_size(476, 359) is None, "the splash to go")
        self.activate()

    # Input returns once the X server has it; what it does is waited for by reading the windows
    # (wait_to_read, wait_for), never by sleeping for a time that a loaded machine outlasts.
    def click(self, place, window=None):
        x, y = place
        self.input("mousemove", "--window", window or self.window, x, y, "click", "1")

    def key(self, *keys):
        self.input("key", "--delay", "60", *keys)

    def type(self, text):
        self.input("type", "--delay", "30", text)

    def input(self, *xdotool):
        # What came on show before this input is not an answer to it.
        if self.desktop._reader:
            self.desktop.reader.appeared(self.proc.pid)
        self.appeared = []
        self.desktop.xdotool(*xdotool)

    def answer_question(self, yes, question=None):
        message = self.wait_for(lambda: self.window_of_size(330, 110), "the message window")
        if question:
            self.wait_to_read(question, MESSAGE)
        self.click((119, 81) if yes else (209, 81), message)

    # -- as a screen reader reads it

    def read(self):
        """The windows on show by their names, each with its nodes on show; {} until the
        program is on the accessibility bus."""
        return self.desktop.reader.windows(self.proc.pid)

    def texts(self, window=MAIN, role="label"):
        """What the labels (or other nodes of the role) on show in the window read."""
        found = self.read().get(window)
        return [n["name"] for n in found["nodes"] if n["role"] == role] if found else []

    def node(self, window, name, role=None):
        found = self.read().get(window)
        return next((n for n in found["nodes"] if n["name"] == name
                     and (role is None or n["role"] == role)), None) if found else None

    def wait_to_read(self, text, window=MAIN, brief=False):
        """Until the text is on show. `brief` for one on show for a moment only, as the mark of a
        right answer before the program moves on: that it came on show since the last input, as
        the program told the accessibility bus, is enough (in whichever window)."""
        def read():
            return text in self.texts(window) or brief and text in self.shown_since_input()
        started = time.monotonic()
        try:
            return self.wait_for(read, f"{text!r} in {window!r}")
        except Failed as e:   # what was on show instead, and how long one reading takes now
            reading = time.monotonic()
            shown = self.texts(window) if self.proc.poll() is None else []
            raise Failed(f"{e} (after {reading - started:.1f} s; on show: {shown}, read in "
                         f"{time.monotonic() - reading:.2f} s; {self.focus()})") from None

    def focus(self):
        """Where keys go, for a failure's message: the window manager's active window, the X
        focus, and whether the program takes its main window as the active one."""
        main = self.read().get(MAIN) if self.proc.poll() is None else None
        active, focus = (self.desktop.xdotool(query, check=False)
                         for query in ("getactivewindow", "getwindowfocus"))
        return (f"main window {self.window}, active {active}, focus {focus}, active in the "
                f"program: {main.get('active') if main else None}")

    def shown_since_input(self):
        """The texts that came on show since the last input, as the program told the bus."""
        self.appeared += self.desktop.reader.appeared(self.proc.pid)
        return self.appeared

    def wait_for_answer_line(self):
        """Until the answer line is on show with the keyboard focus, so typing goes into it."""
        self.wait_for(lambda: (self.node(MAIN, "解答", "text") or {}).get("focused"),
                      "the answer line with the focus")

    def wait_until_gone(self, window):
        self.wait_for(lambda: window not in self.read(), f"{window!r} to close")

    def press(self, window, name, role="push button"):
        """A click in the middle of the control the screen reader finds by that name."""
        node = self.wait_for(lambda: self.node(window, name, role), f"{name!r} in {window!r}")
        x, y, w, h = node["extents"]
        self.input("mousemove", x + w // 2, y + h // 2, "click", "1")
        return node

    def tick(self, window, name, ticked=True):
        box = self.wait_for(lambda: self.node(window, name, "check box"), f"{name!r} in {window!r}")
        if box["checked"] != ticked:
            self.press(window, name, "check box")
            self.wait_for(lambda: (self.node(window, name, "check box") or box)["checked"] == ticked,
                          f"{name!r} {'ticked' if ticked else 'unticked'}")

    # -- its files

    def save(self):
        with open(os.path.join(self.folder, "savedata", "save.dat"), "rb") as f:
            data = f.read()
        expect(len(data) == SAVE_SIZE, f"save.dat has {len(data)} bytes")
        return data

    def wait_for_save(self, condition, what):
        """For a save made while the program goes on: the first save.dat that meets the
        condition."""
        def meets():
            try:
                data = self.save()
            except (OSError, Failed):
                return None
            return data if condition(data) else None
        return self.wait_for(meets, what)

    def sentence_font(self):
        """The Font properties of the sentence's label in fs.dat."""
        with open(os.path.join(self.folder, "savedata", "fs.dat"), "rb") as f:
            return {name: value for name, value in label_properties(f.read()).items()
                    if name.startswith("Font.")}


def int32(data, at):
    return struct.unpack_from("<i", data, at)[0]


def label_properties(data):
    """The properties of fs.dat's label stream: {name: value}, a style as a set of its names."""
    expect(data[:4] == b"TPF0", "fs.dat does not begin with TPF0")
    at = 4

    def short():
        nonlocal at
        n = data[at]
        at += n + 1
        return data[at - n:at].decode("cp932")

    short(), short()          # the class and the object
    properties = {}
    while (name := short()):
        kind = data[at]
        at += 1
        if kind in (2, 3, 4):  # integers of 1, 2 and 4 bytes
            size = {2: 1, 3: 2, 4: 4}[kind]
            properties[name] = int.from_bytes(data[at:at + size], "little", signed=True)
            at += size
        elif kind in (6, 7):   # a text, an identifier
            properties[name] = short()
        elif kind in (8, 9):
            properties[name] = kind == 9
        elif kind == 11:       # a set
            members = set()
            while (member := short()):
                members.add(member)
            properties[name] = members
        else:
            raise Failed(f"fs.dat: value kind {kind} of {name} is not read here")
    return properties


# ---- scenarios ---------------------------------------------------------------------------------

def expect_sentence(p, sid, what):
    """The sentence on show is sentence sid, in English and in Japanese."""
    english = ANSWER if sid <= 10 else f"Sentence {sid}."
    try:
        texts = p.wait_for(lambda: (t := p.texts()) and f"J{sid}" in t and t, f"J{sid} after {what}")
    except Failed as e:
        raise Failed(f"{e} (on show: {p.texts() if p.proc.poll() is None else []}; "
                     f"{p.focus()})") from None
    expect(english in texts, f"{what}: {english!r} is not on show, only {texts}")
    others = [t for t in texts if t.startswith(("Sentence ", "J")) and t not in (english, f"J{sid}")]
    expect(not others, f"{what}: {others} on show beside sentence {sid}")


def notice(p, text):
    """A notice of the message window, which closes by itself."""
    p.wait_to_read(text, MESSAGE)
    p.wait_until_gone(MESSAGE)


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
    p = Program(d, folder)
    p.past_splash()
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
    p = Program(d, folder)
    p.past_splash()
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


def scenario_test_study(d, folder):
    p = Program(d, folder)
    p.past_splash()
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
    p = Program(d, folder)
    p.past_splash()
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
    p = Program(d, folder)
    p.past_splash()
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


def checking_sentence_two(d, folder):
    """Starts the program and puts sentence 2 on the checklist; returns the running program."""
    p = Program(d, folder)
    p.past_splash()
    p.key("F2")
    expect_sentence(p, 2, "F2")
    p.click(CHECK)
    notice(p, "チェックリストに保存しました。")
    return p


def check_sentence_two(d, folder):
    """Starts the program, puts sentence 2 on the checklist and closes it; returns the program."""
    p = checking_sentence_two(d, folder)
    p.close_by_exit_question()
    return p


def scenario_check_delete(d, folder):
    p = check_sentence_two(d, folder)
    expect(int32(p.save(), CHECKLIST_AT) == 2, "Check did not put sentence 2 on the checklist")
    p = Program(d, folder)
    p.past_splash()
    p.key("F2")
    expect_sentence(p, 2, "F2")
    p.click(DELETE)
    notice(p, "チェックリストから削除しました。")
    # Delete once more, while the voice plays: the beep is the desktop's bell, heard through the
    # sound server beside the voice, which goes on to its end.
    with Listening(d) as heard:
        p.key("F5")
        p.click(DELETE)
        heard.until_quiet()
    notice(p, "チェックリストにはありません。")
    expect(heard.steepest_step() > BELL_STEP, "the beep was not heard through the sound server")
    expect(heard.loud_seconds() > 0.5, f"the beep cut off the voice after {heard.loud_seconds()} s")
    p.close_by_exit_question()
    expect(int32(p.save(), CHECKLIST_AT) == 0, "Delete did not take sentence 2 off the checklist")


def open_settings(p):
    p.press(MAIN, "Setting")
    p.wait_for(lambda: p.node(SETTINGS, "実行"), "the settings window")


def execute_settings(p):
    p.press(SETTINGS, "実行")
    p.wait_until_gone(SETTINGS)


def scenario_settings_clear_and_reset(d, folder):
    # A checklist entry and a score, as earlier sessions leave them.
    p = check_sentence_two(d, folder)
    data = bytearray(p.save())
    struct.pack_into("<i", data, SCORES_AT, 7)
    with open(os.path.join(folder, "savedata", "save.dat"), "wb") as f:
        f.write(data)

    p = Program(d, folder)
    p.past_splash()
    p.press(MAIN, "チャプターを上げる")
    expect_sentence(p, 11, "the chapter up")
    open_settings(p)
    p.tick(SETTINGS, "成績をクリアする")
    p.tick(SETTINGS, "チェックリストのクリア")
    p.tick(SETTINGS, "ショートカットの表示")
    p.tick(SETTINGS, "和訳を表示する", False)
    d.screenshot("settings")
    execute_settings(p)
    data = p.wait_for_save(lambda data: int32(data, SCORES_AT) == -1, "the results cleared")
    expect(int32(data, CHECKLIST_AT) == 0, "the checklist was not cleared")
    expect(int32(data, CHAPTER_AT) == 2, "the clearings moved off chapter 2")
    expect(data[SHOW_SHORTCUTS_AT] == 1 and data[SHOW_TRANSLATION_AT] == 0,
           "the options were not saved")
    p.wait_to_read("F2")                       # the shortcut captions show at once
    p.key("F2")                                # the translation's absence with the next sentence
    p.wait_to_read("Sentence 12.")
    expect("J12" not in p.texts(), "the translation is still on show")

    open_settings(p)
    p.tick(SETTINGS, "初期状態に戻す")
    execute_settings(p)
    data = p.wait_for_save(lambda data: int32(data, CHAPTER_AT) == 1, "the reset to chapter 1")
    expect(data[SHOW_SHORTCUTS_AT] == 0 and data[SHOW_TRANSLATION_AT] == 1,
           "the reset did not bring back the options")
    expect_sentence(p, 1, "the reset")
    expect("F2" not in p.texts(), "the shortcut captions stayed after the reset")
    p.close_by_exit_question()


def sentence_look(p, english=ANSWER):
    """The pixels of the English sentence's 24-pixel line. (The label itself is as high as the
    font's lines right after a change of font, and 30 pixels once a sentence is shown anew.)"""
    label = p.wait_for(lambda: p.node(MAIN, english, "label"), f"{english!r} on show")
    x, y, w, h = label["extents"]
    return p.desktop.pixels((x, y, w, 24))


def settled_look(p, unlike=None):
    """The sentence's look once two looks in a row agree (and differ from `unlike`)."""
    last = [None]

    def settled():
        look = sentence_look(p)
        same, last[0] = look == last[0], look
        return look if same and look != unlike else None
    return p.wait_for(settled, "the sentence to be drawn anew")


def font_dialog_box(p, index):
    """What the font dialog's index-th box (face, style, size) reads."""
    boxes = [n["name"] for n in p.read().get(FONT_DIALOG, {"nodes": []})["nodes"]
             if n["role"] == "combo box"]
    return boxes[index] if len(boxes) > index else None


def choose_in_combo(p, index, wanted, key):
    """Presses the key in the font dialog's index-th box until the box reads `wanted`."""
    for _ in range(12):
        reads = font_dialog_box(p, index)
        if reads == wanted:
            return
        p.key(key)
        p.wait_for(lambda: font_dialog_box(p, index) != reads, f"the font dialog's box to move on from {reads!r}")
    raise Failed(f"the font dialog's box reads {font_dialog_box(p, index)!r}, not {wanted!r}")


def scenario_font_change(d, folder):
    p = Program(d, folder)
    p.past_splash()
    standard = settled_look(p)
    open_settings(p)
    p.press(SETTINGS, "フォント変更")
    p.wait_for(lambda: FONT_DIALOG in p.read(), "the font dialog")
    # By keys alone: the face by its first letters, then down the list; italic where the
    # standard sentence is bold; a size, which the sentence overrides with its own 24 pixels.
    p.key("alt+f")
    p.type("DejaVu")
    p.wait_for(lambda: (font_dialog_box(p, 0) or "").startswith("DejaVu"), "the face typed")
    choose_in_combo(p, 0, "DejaVu Serif", "Down")
    p.key("alt+y")
    choose_in_combo(p, 1, "斜体", "Down")
    p.key("alt+s", "ctrl+a")
    p.type("36")
    p.wait_for(lambda: font_dialog_box(p, 2) == "36", "the size typed")
    d.screenshot("font-dialog")
    p.key("Return")
    p.wait_until_gone(FONT_DIALOG)
    p.press(SETTINGS, "キャンセル")          # keeps the font, which acted at once
    p.wait_until_gone(SETTINGS)
    chosen = settled_look(p, unlike=standard)
    d.screenshot("font-changed")
    p.close_by_exit_question()
    font = p.sentence_font()
    expect((font["Font.Name"], font["Font.Style"], font["Font.Height"])
           == ("DejaVu Serif", {"fsItalic"}, -24), f"fs.dat holds the font {font}")

    p = Program(d, folder)
    p.past_splash()
    p.wait_for(lambda: sentence_look(p) == chosen, "the sentence in the chosen font after a restart")
    p.close_by_exit_question()
    expect(p.sentence_font() == font, f"the font {font} became {p.sentence_font()} over a restart")


def scenario_close_box(d, folder):
    p = Program(d, folder)
    p.past_splash()
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


class GnomeDesktop(Desktop):
    """GNOME's window manager, mutter, as the X11 window and compositing manager."""
    WINDOW_MANAGER = ["mutter", "--x11", "--replace", "--sm-disable"]

    def screenshot(self, name):
        super().screenshot("gnome-" + name)


def scenario_gnome_child_windows_in_front(d, folder):
    scenario_child_windows_in_front(d, folder)


scenario_gnome_child_windows_in_front.desktop = GnomeDesktop


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
    p = Program(d, folder)
    p.past_splash()
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


# ---- the learner's guide: its pictures, taken on the real course ------------------------------

def guide_picture(p, name, window=None):
    """The window (the main one unless given) as the learner sees it, with whatever is in front
    of it, into SHOTS/guide/; docs/guide/ holds the copies the guide shows."""
    d = p.desktop
    # xwininfo's corner is the client area's; xdotool's is off by the window manager's frame.
    info = subprocess.run(["xwininfo", "-id", window or p.window], env=d.env, capture_output=True,
                          text=True, check=True, timeout=30).stdout
    box = {key: int(re.search(pattern + r":\s+(-?\d+)", info).group(1)) for key, pattern in
           (("X", "Absolute upper-left X"), ("Y", "Absolute upper-left Y"), ("WIDTH", "Width"),
            ("HEIGHT", "Height"))}
    root = os.path.join(d.tmp, "root.png")
    subprocess.run(["import", "-window", "root", root], env=d.env, check=True, timeout=30)
    os.makedirs(os.path.join(SHOTS, "guide"), exist_ok=True)
    # A palette of 256 colours keeps the pictures small enough to ship beside the guide.
    subprocess.run(["convert", root, "-crop", "{WIDTH}x{HEIGHT}+{X}+{Y}".format(**box), "+repage",
                    "-strip", "+dither", "-colors", "256",
                    os.path.join(SHOTS, "guide", name + ".png")], check=True, timeout=30)


def scenario_guide_pictures(d, folder):
    """What the guide tells, on the course the learner has, with a picture of each step."""
    shutil.rmtree(os.path.join(folder, "text"))
    shutil.copytree(os.path.join(os.path.dirname(PROGRAM), "text"), os.path.join(folder, "text"))
    first = "I am Ken."                                  # the course's first sentence
    p = Program(d, folder)
    p.past_splash()
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
    q = Program(d, other)
    q.past_splash()
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
    killed = Program(d, folder)
    killed.past_splash()
    killed.proc.kill()
    killed.proc.wait(timeout=WAIT)
    killed.exit_checked = True
    expect(killed.proc.returncode == -signal.SIGKILL, f"the kill ended it with {killed.proc.returncode}")
    p = Program(d, folder)
    p.past_splash()
    p.close_by_exit_question()
    expect(int32(p.save(), CHECKLIST_AT) == 2, "the mark did not survive the kill and restart")


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


# ---- GNOME's default session on Debian 12: Wayland with XWayland, sound through PipeWire ---------

class WaylandDesktop(Desktop):
    """What a program sees of a GNOME session on Debian 12: a Wayland compositor with XWayland
    (weston's headless back end), PipeWire with WirePlumber and PipeWire's PulseAudio server (a null
    sink, as there is no sound card), a session bus and the accessibility bus. The compositor has
    no seat, and XWayland crashes on synthetic input (XTEST) without one: keys reach the program as
    X events sent to its window, and buttons are pressed through the accessibility bus."""
    SOCKET, WIDTH, HEIGHT = "wayland-e2e", 1024, 768

    def __init__(self, tmp):
        self.tmp, self.children, self._reader, self.programs = tmp, [], None, []
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "PULSE_", "PIPEWIRE_", "XDG_", "DBUS_", "AT_SPI_",
                                    "WAYLAND_"))
               and k not in ("DISPLAY", "XAUTHORITY")}
        for d in ("home", "run"):
            os.makedirs(os.path.join(tmp, d), mode=0o700)
        env.update(HOME=os.path.join(tmp, "home"), XDG_RUNTIME_DIR=os.path.join(tmp, "run"),
                   XDG_SESSION_TYPE="wayland", XDG_CURRENT_DESKTOP="GNOME")
        self.env = env
        self.log = open(os.path.join(tmp, "desktop.log"), "ab")
        self.start_session_bus()
        # Before there is a display: the bus is then found through the session bus alone, as on
        # a Wayland desktop, rather than also through a property of XWayland's root window.
        self.start_accessibility_bus()
        self.start_pipewire()
        self.start_compositor()

    def start_pipewire(self):
        run = self.env["XDG_RUNTIME_DIR"]
        pipewire = self.start(["pipewire"], stdout=self.log, stderr=self.log)
        self.poll(lambda: os.path.exists(os.path.join(run, "pipewire-0")), "PipeWire", pipewire)
        self.start(["wireplumber"], stdout=self.log, stderr=self.log)
        pulse = self.start(["pipewire-pulse"], stdout=self.log, stderr=self.log)
        self.poll(lambda: self.succeeds(["pactl", "info"]), "PipeWire's PulseAudio server", pulse)
        expect(self.succeeds(["pactl", "load-module", "module-null-sink", "sink_name=e2e",
                              f"rate={RATE}", "channels=1"]), "no null sink on PipeWire")
        self.poll(lambda: self.succeeds(["pactl", "set-default-sink", "e2e"]) and "Default Sink: e2e"
                  in subprocess.run(["pactl", "info"], env=self.env, capture_output=True,
                                    text=True, timeout=30).stdout,
                  "the null sink as PipeWire's default", pulse)

    def start_compositor(self):
        log = os.path.join(self.tmp, "weston.log")
        # --debug lets weston-screenshooter take the compositor's picture.
        weston = self.start(["weston", "--backend=headless-backend.so", "--xwayland", "--debug",
                             "--use-pixman", f"--socket={self.SOCKET}", f"--width={self.WIDTH}",
                             f"--height={self.HEIGHT}", "--idle-time=0", f"--log={log}"],
                            stdout=self.log, stderr=self.log)
        found = []

        def xwayland_display():
            with open(log, errors="replace") if os.path.exists(log) else open(os.devnull) as f:
                found[:] = re.findall(r"xserver listening on display (:\d+)", f.read())
            return found
        self.poll(xwayland_display, "weston with XWayland", weston)
        self.env.update(WAYLAND_DISPLAY=self.SOCKET, DISPLAY=found[0])
        # XWayland itself starts with its first X client.
        self.poll(lambda: self.succeeds(["xdotool", "getdisplaygeometry"]), "XWayland", weston)

    def screenshot(self, name):
        """The compositor's picture of its output (XWayland's root window shows nothing)."""
        before = set(glob.glob(os.path.join(self.tmp, "wayland-screenshot-*.png")))
        subprocess.run(["weston-screenshooter"], cwd=self.tmp, env=self.env, capture_output=True,
                       timeout=30)
        made = set(glob.glob(os.path.join(self.tmp, "wayland-screenshot-*.png"))) - before
        expect(made, "weston-screenshooter took no picture")
        os.makedirs(SHOTS, exist_ok=True)
        path = os.path.join(SHOTS, name + ".png")
        shutil.move(made.pop(), path)
        return path


class InstalledProgram(Program):
    """The program installed under prefix, started by its launcher with the session's
    environment alone, as the desktop's menu starts it; its folder is the one the launcher makes.
    Its window is looked for on XWayland: the launcher has to ask Qt for its X platform."""

    def __init__(self, desktop, prefix):
        home = desktop.env["HOME"]
        super().__init__(desktop, os.path.join(home, ".local", "share", "yomirin"),
                         argv=[os.path.join(prefix, "bin", "yomirin")], cwd=home,
                         env=dict(desktop.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))

    def send_key(self, key):
        """A key as an X event sent to the main window (no seat, no XTEST)."""
        self.desktop.xdotool("key", "--window", self.window, key)

    def press_by_reader(self, window, name):
        expect(self.desktop.reader.press(self.proc.pid, window, name), f"no {name!r} in {window!r}")


def install_program(d, folder):
    """The build installed under a fresh prefix, with the test course and its voices in place of
    the real ones, so that what is heard tells the sentence."""
    build = os.path.dirname(os.path.dirname(PROGRAM))
    expect(os.path.exists(os.path.join(build, "cmake_install.cmake")),
           f"{build} is not the build tree of {PROGRAM}")
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


SCENARIOS = [(name[len("scenario_"):], fn) for name, fn in globals().items()
             if name.startswith("scenario_")]


def run(name, fn):
    """Runs one scenario on a desktop of its own; True when it passed and every start of the
    program in it ended cleanly and was checked."""
    tmp = tempfile.mkdtemp(prefix=f"yomirin-e2e-{name}-")
    desktop = None
    t = time.monotonic()
    try:
        desktop = getattr(fn, "desktop", Desktop)(tmp)
        fn(desktop, make_program_folder(tmp))
        unchecked = [p.proc.pid for p in desktop.programs if not p.exit_checked]
        expect(not unchecked, f"the scenario left the end of the program {unchecked} unchecked")
        print(f"ok    {name} ({time.monotonic() - t:.1f} s)", flush=True)
        return True
    except Exception as e:   # every failure is reported, the other scenarios still run
        # One write, so that a scenario running beside it cannot come between its lines.
        report = [f"FAIL  {name}: {str(e) or type(e).__name__}"]
        if desktop and "DISPLAY" in desktop.env:
            try:
                desktop.screenshot(f"failed-{name}")
                report.append(f"-- a picture of the screen is in {SHOTS}")
            except Exception as shot:
                report.append(f"-- no picture of the screen: {shot}")
        for p in desktop.programs if desktop else ():
            stderr = p.stderr()
            if stderr:
                report.append(f"-- standard error of the program {p.proc.pid}:\n{stderr[-1500:]}")
        if desktop:
            desktop.log.flush()
        # The sound server's, window manager's and buses' own complaints, also of a desktop that
        # did not come up.
        if os.path.exists(os.path.join(tmp, "desktop.log")):
            with open(os.path.join(tmp, "desktop.log"), errors="replace") as f:
                report.append("-- the desktop's log ends:\n" + "".join(f.readlines()[-30:]))
        print("\n".join(report), flush=True)
        return False
    finally:
        if desktop:
            desktop.stop_all()
        shutil.rmtree(tmp, ignore_errors=True)


def run_by_name(name):
    return run(name, dict(SCENARIOS)[name])


def main():
    started = time.monotonic()
    chosen = [name for name, fn in SCENARIOS if not ONLY or name in ONLY]
    # Every scenario has a desktop, buses, sound server, home and program folder of its own, and
    # most of its time is spent waiting on the program, so scenarios can run side by side.
    with multiprocessing.get_context("fork").Pool(JOBS) as pool:
        failures = sum(not passed for passed in pool.imap_unordered(run_by_name, chosen))
    print(f"{'all passed' if not failures else f'{failures} failed'} in {time.monotonic() - started:.0f} s")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
