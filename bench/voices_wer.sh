#!/usr/bin/env bash
# How well the course voices can be understood: an offline recogniser listens to every voice and its
# words are compared with the course text.
#
#   voices_wer.sh <onseiDir> <textDir>
#
# Prints the word error rate over all sentences (substitutions + deletions + insertions divided by the
# words of the text, after folding case, punctuation and digits), the worst ten sentences, and two
# listening measures: the speaking rate in words per minute and the shortest silence before speech.
# A sentence without a voice, or with a file that cannot be read as sound, counts with all its words
# lost, so a partial or damaged set of voices cannot look better than a full one. YOMIRIN_BENCH_JOBS sets the parallel recognisers (default 2);
# YOMIRIN_BENCH_TSV names a file to receive one line per sentence (id, errors, words, text, heard)
# for comparing two sets of voices sentence by sentence.
set -euo pipefail

die() { printf 'voices_wer: %s\n' "$*" >&2; exit 1; }

readonly MODEL=/usr/share/pocketsphinx/model/en-us

if [[ ${1:-} == --one ]]; then  # one recogniser run, used by the parallel workers below
  wav=$2/$3.wav work=$4
  if ! sox -q "$wav" -r 16000 -b 16 -c 1 -e signed-integer "$work/$3.16k.wav" 2>/dev/null \
    || ! pocketsphinx_continuous -infile "$work/$3.16k.wav" \
      -hmm "$MODEL/en-us" -lm "$MODEL/en-us.lm.bin" -dict "$MODEL/cmudict-en-us.dict" \
      -logfn /dev/null >"$work/$3.hyp.part"; then
    rm -f "$work/$3.16k.wav" "$work/$3.hyp.part"
  else
    mv "$work/$3.hyp.part" "$work/$3.hyp"
  fi
  exit 0
fi

