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
#   festival:cmu_us_slt_arctic_hts:1.3 (the default)   festival:kal_diphone:1.15
#   flite:slt:1.15   flite:rms:1.15   flite:kal16:1.0   espeak-ng:en-us:1.15
# YOMIRIN_VOICE_JOBS sets how many voices are synthesised at once (default 2).
set -euo pipefail

# Chosen by listening measures: see VOICES.md.
readonly DEFAULT_VOICE='festival:cmu_us_slt_arctic_hts:1.3'
# Silence put before every voice: an audio device that is just waking up swallows the first
# tens of milliseconds, and an engine that starts speaking at sample 0 would lose its first sound.
readonly LEAD_SECONDS='0.15'

die() { printf 'make_voices: %s\n' "$*" >&2; exit 1; }

# Prints "NNN<TAB>sentence" per valid block and "missing<TAB>NNN" for the ids of course files that
# do not exist; problems go to stderr and make the exit status 1.
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
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        print(f"{path}: {e.strerror}", file=sys.stderr)
        ok = False
        continue
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
        # The sentence goes to a speech engine and into a stamp read back as one line of text.
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

# A string as a Scheme literal for festival.
scheme_string() {
  local s=${1//\\/\\\\}
  printf '"%s"' "${s//\"/\\\"}"
}

# Festival takes a third of a second to start and load a voice but only tens of milliseconds per
# sentence, so one festival run synthesises a whole chunk: for each id the sentence file
# .src/NNN.txt.new becomes .NNN.raw.wav, the same way text2wave joins the utterances of a file.
festival_chunk() {
  local dir=$1 voice=$2 stretch=$3 chunk=$4 id setup
  if [[ $voice == *_hts ]]; then
    # HTS voices ignore Duration_Stretch; their engine takes a speaking rate instead.
    setup="(set! hts_engine_params (append hts_engine_params (list (list \"-r\" $(
      awk -v s="$stretch" 'BEGIN { printf "%.4f", 1 / s }')))))"
  else
    setup="(Parameter.set 'Duration_Stretch $stretch)"
  fi
  {
    cat <<SCM
(voice_$voice)
$setup
(gc-status nil)
(defvar yomirin_fp nil)
(defvar yomirin_samples 0)
(defvar yomirin_utt nil)
(define (yomirin_save utt)
  (if (eq? yomirin_samples 0)
      (wave.save.header yomirin_fp (utt.wave utt) 'riff nil (list (list "numsamples" 0))))
  (set! yomirin_samples (+ yomirin_samples (get_param 'num_samples (wave.info (utt.wave utt)) 0)))
  (wave.save.data.fp (utt.wave utt) yomirin_fp 'riff nil)
  (set! yomirin_utt utt))
(set! tts_hooks (list utt.synth yomirin_save))
(define (yomirin_synth src out)
  (set! yomirin_fp (fopen out "wb"))
  (set! yomirin_samples 0)
  (set! yomirin_utt nil)
  (tts_file src nil)
  (if yomirin_utt
      (begin
        (fseek yomirin_fp 0 0)
        (wave.save.header yomirin_fp (utt.wave yomirin_utt) 'riff nil
                          (list (list "numsamples" yomirin_samples)))))
  (fclose yomirin_fp))
SCM
    while read -r id; do
      printf '(yomirin_synth %s %s)\n' "$(scheme_string "$dir/.src/$id.txt.new")" \
        "$(scheme_string "$dir/.$id.raw.wav")"
    done <"$chunk"
  } >"$chunk.scm"
  festival --batch "$chunk.scm" >/dev/null </dev/null || true  # each voice is checked below
}

# Engine command for one voice: reads the sentence from $src, writes a WAV of any format to $out.
synthesise() {
  local engine=$1 voice=$2 stretch=$3 src=$4 out=$5
  case $engine in
    flite)
      flite -voice "$voice" --setf duration_stretch="$stretch" -f "$src" -o "$out" ;;
    espeak-ng)
      # 175 words per minute is the engine's normal rate.
      espeak-ng -v "$voice" -s "$(awk -v s="$stretch" 'BEGIN { printf "%d", 175 / s }')" \
        -w "$out" -f "$src" ;;
  esac
}

# Makes the voices of the ids listed in file $2 from their .src/NNN.txt.new. Each wav and then its
# stamp are moved into place only when complete, so an interrupted run never leaves a stamp that
# claims a voice it did not finish.
make_chunk() {
  local dir=$1 chunk=$2 engine voice stretch id src raw tmp status=0
  IFS=: read -r engine voice stretch <<<"$YOMIRIN_VOICE"
  [[ $engine == festival ]] && festival_chunk "$dir" "$voice" "$stretch" "$chunk"
  while read -r id; do
    src="$dir/.src/$id.txt.new" raw="$dir/.$id.raw.wav" tmp="$dir/.$id.tmp.wav"
    if [[ $engine != festival ]]; then
      synthesise "$engine" "$voice" "$stretch" "$src" "$raw" || true
    fi
    # An engine that failed may have left a header without sound.
    if [[ ! -s $raw ]] || (($(stat -c %s "$raw") <= 44)); then
      rm -f "$raw"
      printf 'make_voices: synthesis failed for %s: %s\n' "$id" "$(<"$src")" >&2
      status=1
      continue
    fi
    # One format for every engine: 16 kHz 16-bit mono, a fixed lead-in, peaks just below full scale;
    # no dither, so the same sentence always gives the same file.
    if ! sox -q -D "$raw" -r 16000 -b 16 -c 1 -e signed-integer "$tmp" pad "$LEAD_SECONDS" 0 gain -n -1; then
      rm -f "$raw" "$tmp"
      printf 'make_voices: could not convert the voice of %s\n' "$id" >&2
      status=1
      continue
    fi
    rm -f "$raw"
    mv -f "$tmp" "$dir/$id.wav"
    mv -f "$src" "$dir/.src/$id.txt"
  done <"$chunk"
  return "$status"
}

if [[ ${1:-} == --list ]]; then
  [[ $# -eq 2 ]] || die "usage: make_voices.sh --list <textDir>"
  status=0
  out=$(list_sentences "$2") || status=1
  grep -v '^missing' <<<"$out" || true
  exit "$status"
fi
if [[ ${1:-} == --chunk ]]; then  # used by the parallel workers below
  make_chunk "$2" "$3"
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
  festival) tool=festival ;;
  espeak-ng) tool=espeak-ng ;;
  *) die "unknown engine in YOMIRIN_VOICE=$YOMIRIN_VOICE" ;;
esac
for t in "$tool" sox python3; do
  command -v "$t" >/dev/null || die "$t is not installed"
done
# A voice that is not installed would otherwise fail once per sentence.
case $engine in
  festival) festival -b "(voice_$voice)" >/dev/null 2>&1 ;;
  flite) flite -lv | grep -qw -- "$voice" ;;
  espeak-ng) espeak-ng -v "$voice" -q "" >/dev/null 2>&1 ;;
esac || die "voice $voice of $engine is not installed (the default needs the packages festival and" \
  "festvox-us-slt-hts; YOMIRIN_VOICE=flite:slt:1.15 needs only flite)"
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

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
listing=$work/listing
status=0
list_sentences "$text_dir" >"$listing" || status=1

todo=$work/todo
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
  # Dealt out in turn, so every worker gets sentences from the whole course and about as much work.
  ((jobs > count)) && jobs=$count
  chunks=()
  for ((j = 0; j < jobs; j++)); do
    chunks+=("$work/chunk$j")
    awk -v j="$j" -v n="$jobs" '(NR - 1) % n == j' "$todo" >"$work/chunk$j"
  done
  printf '%s\n' "${chunks[@]}" \
    | xargs -P "$jobs" -n 1 bash "${BASH_SOURCE[0]}" --chunk "$onsei_dir" || status=1
fi
exit "$status"
