#!/usr/bin/env bash
# Checks of make_voices.sh on small course folders of its own: which voices a run makes, remakes,
# keeps and removes, and that bad course files fail the run without harming the good ones.
#
#   test_make_voices.sh [runs | words | files ...]    (all three when none is named)
set -uo pipefail
export LC_ALL=C   # the malformed files below hold raw CP932 bytes

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
script=$here/make_voices.sh
bench=$here/../bench/voices_wer.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { printf 'FAIL: %s\n' "$*"; failures=$((failures + 1)); }

# Writes course file c$1.txt into folder $2 from English sentences $3..$12 (CP932, CR LF).
write_course() {
  local n=$1 dir=$2 i
  shift 2
  {
    printf '[S1-C%02d]  テスト\n' "$n"
    for ((i = 1; i <= 10; i++)); do
      printf '%03d\n訳です。\n%s\n説明～\n\n' $(((n - 1) * 10 + i)) "${!i}"
    done
  } | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$dir/c$n.txt"
}
inode() { stat -c %i "$1" 2>/dev/null || echo none; }
snapshot() { local f; for f in "$1"/[0-9][0-9][0-9].wav; do echo "$(basename "$f") $(inode "$f")"; done; }
# Names of the voices whose file changed between two snapshots.
changed() { diff <(printf '%s\n' "$1") <(printf '%s\n' "$2") | sed -n 's/^> \([0-9]*\)\.wav.*/\1/p' | tr '\n' ' '; }

text=$tmp/text
# Quotes, a backslash and a blank in the folder name, as a build folder may have.
onsei="$tmp/on \"se\\i\" 's"
mkdir -p "$text"
# Sentences a shell or an engine could misread: quotes, dollars, backquotes, a leading dash.
tricky=('Ken said, "Hello!"' "It's 7 o'clock." 'Is it $5 or $10?' 'Say `ls` and "$HOME" here.'
        '-- Wait, Yumi!' 'I am Ken.' 'Tom\n is tall.' 'Emma likes cats; dogs, too.' 'Why?' 'OK!')
plain=('I am Tom.' 'You are Emma.' 'He is tall.' 'She is kind.' 'We are busy.'
       'They are here.' 'It is red.' 'This is a pen.' 'That is a cup.' 'I like tea.')
write_course 1 "$text" "${tricky[@]}"
write_course 3 "$text" "${plain[@]}"

# Each part starts from the course above and works on folders of its own, so the parts can run as
# tests side by side.

