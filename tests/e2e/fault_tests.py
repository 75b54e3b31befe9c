"""The world around a resident going wrong: another program sitting on the
clipboard or on the file being replaced, the printer taken away, the save
folder gone for a while, a key pressed while a save dialog waits. Nothing may
be lost and the key watch must go on."""
import shutil

import pictures
from harness import Failure, stays_clear, wait_until
from steps import Resident, save_as, save_dialog

PRINTER = "Orvanex Fault Printer"


def hold_clipboard(ctx, seconds):
    ready = ctx.path(f"hold-{seconds}.ready")
    ctx.start_driver("clip-hold", seconds, "--ready", ctx.session.windows_path(ready), out_name="hold.out")
    wait_until("the clipboard to be held", ready.exists, 10)


def test_clipboard_held(ctx):
    # A hold that outlasts the retries is a native case: under Wine the read waits for the holder.
    desk = Resident(ctx, Save=1, SaveFormat=1)
    desk.capture()
    desk.saved()
    desk.put_clipboard()
    hold_clipboard(ctx, 0.5)
    desk.key()
    desk.saved()
    desk.no_box(1.5)
    desk.still_watching()


def test_printer_deleted(ctx):
    desk = Resident(ctx, printer=PRINTER, Save=1, SaveFormat=1, PrintScreen=1, Printer=PRINTER)
    printed = desk.printed
    desk.capture()
    desk.saved()
    wait_until("the printed page", lambda: printed.exists() and b"%%EOF" in printed.read_bytes()[-200:], 30)
    ctx.session.drive("delete-printer", PRINTER)
    desk.capture()
    desk.saved()  # the file comes before the page
    desk.one_box(f"Printer '{PRINTER}' does not exist anymore. Aborting Print.", timeout=30)
    desk.still_watching()


def test_save_folder_vanishes(ctx):
    desk = Resident(ctx, Save=1, SaveFormat=1)
    desk.capture()
    desk.saved()
    shutil.rmtree(desk.out)
    desk.capture()
    desk.one_box('Could not create the file "')
    desk.out.mkdir()
    desk.seen.clear()
    desk.still_watching()


def test_key_during_save_dialog(ctx):
    desk = Resident(ctx, Save=1, SaveFormat=1, HidePopup=0)
    desk.tray(*["DOWN"] * 5, "RETURN")  # Save Desktop
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
    desk = Resident(ctx, Save=1, SaveFormat=1, SaveFileName="shot")
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
    desk = Resident(ctx, screen=(BIG_SCREEN, noise), Save=1, SaveFormat=1)
    out, prog = desk.out, desk.prog
    old = out / "shot-7.png"
    old.write_bytes(b"the previous capture")
    before = {p.name: p.stat().st_mtime_ns for p in out.iterdir()}
    desk.capture()
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
