"""The world around a resident going wrong: another program sitting on the
clipboard or on the file being replaced, the printer taken away, the save
folder gone for a while, a key pressed while a save dialog waits. Nothing may
be lost and the key watch must go on."""
import shutil

import pictures
from harness import Failure, stays_clear, wait_until
from steps import (SIZE, answer_box, blocks, differences, press_capture_key, quiet_settings, read_message_box,
                   save_as, save_dialog, start_resident, start_screen, tray_pick, wait_for_file)

PRINTER = "Orvanex Fault Printer"


class Resident:
    """A resident saving PNGs of the known screen into out\\."""

    def __init__(self, ctx, **settings):
        self.ctx = ctx
        self.out = ctx.path("out")
        self.out.mkdir(exist_ok=True)
        self.seen = set()
        start_screen(ctx)
        quiet_settings(ctx, Save=1, SaveFormat=1, SaveFolder=ctx.session.windows_path(self.out) + "\\",
                       **settings)
        self.prog, self.window = start_resident(ctx)

    def capture(self):
        self.ctx.session.drive("clip-put", self.ctx.session.windows_path(self.ctx.path("screen.bmp")))
        press_capture_key(self.ctx)

    def saved(self, timeout=20):
        """The one new file a capture wrote, checked against the screen."""
        def arrived():  # not the temporary file a save writes first and moves into place
            names = {p.name for p in self.out.iterdir() if p.suffix != ".tmp"} if self.out.exists() else set()
            return names - self.seen
        fresh = wait_until("a saved capture", arrived, timeout, interval=0.1)
        if len(fresh) != 1:
            raise Failure(f"one capture wrote {sorted(fresh)}")
        path = self.out / fresh.pop()
        self.seen.add(path.name)
        wait_for_file(path)
        problem = differences(pictures.decode(path), *SIZE, blocks)
        if problem:
            raise Failure(f"{path.name}: {problem}")
        return path

    def no_box(self, seconds):
        def box():
            code, lines = self.ctx.session.drive("msgbox", "--timeout", 0)
            return lines if code == 0 else None
        stays_clear("no message box", box, seconds, interval=0.2)

    def one_box(self, begins, timeout=20):
        box, texts, _ = read_message_box(self.ctx, timeout=timeout)
        text = "\n".join(texts)
        if not text.startswith(begins):
            raise Failure(f"the box says {text!r}, expected it to begin with {begins!r}")
        answer_box(self.ctx, box)
        self.no_box(1.5)
        return text

    def still_watching(self):
        """The key watch goes on: the next capture saves."""
        self.capture()
        self.saved()
        if not self.prog.running:
            raise Failure("the resident ended")


def hold_clipboard(ctx, seconds):
    ready = ctx.path(f"hold-{seconds}.ready")
    ctx.start_driver("clip-hold", seconds, "--ready", ctx.session.windows_path(ready), out_name="hold.out")
    wait_until("the clipboard to be held", ready.exists, 10)


def test_clipboard_held(ctx):
    # A hold that outlasts the retries is a native case: under Wine the read waits for the holder.
    desk = Resident(ctx)
    desk.capture()
    desk.saved()
    desk.ctx.session.drive("clip-put", ctx.session.windows_path(ctx.path("screen.bmp")))
    hold_clipboard(ctx, 0.5)
    press_capture_key(ctx)
    desk.saved()
    desk.no_box(1.5)
    desk.still_watching()


def test_printer_deleted(ctx):
    printed = ctx.path("printed.ps")
    ctx.session.install_printer(PRINTER, printed)
    desk = Resident(ctx, PrintScreen=1, Printer=PRINTER)
    desk.capture()
    desk.saved()
    wait_until("the printed page", lambda: printed.exists() and b"%%EOF" in printed.read_bytes()[-200:], 30)
    ctx.session.drive("delete-printer", PRINTER)
    desk.capture()
    desk.saved()  # the file comes before the page
    desk.one_box(f"Printer '{PRINTER}' does not exist anymore. Aborting Print.", timeout=30)
    desk.still_watching()


