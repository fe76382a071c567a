#!/usr/bin/env python3
"""What the learner hears: the time from a key to the first audible sample of the voice.

    speech_latency.py <program-folder> <later F5 presses>

The program runs from a folder of its own that holds the built course, voices and bitmaps, on the
end-to-end suite's desktop (tests/e2e/harness.py: a virtual display, a window manager, a private
sound server with a null sink), and is started and brought past its splash as the suite does it.
While the sink is recorded, keys are pressed as a learner would: F5 (repeat) in study, then again;
F2 (next), which moves to the next sentence and plays it. After the presses, paplay plays a tone
through the same sink as the reference: its delay is the sound server's own latency (with the cost
of starting a client), and every press is reported beyond it. The keys and the reference are
stamped on the clock the recording is tied to, so the offset between the two cancels out.

For each press it prints the delay beyond the reference, the silence at the head of the voice
played (the file's own part of it) and the rest, which is the program's playback path. Last, the
head silence of every voice. "Audible" is the first sample above -40 dBFS, as in voices_wer.sh.
Exits 1 when something cannot be set up or a press is not heard at all.
"""
import array, math, os, shutil, signal, statistics, sys, tempfile, time, wave

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from harness import AUDIBLE, RATE, Desktop, Failed, Listening, Program, configure, expect

TARGET_MS = 150
LEAD_IN_MS = 30         # the silence a voice may have before its first word
QUIET_GAP = 1.5         # seconds of silence left between two sounds, so each onset stands alone
MOST_NEXT_PRESSES = 3


class Event:
    """A key pressed, or the reference played: its label, the voice it plays, when it began."""

    def __init__(self, label, voice, moment):
        self.label, self.voice, self.moment = label, voice, moment


# ---- the voices' files --------------------------------------------------------------------------

def head_ms(path):
    """The silence before the file's first audible sample; None when it has none (or is not
    16-bit)."""
    with wave.open(path) as w:
        if w.getsampwidth() != 2:
            return None
        rate, channels = w.getframerate(), w.getnchannels()
        samples = array.array("h", w.readframes(w.getnframes()))[::channels]
    return next((1000.0 * i / rate for i, s in enumerate(samples) if abs(s) > AUDIBLE), None)


def seconds_long(path):
    with wave.open(path) as w:
        return w.getnframes() / w.getframerate()


def write_reference(path):
    """0.3 s of 1 kHz at -6 dBFS, loud from its first samples."""
    with wave.open(path, "wb") as f:
        f.setnchannels(1); f.setsampwidth(2); f.setframerate(RATE)
        f.writeframes(array.array("h", (int(16384 * math.sin(2 * math.pi * 1000 * i / RATE + 0.5))
                                         for i in range(int(0.3 * RATE)))).tobytes())


def built_program_folder(tmp, built):
    """The built course, voices and bitmaps with an empty savedata of its own, so the program
    starts as a new learner's does (study, step 1, chapter 1, sentences in course order) and
    writes nothing into the built folder."""
    folder = os.path.join(tmp, "program")
    os.makedirs(os.path.join(folder, "savedata"))
    for part in ("text", "onsei", "bmp"):
        os.symlink(os.path.join(built, part), os.path.join(folder, part))
    return folder


# ---- the presses ----------------------------------------------------------------------------------

def press_keys(program, presses, onsei):
    events = []

    def press(key, label, voice):
        events.append(Event(label, voice, program.key(key)))
        time.sleep(seconds_long(os.path.join(onsei, voice + ".wav")) + QUIET_GAP)

    press("F5", "first F5", "001")
    for i in range(presses):
        press("F5", f"F5 #{i + 2}", "001")
    for i in range(min(presses, MOST_NEXT_PRESSES)):
        press("F2", f"F2 (next) #{i + 1}", f"{i + 2:03d}")
    return events


def play_references(desktop, tone):
    events = []
    for _ in range(3):
        moment = time.monotonic()
        expect(desktop.succeeds(["paplay", tone]), "paplay could not play the reference")
        events.append(Event("reference", None, moment))
        time.sleep(QUIET_GAP)
    return events


