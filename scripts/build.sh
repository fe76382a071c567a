#!/usr/bin/env bash
# Configures and builds everything into build/; the program folder is build/yomirin/.
# Quiet when all goes well; the end of the log when it does not.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p build
if ! { [ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo; } \
       >build/configure.log 2>&1; then
  tail -n 40 build/configure.log >&2
  exit 1
fi
if ! cmake --build build -j"$(nproc)" >build/build.log 2>&1; then
  grep -E 'error|Error' build/build.log | head -n 40 >&2 || tail -n 40 build/build.log >&2
  exit 1
fi
