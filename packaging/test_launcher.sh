#!/usr/bin/env bash
# The launcher: two learners get two program folders, each linked to the installation and with
# its own savedata; a second start keeps what the first made; the program starts inside it.
set -euo pipefail
launcher=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "launcher test: $*" >&2; exit 1; }

# A fake installation whose "program" prints the folder it was started in and the platform asked of Qt.
mkdir -p "$work/usr/bin" "$work/usr/libexec/yomirin" "$work/usr/share/yomirin"/{text,onsei,bmp}
cp "$launcher" "$work/usr/bin/yomirin"
printf '#!/bin/sh\npwd\necho "platform=${QT_QPA_PLATFORM:-}"\n' >"$work/usr/libexec/yomirin/yomirin"
chmod +x "$work/usr/bin/yomirin" "$work/usr/libexec/yomirin/yomirin"

start_as() { env -i PATH=/usr/bin:/bin HOME="$work/$1" ${2:+XDG_DATA_HOME="$2"} "$work/usr/bin/yomirin" | sed -n 1p; }
platform_in() { env -i PATH=/usr/bin:/bin HOME="$work/ann" "$@" "$work/usr/bin/yomirin" | sed -n 's/^platform=//p'; }

mkdir -p "$work/ann" "$work/ben"
ann=$(start_as ann)
[ "$ann" = "$work/ann/.local/share/yomirin" ] || fail "Ann's folder is $ann"
ben=$(start_as ben "$work/ben/data")
[ "$ben" = "$work/ben/data/yomirin" ] || fail "Ben's folder is $ben (XDG_DATA_HOME)"
for folder in "$ann" "$ben"; do
  for part in text onsei bmp; do
    [ "$(readlink "$folder/$part")" = "$work/usr/share/yomirin/$part" ] || fail "$folder/$part is no link to the installation"
  done
  [ -d "$folder/savedata" ] && [ ! -L "$folder/savedata" ] || fail "$folder/savedata is not a folder of its own"
done

echo record >"$ann/savedata/save.dat"
start_as ann >/dev/null
[ "$(cat "$ann/savedata/save.dat")" = record ] || fail "a second start lost Ann's record"
[ ! -e "$ben/savedata/save.dat" ] || fail "Ben sees Ann's record"

# A link left by an installation elsewhere is pointed at this one.
ln -sfn /nowhere "$ann/bmp"
start_as ann >/dev/null
[ "$(readlink "$ann/bmp")" = "$work/usr/share/yomirin/bmp" ] || fail "a stale link stayed"
# A Wayland session with XWayland (as GNOME starts one) runs the program through XWayland; an X
# session, a Wayland session without XWayland, and a platform the learner set are left alone.
wayland=(XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-0)
[ "$(platform_in "${wayland[@]}" DISPLAY=:0)" = xcb ] || fail "a Wayland session with XWayland is not run through it"
[ "$(platform_in WAYLAND_DISPLAY=wayland-0 DISPLAY=:0)" = xcb ] || fail "a Wayland display without the session type is not run through XWayland"
[ -z "$(platform_in XDG_SESSION_TYPE=x11 DISPLAY=:0)" ] || fail "an X session is given a platform"
[ -z "$(platform_in "${wayland[@]}")" ] || fail "a Wayland session without XWayland is sent to it"
[ "$(platform_in "${wayland[@]}" DISPLAY=:0 QT_QPA_PLATFORM=wayland)" = wayland ] || fail "the learner's platform was replaced"
echo "launcher test: ok"
