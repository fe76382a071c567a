#!/usr/bin/env bash
# Makes the voice of every course sentence: <onseiDir>/NNN.wav, NNN the three-digit sentence id.
#
#   make_voices.sh <textDir> <onseiDir>    make the voices whose sentence changed since the last run
#   make_voices.sh --list <textDir>        print "NNN<TAB>sentence" for every sentence of the course
#
# Block i (1..10) of course file cN.txt holds sentence (N-1)*10+i; its id is on line 5i-4 and its
# English on line 5i-2. <onseiDir>/.src/NNN.txt keeps the sentence each voice was made from, so a run
# only synthesises what changed; .src/voice.txt keeps the voice settings, and a change of those remakes
# everything. A missing course file leaves no voices for its ids. A malformed course file is reported
# and fails the run, but its voices are left alone and the other files are still processed.
#
# YOMIRIN_VOICE picks the engine as engine:voice:stretch (stretch > 1 speaks more slowly):
#   flite:slt:1.15   flite:kal:1.0   festival:kal_diphone:1.15   festival:cmu_us_slt_arctic_hts:1.15
#   espeak-ng:en-us:1.15
# YOMIRIN_VOICE_JOBS sets how many voices are synthesised at once (default 2).
set -euo pipefail

readonly DEFAULT_VOICE='flite:slt:1.15'
# Silence put before every voice: an audio device that is just waking up swallows the first
# tens of milliseconds, and an engine that starts speaking at sample 0 would lose its first sound.
readonly LEAD_SECONDS='0.15'

die() { printf 'make_voices: %s\n' "$*" >&2; exit 1; }

# Prints "NNN<TAB>sentence" per valid block; problems go to stderr and make the exit status 1.
# With an onsei folder it also prints "missing<TAB>NNN" for ids whose course file does not exist.
list_sentences() {
  python3 - "$@" <<'PY'
import os, re, sys

text_dir = sys.argv[1]
ok = True
for n in range(1, 51):
    path = os.path.join(text_dir, f"c{n}.txt")
    if not os.path.isfile(path):
        for i in range(1, 11):
            print(f"missing\t{(n - 1) * 10 + i:03d}")
        continue
    with open(path, "rb") as f:
        data = f.read()
    lines = data.split(b"\n")
    if lines and lines[-1] == b"":
        lines.pop()          # the line end of the last line
    lines = [l[:-1] if l.endswith(b"\r") else l for l in lines]
    if len(lines) != 51:
        print(f"{path}: {len(lines)} lines instead of 51", file=sys.stderr)
        ok = False
        continue
    blocks = []
    for i in range(1, 11):
        sid = (n - 1) * 10 + i
        id_line, english = lines[5 * i - 4], lines[5 * i - 2]
        if id_line.strip() != f"{sid:03d}".encode():
            print(f"{path}:{5 * i - 4}: expected sentence number {sid:03d}, found {id_line!r}",
                  file=sys.stderr)
            ok = False
            break
        # The sentence goes to a speech engine and into file names' stamps: printable ASCII only.
        if not re.fullmatch(rb"[\x20-\x7e]*[A-Za-z][\x20-\x7e]*", english) or english != english.strip():
            print(f"{path}:{5 * i - 2}: not an English sentence: {english!r}", file=sys.stderr)
            ok = False
            break
        blocks.append((sid, english.decode("ascii")))
    else:
        for sid, english in blocks:
            print(f"{sid:03d}\t{english}")
sys.exit(0 if ok else 1)
PY
}

# Engine command for one voice: reads the sentence from $1, writes a WAV of any format to $2.
synthesise() {
  local src=$1 out=$2 engine voice stretch
  IFS=: read -r engine voice stretch <<<"$YOMIRIN_VOICE"
  case $engine in
    flite)
      flite -voice "$voice" --setf duration_stretch="$stretch" -f "$src" -o "$out" ;;
    festival)
      local rate
      if [[ $voice == *_hts ]]; then
        # HTS voices ignore Duration_Stretch; their engine takes a speaking rate instead.
        rate=$(awk -v s="$stretch" 'BEGIN { printf "%.4f", 1 / s }')
        text2wave -eval "(voice_$voice)" \
          -eval "(set! hts_engine_params (append hts_engine_params (list (list \"-r\" $rate))))" \
          -o "$out" "$src" >/dev/null
      else
        text2wave -eval "(voice_$voice)" -eval "(Parameter.set 'Duration_Stretch $stretch)" \
          -o "$out" "$src" >/dev/null
      fi ;;
    espeak-ng)
      # 175 words per minute is the engine's normal rate.
      espeak-ng -v "$voice" -s "$(awk -v s="$stretch" 'BEGIN { printf "%d", 175 / s }')" \
        -w "$out" -f "$src" ;;
  esac
}

