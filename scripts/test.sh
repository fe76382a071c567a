#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test, in three build trees:
#   build/       the program with its voices and art, and all its tests;
#   build-asan/  the libraries and tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
#                where any finding stops the test: what CTest runs (the target test_programs), the
#                program's data made by build/'s tools (the voices are made and tested in build/ only);
#   build-fuzz/  each libFuzzer target for FUZZ_SECONDS (default 20) over its seeds.
# The trees are built and tested side by side, the end-to-end suite on a real display beside the
# tests. Any failure fails the command; each part's log stays in its tree. Ends with the
# figures of the save fault tests and the time each part took.
#
#   scripts/test.sh --quick   the inner loop's tier: builds build/'s rules and window tests and
#                             runs them (the tests labelled `quick`).
set -euo pipefail
cd "$(dirname "$0")/.."
export FUZZ_SECONDS=${FUZZ_SECONDS:-20}
times=$(mktemp)
trap 'rm -f "$times"' EXIT
timed() { # LABEL COMMAND...
  local start=$SECONDS label=$1 status=0
  shift
  "$@" || status=$?
  printf '%4d s  %s%s\n' $((SECONDS - start)) "$label" "$([ "$status" = 0 ] || echo ", failed")" >>"$times"
  return "$status"
}
run_tests() { (cd "$1" && shift && ctest --output-on-failure --no-tests=error -j"$(nproc)" "$@"); }

if [ "${1:-}" = --quick ]; then
  timed 'build: build/ rules and window tests' \
    scripts/build.sh build --target rules_tests --target window_tests --target scaled_window_tests
  timed 'tests: build/ rules and windows' run_tests build -L '^quick$'
  cat "$times"
  exit 0
fi

# Each lane runs in the background with its own log; `lane NAME` waits for it and fails the
# command if it failed, showing the end of its log.
declare -A lane_pid lane_log
start_lane() { # NAME LOG COMMAND...
  local name=$1 log=$2
  shift 2
  setsid "$@" >"$log" 2>&1 &
  lane_pid[$name]=$!
  lane_log[$name]=$log
}
lane() { # NAME
  if ! wait "${lane_pid[$1]}"; then
    tail -n 60 "${lane_log[$1]}"
    echo "== $1 failed (log: ${lane_log[$1]})"
    exit 1
  fi
  cat "${lane_log[$1]}"
}
# A lane left running when the command stops is ended with everything it started.
trap 'for pid in "${lane_pid[@]}"; do kill -- -"$pid" 2>/dev/null || true; done; rm -f "$times"' EXIT

timed 'packages: what makes the voices' scripts/install-deps.sh --voices
# In a tree not configured yet (a fresh clone), the voices, minutes of synthesis, are made while the
# rest is installed; the build's own run of the voice script then finds them made (it redoes only
# what changed). A tree configured before makes them in its build, with the voice chosen there.
if [ ! -f build/CMakeCache.txt ]; then
  mkdir -p build/yomirin
  start_lane voices build/voices.log bash -c "set -euo pipefail; $(declare -f timed); times=$times
    timed 'voices: build/, beside the packages' bash course/make_voices.sh course/text build/yomirin/onsei"
fi
timed 'packages' scripts/install-deps.sh

# The fuzz targets share nothing with the other trees: built and run from the start. Fuzzing is
# time-boxed, so running beside the rest costs it tries, not time.
mkdir -p build-fuzz
start_lane fuzzing build-fuzz/lane.log bash -c "
  set -euo pipefail; $(declare -f timed run_tests); times=$times
  timed 'build: build-fuzz/' scripts/build.sh build-fuzz --target fuzzers -DCMAKE_CXX_COMPILER=clang++ \
    -DYOMIRIN_FUZZ=ON -DBUILD_TESTING=OFF
  echo '== fuzzing, ${FUZZ_SECONDS} s a target (build-fuzz)'
  timed 'fuzzing: build-fuzz/' run_tests build-fuzz"

# The sanitizer tree takes the data tools (art, chime) of build/, which are built first.
mkdir -p build-asan
# Configured meanwhile (the target help builds nothing).
start_lane 'configuring build-asan/' build-asan/lane.log \
  bash -c "set -euo pipefail; $(declare -f timed); times=$times
    timed 'configure: build-asan/' scripts/build.sh build-asan --target help \
      -DYOMIRIN_SANITIZE=ON -DYOMIRIN_TOOLS_FROM=$PWD/build"
timed 'build: build/ data tools' scripts/build.sh build --target artgen --target picture_pack --target chime
lane 'configuring build-asan/'

# The end-to-end suite drives the real program on a display of its own and listens to a sound
# server. Its waits are on what it reads, so it runs beside the tests of both trees, once: a
# failure fails the command, and its log stays in build/e2e.log. It is run straight rather than
# through ctest, whose log of the build/ tests it would share. One scenario at a time: two
# (E2E_JOBS=2) take half the time on a quiet machine, but beside both trees' tests on a fresh root
# a desktop once did not come up within its bound.
e2e() { timeout 600 python3 tests/e2e/e2e.py build/yomirin/yomirin build/yomirin/bmp \
          build/yomirin/onsei/seikai.wav build/screenshots; }
start_lane 'build/' build/lane.log bash -c "set -euo pipefail; $(declare -f timed run_tests e2e); times=$times
  timed 'build: build/' scripts/build.sh build
  timed 'end-to-end suite (build), beside the tests' e2e >build/e2e.log 2>&1 &
  e2e_pid=\$!
  echo '== tests (build)'
  timed 'tests: build/' run_tests build -E '^e2e$'
  echo '== the end-to-end suite (build)'
  if ! wait \$e2e_pid; then
    tail -n 60 build/e2e.log
    echo '== the end-to-end suite failed (log: build/e2e.log)'
    exit 1
  fi
  tail -n 3 build/e2e.log"
start_lane 'build-asan/' build-asan/lane.log bash -c "set -euo pipefail; $(declare -f timed run_tests); times=$times
  timed 'build: build-asan/' scripts/build.sh build-asan --target test_programs
  echo '== tests under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan)'
  timed 'tests: build-asan/' run_tests build-asan -E '^e2e$'"  # the real display runs in build/ only
[ -z "${lane_pid[voices]:-}" ] || lane voices
lane 'build/'
lane 'build-asan/'
lane fuzzing

grep -h '^\[faults\]' build/Testing/Temporary/LastTest.log build-asan/Testing/Temporary/LastTest.log || true
cat "$times"
printf '%4d s  the whole command\n' "$SECONDS"
