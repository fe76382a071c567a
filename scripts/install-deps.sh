#!/usr/bin/env bash
# Installs the Debian packages the program and its tests need; does nothing when all are there.
#   install-deps.sh --voices   only what makes the voices, so that they can be made while the rest
#                              is installed
#   install-deps.sh --build    what makes the voices and what builds the program and its tests, so
#                              that the build can start while the desktops the tests run on install
set -euo pipefail

voice_packages=(
  festival festvox-us-slt-hts sox   # the voices of the course, made at build time
  ffmpeg                            # the voices' loudness: its EBU R128 meter and lookahead limiter
  python3                           # the voice script's checks and figures
)
build_packages=(
  "${voice_packages[@]}"
  cmake g++ make pkgconf            # the build
  qt6-base-dev qt6-multimedia-dev   # Qt 6 Widgets and Multimedia
  libcanberra-dev libcanberra-pulse sound-theme-freedesktop  # the beep: the sound theme's bell, through the sound server
  libfontconfig-dev                 # the font configuration, which the program reads on a second thread at start
  qt6-qpa-plugins                   # Qt's xcb platform for a real display
  fonts-ipafont-gothic              # the Japanese faces the windows draw with
  fonts-dejavu-core                 # the Latin face of the artwork
  libgtest-dev                      # GoogleTest
  python3-markdown                  # the guide's HTML page, made at build time
)
packages=(
  "${build_packages[@]}"
  appstream dpkg-dev                # checking the AppStream metadata; the Debian package's dependencies
  lintian                           # checking the Debian package as Debian does
  clang libclang-rt-14-dev          # the fuzz targets: clang and its libFuzzer
  llvm-14                           # llvm-symbolizer: the functions and lines in a fuzz target's report
  flite                             # a lighter voice engine, chosen with -DYOMIRIN_VOICE=flite:slt:1.15
  pocketsphinx pocketsphinx-en-us python3  # the listening check of the voices (bench/voices_wer.sh, run by a test)
  xvfb xauth                        # a virtual display for machines without one
  openbox xdotool                   # the end-to-end suite and the latency bench: a light window manager, real X input
  mutter                            # the end-to-end suite's GNOME desktop: its window manager, on a virtual display
  pulseaudio pulseaudio-utils       # a private sound server to listen on (end-to-end suite, latency bench)
  imagemagick                       # the end-to-end suite's screenshots
  dbus at-spi2-core python3-pyatspi # the end-to-end suite reads the windows as a screen reader does:
                                    # a session bus, the accessibility bus and registry, a reader
  x11-xserver-utils                 # xrdb: the end-to-end suite's desktop that doubles its windows
  x11-utils                         # xwininfo: where a window's client area is, for the guide's pictures
  weston xwayland qt6-wayland       # the end-to-end suite's Wayland session as GNOME starts it: a compositor
                                    # with XWayland, and Qt's Wayland platform that the launcher declines
  pipewire wireplumber pipewire-pulse  # and its sound server, PipeWire with its PulseAudio server
  fcitx5 fcitx5-mozc mozc-server fcitx5-frontend-qt6  # the end-to-end suite's Japanese input: fcitx5
                                    # with mozc and its converter, and Qt 6's way to them
  stress-ng                         # loading the processors for the save tests' loaded check
)

case "${1:-}" in
  --voices) packages=("${voice_packages[@]}") ;;
  --build) packages=("${build_packages[@]}") ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}; run this as root to install them." >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
# Package lists fetched in the last hour (by the --voices run just before) are fresh enough.
[ -n "$(find /var/lib/apt/lists -maxdepth 1 -name '*_Packages*' -mmin -60 -print -quit)" ] \
  || apt-get update -qq
# What the packages only recommend is left out: none of it is used here, and it would more than
# double what a fresh machine unpacks (a second Qt, GTK 4, the graphics drivers, LLVM's headers).
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