def test_save_folder_vanishes(ctx):
    desk = Resident(ctx)
    desk.capture()
    desk.saved()
    shutil.rmtree(desk.out)
    desk.capture()
    desk.one_box('Could not create the file "')
    desk.out.mkdir()
    desk.seen.clear()
    desk.still_watching()


def test_key_during_save_dialog(ctx):
    desk = Resident(ctx, HidePopup=0)
    tray_pick(ctx, desk.window, *["DOWN"] * 5, "RETURN")  # Save Desktop
    dialog = save_dialog(ctx)
    if dialog is None:
        raise Failure("no save dialog")
    desk.capture()  # the key, while the dialog waits
    stays_clear("no second capture while the dialog is open",
                lambda: sorted(p.name for p in desk.out.iterdir()) or None, 1.5)
    target = desk.out / "asked.png"
    save_as(ctx, dialog, target)
    if desk.saved() != target:
        raise Failure(f"the dialog's capture was not saved as {target.name}")
    stays_clear("the press during the dialog left no capture behind",
                lambda: sorted(p.name for p in desk.out.iterdir() if p.name != "asked.png") or None, 1.5)
    desk.no_box(0.5)
    desk.still_watching()


# Wine replaces a read-only file where Windows refuses, so only another
# program holding the file can make the replace fail here.
def test_held_file_kept(ctx):
    desk = Resident(ctx, SaveFileName="shot")
    old = desk.out / "shot.png"
    old.write_bytes(b"the earlier picture")
    wp = ctx.session.windows_path
    ctx.start_driver("hold", wp(old), "--ready", wp(ctx.path("hold.ready")), "--stop",
                     wp(ctx.path("hold.stop")), out_name="hold.out")
    wait_until("the file to be held", ctx.path("hold.ready").exists, 10)
    try:
        desk.capture()
        desk.one_box(f'Failed to create the file "{wp(old)}"\n'
                     "Ensure the path is valid, and that you have write access to the folder. - ")
    finally:
        ctx.path("hold.stop").write_text("")
    left = sorted(p.name for p in desk.out.iterdir())
    if old.read_bytes() != b"the earlier picture" or left != ["shot.png"]:
        raise Failure(f"the failed save changed the earlier file or left {left}")


BIG_SCREEN = (640, 480)


def noise(x, y):
    """Busy enough that encoding a PNG of the whole screen takes a while."""
    v = (x * 7919 + y * 104729) ^ (x * y)
    return (v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF)


def test_killed_during_save(ctx):
    """The resident killed at the first sign of a save: the file of that name
    holds the old picture or the whole new one, never anything else."""
    out = ctx.path("out")
    out.mkdir()
    old = out / "shot-7.png"
    old.write_bytes(b"the previous capture")
    start_screen(ctx, BIG_SCREEN, noise)
    quiet_settings(ctx, Save=1, SaveFormat=1, SaveFolder=ctx.session.windows_path(out) + "\\")
    prog, _ = start_resident(ctx)
    before = {p.name: p.stat().st_mtime_ns for p in out.iterdir()}
    ctx.session.drive("clip-put", ctx.session.windows_path(ctx.path("screen.bmp")))
    press_capture_key(ctx)
    wait_until("the save to begin", lambda: {p.name: p.stat().st_mtime_ns for p in out.iterdir()} != before,
               30, interval=0.002)
    prog.proc.kill()
    prog.proc.wait(10)
    data = old.read_bytes()
    if data != b"the previous capture":
        try:
            complete = pictures.decode(old).size == BIG_SCREEN
        except ValueError:
            complete = False
        if not complete:
            raise Failure(f"after the kill {old.name} holds {len(data)} bytes that are neither the old file "
                          f"nor the new picture: {data[:16]!r}")


TESTS = [
    ("fault: clipboard held for 0.5 s", test_clipboard_held, {}),
    ("fault: printer deleted between two captures", test_printer_deleted, {}),
    ("fault: save folder vanishes and comes back", test_save_folder_vanishes, {}),
    ("fault: the key pressed while a save dialog is open", test_key_during_save_dialog, {}),
    ("fault: failed write over a file another program holds", test_held_file_kept, {}),
    ("fault: resident killed during a save", test_killed_during_save, {}),
]
