#!/usr/bin/env bash
# What the course voice says must be what was reviewed: a fresh transcript of the course
# (make_voices.sh --transcript) must equal course/pronunciations.txt, and every word must be known
# to festival's lexicon or to ours.
#   test_pronunciations.sh [TRANSCRIPT]   TRANSCRIPT: one the build made with the course's voice,
#                                         remade whenever a sentence, the lexicon or the script changes
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
reviewed=$here/pronunciations.txt
status=0
if (($# == 1)); then
  fresh=$1
else
  fresh=$(mktemp)
  trap 'rm -f "$fresh"' EXIT
  # The reviewed transcript is of the course's own voice, whatever voice this machine builds with.
  env -u YOMIRIN_VOICE bash "$here/make_voices.sh" --transcript "$here/text" "$fresh" || status=1
fi
if ! diff -u --label "$reviewed" --label "what the voice says now" "$reviewed" "$fresh"; then
  printf '\nThe voice now says the lines above differently. Listen to them; when they are right,\n'
  printf 'take them into the reviewed copy:\n'
  printf '  bash course/make_voices.sh --transcript course/text course/pronunciations.txt\n'
  printf '(or build the target update_pronunciations).\n'
  status=1
fi
((status == 0)) && echo "the voice says every sentence as reviewed"
exit "$status"
