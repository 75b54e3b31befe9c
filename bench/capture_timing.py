#!/usr/bin/env python3
"""Times the real exe under Wine: Print Screen to the finished file (PNG and
BMP) on a 3840x2160 and a 1920x1080 screen, and the area selection window's
time per mouse move during a large drag at 4K (optionally also for a second
exe, to compare).

Usage: nice -n 19 bench/capture_timing.py [--exe PATH] [--other-exe PATH] [--runs N] [--moves N]
           [--sizes 3840x2160,1920x1080] [--no-drag] [--trace]
Needs the win64 preset built (orvanex.exe and orvdrive.exe); --trace times the
win64-trace build instead and adds each capture's stages from its marks.
Prints medians and the load average; nothing is asserted.
"""
import argparse
import os
import random
import re
import statistics
import subprocess
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(REPO / "tests/e2e"))

import under_test  # noqa: E402
from context import Context  # noqa: E402
from harness import Failure, Session, Xvfb, wait_until  # noqa: E402

SCREEN = (3840, 2160)
SMALL = (1920, 1080)
FORMATS = [("PNG", 1, "png"), ("BMP", 2, "bmp")]


def desktop_picture(path, screen):
    """A desktop of text windows on a gradient, 24-bit BMP: the kind of
    screen a capture mostly meets, with anti-aliased text that a PNG encoder
    has to work for. The windows are laid out for 4K and scaled to the screen."""
    line = "The quick brown fox jumps over the lazy dog 0123456789 (settings, files, printers)"
    draw = []
    k = screen[0] / SCREEN[0]
    for box in ((60, 60, 1900, 2000), (1960, 60, 3780, 1100), (1960, 1160, 3780, 2000)):
        left, top, right, bottom = (round(v * k) for v in box)
        draw += ["-fill", "white", "-draw", f"rectangle {left},{top} {right},{bottom}", "-fill", "#202020"]
        for n, y in enumerate(range(top + 30, bottom - 10, 22)):
            draw += ["-draw", f"text {left + 12 + n % 7 * 9},{y} '{line[n % 20:]} {line[:n % 30]}'"]
    subprocess.run(["convert", "-size", f"{screen[0]}x{screen[1]}", "gradient:#3a6ea5-#0b2545",
                    "-font", "Liberation-Sans", "-pointsize", "15", *draw, f"BMP3:{path}"], check=True)


class Trace:
    """The trace build's marks, "<seconds since 1970> <label>" a line, read
    as they come."""

    def __init__(self, path):
        self.path = path
        self.read = 0

    def marks_until(self, label, timeout=30):
        """The marks written since the last call, up to and including the
        first `label`."""
        marks = []

        def seen():
            if self.path.exists():
                with open(self.path, "rb") as f:
                    f.seek(self.read)
                    for raw in f:
                        if not raw.endswith(b"\n"):
                            break
                        self.read += len(raw)
                        at, name = raw.decode().strip().split(" ", 1)
                        marks.append((name, float(at)))
                        if name == label:
                            return True
            return False
        wait_until(f"the trace mark '{label}'", seen, timeout, interval=0.01)
        return marks


def stages(began, marks):
    """Milliseconds of each step between two marks, the key press first."""
    out, last, before = [], "key sent", began
    for name, at in marks:
        out.append((f"{last} -> {name}", (at - before) * 1000))
        last, before = name, at
    return out


def capture_times(session, root, screen, name, save_format, ext, runs, trace=None):
    """Seconds from the key press to the saved file, one per run; with a
    trace, also each run's stages."""
    ctx = Context(session, root / f"capture-{ext}-{screen.stem}")
    try:
        ctx.clear_settings()
        start_snapshot_key(ctx, screen)
        quiet_settings(ctx, Save=1, SaveFormat=save_format, Counter=1, SaveFileName="shot-[counter]")
        ctx.start_program("-startup").container()
        named = re.compile(rf"shot-\d+\.{ext}$")
        times, breakdowns = [], []
        for _ in range(runs):
            before = {p.name for p in ctx.folder.iterdir()}

            def saved():
                # The file is written under another name and moved into
                # place whole, so its name appearing means it is finished.
                return next((p for p in ctx.folder.iterdir() if p.name not in before and named.match(p.name)),
                            None)
            # A press at any moment of the 100 ms key watch, not just after
            # the last capture's tick, whose next one the watch skips.
            time.sleep(random.uniform(0.3, 0.4))
            began, wall = time.monotonic(), time.time()
            session.drive("keys", "SNAPSHOT")
            path = wait_until(f"a new {name} file", saved, 60, interval=0.002)
            times.append(time.monotonic() - began)
            kind, width, height = wait_for_file(path)
            print(f"  {name}: {times[-1] * 1000:.0f} ms ({path.name}, {kind} {width}x{height}, "
                  f"{path.stat().st_size} bytes)", flush=True)
            if trace:
                # The capture's tail (the tick's end) before the next press,
                # which it would otherwise swallow.
                breakdowns.append(stages(wall, trace.marks_until("tick end")))
                print("    " + "; ".join(f"{step} {ms:.1f}" for step, ms in breakdowns[-1]), flush=True)
        return times, breakdowns
    finally:
        ctx.finish()


