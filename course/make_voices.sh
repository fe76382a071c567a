#!/usr/bin/env bash
# Makes the voice of every course sentence: <onseiDir>/NNN.wav, NNN the three-digit sentence id.
#
#   make_voices.sh <textDir> <onseiDir>    make the voices whose sentence changed since the last run
#   make_voices.sh --list <textDir>        print "NNN<TAB>sentence" for every sentence of the course
#   make_voices.sh --check <onseiDir>      print the loudness figures of the voices made, and fail
#                                          when one of them, or the chime, is outside the limits
#   make_voices.sh --transcript <textDir> <outFile>
#                                          write what festival says: "NNN<TAB>sentence<TAB>phones",
#                                          the phones of each written word separated by " | "; fails
#                                          when a word is missing from festival's lexicon and ours
#
# Block i (1..10) of course file cN.txt holds sentence (N-1)*10+i; its id is on line 5i-4 and its
# English on line 5i-2. <onseiDir>/.src/NNN.txt keeps what each voice was made from (the text the
# voice read and the entries of our lexicon it used), so a run only synthesises what changed;
# .src/voice.txt keeps the voice settings, and a change of those remakes everything. A missing course
# file leaves no voices for its ids. A malformed course file is reported and fails the run, but its
# voices are left alone and the other files are still processed.
#
# festival voices read with our pronunciations added to its lexicon (course/lexicon.scm, or the file
# YOMIRIN_LEXICON names), and read some sentences in another spelling where festival gets a homograph
# wrong (course/voice_spellings.txt, or YOMIRIN_VOICE_SPELLINGS); the screen text never changes.
#
# YOMIRIN_VOICE picks the engine as engine:voice:stretch (stretch > 1 speaks more slowly):
#   festival:cmu_us_slt_arctic_hts:1.3 (the default)   festival:kal_diphone:1.15
#   flite:slt:1.15   flite:rms:1.15   flite:kal16:1.0   espeak-ng:en-us:1.15
# YOMIRIN_VOICE_JOBS sets how many voices are synthesised at once (default 2).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
lexicon=$(realpath -m -- "${YOMIRIN_LEXICON:-$here/lexicon.scm}")
spellings=${YOMIRIN_VOICE_SPELLINGS:-$here/voice_spellings.txt}

# Chosen by listening measures: see VOICES.md.
readonly DEFAULT_VOICE='festival:cmu_us_slt_arctic_hts:1.3'
# A voice starts speaking at once: the engine's own silence before the sentence is cut up to its
# first audible sound (HEAD_TRIM, the level by which a listener hears speech begin) and after it
# below TAIL_TRIM, then a short fade-in keeps the first sound from clicking and a few milliseconds of
# lead and a short tail are put back. The player keeps its output open, so no device swallows the
# start. HEAD_LIMIT_MS is what a voice may have before its first audible sample (-40 dBFS).
readonly LEAD_SECONDS='0.01'
readonly FADE_SECONDS='0.005'
readonly TAIL_SECONDS='0.1'
readonly HEAD_TRIM='-40d'
readonly TAIL_TRIM='-50d'
readonly HEAD_LIMIT_MS=30
# Every voice is brought to one loudness, the chime's, as ffmpeg's EBU R128 meter hears it (its
# integrated loudness weights the frequencies as the ear does and leaves the pauses out), so that no
# sentence is quieter than the next. A lookahead limiter then holds the peaks at PEAK_CEILING: a few
# voices speak peakier than most, and festival starts some sentences with a loud first few pitch
# periods (a vowel or voiced sound straight after the silence), which would otherwise clip or stand
# out as a burst. The build refuses a voice that ends up further than LOUDNESS_TOLERANCE from the
# target, that clips, or whose first HEAD_SECONDS peak more than HEAD_PEAK_RATIO times the rest.
readonly LOUDNESS_TARGET=-17     # LUFS; tools/chime makes the chime as loud
readonly LOUDNESS_TOLERANCE=1.5  # dB
readonly PEAK_CEILING=-1         # dBFS
readonly LIMITER='attack=5:release=50'  # ms: it looks 5 ms ahead, so a peak is met, not clipped
readonly HEAD_SECONDS=0.06
readonly HEAD_PEAK_RATIO=1.5

