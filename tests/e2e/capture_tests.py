"""Captures from the capture key and the tray: the saved files, the cropped
area, the save dialog and the boxes that report a bad area or folder."""
import pictures
from harness import Failure, wait_until
from shell_tests import open_tray_menu
from steps import (SIZE, answer_box, blocks, differences, press_capture_key, put_blank_clipboard, quiet_settings,
                   read_message_box, save_as, save_dialog, start_resident, start_screen, visible_program_windows,
                   wait_for_file)


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
    menu = open_tray_menu(ctx, window)
    # Capture Desktop, Capture Rectangle, Print Desktop, Print Rectangle, Save Desktop
    ctx.session.drive("keys", *["DOWN"] * 5, "RETURN")
    ctx.session.drive("wait-gone", menu.handle, "--timeout", 5)
    dialog = save_dialog(ctx)
    if dialog is None:
        raise Failure("no save dialog after Save Desktop")
    target = ctx.path("picked.bmp")
    save_as(ctx, dialog, target)
    ctx.session.drive("wait-gone", dialog.handle, "--timeout", 5)
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


# ---- the pre-defined area (its edge cases are native tests) ----------------

def test_predefined_area(ctx):
    x1, y1, x2, y2 = 10, 5, 41, 28
    start_screen(ctx)
    ctx.session.drive("clip-put", ctx.session.windows_path(ctx.path("screen.bmp")))
    quiet_settings(ctx, Save=1, SaveFormat=1, PrintArea=1, x1=x1, y1=y1, x2=x2, y2=y2)
    start_resident(ctx)
    press_capture_key(ctx)
    path = ctx.path("shot-7.png")
    wait_for_file(path)
    problem = differences(pictures.decode(path), x2 - x1 + 1, y2 - y1 + 1, blocks, origin=(x1, y1))
    if problem:
        raise Failure(problem)


AREA_MESSAGE = ("The area of the screen captured is smaller than the specific area selected for printing. "
                "Screen Print/Capture aborted.")


def test_area_outside_image(ctx):
    x1, y1, x2, y2 = 0, 0, 64, 47  # one column wider than the 64 x 48 screen
    start_screen(ctx)
    ctx.session.drive("clip-put", ctx.session.windows_path(ctx.path("screen.bmp")))
    quiet_settings(ctx, Save=1, SaveFormat=1, PrintArea=1, x1=x1, y1=y1, x2=x2, y2=y2, HidePopup=0)
    prog, window = start_resident(ctx)
    press_capture_key(ctx)
    box, texts, buttons = read_message_box(ctx)
    text = "\n".join(texts)
    first, _, rest = text.partition("\n")
    if first.strip() != AREA_MESSAGE or not rest.strip():
        raise Failure(f"the box says {text!r}, expected the area message, a line break and the error")
    if buttons != ["OK"]:
        raise Failure(f"the box has buttons {buttons}, expected OK alone")
    answer_box(ctx, box)
    wait_until("the popup to close", lambda: not visible_program_windows(ctx, window.pid), 10)
    saved = sorted(p.name for p in ctx.folder.glob("shot-*"))
    if saved:
        raise Failure(f"a rejected area still saved {saved}")
    if not prog.running:
        raise Failure("the program ended after the area message")


# ---- a folder that cannot take the file (a missing one: fault_tests) --------

def test_save_folder_taken_by_a_file(ctx):
    folder = ctx.path("nowhere")
    folder.write_text("not a folder")
    start_screen(ctx)
    ctx.session.drive("clip-put", ctx.session.windows_path(ctx.path("screen.bmp")))
    windows_folder = ctx.session.windows_path(folder) + "\\"
    quiet_settings(ctx, Save=1, SaveFormat=1, SaveFolder=windows_folder)
    start_resident(ctx)
    press_capture_key(ctx)
    box, texts, _ = read_message_box(ctx)
    text = "\n".join(texts)
    path = windows_folder + "shot-7.png"
    expected = (f'Could not create the file "{path}"\r\n'
                "Ensure the path is valid, and that you have write access to the folder. - ")
    if not text.replace("\r", "").startswith(expected.replace("\r", "")):
        raise Failure(f"the box says {text!r}, expected it to begin with {expected!r}")
    answer_box(ctx, box)
    if folder.read_text() != "not a folder":
        raise Failure("the file standing in the folder's place was changed")


TESTS = [
    *[(f"capture: save as {name}", test_save_format,
       {"save_format": f, "ext": e, "kind": k, "tolerance": t, "captures": c})
      for name, f, e, k, t, c in SAVE_CASES],
    ("capture: F10 key, popup hidden, capture saved", test_f10_capture_popup_hidden, {}),
    ("capture: tray Save Desktop asks for the file", test_tray_save_desktop, {}),
    ("capture: pre-defined area", test_predefined_area, {}),
    ("capture: area outside the image", test_area_outside_image, {}),
    ("capture: save folder name taken by a file", test_save_folder_taken_by_a_file, {}),
]