def move_times(session, root, screen, exe, label, drags, moves):
    """Milliseconds per mouse move (handled and painted), one per drag; and
    the same for moves that leave the corner where it is: the round trips
    alone, nothing to paint."""
    session.exe = exe
    ctx = Context(session, root / f"drag-{label}")
    try:
        ctx.clear_settings()
        start_snapshot_key(ctx, screen)
        quiet_settings(ctx, PrintArea=2)
        container = ctx.start_program("-startup").container()
        session.drive("keys", "SNAPSHOT")
        window = session.find_window(cls=FORM_CLASS, pid=container.pid, visible=True, timeout=30)
        if window is None or window.title != "":
            raise Failure(f"no area selection window (found {window})")
        # A large selection whose far corner travels a few pixels a move.
        travel, still = (2000, 1100, 3800, 2120), (3800, 2120, 3800, 2120)
        times = {travel: [], still: []}
        for _ in range(drags):
            for corner in times:
                code, lines = session.drive("drag-paint", window.handle, 40, 40, *corner, moves, timeout=120)
                if code != 0 or not lines:
                    raise Failure(f"drag-paint: exit {code} {lines}")
                times[corner].append(float(lines[-1].split("per_move_ms=")[1]))
                print(f"  {label}{'' if corner == travel else ', still'}: {lines[-1]}", flush=True)
        return times[travel], times[still]
    finally:
        ctx.finish()


def breakdown_table(breakdowns):
    """Median milliseconds of each step over the runs that took it."""
    steps, seen = {}, []
    for run in breakdowns:
        for step, ms in run:
            if step not in steps:
                steps[step] = []
                seen.append(step)
            steps[step].append(ms)
    return [f"    {statistics.median(steps[s]):7.1f} ms  {s}" for s in seen]


def load():
    return Path("/proc/loadavg").read_text().split(" ")[:3]


def time_screen(session, root, size, options, results):
    screen = root / f"screen-{size[0]}x{size[1]}.bmp"
    desktop_picture(screen, size)
    target = {SCREEN: 500, SMALL: 300}.get(size)
    for name, save_format, ext in FORMATS:
        before = load()
        times, breakdowns = capture_times(session, root, screen, name, save_format, ext, options.runs,
                                          options.trace)
        median = statistics.median(times) * 1000
        verdict = f", target <= {target} ms: {'met' if median <= target else 'MISSED'}" if target else ""
        results.append(f"Print Screen to {name} file, {size[0]}x{size[1]}: median {median:.0f} ms of "
                       f"{len(times)} ({min(times) * 1000:.0f}-{max(times) * 1000:.0f}){verdict}; "
                       f"load {' '.join(before)} -> {' '.join(load())}")
        if breakdowns:
            results += breakdown_table(breakdowns)
    return screen


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", default=REPO / "build/win64/orvanex.exe", type=Path)
    parser.add_argument("--other-exe", type=Path, help="a second build whose drag is timed beside --exe's")
    parser.add_argument("--driver", default=REPO / "build/win64/tests/e2e/tools/orvdrive.exe", type=Path)
    parser.add_argument("--runs", type=int, default=5, help="captures per format, drags per exe")
    parser.add_argument("--moves", type=int, default=200, help="mouse moves per drag")
    parser.add_argument("--sizes", default="3840x2160,1920x1080", help="screens for the Print Screen times")
    parser.add_argument("--no-drag", action="store_true", help="time only Print Screen")
    parser.add_argument("--trace", action="store_true",
                        help="time the win64-trace build (unless --exe) and show each capture's stages")
    options = parser.parse_args()
    if options.trace and "--exe" not in sys.argv:
        options.exe = REPO / "build/win64-trace/orvanex.exe"
    under_test.use(options.exe)
    global FORM_CLASS, quiet_settings, start_snapshot_key, wait_for_file
    from steps import FORM_CLASS, quiet_settings, start_snapshot_key, wait_for_file
    sizes = [tuple(int(v) for v in size.split("x")) for size in options.sizes.split(",") if size]

    root = REPO / "build/capture-timing" / f"{time.strftime('%Y%m%d-%H%M%S')}-{os.getpid()}"
    session = Session(root, options.exe, options.driver, REPO / "tests/e2e/ci-printer.ppd", screen=SCREEN)
    trace_file = root / "trace.txt"
    options.trace = Trace(trace_file) if options.trace else None
    results = [f"{options.exe} on {os.cpu_count()} cores"]
    try:
        session.start()
        if options.trace:
            session.env["ORV_TRACE_FILE"] = session.windows_path(trace_file)
        screen = None
        for size in sizes:
            if size == SCREEN:
                screen = time_screen(session, root, size, options, results)
                continue
            xserver = Xvfb(session.log, size=size)
            try:
                with session.desktop(xserver):
                    time_screen(session, root, size, options, results)
            finally:
                xserver.stop()
        if options.no_drag:
            return 0
        if screen is None:
            screen = root / "screen.bmp"
            desktop_picture(screen, SCREEN)
        exes = [("this", options.exe)] + ([("other", options.other_exe)] if options.other_exe else [])
        for label, exe in exes:
            per, still = move_times(session, root, screen, exe, label, options.runs, options.moves)
            results.append(f"Selection drag, {label} exe: median {statistics.median(per):.2f} ms a move of "
                           f"{len(per)} drags of {options.moves} moves ({min(per):.2f}-{max(per):.2f}); "
                           f"round trip alone {statistics.median(still):.2f} ms")
    finally:
        session.exe = options.exe
        session.stop()
        print("\n".join(results))
    return 0


if __name__ == "__main__":
    sys.exit(main())
