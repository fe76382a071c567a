#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test, in three build trees:
#   build/       the program with its voices and art, and all its tests;
#   build-asan/  the libraries and tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
#                where any finding stops the test: what CTest runs (the target test_programs), the
#                program's data made by build/'s tools (the voices are made and tested in build/ only);
#   build-fuzz/  each libFuzzer target for FUZZ_SECONDS (default 20) over its seeds.
# The parts run side by side as lanes, each a function below with its own log. Any failure fails
# the command. Ends with the figures of the save fault tests and the time each part took.
#
#   scripts/test.sh --quick   the inner loop's tier: builds build/'s rules and window tests and
#                             runs them (the tests labelled `quick`).
set -euo pipefail
cd "$(dirname "$0")/.."
export FUZZ_SECONDS=${FUZZ_SECONDS:-20}
times=$(mktemp)
trap 'rm -f "$times"' EXIT
packages_done=$(mktemp -u)    # holds the exit status of the packages lane once it has ended

timed() { # LABEL COMMAND...: runs the command and notes how long it took
  local start=$SECONDS label=$1 status=0
  shift
  "$@" || status=$?
  printf '%4d s  %s%s\n' $((SECONDS - start)) "$label" "$([ "$status" = 0 ] || echo ", failed")" >>"$times"
  return "$status"
}
run_tests() { (cd "$1" && shift && ctest --output-on-failure --no-tests=error -j"$(nproc)" "$@"); }
# The tests run on the desktops and tools that the packages lane installs while the trees build.
wait_for_packages() {
  while [ ! -s "$packages_done" ]; do sleep 1; done
  [ "$(cat "$packages_done")" = 0 ] || { echo "== the packages did not install"; return 1; }
}

if [ "${1:-}" = --quick ]; then
  timed 'build: build/ rules and window tests' \
    scripts/build.sh build --target rules_tests --target window_tests --target scaled_window_tests
  timed 'tests: build/ rules and windows' run_tests build -L '^quick$'
  cat "$times"
  exit 0
fi

# ---- the lanes ---------------------------------------------------------------------------------

lane_voices() { # on a fresh clone: the voices, minutes of synthesis, made while packages install
  timed 'voices: build/, beside the packages' bash course/make_voices.sh course/text build/yomirin/onsei
}

lane_packages() { # what the tests run on: the desktops, the recogniser, clang, stress-ng
  local status=0
  timed 'packages: the rest, beside the builds' scripts/install-deps.sh || status=$?
  echo "$status" >"$packages_done"
  return "$status"
}

lane_fuzzing() { # shares nothing with the other trees; time-boxed, so beside the rest it costs tries
  wait_for_packages   # clang
  timed 'build: build-fuzz/' scripts/build.sh build-fuzz --target fuzzers -DCMAKE_CXX_COMPILER=clang++ \
    -DYOMIRIN_FUZZ=ON -DBUILD_TESTING=OFF
  echo "== fuzzing, ${FUZZ_SECONDS} s a target (build-fuzz)"
  timed 'fuzzing: build-fuzz/' run_tests build-fuzz
}

lane_configure_asan() { # the target help builds nothing
  timed 'configure: build-asan/' scripts/build.sh build-asan --target help \
    -DYOMIRIN_SANITIZE=ON -DYOMIRIN_TOOLS_FROM="$PWD/build"
}

# The end-to-end suite drives the real program on desktops of its own and listens to sound
# servers. Its waits are on what it reads, so it runs beside the tests of both trees, once, two
# scenarios at a time; a failure fails the command, and its log stays in build/e2e.log. It is run
# straight rather than through ctest, whose log of the build/ tests it would share.
e2e() {
  E2E_JOBS=2 timeout 900 python3 tests/e2e/e2e.py build/yomirin/yomirin build/yomirin/bmp \
    build/yomirin/onsei/seikai.wav build/screenshots >build/e2e.log 2>&1
}

# The program and all that is installed come first: the end-to-end suite starts on them once the
# desktops are in, while the tests build and run beside it.
lane_build() {
  timed 'build: build/ program' scripts/build.sh build --target installable
  { wait_for_packages && timed 'end-to-end suite (build), beside the tests' e2e; } &
  local e2e_pid=$!
  timed 'build: build/ tests' scripts/build.sh build
  wait_for_packages
  echo '== tests (build)'
  timed 'tests: build/' run_tests build -E '^e2e$'
  echo '== the end-to-end suite (build)'
  if ! wait $e2e_pid; then
    tail -n 60 build/e2e.log
    echo '== the end-to-end suite failed (log: build/e2e.log)'
    return 1
  fi
  tail -n 3 build/e2e.log
}

lane_asan() { # the real display runs in build/ only
  timed 'build: build-asan/' scripts/build.sh build-asan --target test_programs
  wait_for_packages
  echo '== tests under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan)'
  timed 'tests: build-asan/' run_tests build-asan -E '^e2e$'
}

# Each lane runs in the background in a process group of its own, with its own log; `finish NAME`
# waits for it and fails the command if it failed, showing the end of its log. A lane left
# running when the command stops is ended with everything it started.
declare -A lane_pid lane_log
start() { # NAME LOG
  set -m   # a process group of its own
  "lane_$1" >"$2" 2>&1 &
  set +m
  lane_pid[$1]=$!
  lane_log[$1]=$2
}
finish() { # NAME
  if ! wait "${lane_pid[$1]}"; then
    tail -n 60 "${lane_log[$1]}"
    echo "== $1 failed (log: ${lane_log[$1]})"
    exit 1
  fi
  cat "${lane_log[$1]}"
}
trap 'for pid in "${lane_pid[@]}"; do kill -- -"$pid" 2>/dev/null || true; done; rm -f "$times" "$packages_done"' EXIT

# ---- the order ---------------------------------------------------------------------------------

timed 'packages: what makes the voices' scripts/install-deps.sh --voices
# A tree configured before makes the voices in its build, with the voice chosen there; the build's
# own run of the voice script finds those made here (it redoes only what changed).
if [ ! -f build/CMakeCache.txt ]; then
  mkdir -p build/yomirin
  start voices build/voices.log
fi
timed 'packages: what builds' scripts/install-deps.sh --build
mkdir -p build build-fuzz build-asan
start packages build/packages.log
start fuzzing build-fuzz/lane.log
start configure_asan build-asan/lane.log
# The sanitizer tree takes the data tools (art, chime) of build/, which are built first.
timed 'build: build/ data tools' scripts/build.sh build --target artgen --target picture_pack --target chime
finish configure_asan
start build build/lane.log
start asan build-asan/lane.log
[ -z "${lane_pid[voices]:-}" ] || finish voices
finish packages
finish build
finish asan
finish fuzzing

grep -h '^\[faults\]' build/Testing/Temporary/LastTest.log build-asan/Testing/Temporary/LastTest.log || true
cat "$times"
printf '%4d s  the whole command\n' "$SECONDS"
