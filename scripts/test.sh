#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test, in three build trees:
#   build/       the program and all its tests, the voices included;
#   build-asan/  the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, where any
#                finding stops the test (the voices are made and tested in build/ only);
#   build-fuzz/  each libFuzzer target for FUZZ_SECONDS (default 20) over its seeds.
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
# Unoptimised: the sanitizers make optimising compiles three times slower, and asserts stay on.
timed 'build: build-asan/' scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DYOMIRIN_SANITIZE=ON -DYOMIRIN_VOICES=OFF
timed 'build: build-fuzz/' scripts/build.sh build-fuzz --target fuzzers -DCMAKE_CXX_COMPILER=clang++ -DYOMIRIN_FUZZ=ON \
  -DBUILD_TESTING=OFF -DYOMIRIN_VOICES=OFF

echo "== tests (build)"
timed 'tests: build/' run_tests build
echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan)"
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
timed 'tests: build-asan/' run_tests build-asan -E '^e2e$'  # the real display runs in build/ only
echo "== fuzzing, ${FUZZ_SECONDS} s a target (build-fuzz)"
timed 'fuzzing: build-fuzz/' run_tests build-fuzz

grep -h '^\[faults\]' build/Testing/Temporary/LastTest.log build-asan/Testing/Temporary/LastTest.log || true
printf '%s\n' "${times[@]}"
