#!/usr/bin/env python3
"""Times the real exe under Wine on a 3840x2160 screen: Print Screen to the
finished file (PNG and BMP), and the area selection window's time per mouse
move during a large drag (optionally also for a second exe, to compare).

Usage: nice -n 19 bench/capture_timing.py [--exe PATH] [--other-exe PATH] [--runs N] [--moves N]
Needs the win64 preset built (orvanex.exe and orvdrive.exe). Prints medians;
nothing is asserted.
"""
import argparse
import os
import re
import statistics
import subprocess
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(REPO / "tests/e2e"))

from context import Context  # noqa: E402
from harness import Failure, Session, wait_until  # noqa: E402
from steps import FORM_CLASS, quiet_settings, start_resident, start_snapshot_key, wait_for_file  # noqa: E402

SCREEN = (3840, 2160)
FORMATS = [("PNG", 1, "png"), ("BMP", 2, "bmp")]


def desktop_picture(path):
    """A desktop of text windows on a gradient, 24-bit BMP: the kind of
    screen a capture mostly meets, with anti-aliased text that a PNG encoder
    has to work for."""
    line = "The quick brown fox jumps over the lazy dog 0123456789 (settings, files, printers)"
    draw = []
    for left, top, right, bottom in ((60, 60, 1900, 2000), (1960, 60, 3780, 1100), (1960, 1160, 3780, 2000)):
        draw += ["-fill", "white", "-draw", f"rectangle {left},{top} {right},{bottom}", "-fill", "#202020"]
        for n, y in enumerate(range(top + 30, bottom - 10, 22)):
            draw += ["-draw", f"text {left + 12 + n % 7 * 9},{y} '{line[n % 20:]} {line[:n % 30]}'"]
    subprocess.run(["convert", "-size", f"{SCREEN[0]}x{SCREEN[1]}", "gradient:#3a6ea5-#0b2545",
                    "-font", "Liberation-Sans", "-pointsize", "15", *draw, f"BMP3:{path}"], check=True)


class Keys:
    """One orvdrive process taking commands on its input: a key press costs
    a pipe write, not a Wine process start."""

    def __init__(self, ctx):
        s = ctx.session
        self.proc = subprocess.Popen(["wine", str(s.driver), "serve"], env=s.env, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=s.log)
        ctx.procs.append(self.proc)

    def send(self, *args):
        self.proc.stdin.write(("\t".join(map(str, args)) + "\n").encode())
        self.proc.stdin.flush()

    def answer(self):
        lines = []
        while True:
            line = self.proc.stdout.readline().decode(errors="replace").strip()
            if not line:
                raise Failure("orvdrive serve ended")
            if line.startswith("end "):
                return line, lines
            lines.append(line)


def capture_times(session, root, screen, name, save_format, ext, runs):
    """Seconds from the key press to the saved file, one per run."""
    ctx = Context(session, root / f"capture-{ext}")
    try:
        ctx.clear_settings()
        start_snapshot_key(ctx, screen)
        quiet_settings(ctx, Save=1, SaveFormat=save_format, Counter=1, SaveFileName="shot-[counter]")
        start_resident(ctx)
        keys = Keys(ctx)
        named = re.compile(rf"shot-\d+\.{ext}$")
        times = []
        for _ in range(runs):
            before = {p.name for p in ctx.folder.iterdir()}

            def saved():
                # The file is written under another name and moved into
                # place whole, so its name appearing means it is finished.
                return next((p for p in ctx.folder.iterdir() if p.name not in before and named.match(p.name)),
                            None)
            began = time.monotonic()
            keys.send("keys", "SNAPSHOT")
            path = wait_until(f"a new {name} file", saved, 60, interval=0.002)
            times.append(time.monotonic() - began)
            keys.answer()
            kind, width, height = wait_for_file(path)
            print(f"  {name}: {times[-1] * 1000:.0f} ms ({path.name}, {kind} {width}x{height}, "
                  f"{path.stat().st_size} bytes)", flush=True)
        return times
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
        _, container = start_resident(ctx)
        keys = Keys(ctx)
        keys.send("keys", "SNAPSHOT")
        keys.answer()
        window = session.find_window(cls=FORM_CLASS, pid=container.pid, visible=True, timeout=30)
        if window is None or window.title != "":
            raise Failure(f"no area selection window (found {window})")
        # A large selection whose far corner travels a few pixels a move.
        travel, still = (2000, 1100, 3800, 2120), (3800, 2120, 3800, 2120)
        times = {travel: [], still: []}
        for _ in range(drags):
            for corner in times:
                keys.send("drag-paint", window.handle, 40, 40, *corner, moves)
                end, lines = keys.answer()
                if end != "end 0" or not lines:
                    raise Failure(f"drag-paint: {end} {lines}")
                times[corner].append(float(lines[-1].split("per_move_ms=")[1]))
                print(f"  {label}{'' if corner == travel else ', still'}: {lines[-1]}", flush=True)
        return times[travel], times[still]
    finally:
        ctx.finish()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", default=REPO / "build/win64/orvanex.exe", type=Path)
    parser.add_argument("--other-exe", type=Path, help="a second build whose drag is timed beside --exe's")
    parser.add_argument("--driver", default=REPO / "build/win64/tests/e2e/tools/orvdrive.exe", type=Path)
    parser.add_argument("--runs", type=int, default=5, help="captures per format, drags per exe")
    parser.add_argument("--moves", type=int, default=200, help="mouse moves per drag")
    options = parser.parse_args()

    root = REPO / "build/capture-timing" / f"{time.strftime('%Y%m%d-%H%M%S')}-{os.getpid()}"
    session = Session(root, options.exe, options.driver, REPO / "tests/e2e/ci-printer.ppd", screen=SCREEN)
    results = []
    try:
        session.start()
        screen = root / "screen.bmp"
        desktop_picture(screen)
        for name, save_format, ext in FORMATS:
            times = capture_times(session, root, screen, name, save_format, ext, options.runs)
            results.append(f"Print Screen to {name} file, {SCREEN[0]}x{SCREEN[1]}: median "
                           f"{statistics.median(times) * 1000:.0f} ms of {len(times)} "
                           f"({min(times) * 1000:.0f}-{max(times) * 1000:.0f})")
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
