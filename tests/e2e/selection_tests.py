"""Area captures and the on-the-fly options dialog, driven with a real mouse
and real keys: what ends up on the clipboard, in files, on paper and on the
screen."""
import subprocess

import bmp
from harness import Failure, stays_clear, wait_until, wait_until_right
from steps import (FORM_CLASS, Resident, answer_box, clipboard_picture, differences, menu_pick, put_blank_clipboard,
                   same_picture, save_as, save_dialog, wait_gone)

PRINTER = "Orvanex Test Printer"
SCREEN = (320, 240)  # the "screen" the Print Screen stand-in copies
WINDOW = (48, 32)  # and the "active window" Alt+Print Screen copies


def window_pixel(x, y):
    return (255 - x, x * 5 & 0xFF, y * 7 & 0xFF)

# Options dialog controls.
OPTION_DESKTOP, OPTION_WINDOW, OPTION_PROMPT = "obPrintArea(0)", "obPrintArea(3)", "obPrintArea(2)"
PRINTER_LIST, SAVE_BOX, OK, CANCEL = "ddlbPrinter", "cbxSave", "cmdOK", "cmdCancel"
WM_SYSCOMMAND, SC_RESTORE = 0x112, 0xF120
FULL_SCREEN = (0, 0, 1280, 1024)  # the harness's X screen

# Keys that pick from the menus (the system's menus skip separators).
TRAY_CAPTURE_RECTANGLE = ["DOWN", "DOWN", "RETURN"]
TRAY_SAVE_RECTANGLE = ["DOWN"] * 6 + ["RETURN"]
MENU_CAPTURE, MENU_RESET = 1, 3

def crop(x1, y1, x2, y2):
    """The picture of the screen part between two corners, both inside."""
    left, top = min(x1, x2), min(y1, y2)
    return abs(x2 - x1) + 1, abs(y2 - y1) + 1, lambda x, y: bmp.pattern(left + x, top + y)


def resident(ctx, settings, printer=False, screen=SCREEN):
    """The resident with the pattern as the screen and a window of its own."""
    return Resident(ctx, screen=(screen, bmp.pattern), window=(WINDOW, window_pixel),
                    printer=PRINTER if printer else None, **settings)


def wait_clipboard(ctx, what, width, height, pixel, timeout=5):
    def problem():
        picture = clipboard_picture(ctx)
        return differences(picture, width, height, pixel) if picture else "no bitmap on the clipboard"
    wait_until_right(what + " on the clipboard", problem, timeout)


def unexpected(desk, files=()):
    """A problem text when a capture left other files than those, a page,
    or a window of the program (a dialog, or another capture begun)."""
    if desk.files_written() != sorted(files):
        return f"files written: {desk.files_written()}"
    if desk.printed.exists():
        return "a page was printed"
    shown = [w for w in desk.ctx.session.windows(pid=desk.pid) if w.cls in (FORM_CLASS, "#32770")]
    return f"windows open: {shown}" if shown else None


def framed(left, top, right, bottom):
    """The screen as the selection window should show it: the capture one to
    one, the selected part's edge pixels black with a white line inside."""
    def pixel(x, y):
        inside = left <= x <= right and top <= y <= bottom
        if inside and (x in (left, right) or y in (top, bottom)):
            return (0, 0, 0)
        if left < x < right and top < y < bottom and (x in (left + 1, right - 1) or y in (top + 1, bottom - 1)):
            return (255, 255, 255)
        return bmp.pattern(x, y)
    return pixel