[[ $# -eq 2 ]] || die "usage: voices_wer.sh <onseiDir> <textDir>"
onsei_dir=$1
text_dir=$2
[[ -d $onsei_dir ]] || die "no onsei folder: $onsei_dir"
for t in pocketsphinx_continuous sox python3; do
  command -v "$t" >/dev/null || die "$t is not installed"
done
[[ -f $MODEL/en-us.lm.bin ]] || die "the US English model (pocketsphinx-en-us) is not installed"
jobs=${YOMIRIN_BENCH_JOBS:-2}
[[ $jobs =~ ^[1-9][0-9]*$ ]] || die "YOMIRIN_BENCH_JOBS must be a positive number"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The same reading of the course files as the voice generation; a malformed file is reported there.
"$here/../course/make_voices.sh" --list "$text_dir" >"$work/ref.tsv" \
  || printf 'voices_wer: some course files were skipped (see above)\n' >&2
[[ -s $work/ref.tsv ]] || die "no sentences in $text_dir"

cut -f1 "$work/ref.tsv" | while read -r id; do
  if [[ -f $onsei_dir/$id.wav ]]; then printf '%s\n' "$id"; fi
done >"$work/ids"
if [[ -s $work/ids ]]; then
  xargs -P "$jobs" -I{} bash "${BASH_SOURCE[0]}" --one "$onsei_dir" {} "$work" <"$work/ids"
fi

python3 - "$work" "${YOMIRIN_BENCH_TSV:-}" <<'PY'
import os, re, sys, wave, array

work, tsv_path = sys.argv[1], sys.argv[2]

ONES = "zero one two three four five six seven eight nine ten eleven twelve thirteen fourteen " \
       "fifteen sixteen seventeen eighteen nineteen".split()
TENS = "_ _ twenty thirty forty fifty sixty seventy eighty ninety".split()

def number_words(n):
    if n < 20:
        return [ONES[n]]
    if n < 100:
        return [TENS[n // 10]] + ([ONES[n % 10]] if n % 10 else [])
    if n < 1000:
        rest = number_words(n % 100) if n % 100 else []
        return [ONES[n // 100], "hundred"] + rest
    if 1100 <= n < 2100 and n % 100 and n % 1000 >= 100:  # years: 1990 -> nineteen ninety
        return number_words(n // 100) + number_words(n % 100)
    rest = number_words(n % 1000) if n % 1000 else []
    return number_words(n // 1000) + ["thousand"] + rest

# The recogniser writes either form of a contraction; both sides are compared in the long form.
# ('s after a noun stays: it may be a possessive.)
CONTRACTIONS = {
    "i'm": "i am", "you're": "you are", "we're": "we are", "they're": "they are",
    "he's": "he is", "she's": "she is", "it's": "it is", "that's": "that is",
    "what's": "what is", "where's": "where is", "who's": "who is", "there's": "there is",
    "here's": "here is", "how's": "how is", "isn't": "is not", "aren't": "are not",
    "wasn't": "was not", "weren't": "were not", "don't": "do not", "doesn't": "does not",
    "didn't": "did not", "can't": "can not", "cannot": "can not", "won't": "will not",
    "wouldn't": "would not", "couldn't": "could not", "shouldn't": "should not",
    "haven't": "have not", "hasn't": "has not", "let's": "let us",
    "i'll": "i will", "you'll": "you will", "he'll": "he will", "she'll": "she will",
    "we'll": "we will", "they'll": "they will", "it'll": "it will",
    "i've": "i have", "you've": "you have", "we've": "we have", "they've": "they have",
    "i'd": "i would", "you'd": "you would", "he'd": "he would", "she'd": "she would",
    "we'd": "we would", "they'd": "they would", "okay": "ok",
}

def words(text):
    """The words a listener hears: lower case, no punctuation, digits spelled out."""
    text = text.lower().replace("-", " ")
    out = []
    for token in text.split():
        token = re.sub(r"[^a-z0-9']", "", token).strip("'")
        if not token:
            continue
        if token in CONTRACTIONS:
            out += CONTRACTIONS[token].split()
            continue
        m = re.fullmatch(r"(\d+)(st|nd|rd|th|s)?", token)
        if m and len(m.group(1)) <= 4:
            out += number_words(int(m.group(1)))
        else:
            out.append(token)
    return out

def edits(ref, hyp):
    """Levenshtein distance between two word lists."""
    row = list(range(len(hyp) + 1))
    for i, r in enumerate(ref, 1):
        prev, row[0] = row[0], i
        for j, h in enumerate(hyp, 1):
            prev, row[j] = row[j], min(row[j] + 1, row[j - 1] + 1, prev + (r != h))
    return row[-1]

def timing(path):
    """(seconds before the first sound, seconds of speech) of a 16-bit mono file."""
    with wave.open(path) as w:
        rate, frames = w.getframerate(), w.readframes(w.getnframes())
    samples = array.array("h", frames)
    loud = [i for i, s in enumerate(samples) if abs(s) > 328]  # -40 dBFS
    if not loud:
        return None, 0.0
    return loud[0] / rate, (loud[-1] - loud[0]) / rate

with open(os.path.join(work, "ids")) as f:
    with_file = set(f.read().split())
rows = []
total_words = total_edits = missing = unreadable = 0
speech_seconds = spoken_words = 0.0
min_lead = None
with open(os.path.join(work, "ref.tsv"), encoding="ascii") as f:
    for line in f:
        sid, text = line.rstrip("\n").split("\t", 1)
        ref = words(text)
        hyp_path = os.path.join(work, sid + ".hyp")
        hyp = []
        if os.path.exists(hyp_path):
            with open(hyp_path, encoding="utf-8", errors="replace") as h:
                hyp_text = " ".join(h.read().split())
            hyp = words(hyp_text)
            lead, speech = timing(os.path.join(work, sid + ".16k.wav"))
            if lead is not None:
                min_lead = lead if min_lead is None else min(min_lead, lead)
                speech_seconds += speech
                spoken_words += len(text.split())
        elif sid in with_file:
            hyp_text = "(unreadable voice)"
            unreadable += 1
        else:
            hyp_text = "(no voice)"
            missing += 1
        e = edits(ref, hyp)
        total_words += len(ref)
        total_edits += e
        rows.append((e / max(len(ref), 1), sid, text, hyp_text, e, len(ref)))

if tsv_path:
    with open(tsv_path, "w", encoding="utf-8") as out:
        for _, sid, text, hyp, e, n in rows:
            out.write(f"{sid}\t{e}\t{n}\t{text}\t{hyp}\n")

print(f"sentences: {len(rows)}   without a voice: {missing}   unreadable voices: {unreadable}")
print(f"word error rate: {100 * total_edits / max(total_words, 1):.1f}% "
      f"({total_edits} errors in {total_words} words)")
print(f"sentences heard without error: {sum(1 for r in rows if r[0] == 0)} of {len(rows)}")
if speech_seconds:
    print(f"speaking rate: {60 * spoken_words / speech_seconds:.0f} words per minute")
if min_lead is not None:
    print(f"shortest silence before speech: {min_lead:.3f} s")
print("worst sentences:")
for rate, sid, text, hyp, _, _ in sorted(rows, key=lambda r: (-r[0], r[1]))[:10]:
    print(f"  {sid} {100 * rate:5.1f}%  {text}")
    print(f"       heard: {hyp}")
PY
