#!/usr/bin/env bash
# Start-up cost of the program against an empty Qt window, and the time to load the course.
#
#   startup.sh [build-dir]        (default: build, beside this folder)
#
# Builds the `benchmarks` target and the program if needed, then starts the real program (from its
# program folder, with YOMIRIN_WHEN_SHOWN=quit so it leaves once its main window's first frame is
# on screen, without closing it and so without saving) and bench_empty_window, which leaves the
# same way, by turns, so that both see the same machine load: first on Qt's offscreen platform,
# then on a real X display (Xvfb with the openbox window manager, where a window is on screen once
# the window manager has mapped it and it has drawn). Prints for each the median wall time (with
# the processor time beside it), the peak resident memory offscreen, and the median course load,
# each against its target. It only prints: a figure over its target does not fail anything.
# YOMIRIN_BENCH_ROUNDS sets the rounds (default 41: a round takes a tenth of a second, and this
# machine's speed comes and goes by a fifth). Exits 1 only when a program cannot be built
# or does not run to its end.
set -euo pipefail

die() { printf 'startup: %s\n' "$*" >&2; exit 1; }

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build=${1:-$root/build}
rounds=${YOMIRIN_BENCH_ROUNDS:-41}
[[ $rounds =~ ^[1-9][0-9]*$ ]] || die "YOMIRIN_BENCH_ROUNDS must be a positive number"
command -v python3 >/dev/null || die "python3 is not installed"

mkdir -p "$build"
build=$(cd "$build" && pwd)
log=$build/bench-build.log
if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$log" 2>&1 \
    || { tail -n 40 "$log" >&2; die "could not configure $build"; }
fi
cmake --build "$build" -j2 --target yomirin benchmarks >"$log" 2>&1 \
  || { grep -E 'error|Error' "$log" | head -n 40 >&2 || tail -n 40 "$log" >&2; die "could not build"; }

app_dir=$build/yomirin
real=$app_dir/yomirin
empty=$build/bench/bench_empty_window
load=$build/bench/bench_load_course
for f in "$real" "$empty" "$load"; do
  [[ -x $f ]] || die "not built: $f"
done
for tool in Xvfb openbox; do
  command -v $tool >/dev/null || die "$tool is not installed (scripts/install-deps.sh installs it)"
done

course=$("$load" "$app_dir") || die "bench_load_course did not run"

python3 - "$app_dir" "$real" "$empty" "$rounds" "$course" <<'PY'
import atexit, os, shutil, signal, statistics, subprocess, sys, tempfile, time

app_dir, real, empty, rounds, course = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5]
TIMEOUT = 60  # seconds; a program stuck (e.g. in an error dialog) is killed and reported

base = {k: v for k, v in os.environ.items()
        if not k.startswith("QT_") and k not in ("YOMIRIN_WHEN_SHOWN", "DISPLAY", "XAUTHORITY")}
programs = {"yomirin": real, "empty window": empty}
platform_env = {"offscreen": dict(base, QT_QPA_PLATFORM="offscreen")}
# Qt settings of the caller (scaling, styles) are left out so that runs compare from day to day.
# The program reads below its current directory; the empty window does not care where it runs.
os.chdir(app_dir)
logdir = tempfile.mkdtemp(prefix="yomirin-startup-")
atexit.register(shutil.rmtree, logdir, True)

# The real display: a virtual X server and a window manager, both ended on the way out.
helpers = []
def end_helpers():
    for p in reversed(helpers):
        p.terminate()
        try:
            p.wait(5)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()
atexit.register(end_helpers)
read_end, write_end = os.pipe()
helpers.append(subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                                 "-nolisten", "tcp"], pass_fds=[write_end],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
os.close(write_end)
with os.fdopen(read_end) as f:
    number = f.readline().strip()
if not number:
    sys.exit("startup: Xvfb did not start")