# Makes one voice from .src/NNN.txt.new. The wav and then the stamp are moved into place only when
# complete, so an interrupted run never leaves a stamp that claims a voice it did not finish.
make_one() {
  local dir=$1 id=$2
  local src="$dir/.src/$id.txt.new" raw="$dir/.$id.raw.wav" tmp="$dir/.$id.tmp.wav"
  if ! synthesise "$src" "$raw" || [[ ! -s $raw ]]; then
    rm -f "$raw"
    printf 'make_voices: synthesis failed for %s: %s\n' "$id" "$(<"$src")" >&2
    return 1
  fi
  # One format for every engine: 16 kHz 16-bit mono, a fixed lead-in, peaks just below full scale.
  sox -q "$raw" -r 16000 -b 16 -c 1 -e signed-integer "$tmp" pad "$LEAD_SECONDS" 0 gain -n -1
  rm -f "$raw"
  mv -f "$tmp" "$dir/$id.wav"
  mv -f "$src" "$dir/.src/$id.txt"
}

if [[ ${1:-} == --list ]]; then
  [[ $# -eq 2 ]] || die "usage: make_voices.sh --list <textDir>"
  status=0
  out=$(list_sentences "$2") || status=1
  grep -v '^missing' <<<"$out" || true
  exit "$status"
fi
if [[ ${1:-} == --one ]]; then  # used by the parallel workers below
  make_one "$2" "$3"
  exit
fi
[[ $# -eq 2 ]] || die "usage: make_voices.sh <textDir> <onseiDir>"
text_dir=$1
onsei_dir=$2
[[ -d $text_dir ]] || die "no course text folder: $text_dir"

export YOMIRIN_VOICE=${YOMIRIN_VOICE:-$DEFAULT_VOICE}
IFS=: read -r engine voice stretch <<<"$YOMIRIN_VOICE"
[[ $voice =~ ^[A-Za-z0-9_-]+$ ]] || die "bad voice in YOMIRIN_VOICE=$YOMIRIN_VOICE"
[[ $stretch =~ ^[0-9]+(\.[0-9]+)?$ ]] && awk -v s="$stretch" 'BEGIN { exit !(s >= 0.5 && s <= 3) }' \
  || die "stretch must be a number from 0.5 to 3 in YOMIRIN_VOICE=$YOMIRIN_VOICE"
case $engine in
  flite) tool=flite ;;
  festival) tool=text2wave ;;
  espeak-ng) tool=espeak-ng ;;
  *) die "unknown engine in YOMIRIN_VOICE=$YOMIRIN_VOICE" ;;
esac
for t in "$tool" sox python3; do
  command -v "$t" >/dev/null || die "$t is not installed"
done
jobs=${YOMIRIN_VOICE_JOBS:-2}
[[ $jobs =~ ^[1-9][0-9]*$ ]] || die "YOMIRIN_VOICE_JOBS must be a positive number"

mkdir -p "$onsei_dir/.src"
# Two builds sharing one program folder must not synthesise into it at the same time.
exec 9>"$onsei_dir/.src/lock"
flock 9
rm -f "$onsei_dir"/.*.raw.wav "$onsei_dir"/.*.tmp.wav "$onsei_dir"/.src/*.txt.new

settings="$YOMIRIN_VOICE lead=$LEAD_SECONDS"
if [[ ! -f $onsei_dir/.src/voice.txt || $(<"$onsei_dir/.src/voice.txt") != "$settings" ]]; then
  rm -f "$onsei_dir"/.src/[0-9][0-9][0-9].txt
  printf '%s\n' "$settings" >"$onsei_dir/.src/voice.txt"
fi

listing=$(mktemp)
trap 'rm -f "$listing" "$listing.todo"' EXIT
status=0
list_sentences "$text_dir" >"$listing" || status=1

todo="$listing.todo"
: >"$todo"
while IFS=$'\t' read -r id sentence; do
  if [[ $id == missing ]]; then
    rm -f "$onsei_dir/$sentence.wav" "$onsei_dir/.src/$sentence.txt"
    continue
  fi
  stamp="$onsei_dir/.src/$id.txt"
  if [[ -s $onsei_dir/$id.wav && -f $stamp && $(<"$stamp") == "$sentence" ]]; then
    continue
  fi
  printf '%s\n' "$sentence" >"$onsei_dir/.src/$id.txt.new"
  printf '%s\n' "$id" >>"$todo"
done <"$listing"

count=$(wc -l <"$todo")
if ((count > 0)); then
  printf 'make_voices: synthesising %d voice(s) with %s\n' "$count" "$YOMIRIN_VOICE"
  xargs -P "$jobs" -n 1 bash "${BASH_SOURCE[0]}" --one "$onsei_dir" <"$todo" || status=1
fi
exit "$status"
