#!/usr/bin/env bash
# One save and one load of both save files, as medians of many runs.
#
#   save_load.sh [build-dir] [runs]      (default: build beside this folder, 500 runs)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-$here/../build}
[[ -f $build/CMakeCache.txt ]] || cmake -S "$here/.." -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target bench_save_load >/dev/null
"$build/bench/bench_save_load" "${2:-500}"
