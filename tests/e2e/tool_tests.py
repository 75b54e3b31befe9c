"""The outside hand itself: the OS parts the program tests lean on."""
import subprocess

import bmp
from harness import Failure, wait_until

CLIPBOARD_CASES = [
    # name, orvdrive clip-put flags, size
    ("device bitmap, odd width", ["--ddb"], (37, 21)),
    ("packed DIB", [], (64, 48)),
]


def same_picture(path, width, height, pixel):
    w, h, rows = bmp.read(path)
    if (w, h) != (width, height):
        return f"size {w}x{h}, expected {width}x{height}"
    for y, row in enumerate(rows):
        for x, got in enumerate(row):
            if got != pixel(x, y):
                return f"pixel ({x},{y}) is {got}, expected {pixel(x, y)}"
    return None


def test_clipboard_round_trip(ctx, flags, size):
    source, back = ctx.path("in.bmp"), ctx.path("out.bmp")
    bmp.write(source, *size, bmp.pattern)
    ctx.session.drive("clip-put", ctx.session.windows_path(source), *flags)
    code, _ = ctx.session.drive("clip-dump", ctx.session.windows_path(back))
    if code != 0:
        raise Failure("no bitmap on the clipboard after clip-put")
    problem = same_picture(back, *size, bmp.pattern)
    if problem:
        raise Failure(problem)


SNAPSHOT_CASES = [
    # name, keys, which picture the clipboard should then hold
    ("print screen", ["SNAPSHOT"], "screen"),
    ("alt and print screen", ["+ALT", "SNAPSHOT", "-ALT"], "window"),
]


def test_snapshot_key(ctx, keys, expected):
    pictures = {"screen": (40, 30, bmp.pattern), "window": (20, 10, lambda x, y: (255, x * 10, y * 20))}
    for name, (w, h, pixel) in pictures.items():
        bmp.write(ctx.path(name + ".bmp"), w, h, pixel)
    wp = ctx.session.windows_path
    ctx.start_driver("snapshot-key", wp(ctx.path("screen.bmp")), "--alt", wp(ctx.path("window.bmp")),
                     "--ready", wp(ctx.path("ready")), "--stop", wp(ctx.path("stop")), out_name="hook.out")
    wait_until("the hot keys", ctx.path("ready").exists, 10)
    # Something else first, so that only the key can bring the picture.
    bmp.write(ctx.path("blank.bmp"), 2, 2, lambda x, y: (0, 0, 0))
    ctx.session.drive("clip-put", wp(ctx.path("blank.bmp")))
    ctx.session.drive("keys", *keys)
    w, h, pixel = pictures[expected]

    def clipboard_holds_it():
        ctx.session.drive("clip-dump", wp(ctx.path("got.bmp")))
        return ctx.path("got.bmp").exists() and same_picture(ctx.path("got.bmp"), w, h, pixel) is None
    wait_until(f"the {expected} picture on the clipboard", clipboard_holds_it, 5)
    ctx.path("stop").touch()


def test_file_printer(ctx):
    printed = ctx.path("printed.ps")
    ctx.session.install_printer("Orvanex Test Printer", printed)
    code, lines = ctx.session.drive("print-test", "Orvanex e2e page")
    if code != 0:
        raise Failure(f"print-test failed: {lines}")
    wait_until("the printed file", lambda: printed.exists() and b"%%EOF" in printed.read_bytes(), 10)
    text = subprocess.run(["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=txtwrite",
                           "-sOutputFile=-", str(printed)], capture_output=True, timeout=60).stdout.replace(b"\xc2\xa0", b" ")
    if b"Orvanex e2e page" not in text:
        raise Failure(f"the printed page does not read back: {text[:200]!r}")


TESTS = [
    *[(f"tools: clipboard {name}", test_clipboard_round_trip, {"flags": f, "size": s})
      for name, f, s in CLIPBOARD_CASES],
    *[(f"tools: {name} stand-in", test_snapshot_key, {"keys": k, "expected": e}) for name, k, e in SNAPSHOT_CASES],
    ("tools: file printer", test_file_printer, {}),
]