# Which voices a run makes and remakes, with either engine, and at what loudness.
part_runs() {
  # First run: voices for the files that exist and none for the missing c2.
  bash "$script" "$text" "$onsei" >/dev/null || fail "first run failed"
  for id in $(seq -f %03g 1 10) $(seq -f %03g 21 30); do
    [[ -s $onsei/$id.wav ]] || fail "no voice $id"
  done
  ls "$onsei"/01[1-9].wav "$onsei"/020.wav >/dev/null 2>&1 && fail "voices made for a missing course file"
  for i in 0 3 9; do
    id=$(printf '%03d' $((i + 1)))
    [[ $(<"$onsei/.src/$id.txt") == "${tricky[i]}" ]] || fail "stamp $id holds $(<"$onsei/.src/$id.txt")"
  done
  [[ $(soxi -r "$onsei/001.wav") == 16000 && $(soxi -c "$onsei/001.wav") == 1 && $(soxi -b "$onsei/001.wav") == 16 ]] \
    || fail "001.wav is not 16 kHz 16-bit mono"

  # The default voice runs one festival per chunk with the file names inside a Scheme program;
  # flite runs once per sentence with them as arguments. Both must cope with the odd folder name.
  YOMIRIN_VOICE=flite:slt:1.15 bash "$script" "$text" "$onsei.flite" >/dev/null || fail "flite run failed"
  for dir in "$onsei" "$onsei.flite"; do
    for id in 001 004 010 021 030; do
      awk -v d="$(soxi -D "$dir/$id.wav" 2>/dev/null)" 'BEGIN { exit !(d > 0.5) }' \
        || fail "voice $id missing or silent in $dir"
    done
  done

  # Every voice speaks at once: its first audible sample (-40 dBFS) within 30 ms, its sound ending
  # within a short tail, and no click at the very first sample.
  python3 - "$onsei" "$onsei.flite" <<'PY' || fail "a voice starts late, ends late or clicks"
import glob, os, sys, wave, array
bad = []
for folder in sys.argv[1:]:
    for path in sorted(glob.glob(os.path.join(folder, "[0-9][0-9][0-9].wav"))):
        with wave.open(path, "rb") as w:
            rate = w.getframerate()
            s = array.array("h", w.readframes(w.getnframes()))
        if sys.byteorder == "big":
            s.byteswap()
        limit = 32768 * 10 ** (-40 / 20)
        loud = [i for i, v in enumerate(s) if abs(v) > limit]
        head = loud[0] * 1000 / rate if loud else None
        tail = (len(s) - 1 - loud[-1]) * 1000 / rate if loud else None
        if head is None or head > 30 or tail > 200 or abs(s[0]) > 100:
            bad.append(f"{path}: head {head} ms, tail {tail} ms, first sample {s[0]}")
print("\n".join(bad))
sys.exit(1 if bad else 0)
PY

  # Both sets are at one loudness, with nothing clipped and no burst at the head; the check that says
  # so fails on a voice too quiet, clipped, or starting with a burst louder than the rest of it.
  for dir in "$onsei" "$onsei.flite"; do
    bash "$script" --check "$dir" >/dev/null || fail "voices in $dir outside the loudness limits"
  done
  levels=$tmp/levels
  mkdir -p "$levels"
  good=$onsei/030.wav
  cp "$good" "$levels/001.wav"
  sox "$good" "$levels/002.wav" gain -6
  sox "$good" "$levels/003.wav" gain 12 2>/dev/null
  sox -n -r 16000 -b 16 -c 1 "$tmp/burst.wav" synth 0.03 sine 300 gain -0.5
  sox "$good" "$tmp/quieter.wav" gain -4
  sox "$tmp/burst.wav" "$tmp/quieter.wav" "$levels/004.wav"
  out=$(bash "$script" --check "$levels" 2>&1) && fail "the check passed bad voices"
  [[ $out != *"voice 001.wav"* && $out == *"voice 002.wav: loudness -2"* && $out == *"voice 003.wav"*clipped* \
     && $out == *"voice 004.wav"*"its first 60 ms peak"* ]] || fail "the check misjudged: $out"

  # Each case changes something, reruns, and names the voices that must have been remade.
  before=$(snapshot "$onsei")
  bash "$script" "$text" "$onsei" >/dev/null || fail "unchanged rerun failed"
  after=$(snapshot "$onsei")
  [[ -z $(changed "$before" "$after") ]] || fail "unchanged rerun remade $(changed "$before" "$after")"

  plain[2]='He is very tall.'
  write_course 3 "$text" "${plain[@]}"
  rm "$onsei/005.wav"
  : >"$onsei/007.wav"     # an empty voice left by a crash
  before=$(snapshot "$onsei")
  bash "$script" "$text" "$onsei" >/dev/null || fail "rerun after edits failed"
  after=$(snapshot "$onsei")
  [[ $(changed "$before" "$after") == "005 007 023 " ]] || fail "edits remade: $(changed "$before" "$after")"
  [[ $(<"$onsei/.src/023.txt") == 'He is very tall.' ]] || fail "stamp 023 not updated"

  # Leftovers of an interrupted run are cleared and do not count as done.
  printf 'half\n' >"$onsei/.src/004.txt.new"
  : >"$onsei/.004.tmp.wav"
  rm "$onsei/.src/004.txt"
  bash "$script" "$text" "$onsei" >/dev/null || fail "rerun after an interrupted run failed"
  [[ -e $onsei/.src/004.txt.new || -e $onsei/.004.tmp.wav ]] && fail "leftovers of an interrupted run stay"
  [[ $(<"$onsei/.src/004.txt") == "${tricky[3]}" ]] || fail "voice 004 not remade after an interrupted run"

  # Another voice remakes everything.
  before=$(snapshot "$onsei")
  YOMIRIN_VOICE=flite:slt:1.0 bash "$script" "$text" "$onsei" >/dev/null || fail "run with another voice failed"
  after=$(snapshot "$onsei")
  [[ $(changed "$before" "$after" | wc -w) == 20 ]] || fail "another voice remade only $(changed "$before" "$after")"

  # Bad settings, and a voice that is not installed, are refused before anything is touched.
  settings=$(<"$onsei/.src/voice.txt")
  for v in 'nothing:slt:1.0' 'flite:slt:fast' 'flite:slt:0' 'flite:s(l)t:1.0' 'flite:slt:1.0;rm' \
           'flite:nosuchvoice:1.0'; do
    YOMIRIN_VOICE=$v bash "$script" "$text" "$onsei" >/dev/null 2>&1 && fail "accepted YOMIRIN_VOICE=$v"
  done
  [[ $(<"$onsei/.src/voice.txt") == "$settings" ]] || fail "a refused voice changed the settings"
}