x_env = dict(base, QT_QPA_PLATFORM="xcb", DISPLAY=":" + number)
helpers.append(subprocess.Popen(["openbox", "--sm-disable"], env=x_env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
time.sleep(0.5)  # openbox takes over the screen; a window mapped before would not be managed
platform_env["X display (Xvfb, openbox)"] = x_env

child = None
def on_alarm(signum, frame):
    if child is not None:
        os.kill(child, signal.SIGKILL)
signal.signal(signal.SIGALRM, on_alarm)

# Each program's output is appended to one log kept open for all its runs. A log truncated before
# every run made each run some 20 ms slower here (ext4 writes back a file truncated after it was
# written), which is the harness's time, not the program's.
logs = {name: os.open(os.path.join(logdir, name.replace(" ", "_") + ".log"),
                      os.O_WRONLY | os.O_CREAT | os.O_APPEND, 0o644) for name in programs}

def run(name, env):
    """One start: (wall s, processor s, peak resident KiB). wait4 gives this child's own rusage."""
    global child
    path = programs[name]
    if name == "yomirin":
        env = dict(env, YOMIRIN_WHEN_SHOWN="quit")
    fd = logs[name]
    offset = os.lseek(fd, 0, os.SEEK_END)
    actions = [(os.POSIX_SPAWN_DUP2, fd, 1), (os.POSIX_SPAWN_DUP2, fd, 2)]
    start = time.perf_counter()
    child = os.posix_spawn(path, [path], env, file_actions=actions)
    signal.setitimer(signal.ITIMER_REAL, TIMEOUT)
    _, status, usage = os.wait4(child, 0)
    wall = time.perf_counter() - start
    child = None  # reaped: the alarm must not signal whatever process gets the number next
    signal.setitimer(signal.ITIMER_REAL, 0)
    if status != 0:
        with open(os.path.join(logdir, name.replace(" ", "_") + ".log"), "rb") as f:
            f.seek(offset)
            said = f.read().decode(errors="replace")[-2000:]
        how = (f"was killed by signal {os.WTERMSIG(status)} (after {TIMEOUT} s?)"
               if os.WIFSIGNALED(status) else f"exited with {os.WEXITSTATUS(status)}")
        sys.exit(f"startup: {name} {how}\n{said}")
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss

def verdict(ok):
    return "ok" if ok else "over target"

def measure(where, env):
    """Both programs in turns; prints their start-up and gives the peak memories."""
    # One unmeasured start each fills the file and font caches, then the two take turns, the
    # first of each round alternating so neither always runs just after the other.
    for name in programs:
        run(name, env)
    walls = {name: [] for name in programs}
    cpus = {name: [] for name in programs}
    peaks = {name: [] for name in programs}
    for r in range(rounds):
        order = list(programs) if r % 2 == 0 else list(reversed(programs))
        for name in order:
            wall, cpu, peak = run(name, env)
            walls[name].append(wall * 1000)
            cpus[name].append(cpu * 1000)
            peaks[name].append(peak)
    # Other work on the machine stretches the wall times, not by the same factor for both; the
    # processor time (user + system) hardly moves with it and tells whether a change is real.
    print(f"start-up, {rounds} rounds each, {where}, to the first frame on screen "
          "(median, [fastest .. slowest]):")
    for name in programs:
        w = walls[name]
        print(f"  {name:13} {statistics.median(w):7.1f} ms  [{min(w):.1f} .. {max(w):.1f}]"
              f"   processor {statistics.median(cpus[name]):.1f} ms")
    ratio = statistics.median(walls["yomirin"]) / statistics.median(walls["empty window"])
    print(f"  ratio         {ratio:7.2f}     (target at most 1.5)  {verdict(ratio <= 1.5)}")
    cpu_ratio = statistics.median(cpus["yomirin"]) / statistics.median(cpus["empty window"])
    print(f"  processor time ratio {cpu_ratio:.2f} (for reading the above)")
    return peaks

print(f"load average before the runs: {os.getloadavg()[0]:.2f}")
peaks = {}
for where, env in platform_env.items():
    found = measure(where, env)
    peaks = peaks or found  # memory as drawn offscreen: no display server's share in it

print("peak resident memory, offscreen (median of the runs):")
mib = {name: statistics.median(peaks[name]) / 1024 for name in programs}
for name in programs:
    print(f"  {name:13} {mib[name]:7.1f} MiB  [{min(peaks[name]) / 1024:.1f} .. {max(peaks[name]) / 1024:.1f}]")
diff = mib["yomirin"] - mib["empty window"]
print(f"  difference    {diff:7.1f} MiB (target at most 25)    {verdict(diff <= 25)}")

lines = course.splitlines()
median = None
print(lines[0] if lines else "course load:")
for line in lines[1:]:
    if line.startswith("course load median:"):
        median = float(line.split(":")[1].split()[0])
        line = f"{line:32} (target under 5)       {verdict(median < 5)}"
    print(f"  {line}")
if median is None:
    sys.exit("startup: no median in the output of bench_load_course")
PY
