"""Captures from the capture key and the tray: the saved files in each
format, another capture key with the popup hidden, and the save dialog."""
import pictures
from harness import Failure, wait_until
from steps import (SIZE, blocks, differences, press_capture_key, put_blank_clipboard, quiet_settings, save_as,
                   save_dialog, start_resident, start_screen, tray_pick, visible_program_windows,
                   wait_for_file, wait_gone)


# ---- saving in each format -------------------------------------------------

SAVE_CASES = [
    # name, SaveFormat, extension, ImageMagick's format name, mean error allowed, captures
    ("GIF", 0, "gif", "GIF", 0, 1),
    ("PNG", 1, "png", "PNG", 0, 1),
    ("BMP, counter advancing", 2, "bmp", "BMP", 0, 2),
    ("JPG", 3, "jpg", "JPEG", 12, 1),
]


def test_save_format(ctx, save_format, ext, kind, tolerance, captures):
    start_screen(ctx)
    ctx.session.drive("clip-put", ctx.session.windows_path(ctx.path("screen.bmp")))
    quiet_settings(ctx, Save=1, SaveFormat=save_format, Counter=7)
    start_resident(ctx)
    for n in range(captures):
        press_capture_key(ctx)
        path = ctx.path(f"shot-{7 + n}.{ext}")
        found = wait_for_file(path)
        if not found[0].startswith(kind):  # BMP3 is a BMP
            raise Failure(f"{path.name} is {found[0]}, expected {kind}")
        problem = differences(pictures.decode(path), *SIZE, blocks, tolerance=tolerance)
        if problem:
            raise Failure(f"{path.name}: {problem}")
    others = sorted(p.name for p in ctx.folder.glob("shot-*"))
    expected = sorted(f"shot-{7 + n}.{ext}" for n in range(captures))
    if others != expected:
        raise Failure(f"saved files {others}, expected {expected}")


# ---- a capture key other than Print Screen, the popup hidden ---------------
# (the popup shown: the settings screenshots; its texts: native tests)

def test_f10_capture_popup_hidden(ctx):
    start_screen(ctx)
    put_blank_clipboard(ctx)  # only the program's own Print Screen can bring the screen now
    quiet_settings(ctx, Key=121, HidePopup=1, Save=1, SaveFormat=1)
    prog, window = start_resident(ctx)
    wp = ctx.session.windows_path
    watch = ctx.start_driver("watch-windows", "--pid", window.pid, "--ready", wp(ctx.path("watch.ready")),
                             "--stop", wp(ctx.path("watch.stop")), out_name="watch.out")
    wait_until("the window watch", ctx.path("watch.ready").exists, 10)
    press_capture_key(ctx, "F10")
    wait_for_file(ctx.path("shot-7.png"))
    problem = differences(pictures.decode(ctx.path("shot-7.png")), *SIZE, blocks)
    if problem:
        raise Failure(f"shot-7.png: {problem}")
    ctx.path("watch.stop").touch()
    watch.wait(10)
    shown = [line for line in ctx.path("watch.out").read_text(errors="replace").splitlines()
             if (line.startswith("new ") and " visible " in line) or line.startswith("shown ")]
    if shown:
        raise Failure(f"windows shown with HidePopup on: {shown}")
    if not prog.running:
        raise Failure("the program ended during the capture")


# ---- the tray's Save Desktop and its dialog --------------------------------

def test_tray_save_desktop(ctx):
    start_screen(ctx)
    put_blank_clipboard(ctx)
    # Saving is off in the settings: the tray choice alone turns it on.
    quiet_settings(ctx, Save=0, SaveFormat=2, HidePopup=0)
    prog, window = start_resident(ctx)
    # Capture Desktop, Capture Rectangle, Print Desktop, Print Rectangle, Save Desktop
    tray_pick(ctx, window, *["DOWN"] * 5, "RETURN")
    dialog = save_dialog(ctx)
    if dialog is None:
        raise Failure("no save dialog after Save Desktop")
    target = ctx.path("picked.bmp")
    save_as(ctx, dialog, target)
    wait_gone(ctx, dialog, "the save dialog")
    found = wait_for_file(target)
    if not found[0].startswith("BMP"):
        raise Failure(f"{target.name} is {found[0]}, expected BMP (the filter the dialog opened with)")
    problem = differences(pictures.decode(target), *SIZE, blocks)
    if problem:
        raise Failure(f"{target.name}: {problem}")
    # The template is not used for a prompted name.
    strays = sorted(p.name for p in ctx.folder.glob("shot-*"))
    if strays:
        raise Failure(f"files from the template written too: {strays}")
    wait_until("the popup to close", lambda: not visible_program_windows(ctx, window.pid), 10)


TESTS = [
    *[(f"capture: save as {name}", test_save_format,
       {"save_format": f, "ext": e, "kind": k, "tolerance": t, "captures": c})
      for name, f, e, k, t, c in SAVE_CASES],
    ("capture: F10 key, popup hidden, capture saved", test_f10_capture_popup_hidden, {}),
    ("capture: tray Save Desktop asks for the file", test_tray_save_desktop, {}),
]
