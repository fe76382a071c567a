#!/usr/bin/env bash
# What the learner hears: the time from a key to the first audible sample of the voice.
#
#   speech_latency.sh [build-dir]        (default: build, beside this folder)
#
# Starts the real program on a virtual display (Xvfb) with its own private sound server (PulseAudio
# with a null sink, nothing reaches a sound card), records the sink's monitor, and presses keys as a
# learner would: F5 (repeat) in study, the first time once the splash has gone, then again; and F2
# (next), which moves to the next sentence and plays it. After the presses, paplay plays a tone
# through the same sink as the reference: its delay is the sound server's own latency (with the cost
# of starting a client), and every press is reported beyond it. The same clock stamps the keys and the
# reference, so the offset between that clock and the recording cancels out.
#
# For each press it prints the delay beyond the reference, the silence at the head of the voice
# played (the file's own part of it) and the rest, which is the program's playback path. Last, the
# head silence of every voice. "Audible" is the first sample above -40 dBFS, as in voices_wer.sh.
#
# YOMIRIN_BENCH_PRESSES sets how many later F5 presses (default 6) and F2 presses (default 3) follow
# the first. It installs what it needs (scripts/install-deps.sh, as root), builds the program if
# needed, and ends every process it starts. It only prints: a figure over its target fails nothing.
# Exits 1 when something cannot be set up or a press is not heard at all.
set -euo pipefail

die() { printf 'speech_latency: %s\n' "$*" >&2; exit 1; }

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build=${1:-$root/build}
presses=${YOMIRIN_BENCH_PRESSES:-6}
[[ $presses =~ ^[1-9][0-9]*$ ]] || die "YOMIRIN_BENCH_PRESSES must be a positive number"

for tool in Xvfb xdotool pulseaudio parecord paplay pactl python3; do
  if ! command -v "$tool" >/dev/null; then
    bash "$root/scripts/install-deps.sh" || die "could not install what the benchmark needs"
    break
  fi
done

mkdir -p "$build"
build=$(cd "$build" && pwd)
log=$build/bench-build.log
if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$log" 2>&1 \
    || { tail -n 40 "$log" >&2; die "could not configure $build"; }
fi
cmake --build "$build" -j2 --target yomirin >"$log" 2>&1 \
  || { grep -E 'error|Error' "$log" | head -n 40 >&2 || tail -n 40 "$log" >&2; die "could not build"; }
app_dir=$build/yomirin
[[ -x $app_dir/yomirin ]] || die "not built: $app_dir/yomirin"
[[ -f $app_dir/onsei/001.wav ]] || die "no voices in $app_dir/onsei"

python3 - "$app_dir" "$presses" <<'PY'
import array, math, os, shutil, signal, statistics, struct, subprocess, sys, tempfile, time, wave

app_dir, presses = sys.argv[1], int(sys.argv[2])
next_presses = min(presses, 3)
RATE = 48000            # the null sink and the recording
AUDIBLE = 328           # -40 dBFS of 16-bit samples
TARGET_MS = 150
LEAD_IN_MS = 30         # the silence a voice may have before its first word
QUIET_GAP = 1.5         # seconds of silence left between two sounds, so each onset stands alone

def fail(message):
    raise SystemExit(f"speech_latency: {message}")

tmp = tempfile.mkdtemp(prefix="yomirin-speech-")
children = []  # (name, Popen), ended in reverse order of start

def start(name, argv, **kw):
    proc = subprocess.Popen(argv, **kw)
    children.append((name, proc))
    return proc

def end(proc, sig=signal.SIGTERM):
    if proc.poll() is None:
        proc.send_signal(sig)
        try:
            proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()

def end_all():
    while children:
        _, proc = children.pop()
        end(proc)
    shutil.rmtree(tmp, ignore_errors=True)

def on_signal(signum, frame):
    raise SystemExit(f"speech_latency: stopped by signal {signum}")
signal.signal(signal.SIGTERM, on_signal)
signal.signal(signal.SIGHUP, on_signal)

def voice_samples(path):
    with wave.open(path) as w:
        if w.getsampwidth() != 2:
            return None, None
        rate, channels = w.getframerate(), w.getnchannels()
        samples = array.array("h", w.readframes(w.getnframes()))
    return samples[::channels], rate

def head_ms(path):
    samples, rate = voice_samples(path)
    if samples is None:
        return None
    for i, s in enumerate(samples):
        if abs(s) > AUDIBLE:
            return 1000.0 * i / rate
    return None

def duration(path):
    with wave.open(path) as w:
        return w.getnframes() / w.getframerate()