def screen_shows(ctx, pixel):
    """Waits until the top left of the X screen, where the selection window
    puts image pixel (0,0), shows the expected picture."""
    shot = ctx.path("display.bmp")

    def mismatch():
        subprocess.run(["import", "-display", ctx.session.env["DISPLAY"], "-window", "root",
                        "-crop", "%dx%d+0+0" % SCREEN, "+repage", "-type", "TrueColor", f"bmp3:{shot}"],
                       check=True, timeout=30, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return same_picture(shot, *SCREEN, pixel)
    wait_until_right("the picture on the screen", mismatch, 3, interval=0.2)


def placed(ctx, window, state, rect):
    """Waits until the window is in that state with that screen rectangle
    (left, top, right, bottom; None: anywhere)."""
    wanted = f"{state} {' '.join(map(str, rect))}" if rect else state

    def elsewhere():
        seen = " ".join(ctx.session.drive("dialog", window.handle, "placement")[1])
        return None if seen == wanted or (not rect and seen.split()[0] == state) else seen
    wait_until_right(f"the window {wanted}", elsewhere, 3, interval=0.1)


# Where the pointer rests to pop up the menu: its tooltip then falls below
# the part of the screen that is looked at.
MENU_POINT = (SCREEN[0] - 5, SCREEN[1] - 5)


def play(ctx, window, steps):
    for step in steps:
        if step[0] == "drag":
            ctx.session.drive("drag", window.handle, *step[1:])
        elif step[0] == "look":
            screen_shows(ctx, framed(*step[1]) if step[1] else bmp.pattern)
        elif step[0] == "menu":
            ctx.session.drive("right-click", window.handle, *MENU_POINT)
            menu_pick(ctx, ["DOWN"] * step[1] + ["RETURN"])
        elif step[0] == "restore":
            ctx.session.drive("post", window.handle, WM_SYSCOMMAND, SC_RESTORE, 0)
            placed(ctx, window, "normal", None)  # posted: restored only once the window has taken it
        elif step[0] == "move":
            ctx.session.drive("dialog", window.handle, "move=" + ":".join(map(str, step[1:])))
        elif step[0] == "placed":
            placed(ctx, window, *step[1:])
        elif step[0] == "escape":
            ctx.session.drive("keys", "ESCAPE")
        else:
            raise ValueError(step)


AREA_CASES = [
    # name, how the capture starts (the tray's "Capture Rectangle" or "Save
    # Rectangle", or the capture key with saving through a template), gestures
    # and looks at the screen (None: the plain capture, else the corners of
    # the framed part), corners of the part kept (None: the capture is cancelled)
    ("tray, drag and capture", "tray", [("drag", 40, 30, 199, 149), ("menu", MENU_CAPTURE)], (40, 30, 199, 149)),
    ("key, reset then a new rectangle", "key",
     [("look", None), ("drag", 10, 10, 300, 200), ("look", (10, 10, 300, 200)), ("menu", MENU_RESET),
      ("look", None), ("drag", 100, 60, 131, 75), ("menu", MENU_CAPTURE)],
     (100, 60, 131, 75)),
    ("tray save, Escape at once", "tray save", [("escape",)], None),
    # The user's restored place lasts from one window to the next; every
    # window still opens over the whole screen.
    ("key, restored, moved and captured", "key",
     [("placed", "maximized", FULL_SCREEN), ("restore",), ("move", 100, 80, 400, 300),
      ("placed", "normal", (100, 80, 500, 380)), ("drag", 30, 20, 90, 60), ("menu", MENU_CAPTURE)], (30, 20, 90, 60)),
    ("key, opens maximised, restores to the last place, Escape at once", "key",
     [("placed", "maximized", FULL_SCREEN), ("restore",), ("placed", "normal", (100, 80, 500, 380)), ("escape",)],
     None),
]


# The formats that keep the program's own pictures out of clipboard history
# and off the user's other devices, as clip-formats lists them.
KEPT_PRIVATE = {"ExcludeClipboardContentFromMonitorProcessing=0", "CanIncludeInClipboardHistory=0",
                "CanUploadToCloudClipboard=0"}


def private_formats(ctx):
    return KEPT_PRIVATE & set(ctx.session.drive("clip-formats")[1])


def area_capture(ctx, desk, start, steps, kept):
    saved = desk.out / "area.bmp"
    saved.unlink(missing_ok=True)
    if start == "key":
        desk.capture()
    else:
        put_blank_clipboard(ctx)  # only the capture's own Print Screen can bring the screen
        desk.tray(*(TRAY_CAPTURE_RECTANGLE if start == "tray" else TRAY_SAVE_RECTANGLE))
    window = desk.selection_window()
    play(ctx, window, steps)
    wait_gone(ctx, window, "the area selection window")

    if kept is None:
        # Cancelled: the full capture stays where the system put it, and
        # neither the template nor the save dialog comes into play.
        wait_clipboard(ctx, "the whole screen", *SCREEN, bmp.pattern)
        if private_formats(ctx):  # the system's copy stays the user's
            raise Failure(f"the screen's copy carries {private_formats(ctx)}")
        stays_clear("nothing saved, printed or asked", lambda: unexpected(desk), 0.6)
        return
    wait_clipboard(ctx, "the selected part", *crop(*kept))
    if private_formats(ctx) != KEPT_PRIVATE:
        raise Failure(f"the selected part carries only {private_formats(ctx)} of {KEPT_PRIVATE}")
    if start == "key":
        def saved_problem():
            return same_picture(saved, *crop(*kept)) if saved.exists() else "no file"
        wait_until("the saved part", lambda: saved_problem() is None, 5)
    # The program's own Print Screen (tray) must not start a further capture.
    stays_clear("nothing more", lambda: unexpected(desk, ["area.bmp"] if start == "key" else []), 0.5)


def test_area_captures(ctx):
    # One resident for all cases, as a user's session goes: each capture also
    # proves that the one before left no window, command or selection behind.
    desk = resident(ctx, {"PrintArea": "2", "Save": "1", "SaveFileName": "area", "SaveFormat": "2"})
    for name, start, steps, kept in AREA_CASES:
        try:
            area_capture(ctx, desk, start, steps, kept)
        except Failure as failure:
            raise Failure(f"{name}: {failure}") from None


# ---- the options dialog ----------------------------------------------------

def dialog_state(ctx, window):
    """{name: (state, text)} and the printer list entries."""
    code, lines = ctx.session.drive("controls", window.handle)
    if code != 0:
        raise Failure(f"cannot read the options dialog's controls: {lines}")
    controls, entries = {}, []
    for line in lines:
        if line.startswith("control "):
            head, _, text = line.partition(" text=")
            fields = head.split()
            controls[fields[6].split("=", 1)[1] or fields[1]] = (int(fields[5].split("=", 1)[1]), text)
        elif line.startswith("item "):
            entries.append(line.split(" ", 3)[3] if line.count(" ") >= 3 else "")
    return controls, entries


def expect_dialog(ctx, window, area_option, printer, save):
    controls, entries = dialog_state(ctx, window)
    options = {i: controls[i][0] for i in (OPTION_DESKTOP, OPTION_WINDOW, OPTION_PROMPT)}
    selected = controls[PRINTER_LIST][0]
    shown = {"options": options, "printer": entries[selected] if 0 <= selected < len(entries) else None,
             "save": controls[SAVE_BOX][0]}
    expected = {"options": {i: int(i == area_option) for i in options}, "printer": printer, "save": save}
    if shown != expected:
        raise Failure(f"the options dialog opened with {shown}, expected {expected}")
    if entries[:1] != ["<Default Printer>"] or entries[-1:] != ["<Disabled>"] or PRINTER not in entries:
        raise Failure(f"printer entries {entries}")


def page_printed(desk):
    return desk.printed.exists() and b"%%EOF" in desk.printed.read_bytes()


# Printing on, saving off, the whole desktop: what each dialog changes shows.
OPTIONS_SETTINGS = {"OnTheFly": "1", "PrintArea": "0", "PrintScreen": "1", "Printer": PRINTER, "Save": "0",
                    "SaveFormat": "2"}


def open_dialog(ctx, desk, area_option, printer, save):
    desk.printed.unlink(missing_ok=True)
    desk.capture()
    dialog = desk.options_dialog()
    expect_dialog(ctx, dialog, area_option, printer, save)
    return dialog


def confirm(ctx, dialog, button=OK):
    answer_box(ctx, dialog, button, "the options dialog")


def test_options_dialog(ctx):
    desk = resident(ctx, OPTIONS_SETTINGS, printer=True)
    shot = desk.out / "shot.bmp"

    step = "as set: a page"
    try:
        dialog = open_dialog(ctx, desk, OPTION_DESKTOP, PRINTER, 0)
        confirm(ctx, dialog)
        wait_until("the printed page", lambda: page_printed(desk), 20)
        desk.printed.unlink()
        stays_clear("nothing saved or asked", lambda: unexpected(desk), 0.5)

        # The active window is copied only once the dialog has closed: the
        # file then holds that picture, not the screen the key copied.
        step = "active window, printer disabled, save ticked: the save dialog and no page"
        dialog = open_dialog(ctx, desk, OPTION_DESKTOP, PRINTER, 0)
        ctx.session.drive("press", dialog.handle, OPTION_WINDOW)
        ctx.session.drive("dialog", dialog.handle, f"choose-text={PRINTER_LIST}:<Disabled>")
        ctx.session.drive("press", dialog.handle, SAVE_BOX)
        wait_until("Save ticked", lambda: dialog_state(ctx, dialog)[0][SAVE_BOX][0] == 1, 5)
        confirm(ctx, dialog)
        box = save_dialog(ctx, desk.pid, 5)
        if box is None:
            raise Failure("no save dialog after choosing to save")
        save_as(ctx, box, shot)
        wait_until("the saved window",
                   lambda: shot.exists() and same_picture(shot, *WINDOW, window_pixel) is None, 10)
        # Nor may the program's own Alt+Print Screen start another capture.
        stays_clear("no page printed and no further capture", lambda: unexpected(desk, ["shot.bmp"]), 1.5)

        step = "kept choices, area prompted, Escape"
        shot.unlink()
        dialog = open_dialog(ctx, desk, OPTION_WINDOW, "<Disabled>", 1)
        ctx.session.drive("press", dialog.handle, OPTION_PROMPT)
        ctx.session.drive("dialog", dialog.handle, f"choose-text={PRINTER_LIST}:{PRINTER}")
        confirm(ctx, dialog)
        window = desk.selection_window()
        play(ctx, window, [("escape",)])
        wait_gone(ctx, window, "the area selection window")
        stays_clear("nothing printed, saved or asked", lambda: unexpected(desk), 1.5)

        step = "kept choices, Cancel"
        dialog = open_dialog(ctx, desk, OPTION_PROMPT, PRINTER, 1)
        confirm(ctx, dialog, CANCEL)
        stays_clear("no capture after Cancel", lambda: unexpected(desk), 1.0)
    except Failure as failure:
        raise Failure(f"{step}: {failure}") from None


TESTS = [
    ("selection: area captures one after another", test_area_captures, {}),
    ("selection: the on-the-fly options dialog across captures", test_options_dialog, {}),
]
