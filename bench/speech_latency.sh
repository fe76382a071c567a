#!/usr/bin/env bash
# What the learner hears: the time from a key (F5 repeat, F2 next) to the first audible sample of
# the voice, beyond what paplay of a tone through the same private sound server takes. The
# measuring is speech_latency.py's, on the end-to-end suite's desktop; this readies the program.
#
#   speech_latency.sh [build-dir]                (default: build, beside this folder)
#   speech_latency.sh --program-folder <folder>  a program folder already built, such as
#                                                build/yomirin: nothing is built, nothing written
#
# YOMIRIN_BENCH_PRESSES sets how many later F5 presses (default 6) and F2 presses (default 3, at
# most) follow the first. It installs what it needs (scripts/install-deps.sh, as root), builds the
# program if needed, and ends every process it starts. It only prints: a figure over its target
# fails nothing. Exits 1 when something cannot be set up or a press is not heard at all.
set -euo pipefail

die() { printf 'speech_latency: %s\n' "$*" >&2; exit 1; }

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
presses=${YOMIRIN_BENCH_PRESSES:-6}
[[ $presses =~ ^[1-9][0-9]*$ ]] || die "YOMIRIN_BENCH_PRESSES must be a positive number"

missing_tools() { # what the end-to-end suite's desktop runs on, its screen reader included
  local tool
  for tool in Xvfb openbox dbus-daemon xdotool pulseaudio parecord paplay pactl python3; do
    command -v "$tool" >/dev/null || return 0
  done
  ! python3 -c 'import pyatspi' 2>/dev/null && ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null
}
if missing_tools; then
  bash "$root/scripts/install-deps.sh" || die "could not install what the benchmark needs"
fi

build_program() { # BUILD-DIR: builds the program there; prints its folder
  local build=$1 log
  mkdir -p "$build"
  build=$(cd "$build" && pwd)
  log=$build/bench-build.log
  if [[ ! -f $build/CMakeCache.txt ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$log" 2>&1 \
      || { tail -n 40 "$log" >&2; die "could not configure $build"; }
  fi
  cmake --build "$build" -j2 --target yomirin >"$log" 2>&1 \
    || { grep -E 'error|Error' "$log" | head -n 40 >&2 || tail -n 40 "$log" >&2; die "could not build"; }
  echo "$build/yomirin"
}

if [[ ${1:-} == --program-folder ]]; then
  [[ -n ${2:-} ]] || die "--program-folder needs a folder"
  app_dir=$2
else
  app_dir=$(build_program "${1:-$root/build}")
fi
[[ -x $app_dir/yomirin ]] || die "not built: $app_dir/yomirin"
[[ -f $app_dir/onsei/001.wav ]] || die "no voices in $app_dir/onsei"

exec python3 "$here/speech_latency.py" "$app_dir" "$presses"
