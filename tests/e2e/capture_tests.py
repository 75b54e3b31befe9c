"""Captures from another capture key with the popup hidden, and from the
tray with its save dialog, and with Windows' Print Screen setting on.
(Saving in each format: the soak.)"""
import bmp
import pictures
from harness import Failure, wait_until
from steps import (Resident, differences, put_blank_clipboard, save_as, save_dialog, screen_shows,
                   visible_program_windows, wait_for_file, wait_gone)


# ---- a capture key other than Print Screen, the popup hidden ---------------
# (the popup shown: the settings screenshots; its texts: native tests)

def test_f10_capture_popup_hidden(ctx):
    put_blank_clipboard(ctx)  # only the program's own Print Screen can bring the screen now
    desk = Resident(ctx, Key=121, HidePopup=1, Save=1, SaveFormat=1)
    wp = ctx.session.windows_path
    watch = ctx.start_driver("watch-windows", "--pid", desk.pid, "--ready", wp(ctx.path("watch.ready")),
                             "--stop", wp(ctx.path("watch.stop")), out_name="watch.out")
    wait_until("the window watch", ctx.path("watch.ready").exists, 10)
    desk.key("F10")
    desk.saved()
    ctx.path("watch.stop").touch()
    watch.wait(10)
    shown = [line for line in ctx.path("watch.out").read_text(errors="replace").splitlines()
             if (line.startswith("new ") and " visible " in line) or line.startswith("shown ")]
    if shown:
        raise Failure(f"windows shown with HidePopup on: {shown}")
    if not desk.prog.running:
        raise Failure("the program ended during the capture")


# ---- the tray's Save Desktop and its dialog --------------------------------

FILE_TYPES = 0x470  # the save dialog's file type list


def test_tray_save_desktop(ctx):
    put_blank_clipboard(ctx)
    # Saving is off in the settings: the tray choice alone turns it on.
    desk = Resident(ctx, Save=0, SaveFormat=2, HidePopup=0)
    # Capture Desktop, Capture Rectangle, Print Desktop, Print Rectangle, Save Desktop
    desk.tray(*["DOWN"] * 5, "RETURN")
    dialog = save_dialog(ctx)
    if dialog is None:
        raise Failure("no save dialog after Save Desktop")
    # It opens on the stored format; the user then picks PNG.
    _, lines = ctx.session.drive("dialog", dialog.handle, f"show={FILE_TYPES}")
    if "BMP" not in lines[0].partition(" text=")[2]:
        raise Failure(f"the save dialog opened on {lines[0]}, expected the BMP filter (SaveFormat 2)")
    ctx.session.drive("dialog", dialog.handle, f"choose={FILE_TYPES}:1")
    target = desk.out / "picked.png"
    save_as(ctx, dialog, target)
    wait_gone(ctx, dialog, "the save dialog")
    if desk.saved() != target:  # the template is not used for a prompted name
        raise Failure(f"the dialog's capture was not saved as {target.name}")
    found = wait_for_file(target)
    if not found[0].startswith("PNG"):
        raise Failure(f"{target.name} is {found[0]}, expected PNG (the type chosen in the dialog)")
    wait_until("the popup to close", lambda: not visible_program_windows(ctx, desk.pid), 10)


# ---- Windows' Print Screen setting on: the program copies the screen -------

PICTURE, AT = (160, 120), (200, 150)  # a window in front showing a known picture


def test_f11_with_windows_capture_tool_on(ctx):
    # No stand-in: Wine's Print Screen copies nothing, as Windows' does with the setting on.
    keyboard = r"HKCU\Control Panel\Keyboard"
    ctx.session.drive("reg", "dword", keyboard, "PrintScreenKeyForSnippingEnabled", 1)
    try:
        capture_what_the_screen_shows(ctx)
    finally:  # the prefix outlives the test
        ctx.session.reg_unset(keyboard, "PrintScreenKeyForSnippingEnabled")
        ctx.path("w.stop").touch()


def capture_what_the_screen_shows(ctx):
    ctx.session.reg_set(r"HKCU\SOFTWARE\Halvorn\Orvanexv3\Notices", "PrintScreenSnipping", "1")  # told before
    wp = ctx.session.windows_path
    bmp.write(ctx.path("picture.bmp"), *PICTURE, bmp.pattern)
    ctx.start_driver("key-window", "--picture", wp(ctx.path("picture.bmp")), *AT, "--ready", wp(ctx.path("w.ready")),
                     "--log", wp(ctx.path("w.log")), "--stop", wp(ctx.path("w.stop")), out_name="window.out")
    wait_until("the picture in front", ctx.path("w.ready").exists, 10)
    put_blank_clipboard(ctx)
    ctx.session.drive("cursor", *ctx.session.screen)  # off every window and icon
    # The screen must hold still between the capture and Xvfb's copy: no tooltip coming or going.
    wait_until("no tooltip on the screen",
               lambda: ctx.session.find_window(cls="tooltips_class32", visible=True) is None, 10)
    for counter, area in ((7, 0), (8, 3)):  # the whole screen, then the active window
        desk = Resident(ctx, screen=None, Key=122, Save=1, SaveFormat=1, PrintArea=area, Counter=counter)
        desk.key("F11")
        shot = desk.out / f"shot-{counter}.png"
        wait_for_file(shot)
        saved = pictures.decode(shot)
        if area == 0:
            screen = screen_shows(ctx)
            if (saved.size, saved.data) != (screen.size, screen.data):
                raise Failure(f"{shot.name} ({saved.size}) is not what Xvfb shows ({screen.size})")
            saved = pictures.Picture(*PICTURE, b"".join(
                saved.data[((AT[1] + y) * saved.width + AT[0]) * 3:][:PICTURE[0] * 3] for y in range(PICTURE[1])))
        problem = differences(saved, *PICTURE, bmp.pattern)
        if problem:
            raise Failure(f"{shot.name}: {problem}")
        ctx.start_program("-exit").wait_end(15)
        desk.prog.wait_end(15)


TESTS = [
    ("capture: F10 key, popup hidden, capture saved", test_f10_capture_popup_hidden, {}),
    ("capture: tray Save Desktop asks for the file", test_tray_save_desktop, {}),
    ("capture: F11 with Windows' Print Screen capture on saves what the screen shows",
     test_f11_with_windows_capture_tool_on, {}),
]