# Prints "path<TAB>integrated loudness in LUFS" for each of the WAVE files given, from one run of
# ffmpeg per hundred files (its start costs ten times the measuring of a sentence). Each file is
# measured played twice: the meter needs 0.4 s of sound, and a word such as "Why?" can be shorter.
loudness_of() {
  local files=("$@") from i args outs
  for ((from = 0; from < ${#files[@]}; from += 100)); do
    args=() outs=()
    for ((i = from; i < from + 100 && i < ${#files[@]}; i++)); do
      args+=(-stream_loop 1 -i "file:${files[i]}")
      outs+=(-map "$((i - from)):a" -af "ebur128@v$i=framelog=verbose" -f null -)
    done
    # Each meter names its summary by its file's index ("[ebur128@v12 @ 0x...] Summary:"), and the
    # integrated loudness follows on a line "I: -17.0 LUFS".
    ffmpeg -nostdin -hide_banner -nostats "${args[@]}" "${outs[@]}" 2>&1 \
      | awk '/^\[ebur128@v[0-9]+ @ .*\] Summary:/ { sub(/^\[ebur128@v/, ""); n = $1 + 0; next }
             n != "" && $1 == "I:" { print n "\t" $2; n = "" }'
  done | while IFS=$'\t' read -r i lufs; do printf '%s\t%s\n' "${files[i]}" "$lufs"; done
}

# Prints "path<TAB>LUFS<TAB>peak dBFS<TAB>head peak / rest peak<TAB>ms before speech<TAB>problems"
# for each voice given, the problems empty for a voice within every limit above. A file ffmpeg could
# not measure is missing from the output.
voice_figures() {
  (($# > 0)) || return 0
  loudness_of "$@" | python3 -c '
import array, math, sys, wave
target, tolerance, head_seconds, head_ratio_limit, lead_limit_ms = map(float, sys.argv[1:6])
audible = 32768 * 10 ** (-40 / 20)
for line in sys.stdin:
    path, lufs = line.rstrip("\n").split("\t")
    lufs = float(lufs)
    with wave.open(path, "rb") as w:
        rate = w.getframerate()
        samples = array.array("h", w.readframes(w.getnframes()))
    if sys.byteorder == "big":
        samples.byteswap()
    magnitudes = [abs(s) for s in samples] or [0]
    peak = max(magnitudes)
    head = int(rate * head_seconds)
    rest = max(magnitudes[head:], default=0)
    ratio = max(magnitudes[:head]) / rest if rest else math.inf
    lead_ms = next((i for i, m in enumerate(magnitudes) if m > audible), len(magnitudes)) * 1000 / rate
    problems = []
    if abs(lufs - target) > tolerance:
        problems.append(f"loudness {lufs:.1f} LUFS instead of {target:g} \u00b1{tolerance:g}")
    if peak >= 32767:
        problems.append("clipped")
    if ratio > head_ratio_limit:
        problems.append(f"its first {head_seconds * 1000:g} ms peak {ratio:.2f} times the rest")
    if lead_ms > lead_limit_ms:
        problems.append(f"starts only after {lead_ms:.0f} ms")
    peak_db = 20 * math.log10(peak / 32768) if peak else -math.inf
    problems = "; ".join(problems)
    print(f"{path}\t{lufs:.1f}\t{peak_db:.2f}\t{ratio:.2f}\t{lead_ms:.0f}\t{problems}")
' "$LOUDNESS_TARGET" "$LOUDNESS_TOLERANCE" "$HEAD_SECONDS" "$HEAD_PEAK_RATIO" "$HEAD_LIMIT_MS"
}

# Prints in one line the figures of the voices whose voice_figures lines come on stdin.
summarise_figures() {
  python3 -c '
import statistics, sys
target, tolerance, head_seconds, head_ratio = sys.argv[1:5]
rows = [line.rstrip("\n").split("\t") for line in sys.stdin if line.strip()]
if rows:
    lufs = sorted(float(r[1]) for r in rows)
    clipped = sum("clipped" in r[5] for r in rows)
    print(f"make_voices: {len(rows)} voices at {statistics.median(lufs):.1f} LUFS (median; from {lufs[0]:.1f}"
          f" to {lufs[-1]:.1f}, target {target} \u00b1{tolerance}); peaks at most"
          f" {max(float(r[2]) for r in rows):.1f} dBFS, {clipped} clipped;"
          f" the first {float(head_seconds) * 1000:g} ms peak at most {max(float(r[3]) for r in rows):.2f}"
          f" times the rest (limit {head_ratio}); speech starts within {max(int(r[4]) for r in rows)} ms")
' "$LOUDNESS_TARGET" "$LOUDNESS_TOLERANCE" "$HEAD_SECONDS" "$HEAD_PEAK_RATIO"
}

# Checks every voice in folder $1 against the limits above and prints their figures; the chime
# (seikai.wav), where the folder has it, must be as loud as the voices. Fails on any voice outside
# the limits.
check_voices() {
  local dir=$1 voices=() figures chime status=0
  voices=("$dir"/[0-9][0-9][0-9].wav)
  [[ -e ${voices[0]} ]] || { printf 'make_voices: no voices in %s\n' "$dir" >&2; return 1; }
  figures=$(voice_figures "${voices[@]}")
  if (($(grep -c . <<<"$figures") != ${#voices[@]})); then
    printf 'make_voices: the loudness of some voices in %s could not be measured\n' "$dir" >&2
    status=1
  fi
  awk -F'\t' '$6 != "" { n = $1; sub(/.*\//, "", n); printf "make_voices: the voice %s: %s\n", n, $6; bad = 1 }
               END { exit bad }' <<<"$figures" >&2 || status=1
  summarise_figures <<<"$figures"
  if [[ -f $dir/seikai.wav ]]; then
    chime=$(loudness_of "$dir/seikai.wav" | cut -f2)
    printf 'make_voices: the chime at %s LUFS\n' "$chime"
    awk -v c="$chime" -v t="$LOUDNESS_TARGET" -v d="$LOUDNESS_TOLERANCE" 'BEGIN { exit !(c - t <= d && t - c <= d) }' \
      || { printf 'make_voices: the chime is not as loud as the voices (%s LUFS)\n' "$LOUDNESS_TARGET" >&2; status=1; }
  fi
  return "$status"
}

die() { printf 'make_voices: %s\n' "$*" >&2; exit 1; }

# Prints "NNN<TAB>sentence<TAB>stamp" per valid block and "missing<TAB>NNN" for the ids of course
# files that do not exist; problems go to stderr and make the exit status 1. The stamp is what the
# voice is made from: the text it reads, then a tab before each entry of our lexicon that text uses.
list_sentences() {
  python3 - "$1" "$lexicon" "$spellings" <<'PY'
import os, re, sys

text_dir, lexicon_path, spellings_path = sys.argv[1:4]
ok = True

def problem(message):
    global ok
    print(message, file=sys.stderr)
    ok = False

# Our lexicon: one lex.add.entry a line, found again here to know which sentences each entry touches.
entries = {}
try:
    with open(lexicon_path, encoding="utf-8") as f:
        for n, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith(";"):
                continue
            m = re.fullmatch(r"""\(lex\.add\.entry '\("([a-z']+)" .*\)\)""", line)
            if not m:
                problem(f"{lexicon_path}:{n}: not one (lex.add.entry '(\"word\" ...)) on its own line")
            elif m.group(1) in entries:
                problem(f"{lexicon_path}:{n}: a second entry for {m.group(1)}")
            else:
                entries[m.group(1)] = " ".join(line.split())
except (OSError, UnicodeDecodeError) as e:
    problem(f"{lexicon_path}: {e}")

# Spellings for the voice: id -> (sentence as the course has it, sentence as the voice reads it).
spoken = {}
if os.path.exists(spellings_path):
    try:
        with open(spellings_path, encoding="ascii") as f:
            for n, line in enumerate(f, 1):
                line = line.rstrip("\n")
                if not line.strip() or line.startswith("#"):
                    continue
                fields = line.split("\t")
                if (len(fields) != 3 or not re.fullmatch(r"\d{3}", fields[0]) or fields[0] in spoken
                        or not re.fullmatch(r"[\x20-\x7e]*[A-Za-z][\x20-\x7e]*", fields[2])):
                    problem(f"{spellings_path}:{n}: expected a new id, the sentence and its spelling"
                            " for the voice, separated by tabs")
                    continue
                spoken[fields[0]] = (fields[1], fields[2], n)
    except (OSError, UnicodeDecodeError) as e:
        problem(f"{spellings_path}: {e}")

def stamp(sid, english):
    text = english
    if sid in spoken:
        course_text, voice_text, n = spoken[sid]
        if course_text == english:
            text = voice_text
        else:
            problem(f"{spellings_path}:{n}: sentence {sid} now reads {english!r}: update or remove"
                    " its spelling")
    used = []
    for word in re.findall(r"[A-Za-z']+", text):
        word = word.lower().strip("'")
        for key in (word, word[:-2] if word.endswith("'s") else None):
            if key in entries and entries[key] not in used:
                used.append(entries[key])
    return "\t".join([text] + used)
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
            print(f"{sid:03d}\t{english}\t{stamp(f'{sid:03d}', english)}")
sys.exit(0 if ok else 1)
PY
}

# A string as a Scheme literal for festival.
scheme_string() {
  local s=${1//\\/\\\\}
  printf '"%s"' "${s//\"/\\\"}"
}

# Festival takes a third of a second to start and load a voice but only tens of milliseconds per
# sentence, so one festival run synthesises a whole chunk: for each id the text file .NNN.say.txt
# becomes .NNN.raw.wav, the same way text2wave joins the utterances of a file.
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
(load $(scheme_string "$lexicon"))
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
      printf '(yomirin_synth %s %s)\n' "$(scheme_string "$dir/.$id.say.txt")" \
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

# Makes the voices of the ids listed in file $2 from their stamps .src/NNN.txt.new, whose first field
# is the text to read. Each wav and then its stamp are moved into place only when complete, so an
# interrupted run never leaves a stamp that claims a voice it did not finish.
make_chunk() {
  local dir=$1 chunk=$2 engine voice stretch id say raw trim tmp lufs rest gain limit status=0
  local trimmed=() measured=() made=() args=() outs=() leftovers=() i after_head
  IFS=: read -r engine voice stretch <<<"$YOMIRIN_VOICE"
  while read -r id; do
    IFS=$'\t' read -r say _ <"$dir/.src/$id.txt.new"
    printf '%s\n' "$say" >"$dir/.$id.say.txt"
  done <"$chunk"
  [[ $engine == festival ]] && festival_chunk "$dir" "$voice" "$stretch" "$chunk"
  while read -r id; do
    say="$dir/.$id.say.txt" raw="$dir/.$id.raw.wav" trim="$dir/.$id.trim.wav"
    if [[ $engine != festival ]]; then
      synthesise "$engine" "$voice" "$stretch" "$say" "$raw" || true
    fi
    # An engine that failed may have left a header without sound.
    if [[ ! -s $raw ]] || (($(stat -c %s "$raw") <= 44)); then
      printf 'make_voices: synthesis failed for %s: %s\n' "$id" "$(<"$say")" >&2
      rm -f "$raw" "$say"
      status=1
      continue
    fi
    # One format for every engine: 16 kHz 16-bit mono, the engine's silence cut (from a peak of
    # -1 dBFS, so that the cut levels mean the same for every engine); no dither, so the same
    # sentence always gives the same file.
    if ! sox -q -D "$raw" -r 16000 -b 16 -c 1 -e signed-integer "$trim" gain -n -1 \
           silence 1 0.002 "$HEAD_TRIM" reverse silence 1 0.005 "$TAIL_TRIM" reverse; then
      rm -f "$raw" "$trim" "$say"
      printf 'make_voices: could not convert the voice of %s\n' "$id" >&2
      status=1
      continue
    fi
    leftovers+=("$raw" "$say")
    trimmed+=("$trim")
  done <"$chunk"

  # Each voice to the target loudness, as measured on its speech alone, through the limiter (in
  # floating point, so nothing clips on the way); then the fade-in, the lead and the tail. The limit is
  # the ceiling, or the peak of the voice after its head where that is lower: festival starts some
  # sentences with a few pitch periods far louder than anything after them, and they are held to it.
  ((${#leftovers[@]} == 0)) || rm -f "${leftovers[@]}"
  ((${#trimmed[@]})) && mapfile -t measured < <(loudness_of "${trimmed[@]}")
  after_head=$(awk -v h="$HEAD_SECONDS" -v l="$LEAD_SECONDS" 'BEGIN { print h - l }')
  for ((i = 0; i < ${#measured[@]}; i++)); do
    IFS=$'\t' read -r trim lufs <<<"${measured[i]}"
    id=${trim##*/.} id=${id%%.*}
    rest=$(sox "$trim" -n trim "$after_head" stats 2>&1 | awk '$1 == "Pk" && $2 == "lev" { print $4 }')
    read -r gain limit < <(awk -v t="$LOUDNESS_TARGET" -v l="$lufs" -v c="$PEAK_CEILING" -v r="$rest" \
      'BEGIN { g = t - l; m = (r ~ /^-?[0-9.]+$/ && r + g < c) ? r + g : c; printf "%.2f %.2f\n", g, m }')
    args+=(-i "file:$trim")
    outs+=(-map "$((${#args[@]} / 2 - 1)):a" -af "volume=${gain}dB,alimiter=limit=${limit}dB:$LIMITER:level=false:latency=true" \
      -c:a pcm_f32le -y "file:$dir/.$id.loud.wav")
    if ((${#args[@]} == 200 || i == ${#measured[@]} - 1)); then
      ffmpeg -nostdin -hide_banner -nostats -loglevel error "${args[@]}" "${outs[@]}" || status=1
      args=() outs=()
    fi
  done
  leftovers=()
  for trim in "${trimmed[@]}"; do
    id=${trim##*/.} id=${id%%.*} tmp="$dir/.$id.tmp.wav"
    if sox -q -D "$dir/.$id.loud.wav" -b 16 -e signed-integer "$tmp" \
         fade t "$FADE_SECONDS" pad "$LEAD_SECONDS" "$TAIL_SECONDS" 2>/dev/null; then
      made+=("$tmp")
    else
      printf 'make_voices: could not bring the voice of %s to its loudness\n' "$id" >&2
      status=1
    fi
    leftovers+=("$trim" "$dir/.$id.loud.wav")
  done
  ((${#leftovers[@]} == 0)) || rm -f "${leftovers[@]}"

  # Each wav and then its stamp are moved into place only when complete and within the limits.
  local -A problems_of=() figures_of=()
  local path _lufs _peak _ratio _lead problems line
  while IFS= read -r line; do
    IFS=$'\t' read -r path _lufs _peak _ratio _lead problems <<<"$line"
    problems_of[$path]=${problems:-none}
    figures_of[$path]=$line
  done < <(voice_figures "${made[@]}")
  for tmp in "${made[@]}"; do
    id=${tmp##*/.} id=${id%%.*}
    problems=${problems_of[$tmp]:-its loudness could not be measured}
    if [[ $problems != none ]]; then
      printf 'make_voices: the voice of %s: %s\n' "$id" "$problems" >&2
      rm -f "$tmp"
      status=1
      continue
    fi
    mv -f "$tmp" "$dir/$id.wav"
    mv -f "$dir/.src/$id.txt.new" "$dir/.src/$id.txt"
    printf '%s\n' "${figures_of[$tmp]}" >>"$chunk.figures"
  done
  return "$status"
}

# Writes to $2 (or stdout for "-") what festival says for every sentence of course folder $1:
# "NNN<TAB>sentence<TAB>phones", the phones of each written word separated by " | ". It runs the
# voice's text analysis only, the same way its synthesis splits a line into utterances, so it takes
# seconds for the whole course. Fails, after writing, when a word is known neither to festival's
# lexicon nor to ours (festival would guess it from its letters).
transcript() {
  local text_dir=$1 out=$2 engine voice stretch status=0 work id sentence made_from
  IFS=: read -r engine voice stretch <<<"${YOMIRIN_VOICE:-$DEFAULT_VOICE}"
  [[ $engine == festival ]] || IFS=: read -r engine voice stretch <<<"$DEFAULT_VOICE"
  command -v festival >/dev/null || die "festival is not installed"
  festival -b "(voice_$voice)" >/dev/null 2>&1 || die "voice $voice of festival is not installed"
  work=$(mktemp -d)
  # shellcheck disable=SC2064  # expand now: the trap runs after this function's locals are gone
  trap "rm -rf '$work'" EXIT
  list_sentences "$text_dir" >"$work/listing" || status=1
  {
    cat <<SCM
(voice_$voice)
(load $(scheme_string "$lexicon"))
(gc-status nil)
(define (yomirin_join strings separator)
  (if strings
      (apply string-append
             (cons (car strings) (mapcar (lambda (s) (string-append separator s)) (cdr strings))))
      ""))
;; The text of each utterance festival's text-to-speech makes of a line, cut where its end of
;; utterance tree says (after "?" or "!", after "." unless it looks like an abbreviation).
(define (yomirin_chunks text)
  (let ((utt (eval (list 'Utterance 'Text text))) (chunks nil) (current ""))
    (Initialize utt)
    (Text utt)
    (mapcar
     (lambda (token)
       (set! current
             (string-append current
                            (if (string-equal current "") "" (item.feat token "whitespace"))
                            (item.feat token "prepunctuation") (item.name token)
                            (if (string-equal (item.feat token "punc") "0") "" (item.feat token "punc"))))
       (if (and (item.next token) (equal? (wagon_predict token eou_tree) 1))
           (begin (set! chunks (cons current chunks)) (set! current ""))))
     (utt.relation.items utt 'Token))
    (reverse (cons current chunks))))
;; The phones of all the words a written token became ("Ken's", "TV").
(define (yomirin_token_phones token)
  (let ((phones nil))
    (mapcar
     (lambda (word)
       (if (item.relation word 'SylStructure)
           (mapcar (lambda (syllable)
                     (mapcar (lambda (segment) (set! phones (cons (item.name segment) phones)))
                             (item.daughters syllable)))
                   (item.daughters (item.relation word 'SylStructure)))))
     (item.daughters token))
    (yomirin_join (reverse phones) " ")))
(define (yomirin_transcribe id sentence text)
  (let ((words nil))
    (mapcar
     (lambda (chunk)
       (let ((utt (eval (list 'Utterance 'Text chunk))))
         (Initialize utt) (Text utt) (Token_POS utt) (Token utt) (POS utt) (Phrasify utt)
         (Word utt) (Pauses utt) (Intonation utt) (PostLex utt)
         (mapcar (lambda (word)
                   (if (not (lex.lookup_all (item.name word)))
                       (format t "unknown\t%s\t%s\n" id (item.name word))))
                 (utt.relation.items utt 'Word))
         (mapcar (lambda (token)
                   (let ((phones (yomirin_token_phones token)))
                     (if (not (string-equal phones "")) (set! words (cons phones words)))))
                 (utt.relation.items utt 'Token))))
     (yomirin_chunks text))
    (format t "line\t%s\t%s\t%s\n" id sentence (yomirin_join (reverse words) " | "))))
SCM
    while IFS=$'\t' read -r id sentence made_from; do
      [[ $id == missing ]] && continue
      printf '(yomirin_transcribe "%s" %s %s)\n' "$id" "$(scheme_string "$sentence")" \
        "$(scheme_string "${made_from%%$'\t'*}")"
    done <"$work/listing"
  } >"$work/transcript.scm"
  festival --batch "$work/transcript.scm" </dev/null >"$work/said" || status=1
  sed -n 's/^line\t//p' "$work/said" >"$work/transcript"
  if [[ $(wc -l <"$work/transcript") != $(grep -vc '^missing' "$work/listing") ]]; then
    printf 'make_voices: festival did not transcribe every sentence\n' >&2
    status=1
  fi
  if [[ $out == - ]]; then
    cat "$work/transcript"
  else
    cp "$work/transcript" "$out.part" && mv -f "$out.part" "$out"
  fi
  if grep -q '^unknown' "$work/said"; then
    printf 'make_voices: festival'\''s lexicon does not know these words of the course; add them to %s:\n' \
      "$lexicon" >&2
    # "unknown<TAB>id<TAB>word" lines, one line per word with the ids where it occurs
    awk -F'\t' '$1 == "unknown" { ids[$3] = ids[$3] (ids[$3] == "" ? "" : " ") $2 }
                END { for (w in ids) printf "  %s (%s)\n", w, ids[w] }' "$work/said" | sort >&2
    status=1
  fi
  return "$status"
}

if [[ ${1:-} == --list ]]; then
  [[ $# -eq 2 ]] || die "usage: make_voices.sh --list <textDir>"
  status=0
  out=$(list_sentences "$2") || status=1
  grep -v '^missing' <<<"$out" | cut -f1,2 || true
  exit "$status"
fi
if [[ ${1:-} == --transcript ]]; then
  [[ $# -eq 3 ]] || die "usage: make_voices.sh --transcript <textDir> <outFile>"
  [[ -d $2 ]] || die "no course text folder: $2"
  transcript "$2" "$3"
  exit
fi
if [[ ${1:-} == --check ]]; then
  [[ $# -eq 2 ]] || die "usage: make_voices.sh --check <onseiDir>"
  check_voices "$2"
  exit
fi
if [[ ${1:-} == --chunk ]]; then  # used by the parallel workers below
  make_chunk "$2" "$3"
  exit
fi
[[ $# -eq 2 ]] || die "usage: make_voices.sh <textDir> <onseiDir>"
text_dir=$1
onsei_dir=$2
[[ -d $text_dir ]] || die "no course text folder: $text_dir"
[[ -r $lexicon ]] || die "no pronunciation lexicon: $lexicon"

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
for t in "$tool" sox ffmpeg python3; do
  command -v "$t" >/dev/null || die "$t is not installed"
done
jobs=${YOMIRIN_VOICE_JOBS:-2}
[[ $jobs =~ ^[1-9][0-9]*$ ]] || die "YOMIRIN_VOICE_JOBS must be a positive number"

mkdir -p "$onsei_dir/.src"
# Two builds sharing one program folder must not synthesise into it at the same time.
exec 9>"$onsei_dir/.src/lock"
flock 9
rm -f "$onsei_dir"/.*.raw.wav "$onsei_dir"/.*.trim.wav "$onsei_dir"/.*.loud.wav "$onsei_dir"/.*.tmp.wav \
  "$onsei_dir"/.*.say.txt "$onsei_dir"/.src/*.txt.new

# A voice that is not installed would otherwise fail once per sentence. It is looked for only where
# there is something to make (starting festival to ask takes a second), and before the settings
# change, so that a voice not installed leaves the voices made before as they were.
voice_checked=
check_voice_installed() {
  case $engine in
    festival) festival -b "(voice_$voice)" >/dev/null 2>&1 ;;
    flite) flite -lv | grep -qw -- "$voice" ;;
    espeak-ng) espeak-ng -v "$voice" -q "" >/dev/null 2>&1 ;;
  esac || die "voice $voice of $engine is not installed (the default needs the packages festival and" \
    "festvox-us-slt-hts; YOMIRIN_VOICE=flite:slt:1.15 needs only flite)"
  voice_checked=yes
}

settings="$YOMIRIN_VOICE lead=$LEAD_SECONDS fade=$FADE_SECONDS tail=$TAIL_SECONDS trim=$HEAD_TRIM/$TAIL_TRIM"
settings+=" loudness=$LOUDNESS_TARGET ceiling=$PEAK_CEILING limiter=$LIMITER"
if [[ ! -f $onsei_dir/.src/voice.txt || $(<"$onsei_dir/.src/voice.txt") != "$settings" ]]; then
  check_voice_installed
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
while IFS=$'\t' read -r id sentence made_from; do
  if [[ $id == missing ]]; then
    # Tested first: a course of a few files has hundreds of missing ids, and a process each is
    # seconds.
    if [[ -e $onsei_dir/$sentence.wav || -e $onsei_dir/.src/$sentence.txt ]]; then
      rm -f "$onsei_dir/$sentence.wav" "$onsei_dir/.src/$sentence.txt"
    fi
    continue
  fi
  stamp="$onsei_dir/.src/$id.txt"
  if [[ -s $onsei_dir/$id.wav && -f $stamp && $(<"$stamp") == "$made_from" ]]; then
    continue
  fi
  printf '%s\n' "$made_from" >"$onsei_dir/.src/$id.txt.new"
  printf '%s\n' "$id" >>"$todo"
done <"$listing"

count=$(wc -l <"$todo")
if ((count > 0)); then
  [[ -n $voice_checked ]] || check_voice_installed
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
  # The figures of the voices made, as each worker measured them before taking it.
  cat "$work"/chunk*.figures 2>/dev/null | summarise_figures
fi
exit "$status"
