#!/usr/bin/env bash
# The save tests of a built tree, several times in a row with every processor kept busy and the
# tests' folders on a tmpfs: they must pass on the code, however slow the machine is.
#   tests/faults/loaded_save_tests.sh [BUILD-DIR [ROUNDS]]     (defaults: build-asan, 5)
# Needs stress-ng (scripts/install-deps.sh installs it) and the tree's tests built.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build-asan}
rounds=${2:-5}
tests='SaveKills|SaveFiles|SaveFaults|InjectedSaveFault|HostileStart'

# Debian mounts a tmpfs on /dev/shm.
[ "$(stat -f -c %T /dev/shm)" = tmpfs ] || { echo "/dev/shm is no tmpfs" >&2; exit 2; }
export TMPDIR
TMPDIR=$(mktemp -d /dev/shm/yomirin-loaded.XXXXXX)
stress-ng --cpu "$(nproc)" --quiet &
load=$!
trap 'kill "$load" 2>/dev/null; wait "$load" 2>/dev/null; rm -rf "$TMPDIR"' EXIT

for round in $(seq "$rounds"); do
  start=$SECONDS
  if ! (cd "$build" && ctest -R "$tests" -j"$(nproc)" --output-on-failure --no-tests=error >"$TMPDIR/round.log" 2>&1); then
    cat "$TMPDIR/round.log"
    echo "loaded save tests: round $round of $rounds FAILED"
    exit 1
  fi
  count=$(grep -o 'out of [0-9]*' "$TMPDIR/round.log" | tail -n 1)
  echo "loaded save tests: round $round of $rounds: all passed ($count) in $((SECONDS - start)) s"
  grep -h '^\[faults\]' "$build/Testing/Temporary/LastTest.log"
done