# On a course of names of its own.
part_words() {
  local text=$tmp/names onsei=$tmp/names-onsei
  mkdir -p "$text"
  # Our pronunciations: each stamp records the entries of our lexicon its sentence uses, so a changed
  # entry remakes exactly the voices with its word; a voice spelling makes the voice read another text
  # (recorded in the stamp) until the sentence changes, which fails the run until it is updated.
  lex=$tmp/lexicon.scm spell=$tmp/voice_spellings.txt
  jiro="(lex.add.entry '(\"jiro\" nil (((jh iy) 1) ((r ow) 0))))"
  taro="(lex.add.entry '(\"taro\" nil (((t aa) 1) ((r ow) 0))))"
  printf ';; names\n%s\n%s\n' "$jiro" "$taro" >"$lex"
  printf '# for the voice only\n043\tCan Jiro read it?\tCan Jiro reed it?\n' >"$spell"
  export YOMIRIN_LEXICON=$lex YOMIRIN_VOICE_SPELLINGS=$spell
  names=('Jiro is here.' "Taro's bag is red." 'Can Jiro read it?' 'Taro and Jiro are here.' 'I am Ken.'
         'We are here.' 'It is blue.' 'This is a cup.' 'That is a pen.' 'I like milk.')
  write_course 5 "$text" "${names[@]}"
  bash "$script" "$text" "$onsei" >/dev/null || fail "run with our lexicon failed"
  [[ $(<"$onsei/.src/042.txt") == "Taro's bag is red."$'\t'"$taro" ]] \
    || fail "stamp 042 holds $(<"$onsei/.src/042.txt")"
  [[ $(<"$onsei/.src/043.txt") == "Can Jiro reed it?"$'\t'"$jiro" ]] \
    || fail "stamp 043 holds $(<"$onsei/.src/043.txt")"
  [[ $(<"$onsei/.src/044.txt") == "Taro and Jiro are here."$'\t'"$taro"$'\t'"$jiro" ]] \
    || fail "stamp 044 holds $(<"$onsei/.src/044.txt")"
  sed -i 's/((t aa) 1)/((t ae) 1)/' "$lex"
  before=$(snapshot "$onsei")
  bash "$script" "$text" "$onsei" >/dev/null || fail "run after changing an entry failed"
  [[ $(changed "$before" "$(snapshot "$onsei")") == "042 044 " ]] \
    || fail "a changed entry remade: $(changed "$before" "$(snapshot "$onsei")")"
  names[2]='Can Jiro read this?'
  write_course 5 "$text" "${names[@]}"
  out=$(bash "$script" "$text" "$onsei" 2>&1) && fail "a stale voice spelling did not fail the run"
  [[ $out == *voice_spellings.txt:2*043* ]] || fail "the stale spelling is not named: $out"
  [[ $(<"$onsei/.src/043.txt") == "Can Jiro read this?"$'\t'"$jiro" ]] \
    || fail "voice 043 not made from the changed sentence: $(<"$onsei/.src/043.txt")"
  echo 'not an entry' >>"$lex"
  out=$(bash "$script" "$text" "$onsei" 2>&1) && fail "a malformed lexicon line did not fail the run"
  [[ $out == *lexicon.scm:4* ]] || fail "the malformed lexicon line is not named: $out"
  sed -i '$d' "$lex"

  # The transcript: one line per sentence with the phones of each written word, with our entries and
  # spellings applied; a word that no lexicon knows fails it, named with its sentences.
  words=$tmp/words
  mkdir -p "$words"
  names[2]='Can Jiro read it?'
  write_course 5 "$words" "${names[@]}"
  bash "$script" --transcript "$words" "$tmp/said.txt" || fail "transcript failed"
  said() { grep "^$1"$'\t' "$tmp/said.txt" | cut -f3; }
  [[ $(wc -l <"$tmp/said.txt") == 10 ]] || fail "transcript has $(wc -l <"$tmp/said.txt") lines"
  [[ $(grep -c "^043"$'\t'"Can Jiro read it?"$'\t' "$tmp/said.txt") == 1 ]] \
    || fail "transcript does not show the sentence as written: $(grep ^043 "$tmp/said.txt")"
  [[ $(said 043) == "k ae n | jh iy r ow | r iy d | ih t" ]] || fail "043 said as $(said 043)"
  [[ $(said 042) == "t ae r ow z | b ae g | ih z | r eh d" ]] || fail "042 said as $(said 042)"
  write_course 6 "$words" 'Hello, Yumiko!' 'I am Tom.' 'Yumiko is here.' 'You are Emma.' 'He is tall.' \
    'She is kind.' 'We are busy.' 'They are here.' 'It is red.' 'I like tea.'
  out=$(bash "$script" --transcript "$words" "$tmp/said.txt" 2>&1) && fail "an unknown word passed"
  [[ $out == *"Yumiko (051 053)"* ]] || fail "the unknown word is not named with its sentences: $out"
  [[ $(wc -l <"$tmp/said.txt") == 20 ]] || fail "no full transcript despite an unknown word"
  unset YOMIRIN_LEXICON YOMIRIN_VOICE_SPELLINGS
}

