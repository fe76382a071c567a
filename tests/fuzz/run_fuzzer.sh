#!/usr/bin/env bash
# Runs a fuzz target for FUZZ_SECONDS (default 30) with the given libFuzzer options and corpora.
#   run_fuzzer.sh TARGET [OPTION...] [CORPUS...]
set -euo pipefail
target=$1
shift
exec "$target" -max_total_time="${FUZZ_SECONDS:-30}" "$@"
