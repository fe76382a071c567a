#!/usr/bin/env python3
"""End-to-end runs of the real program on a real X display.

    [E2E_JOBS=n] e2e.py <program> <bmp-dir> <chime.wav> <screenshot-dir> [scenario ...]

Every scenario starts the built executable (Qt's xcb platform) on a private Xvfb display with a
window manager (openbox, or GNOME's), from a fresh program folder holding a small course of our
own, the bitmaps and voices that are tones of known pitch; it drives the program with real X input
(xdotool), listens on a private PulseAudio null sink, reads the texts on show as a screen reader
does (AT-SPI, on a private session bus and accessibility bus), and reads save.dat and fs.dat
after the program ends. Screenshots go to <screenshot-dir>. Exits 1 when a scenario fails.

The harness is harness.py; the scenarios, functions named scenario_*, are in scenarios_*.py by
subject.
"""
import multiprocessing, os, shutil, sys, tempfile, time

from harness import Desktop, PATHS, configure, expect, make_program_folder
import scenarios_windows, scenarios_settings, scenarios_guide, scenarios_test, scenarios_study
import scenarios_wayland, scenarios_input_method

# The longest first, so that scenarios run side by side end together.
MODULES = (scenarios_windows, scenarios_settings, scenarios_guide, scenarios_test, scenarios_study,
           scenarios_wayland, scenarios_input_method)
SCENARIOS = [(name[len("scenario_"):], fn) for module in MODULES
             for name, fn in vars(module).items() if name.startswith("scenario_")]


def run(name, fn):
    """Runs one scenario on a desktop of its own; True when it passed and every start of the
    program in it ended cleanly and was checked."""
    tmp = tempfile.mkdtemp(prefix=f"yomirin-e2e-{name}-")
    desktop = None
    t = time.monotonic()
    try:
        desktop = getattr(fn, "desktop", Desktop)(tmp)
        fn(desktop, make_program_folder(tmp))
        unchecked = [p.proc.pid for p in desktop.programs if not p.exit_checked]
        expect(not unchecked, f"the scenario left the end of the program {unchecked} unchecked")
        print(f"ok    {name} ({time.monotonic() - t:.1f} s)", flush=True)
        return True
    except Exception as e:   # every failure is reported, the other scenarios still run
        # One write, so that a scenario running beside it cannot come between its lines.
        report = [f"FAIL  {name}: {str(e) or type(e).__name__}"]
        if desktop and "DISPLAY" in desktop.env:
            try:
                desktop.screenshot(f"failed-{name}")
                report.append(f"-- a picture of the screen is in {PATHS.shots}")
            except Exception as shot:
                report.append(f"-- no picture of the screen: {shot}")
        for p in desktop.programs if desktop else ():
            stderr = p.stderr()
            if stderr:
                report.append(f"-- standard error of the program {p.proc.pid}:\n{stderr[-1500:]}")
        if desktop:
            desktop.log.flush()
        # The sound server's, window manager's and buses' own complaints, also of a desktop that
        # did not come up.
        if os.path.exists(os.path.join(tmp, "desktop.log")):
            with open(os.path.join(tmp, "desktop.log"), errors="replace") as f:
                report.append("-- the desktop's log ends:\n" + "".join(f.readlines()[-30:]))
        print("\n".join(report), flush=True)
        return False
    finally:
        if desktop:
            desktop.stop_all()
        shutil.rmtree(tmp, ignore_errors=True)


def run_by_name(name):
    return run(name, dict(SCENARIOS)[name])


def main():
    configure(*sys.argv[1:5])
    only, jobs = sys.argv[5:], int(os.environ.get("E2E_JOBS", "1"))
    unknown = set(only) - {name for name, _ in SCENARIOS}
    expect(not unknown, f"no such scenario: {', '.join(sorted(unknown))}")
    started = time.monotonic()
    chosen = [name for name, fn in SCENARIOS if not only or name in only]
    # Every scenario has a desktop, buses, sound server, home and program folder of its own, and
    # most of its time is spent waiting on the program, so scenarios can run side by side.
    with multiprocessing.get_context("fork").Pool(jobs) as pool:
        failures = sum(not passed for passed in pool.imap_unordered(run_by_name, chosen))
    print(f"{'all passed' if not failures else f'{failures} failed'} in {time.monotonic() - started:.0f} s")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