def run():
    # Everything the sound server and its clients keep goes below tmp; none of them may start a
    # session bus or another server of their own.
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("QT_", "PULSE_", "XDG_")) and k not in ("DISPLAY", "XAUTHORITY", "YOMIRIN_WHEN_SHOWN")}
    for d in ("home", "run", "state", "app/savedata"):
        os.makedirs(os.path.join(tmp, d), mode=0o700)
    with open(os.path.join(tmp, "client.conf"), "w") as f:
        f.write("autospawn = no\n")
    socket = os.path.join(tmp, "pulse.sock")
    env.update(HOME=os.path.join(tmp, "home"), XDG_RUNTIME_DIR=os.path.join(tmp, "run"),
               PULSE_RUNTIME_PATH=os.path.join(tmp, "run", "pulse"),
               PULSE_STATE_PATH=os.path.join(tmp, "state"),
               PULSE_CLIENTCONFIG=os.path.join(tmp, "client.conf"),
               PULSE_SERVER="unix:" + socket,
               DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(tmp, "no-bus"))
    quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    # A private sound server; as root it needs --system=false and its own runtime folder.
    pa_log = open(os.path.join(tmp, "pulseaudio.log"), "wb")
    pulse = start("pulseaudio", ["pulseaudio", "-n", "--daemonize=no", "--system=false",
                   "--exit-idle-time=-1", "--disallow-exit", "--use-pid-file=no",
                   "--log-target=stderr",
                   "-L", f"module-null-sink sink_name=bench rate={RATE} channels=1",
                   "-L", f"module-native-protocol-unix auth-anonymous=1 socket={socket}"],
                  env=env, stdout=pa_log, stderr=pa_log)
    deadline = time.monotonic() + 15
    while subprocess.run(["pactl", "info"], env=env, **quiet).returncode != 0:
        if pulse.poll() is not None or time.monotonic() > deadline:
            with open(os.path.join(tmp, "pulseaudio.log"), errors="replace") as f:
                fail("the sound server did not start:\n" + f.read()[-2000:])
        time.sleep(0.1)

    # A virtual display; Xvfb picks a free display number and writes it to the pipe.
    r, w = os.pipe()
    xvfb = start("Xvfb", ["Xvfb", "-displayfd", str(w), "-screen", "0", "1024x768x24",
                          "-nolisten", "tcp"], pass_fds=(w,), **quiet)
    os.close(w)
    with os.fdopen(r) as f:
        number = f.readline().strip()
    if not number.isdigit():
        fail("Xvfb did not start")
    env["DISPLAY"] = ":" + number

    # The program folder: the real course, voices and bitmaps, and an empty savedata of its own,
    # so it starts as a new learner does (study, step 1, chapter 1, sentences in course order).
    app = os.path.join(tmp, "app")
    for d in ("text", "onsei", "bmp"):
        os.symlink(os.path.join(app_dir, d), os.path.join(app, d))

    ref = os.path.join(tmp, "reference.wav")
    with wave.open(ref, "wb") as f:   # 0.3 s of 1 kHz at -6 dBFS, loud from its first samples
        f.setnchannels(1); f.setsampwidth(2); f.setframerate(RATE)
        f.writeframes(array.array("h", (int(16384 * math.sin(2 * math.pi * 1000 * i / RATE + 0.5))
                                         for i in range(int(0.3 * RATE)))).tobytes())

    recording = os.path.join(tmp, "monitor.raw")
    recorder = start("parecord", ["parecord", "--device=bench.monitor", "--raw", "--format=s16le",
                                  f"--rate={RATE}", "--channels=1", "--latency-msec=10", recording],
                     env=env, **quiet)

    program_env = dict(env, QT_QPA_PLATFORM="xcb")
    program = start("yomirin", [os.path.join(app_dir, "yomirin")], cwd=app, env=program_env,
                    stdout=open(os.path.join(tmp, "yomirin.log"), "wb"), stderr=subprocess.STDOUT)
    found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid",
                            str(program.pid), "--name", "Yomirin"],
                           env=env, capture_output=True, text=True, timeout=30)
    if found.returncode != 0 or not found.stdout.split():
        fail("the main window did not appear")
    window = found.stdout.split()[0]
    time.sleep(5)   # the splash is up for 4 s and holds the focus meanwhile
    if program.poll() is not None:
        fail(f"the program ended early (exit {program.returncode})")
    subprocess.run(["xdotool", "windowfocus", "--sync", window], env=env, check=True, timeout=10)
    time.sleep(0.3)

    onsei = os.path.join(app_dir, "onsei")
    events = []   # (label, voice id or None, monotonic time of the key or of the reference)

    def press(key, label, voice):
        t = time.monotonic()
        subprocess.run(["xdotool", "key", key], env=env, check=True, timeout=10)
        events.append((label, voice, t))
        time.sleep(duration(os.path.join(onsei, voice + ".wav")) + QUIET_GAP)

    press("F5", "first F5", "001")
    for i in range(presses):
        press("F5", f"F5 #{i + 2}", "001")
    for i in range(next_presses):
        press("F2", f"F2 (next) #{i + 1}", f"{i + 2:03d}")
    for i in range(3):
        t = time.monotonic()
        subprocess.run(["paplay", ref], env=env, check=True, timeout=10)
        events.append(("reference", None, t))
        time.sleep(QUIET_GAP)

    # The recording ends now; its last sample is (nearly) now, which ties samples to the clock.
    end(recorder, signal.SIGINT)
    stopped = time.monotonic()
    with open(recording, "rb") as f:
        samples = array.array("h", f.read())
    t0 = stopped - len(samples) / RATE

    starts = sorted(t for _, _, t in events)

    def onset(t):
        """Milliseconds from t to the first audible sample before the next key or reference, and
        whether it was quiet just before t."""
        i = max(0, int((t - t0) * RATE))
        later = [u for u in starts if u > t]
        end = min(len(samples), int((later[0] - t0) * RATE)) if later else len(samples)
        before = samples[max(0, i - RATE // 10):i]
        quiet_before = all(abs(s) <= AUDIBLE for s in before)
        for j in range(i, end):
            if abs(samples[j]) > AUDIBLE:
                return 1000.0 * (j - i) / RATE, quiet_before
        return None, quiet_before

    refs = [onset(t)[0] for label, _, t in events if label == "reference"]
    if any(r is None for r in refs):
        fail("the reference tone was not heard: the recording does not work")
    reference = statistics.median(refs)

    print(f"speech latency: key to the first audible sample, on a private sound server (null sink)")
    print(f"  reference, paplay of a tone through the same sink: median {reference:.0f} ms "
          f"[{min(refs):.0f} .. {max(refs):.0f}] (as recorded)")
    print(f"  {'press':18} voice  beyond reference  head silence of the voice  playback path")
    worst = 0.0
    unheard = []
    paths = {"first": [], "later": []}
    for label, voice, t in events:
        if voice is None:
            continue
        delay, quiet_before = onset(t)
        if delay is None:
            unheard.append(label)
            print(f"  {label:18} {voice}   not heard")
            continue
        beyond = delay - reference
        head = head_ms(os.path.join(onsei, voice + ".wav")) or 0.0
        worst = max(worst, beyond)
        paths["first" if label == "first F5" else "later"].append(beyond - head)
        note = "" if quiet_before else "   (sound just before the key: figure unsure)"
        print(f"  {label:18} {voice}   {beyond:7.0f} ms        {head:7.0f} ms               "
              f"{beyond - head:5.0f} ms{note}")
    if paths["later"]:
        later = paths["later"]
        print(f"  playback path, later presses: median {statistics.median(later):.0f} ms "
              f"[{min(later):.0f} .. {max(later):.0f}]")
    every_path = paths["first"] + paths["later"]
    if every_path:
        # What is left once the voices start speaking within their allowed lead-in.
        slowest_path = max(every_path)
        print(f"  slowest playback path: {slowest_path:.0f} ms; with voices that speak within "
              f"{LEAD_IN_MS} ms, key to speech at most {slowest_path + LEAD_IN_MS:.0f} ms")
    verdict = "ok" if worst <= TARGET_MS and not unheard else "over target"
    print(f"  slowest press beyond reference: {worst:.0f} ms (target at most {TARGET_MS}) {verdict}")

    heads = []
    rows = []
    for chapter in range(50):
        row = []
        for i in range(1, 11):
            path = os.path.join(onsei, f"{chapter * 10 + i:03d}.wav")
            h = head_ms(path) if os.path.isfile(path) else None
            row.append("   -" if h is None else f"{h:4.0f}")
            if h is not None:
                heads.append(h)
        rows.append(f"  {chapter * 10 + 1:03d}-{chapter * 10 + 10:03d} " + " ".join(row))
    chime = os.path.join(onsei, "seikai.wav")
    chime_head = head_ms(chime) if os.path.isfile(chime) else None
    if heads:
        print(f"head silence of the voices (ms before the first sample above -40 dBFS): "
              f"{len(heads)} voices, median {statistics.median(heads):.0f} "
              f"[{min(heads):.0f} .. {max(heads):.0f}]"
              + (f", chime {chime_head:.0f}" if chime_head is not None else ""))
        print("\n".join(rows))
    if program.poll() is not None:
        fail(f"the program ended during the presses (exit {program.returncode})")
    if unheard:
        with open(os.path.join(tmp, "yomirin.log"), errors="replace") as f:
            said = f.read()[-2000:]
        fail("not heard: " + ", ".join(unheard) + ("\nthe program said:\n" + said if said else ""))

try:
    run()
finally:
    end_all()
PY