def onset(heard, events, event):
    """Milliseconds from the event to the first audible sample before the next event, and whether
    it was quiet just before the event."""
    samples = heard.heard
    at = max(0, int(heard.seconds_into(event.moment) * RATE))
    later = [e.moment for e in events if e.moment > event.moment]
    until = min(len(samples), int(heard.seconds_into(min(later)) * RATE)) if later else len(samples)
    quiet_before = all(abs(s) <= AUDIBLE for s in samples[max(0, at - RATE // 10):at])
    first = next((j for j in range(at, until) if abs(samples[j]) > AUDIBLE), None)
    return (None if first is None else 1000.0 * (first - at) / RATE), quiet_before


# ---- the report -------------------------------------------------------------------------------------

def report_presses(heard, events, onsei):
    """Prints each press beyond the reference; returns the labels of the presses not heard."""
    refs = [onset(heard, events, e)[0] for e in events if e.voice is None]
    expect(None not in refs, "the reference tone was not heard: the recording does not work")
    reference = statistics.median(refs)
    print("speech latency: key to the first audible sample, on a private sound server (null sink)")
    print(f"  reference, paplay of a tone through the same sink: median {reference:.0f} ms "
          f"[{min(refs):.0f} .. {max(refs):.0f}] (as recorded)")
    print(f"  {'press':18} voice  beyond reference  head silence of the voice  playback path")
    worst, unheard, first_path, later_paths = 0.0, [], [], []
    for event in (e for e in events if e.voice is not None):
        delay, quiet_before = onset(heard, events, event)
        if delay is None:
            unheard.append(event.label)
            print(f"  {event.label:18} {event.voice}   not heard")
            continue
        beyond = delay - reference
        head = head_ms(os.path.join(onsei, event.voice + ".wav")) or 0.0
        worst = max(worst, beyond)
        (first_path if event.label == "first F5" else later_paths).append(beyond - head)
        note = "" if quiet_before else "   (sound just before the key: figure unsure)"
        print(f"  {event.label:18} {event.voice}   {beyond:7.0f} ms        {head:7.0f} ms"
              f"               {beyond - head:5.0f} ms{note}")
    if later_paths:
        print(f"  playback path, later presses: median {statistics.median(later_paths):.0f} ms "
              f"[{min(later_paths):.0f} .. {max(later_paths):.0f}]")
    if first_path + later_paths:
        # What is left once the voices start speaking within their allowed lead-in.
        slowest = max(first_path + later_paths)
        print(f"  slowest playback path: {slowest:.0f} ms; with voices that speak within "
              f"{LEAD_IN_MS} ms, key to speech at most {slowest + LEAD_IN_MS:.0f} ms")
    verdict = "ok" if worst <= TARGET_MS and not unheard else "over target"
    print(f"  slowest press beyond reference: {worst:.0f} ms (target at most {TARGET_MS}) {verdict}")
    return unheard


def report_heads(onsei):
    heads, rows = [], []
    for chapter in range(50):
        row = []
        for i in range(1, 11):
            path = os.path.join(onsei, f"{chapter * 10 + i:03d}.wav")
            head = head_ms(path) if os.path.isfile(path) else None
            row.append("   -" if head is None else f"{head:4.0f}")
            if head is not None:
                heads.append(head)
        rows.append(f"  {chapter * 10 + 1:03d}-{chapter * 10 + 10:03d} " + " ".join(row))
    if not heads:
        return
    chime = os.path.join(onsei, "seikai.wav")
    chime_head = head_ms(chime) if os.path.isfile(chime) else None
    print(f"head silence of the voices (ms before the first sample above -40 dBFS): "
          f"{len(heads)} voices, median {statistics.median(heads):.0f} "
          f"[{min(heads):.0f} .. {max(heads):.0f}]"
          + (f", chime {chime_head:.0f}" if chime_head is not None else ""))
    print("\n".join(rows))


# ---- the run ------------------------------------------------------------------------------------------

def measure(built, presses, tmp):
    onsei = os.path.join(built, "onsei")
    configure(os.path.join(built, "yomirin"), os.path.join(built, "bmp"),
              os.path.join(onsei, "seikai.wav"), os.path.join(tmp, "shots"))
    tone = os.path.join(tmp, "reference.wav")
    write_reference(tone)
    desktop = Desktop(tmp)
    try:
        program = Program.past_the_splash(desktop, built_program_folder(tmp, built))
        with Listening(desktop) as heard:
            events = press_keys(program, presses, onsei) + play_references(desktop, tone)
        unheard = report_presses(heard, events, onsei)
        report_heads(onsei)
        expect(program.proc.poll() is None,
               f"the program ended during the presses (exit {program.proc.returncode})")
        said = program.stderr()[-2000:]
        expect(not unheard, "not heard: " + ", ".join(unheard)
               + ("\nthe program said:\n" + said if said else ""))
    finally:
        desktop.stop_all()


def stop(signum, frame):
    raise SystemExit(f"speech_latency: stopped by signal {signum}")


def main():
    built, presses = os.path.abspath(sys.argv[1]), int(sys.argv[2])
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGHUP, stop)
    tmp = tempfile.mkdtemp(prefix="yomirin-speech-")
    try:
        measure(built, presses, tmp)
    except Failed as e:
        raise SystemExit(f"speech_latency: {e}") from None
    finally:
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    main()
