#!/usr/bin/env bash
# Start-up cost of the program against an empty Qt window, and the time to load the course.
#
#   startup.sh [build-dir]        (default: build, beside this folder)
#
# Builds the `benchmarks` target and the program if needed, then starts the real program (from its
# program folder, with YOMIRIN_QUIT_WHEN_SHOWN=1 so it leaves once its main window has drawn its first
# frame, without closing it and so without saving) and
# bench_empty_window by turns on Qt's offscreen platform, so that both see the same machine load.
# Prints the median wall time (with the processor time beside it) and the peak resident memory of
# each, and the median course load, each against its target. It only prints: a figure over its target does not fail anything.
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

course=$("$load" "$app_dir") || die "bench_load_course did not run"

python3 - "$app_dir" "$real" "$empty" "$rounds" "$course" <<'PY'
import atexit, os, shutil, signal, statistics, sys, tempfile, time

app_dir, real, empty, rounds, course = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5]
TIMEOUT = 60  # seconds; a program stuck (e.g. in an error dialog) is killed and reported

base = {k: v for k, v in os.environ.items() if not k.startswith("QT_") and k != "YOMIRIN_QUIT_WHEN_SHOWN"}
base["QT_QPA_PLATFORM"] = "offscreen"
programs = {
    "yomirin": (real, dict(base, YOMIRIN_QUIT_WHEN_SHOWN="1")),
    "empty window": (empty, base),
}
# Qt settings of the caller (scaling, styles) are left out so that runs compare from day to day.
# The program reads below its current directory; the empty window does not care where it runs.
os.chdir(app_dir)
logdir = tempfile.mkdtemp(prefix="yomirin-startup-")
atexit.register(shutil.rmtree, logdir, True)

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

def run(name):
    """One start: (wall s, processor s, peak resident KiB). wait4 gives this child's own rusage."""
    global child
    path, env = programs[name]
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

# One unmeasured start each fills the file and font caches, then the two take turns, the first
# of each round alternating so neither always runs just after the other.
load_before = os.getloadavg()[0]
for name in programs:
    run(name)
walls = {name: [] for name in programs}
cpus = {name: [] for name in programs}
peaks = {name: [] for name in programs}
for r in range(rounds):
    order = list(programs) if r % 2 == 0 else list(reversed(programs))
    for name in order:
        wall, cpu, peak = run(name)
        walls[name].append(wall * 1000)
        cpus[name].append(cpu * 1000)
        peaks[name].append(peak)

def verdict(ok):
    return "ok" if ok else "over target"

# Other work on the machine stretches the wall times, not by the same factor for both; the
# processor time (user + system) hardly moves with it and tells whether a change is real.
print(f"load average before the runs: {load_before:.2f}")
print(f"start-up, {rounds} rounds each on the offscreen platform (median, [fastest .. slowest]):")
for name in programs:
    w = walls[name]
    print(f"  {name:13} {statistics.median(w):7.1f} ms  [{min(w):.1f} .. {max(w):.1f}]"
          f"   processor {statistics.median(cpus[name]):.1f} ms")
ratio = statistics.median(walls["yomirin"]) / statistics.median(walls["empty window"])
print(f"  ratio         {ratio:7.2f}     (target at most 1.5)  {verdict(ratio <= 1.5)}")
cpu_ratio = statistics.median(cpus["yomirin"]) / statistics.median(cpus["empty window"])
print(f"  processor time ratio {cpu_ratio:.2f} (for reading the above)")

print("peak resident memory (median of the runs):")
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
