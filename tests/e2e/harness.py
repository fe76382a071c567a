"""The harness of the end-to-end runs: the program folder with a course of our own, the desktops
(a virtual display with a window manager, a sound server and the accessibility bus), the program
started on one and checked at its end, what a screen reader reads of it, what the sound server
plays, and the save files it leaves.

The scenario modules (scenarios_*.py) use it through `from harness import *`; e2e.py runs them.
"""
import array, glob, json, math, os, pwd, re, select, shutil, signal, stat, struct, subprocess, sys
import time, wave


class Paths:
    """What the run was given: the program, the bitmaps and chime its folders get, where pictures
    of the screen go. Set once by configure()."""
    program = bmp_dir = chime = shots = None


PATHS = Paths()


def configure(program, bmp_dir, chime, shots):
    PATHS.program, PATHS.bmp_dir, PATHS.chime, PATHS.shots = map(os.path.abspath,
                                                                 (program, bmp_dir, chime, shots))


RATE = 48000
AUDIBLE = 328                    # -40 dBFS
SOUND_WAIT = 30.0                # ends only a wait for a sound that never comes; a pass takes far less
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
    shutil.copytree(PATHS.bmp_dir, os.path.join(folder, "bmp"))
    onsei = os.path.join(folder, "onsei")
    os.makedirs(onsei)
    # Chapters 1 and 2 have voices; chapter 2's sentences are the ones told apart by their text.
    for sid in range(1, 11):
        write_tone(os.path.join(onsei, f"{sid:03d}.wav"), tone_hz(sid))
        shutil.copy(os.path.join(onsei, f"{sid:03d}.wav"), os.path.join(onsei, f"{sid + 10:03d}.wav"))
    shutil.copy(PATHS.chime, os.path.join(onsei, "seikai.wav"))
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
        xvfb = self.start(["Xvfb", "-displayfd", str(w), "-screen", "0", self.SCREEN, "-nolisten",
                           "tcp"], pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            number = f.readline().strip()
        if not number.isdigit():
            raise Failed("Xvfb did not start")
        env["DISPLAY"] = ":" + number
        # A client is let in before the window manager starts (once, under load, the window
        # manager could not open the display just announced).
        self.poll(lambda: self.succeeds(["xdotool", "getdisplaygeometry"]), "the display", xvfb)
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

    def poll(self, condition, what, proc, seconds=SOUND_WAIT * 2):
        """Until a part of the desktop is up; the bound only ends a wait for one that hung, as a
        part still running on a loaded machine may take long to come up."""
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
        os.makedirs(PATHS.shots, exist_ok=True)
        subprocess.run(["import", "-window", "root", os.path.join(PATHS.shots, name + ".png")],
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


class GnomeDesktop(Desktop):
    """GNOME's window manager, mutter, as the X11 window and compositing manager."""
    WINDOW_MANAGER = ["mutter", "--x11", "--replace", "--sm-disable"]

    def screenshot(self, name):
        super().screenshot("gnome-" + name)


class DoubledDesktop(Desktop):
    SCREEN = "2048x1536x24"   # room for the window at twice its size

    def __init__(self, tmp):
        super().__init__(tmp)
        # The desktop's font resolution, as a desktop set to 200 % publishes it.
        subprocess.run(["xrdb", "-nocpp", "-merge"], input="Xft.dpi: 192\n", text=True,
                       env=self.env, check=True, timeout=30)


IME_USER = "yomirin-e2e"
# The input method a Japanese learner types through: mozc, the default of the session's group,
# beside the US keyboard.
FCITX_PROFILE = """[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
"""


def ordinary_user():
    """The uid and gid of the ordinary user a desktop with mozc runs as (its converter refuses
    root), made when missing."""
    try:
        entry = pwd.getpwnam(IME_USER)
    except KeyError:
        subprocess.run(["useradd", "--system", "--create-home", IME_USER], check=True, timeout=60)
        entry = pwd.getpwnam(IME_USER)
    # A root folder that only root may enter (a system root made with mktemp for a chroot has
    # one) keeps every user out of every program; an installed system's is open to all.
    root = os.stat("/").st_mode
    if not root & stat.S_IXOTH:
        os.chmod("/", stat.S_IMODE(root) | 0o755)
    return entry.pw_uid, entry.pw_gid


class JapaneseInputDesktop(Desktop):
    """A Japanese learner's desktop: fcitx5 with mozc, and Qt's programs typing through it. Its
    side of the desktop (the buses, the sound server, the window manager, the input method, the
    program and the reader) runs as an ordinary user; the display and xdotool stay root's."""

    def __init__(self, tmp):
        self.uid, self.gid = ordinary_user()
        super().__init__(tmp)
        fcitx = self.start(["fcitx5", "--disable=wayland,waylandim,kimpanel,notificationitem"],
                           stdout=self.log, stderr=self.log)
        self.poll(lambda: self.input_method() is not None, "the input method", fcitx)
        self.env.update(QT_IM_MODULE="fcitx", XMODIFIERS="@im=fcitx")

    def start_session_bus(self):
        # The user's side begins with its bus: what the desktop has made so far becomes the
        # user's, with the input method's profile in the user's home.
        config = os.path.join(self.tmp, "home", ".config", "fcitx5")
        os.makedirs(config)
        with open(os.path.join(config, "profile"), "w") as f:
            f.write(FCITX_PROFILE)
        self.give_to_user(self.tmp)
        super().start_session_bus()

    def give_to_user(self, top):
        os.chown(top, self.uid, self.gid)
        for folder, subfolders, files in os.walk(top):
            for name in subfolders + files:
                os.chown(os.path.join(folder, name), self.uid, self.gid, follow_symlinks=False)

    def as_user(self):
        return dict(user=self.uid, group=self.gid, extra_groups=[])

    def start(self, argv, **kw):
        if argv[0] == "Xvfb":
            return super().start(argv, **kw)
        return super().start(argv, **kw, **self.as_user())

    def succeeds(self, argv):
        return subprocess.run(argv, env=self.env, capture_output=True, timeout=30,
                              **self.as_user()).returncode == 0

    def input_method(self, *option):
        """What fcitx5-remote answers: 0 none, 1 off, 2 on for the focused input; None while
        fcitx5 is not on the session bus."""
        done = subprocess.run(["fcitx5-remote", *option], env=self.env, capture_output=True,
                              text=True, timeout=30, **self.as_user())
        return done.stdout.strip() if done.returncode == 0 else None


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
        self.steepest, self.loud_blocks, self.blocks_measured = 0, 0, 1
        self.tones = []          # (seconds from the start, Hz) of each window heard whole
        self.measured = 0        # the samples measured so far
        return self

    def listen(self):
        """Takes in what was recorded since the last call."""
        with open(self.path, "rb") as f:
            f.seek(len(self.heard) * 2)
            data = f.read()
        new = array.array("h", data[:len(data) - len(data) % 2])
        joined = self.heard[-1:] + new   # with the sample before, so a step between calls counts
        self.steepest = max([self.steepest] + [abs(b - a) for a, b in zip(joined, joined[1:])])
        self.heard.extend(new)
        block = RATE // 100
        whole = len(self.heard) // block * block
        self.loud_blocks += len(loud_blocks(self.heard[self.blocks_measured - 1:whole], RATE)) \
            if whole > self.blocks_measured else 0
        self.blocks_measured = max(self.blocks_measured, whole)
        # Only the windows recorded whole since the last call are measured.
        size = int(WINDOW * RATE)
        whole = len(self.heard) // size * size
        self.tones += [(self.measured / RATE + at, pitch) for at, pitch in
                       tones_of(self.heard[self.measured:whole], RATE) if pitch is not None]
        self.measured = whole

    def until(self, condition, seconds=SOUND_WAIT):
        """Waits until what was heard meets the condition, or for `seconds` when it never does."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline and not condition():
            time.sleep(0.1)
            self.listen()

    def until_heard(self, hz, after=0.0, seconds=SOUND_WAIT):
        """Waits until a sound of that pitch was heard for long enough (after `after` seconds of
        the recording), or for `seconds` when none comes."""
        self.until(lambda: self.seconds_at(hz, after) >= HEARD_FOR, seconds)

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
        stopped = time.monotonic()
        self.listen()
        # The last sample was recorded (nearly) as the recorder ended: that ties the recording to
        # the monotonic clock, on which inputs are stamped.
        self.began = stopped - len(self.heard) / RATE

    def seconds_into(self, moment):
        """Where a moment of the monotonic clock (as Program.key returns) falls in the recording,
        in seconds from its start; known once the recording has ended."""
        return moment - self.began

    def loud_seconds(self):
        return self.loud_blocks / 100

    def steepest_step(self):
        """The largest step from one sample to the next: a high sound such as the bell."""
        return self.steepest

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
            self.proc = desktop.start(argv or [PATHS.program], cwd=cwd or folder, env=env,
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

    @classmethod
    def past_the_splash(cls, desktop, folder, **kw):
        """The program started from folder, its splash come and gone and its main window active:
        where most scenarios begin."""
        program = cls(desktop, folder, **kw)
        program.past_splash()
        return program

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
        """Returns when the keys were sent, on the monotonic clock."""
        return self.input("key", "--delay", "60", *keys)

    def type(self, text):
        self.input("type", "--delay", "30", text)

    def input(self, *xdotool):
        # What came on show before this input is not an answer to it.
        if self.desktop._reader:
            self.desktop.reader.appeared(self.proc.pid)
        self.appeared = []
        sent = time.monotonic()
        self.desktop.xdotool(*xdotool)
        return sent

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
        os.makedirs(PATHS.shots, exist_ok=True)
        path = os.path.join(PATHS.shots, name + ".png")
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


# ---- what scenarios share ---------------------------------------------------------------------------------

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
    """A notice of the message window, which closes by itself: on show for 2.7 s, about as long as
    one reading of the windows takes on a loaded machine, so that it came on show is enough."""
    p.wait_to_read(text, MESSAGE, brief=True)
    p.wait_until_gone(MESSAGE)


def checking_sentence_two(d, folder):
    """Starts the program and puts sentence 2 on the checklist; returns the running program."""
    p = Program.past_the_splash(d, folder)
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


def guide_picture(p, name, window=None):
    """The window (the main one unless given) as the learner sees it, with whatever is in front
    of it, into PATHS.shots/guide/; docs/guide/ holds the copies the guide shows."""
    d = p.desktop
    # xwininfo's corner is the client area's; xdotool's is off by the window manager's frame.
    info = subprocess.run(["xwininfo", "-id", window or p.window], env=d.env, capture_output=True,
                          text=True, check=True, timeout=30).stdout
    box = {key: int(re.search(pattern + r":\s+(-?\d+)", info).group(1)) for key, pattern in
           (("X", "Absolute upper-left X"), ("Y", "Absolute upper-left Y"), ("WIDTH", "Width"),
            ("HEIGHT", "Height"))}
    root = os.path.join(d.tmp, "root.png")
    subprocess.run(["import", "-window", "root", root], env=d.env, check=True, timeout=30)
    os.makedirs(os.path.join(PATHS.shots, "guide"), exist_ok=True)
    # A palette of 256 colours keeps the pictures small enough to ship beside the guide.
    subprocess.run(["convert", root, "-crop", "{WIDTH}x{HEIGHT}+{X}+{Y}".format(**box), "+repage",
                    "-strip", "+dither", "-colors", "256",
                    os.path.join(PATHS.shots, "guide", name + ".png")], check=True, timeout=30)


def open_settings(p):
    p.press(MAIN, "Setting")
    p.wait_for(lambda: p.node(SETTINGS, "実行"), "the settings window")


def execute_settings(p):
    p.press(SETTINGS, "実行")
    p.wait_until_gone(SETTINGS)


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
