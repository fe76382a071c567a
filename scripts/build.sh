#!/usr/bin/env bash
# Configures and builds a build tree; by default build/, whose program folder is build/yomirin/.
#   scripts/build.sh [DIR [--target TARGET] [-DOPTION=VALUE...]]
# The options apply when DIR is configured for the first time. Optimised builds carry line tables
# only (-g1): enough for a backtrace, and much quicker to compile than full debugging data.
# Quiet when all goes well; the end of the log when it does not.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift $(($# > 0 ? 1 : 0))
target=()
options=()
while [ $# -gt 0 ]; do
  case $1 in
    --target) target=(--target "$2"); shift 2 ;;
    *) options+=("$1"); shift ;;
  esac
done
mkdir -p "$dir"
if ! { [ -f "$dir/CMakeCache.txt" ] ||
       cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
         -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" "${options[@]}"; } \
       >"$dir/configure.log" 2>&1; then
  tail -n 40 "$dir/configure.log" >&2
  exit 1
fi
if ! cmake --build "$dir" -j"$(nproc)" "${target[@]}" >"$dir/build.log" 2>&1; then
  grep -E 'error|Error' "$dir/build.log" | head -n 40 >&2 || tail -n 40 "$dir/build.log" >&2
  exit 1
fi