# Bad course files, other line ends and a removed file, from the voices of a first run. Reading
# the course is the same for every engine: flite, which starts at once, makes the voices.
part_files() {
  export YOMIRIN_VOICE=flite:slt:1.15
  bash "$script" "$text" "$onsei" >/dev/null || fail "first run failed"
  # Malformed course files: the run fails and names the file, its old voices stay, the good file is
  # still processed.
  # name|sed expression applied to a good c3.txt (sed line 2 is the first id, line 4 its English)
  bad_cases=(
    'short|51d'
    'wrong number|2s/^021/022/'
    $'Japanese as English|4s/^.*$/\x8e\x84\x82\xcd\r/'
    $'blank English|4s/^.*$/\r/'
    'blank before English|4s/^/ /'
  )
  good3=$tmp/c3.good
  cp "$text/c3.txt" "$good3"
  for case in "${bad_cases[@]}"; do
    name=${case%%|*}
    sed -e "${case#*|}" "$good3" >"$text/c3.txt"
    tricky[5]="I am Ken, $name."
    write_course 1 "$text" "${tricky[@]}"
    out=$(bash "$script" "$text" "$onsei" 2>&1) && fail "$name: run succeeded"
    [[ $out == *c3.txt* ]] || fail "$name: message does not name the file: $out"
    [[ -s $onsei/021.wav ]] || fail "$name: old voices of the bad file removed"
    [[ $(<"$onsei/.src/006.txt") == "I am Ken, $name." ]] || fail "$name: good file not processed"
  done
  cp "$good3" "$text/c3.txt"
  # LF-only line ends are read the same.
  tr -d '\r' <"$good3" >"$text/c3.txt"
  before=$(snapshot "$onsei")
  bash "$script" "$text" "$onsei" >/dev/null || fail "LF line ends refused"
  [[ $(changed "$before" "$(snapshot "$onsei")") == "" ]] || fail "LF line ends remade voices"

  # A course file that disappears takes its voices with it.
  rm "$text/c3.txt"
  bash "$script" "$text" "$onsei" >/dev/null || fail "run after removing c3 failed"
  ls "$onsei"/02[1-9].wav "$onsei"/030.wav "$onsei"/.src/02[1-9].txt >/dev/null 2>&1 \
    && fail "voices of a removed course file stay"
  [[ -s $onsei/001.wav ]] || fail "voices of other files removed"

  # The listening bench counts a sentence without a voice, or with a damaged one, as all its words lost.
  empty=$tmp/empty
  mkdir -p "$empty"
  echo 'not a sound' >"$empty/001.wav"
  out=$(bash "$bench" "$empty" "$text" 2>&1)
  [[ $out == *"without a voice: 9   unreadable voices: 1"* && $out == *"word error rate: 100.0%"* ]] \
    || fail "bench on missing voices: $out"
}

parts=("$@")
((${#parts[@]})) || parts=(runs words files)
for part in "${parts[@]}"; do
  case $part in
    runs | words | files) "part_$part" ;;
    *) echo "unknown part $part: runs, words or files" >&2; exit 2 ;;
  esac
done
if ((failures)); then
  printf '%d check(s) failed\n' "$failures"
  exit 1
fi
echo "make_voices checks passed: ${parts[*]}"
