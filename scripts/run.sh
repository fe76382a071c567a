#!/usr/bin/env bash
# Installs what is missing, builds and starts the program in its own folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
cd build/yomirin
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" ./yomirin
fi
exec ./yomirin
