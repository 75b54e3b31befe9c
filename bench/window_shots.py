#!/usr/bin/env python3
"""Screens of real application windows for the PNG benchmark: Wine's own
programs (Notepad with a long text file, WordPad, Regedit, Winefile, the
control panel) on a private Xvfb at 1920x1080 and 3840x2160, each screen
saved with ImageMagick's `import -window root` as a 24-bit BMP in
build/window-shots/. orvanex_bench reads every BMP there and adds its rows
beside the generated shots: these are the screens people capture, crisp
text and icons, often past 256 colours.

Usage: bench/window_shots.py [--driver PATH] [--out DIR] [--sizes WxH,...]
Needs orvdrive.exe (the win64 preset's tests/e2e/tools), which the e2e
harness uses to set up its Wine prefix.
"""
import argparse
import subprocess
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(REPO / "tests/e2e"))

from harness import Session, end_process  # noqa: E402

SIZES = [(1920, 1080), (3840, 2160)]
# Per screen: the programs started, in order; "/max" starts one maximized.
SCREENS = {
    "editor": [("/max", "notepad", "{text}")],
    "apps": [("", "notepad", "{text}"), ("", "wordpad", "{text}"), ("", "regedit", None),
             ("", "winefile", None), ("", "control", None)],
}
SETTLE_S = 6  # for the windows to open and paint; nothing tells when they have


def text_file(path):
    """Enough text to fill a 4K editor: this repository's own README."""
    path.write_text((REPO / "README.md").read_text(encoding="utf-8").replace("\n", "\r\n"),
                    encoding="utf-8")


def shoot(session, programs, text, out):
    procs = []
    try:
        for flag, program, arg in programs:
            argv = ["start", "/wait"] + ([flag] if flag else []) + [program]
            if arg:
                argv.append(arg.format(text=session.windows_path(text)))
            procs.append(subprocess.Popen(["wine", *argv], env=session.env, stdout=session.log,
                                          stderr=session.log))
            time.sleep(1.5)
        time.sleep(SETTLE_S)
        subprocess.run(["import", "-display", session.env["DISPLAY"], "-window", "root",
                        f"BMP3:{out}"], check=True, timeout=120)
    finally:
        for proc in procs:
            end_process(proc)
        # Every program of this screen ends with the prefix's server.
        session._restart_wineserver(None)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", type=Path, default=REPO / "build/win64/tests/e2e/tools/orvdrive.exe")
    parser.add_argument("--out", type=Path, default=REPO / "build/window-shots")
    parser.add_argument("--sizes", type=lambda text: [tuple(map(int, s.split("x"))) for s in text.split(",")],
                        default=SIZES, help="e.g. 1920x1080,3840x2160")
    options = parser.parse_args()
    options.out.mkdir(parents=True, exist_ok=True)
    for width, height in options.sizes:
        session = Session(REPO / "build/window-shots-run", options.driver, options.driver,
                          REPO / "tests/e2e/ci-printer.ppd", screen=(width, height))
        try:
            session.start()
            text = session.root / "notes.txt"
            text_file(text)
            # Without a window manager every window opens at the top left; Notepad
            # keeps its place in the registry, so it goes to the right half, beside the rest.
            for name, value in (("iWindowPosX", width // 2), ("iWindowPosY", 0),
                                ("iWindowPosDX", width // 2), ("iWindowPosDY", height)):
                session._tool(["wine", "reg", "add", r"HKCU\Software\Microsoft\Notepad", "/v", name,
                               "/t", "REG_DWORD", "/d", str(value), "/f"], 60)
            for name, programs in SCREENS.items():
                out = options.out / f"{name}-{width}x{height}.bmp"
                shoot(session, programs, text, out)
                print(out)
        finally:
            session.stop()


if __name__ == "__main__":
    main()
