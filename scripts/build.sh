#!/usr/bin/env bash
# Configures and builds a build tree; by default build/, whose program folder is build/yomirin/.
#   scripts/build.sh [DIR [--target TARGET...] [-DOPTION=VALUE...]]
# The options apply when DIR is configured for the first time; the build settings themselves (the
# build type, -g1, the sanitizer flags) are in CMakeLists.txt, so a tree configured by hand is
# the same. Quiet when all goes well; the end of the log when it does not.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift $(($# > 0 ? 1 : 0))
targets=()
options=()
while [ $# -gt 0 ]; do
  case $1 in
    --target) targets+=("$2"); shift 2 ;;
    *) options+=("$1"); shift ;;
  esac
done
mkdir -p "$dir"
if ! { [ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" "${options[@]}"; } >"$dir/configure.log" 2>&1; then
  tail -n 40 "$dir/configure.log" >&2
  exit 1
fi
if ! cmake --build "$dir" -j"$(nproc)" ${targets[@]+--target "${targets[@]}"} >"$dir/build.log" 2>&1; then
  grep -E 'error|Error' "$dir/build.log" | head -n 40 >&2 || tail -n 40 "$dir/build.log" >&2
  exit 1
fi
