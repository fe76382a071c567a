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

cd "$folder"
exec "$program" "$@"
