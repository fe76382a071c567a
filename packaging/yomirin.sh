#!/bin/sh
# Starts the installed program in the learner's own program folder.
#
# The program reads and writes only below its current directory, and nobody but root may write
# under the installation, so every learner gets a folder of their own below the XDG data home:
# links to the installed course, voices and bitmaps, and a savedata/ with their own records.
set -eu

self=$(readlink -f "$0")
prefix=$(cd "$(dirname "$self")/.." && pwd)
shared=$prefix/share/yomirin
program=$prefix/libexec/yomirin/yomirin

folder=${XDG_DATA_HOME:-${HOME:?no HOME}/.local/share}/yomirin
mkdir -p "$folder/savedata"
for part in text onsei bmp; do
  # A link is refreshed (the installation may have moved); a real folder is the learner's own
  # choice and stays.
  if [ -L "$folder/$part" ] || [ ! -e "$folder/$part" ]; then
    ln -sfn "$shared/$part" "$folder/$part"
  fi
done

# In a Wayland session the program runs through XWayland, which such a session provides: on
# Qt's Wayland platform a window can neither place itself nor stay on top nor take the focus, and
# the splash, the message window's questions and the hand-over of the focus to an open window all
# need to. A platform the learner chose stays theirs.
if [ -z "${QT_QPA_PLATFORM:-}" ] && [ -n "${DISPLAY:-}" ] &&
   { [ "${XDG_SESSION_TYPE:-}" = wayland ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  export QT_QPA_PLATFORM=xcb
fi

cd "$folder"
exec "$program" "$@"
