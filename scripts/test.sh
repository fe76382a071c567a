#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test, in three build trees:
#   build/       the program and all its tests, the voices included;
#   build-asan/  the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, where any
#                finding stops the test (the voices are made and tested in build/ only);
#   build-fuzz/  each libFuzzer target for FUZZ_SECONDS (default 20) over its seeds.
# The end-to-end suite runs beside the builds of the last two trees (see below).
# Ends with the figures of the save fault tests and the time each part took.
set -euo pipefail
cd "$(dirname "$0")/.."
export FUZZ_SECONDS=${FUZZ_SECONDS:-20}
times=()
timed() { # LABEL COMMAND...
  local start=$SECONDS label=$1
  shift
  "$@"
  times+=("$(printf '%4d s  %s' $((SECONDS - start)) "$label")")
}
run_tests() { (cd "$1" && shift && ctest --output-on-failure --no-tests=error -j"$(nproc)" "$@"); }

timed 'packages' scripts/install-deps.sh
timed 'build: build/' scripts/build.sh

# The end-to-end suite mostly waits on a real display and sound server: it runs beside the other
# two builds rather than after them. Its waits are on conditions, but a machine this busy can still
# stretch one past its bound, so a run that fails here is run again alone, and only a second
# failure fails the command (both logs are kept).
# It is run straight rather than through ctest, whose log of the build/ tests it would share.
e2e() { timeout 600 python3 tests/e2e/e2e.py build/yomirin/yomirin build/yomirin/bmp \
          build/yomirin/onsei/seikai.wav build/screenshots; }
setsid bash -c "$(declare -f e2e); e2e; rc=\$?; echo \"took \$SECONDS s\"; exit \$rc" \
  >build/e2e-beside.log 2>&1 &
e2e_pid=$!
trap 'kill -- -"$e2e_pid" 2>/dev/null || true' EXIT

# Unoptimised: the sanitizers make optimising compiles three times slower, and asserts stay on.
# Line tables only (-g1): enough for the sanitizers' reports, and a quarter quicker to compile.
timed 'build: build-asan/' scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
  -DYOMIRIN_SANITIZE=ON -DYOMIRIN_VOICES=OFF
timed 'build: build-fuzz/' scripts/build.sh build-fuzz --target fuzzers -DCMAKE_CXX_COMPILER=clang++ -DYOMIRIN_FUZZ=ON \
  -DBUILD_TESTING=OFF -DYOMIRIN_VOICES=OFF

echo "== tests (build)"
timed 'tests: build/' run_tests build -E '^e2e$'
echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan)"
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
timed 'tests: build-asan/' run_tests build-asan -E '^e2e$'  # the real display runs in build/ only
echo "== fuzzing, ${FUZZ_SECONDS} s a target (build-fuzz)"
timed 'fuzzing: build-fuzz/' run_tests build-fuzz

echo "== the end-to-end suite (build), run beside the builds"
if wait "$e2e_pid"; then
  tail -n 3 build/e2e-beside.log
  e2e_took=$(sed -n 's/^took \([0-9]*\) s$/\1/p' build/e2e-beside.log)
  times+=("$(printf '%4d s  %s' "${e2e_took:-0}" 'end-to-end suite, beside the builds')")
else
  tail -n 40 build/e2e-beside.log
  echo "== the end-to-end suite failed beside the builds (log: build/e2e-beside.log); once more, alone"
  timed 'end-to-end suite, alone' e2e
fi

grep -h '^\[faults\]' build/Testing/Temporary/LastTest.log build-asan/Testing/Temporary/LastTest.log || true
printf '%s\n' "${times[@]}"
