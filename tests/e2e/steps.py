"""Steps the capture and print tests share: the OS stand-in, the settings,
the program, and reading back what it left."""
import subprocess

import bmp
import pictures
import under_test
from harness import TRAY_CALLBACK, WM_RBUTTONUP, Failure, stays_clear, wait_until

assert under_test.PRODUCT, "run.py reads the exe under test before it imports the tests"
PRODUCT = TITLE = under_test.PRODUCT  # the title of the program's dialogs and boxes
FORM_CLASS = "OrvanexForm"  # the class of the program's own windows
SIZE = (64, 48)


def blocks(x, y):
    """8 x 8 blocks of 96 colours: few enough for a GIF to hold exactly,
    aligned with JPEG's blocks, and with distinct corners so that flips,
    shifts and swapped channels show."""
    return ((x // 8) * 32 + 16, (y // 8) * 40 + 8, 0xC0 if (x // 8 + y // 8) % 2 else 0x30)


# ---- the OS stand-in and the program --------------------------------------

def start_screen(ctx, size=SIZE, pixel=blocks, dib=False):
    """Runs the Print Screen stand-in with a known "screen". The program only
    takes a picture that arrives after the key press, so whatever a test puts
    on the clipboard beforehand is never what it captures."""
    screen = ctx.path("screen.bmp")
    bmp.write(screen, *size, pixel)
    start_snapshot_key(ctx, screen, dib=dib)
    return screen


def start_snapshot_key(ctx, screen, window=None, dib=False):
    """The Print Screen stand-in with a screen picture (and one of the
    active window, for Alt+Print Screen) already written."""
    wp = ctx.session.windows_path
    options = (["--alt", wp(window)] if window else []) + (["--dib"] if dib else [])
    ctx.start_driver("snapshot-key", wp(screen), *options,
                     "--ready", wp(ctx.path("hook.ready")), "--stop", wp(ctx.path("hook.stop")), out_name="hook.out")
    wait_until("the Print Screen stand-in", ctx.path("hook.ready").exists, 30)


def put_blank_clipboard(ctx):
    """Something else on the clipboard, so that only a key can bring the screen."""
    blank = ctx.path("blank.bmp")
    bmp.write(blank, 3, 2, lambda x, y: (1, 2, 3))
    ctx.session.drive("clip-put", ctx.session.windows_path(blank))


def quiet_settings(ctx, **values):
    """Settings for one test: no printing, no save, no popup, no dialog
    before the capture, unless the test says otherwise."""
    settings = {"PrintScreen": "0", "Save": "0", "HidePopup": "1", "OnTheFly": "0", "PrintArea": "0",
                "SaveFolder": ctx.session.windows_path(ctx.folder) + "\\", "SaveFileName": "shot-[counter]",
                "SaveFormat": "2", "Counter": "7"}
    settings.update({k: str(v) for k, v in values.items()})
    ctx.set_settings("HKLM", settings)


class Resident:
    """The program resident in the tray ("-startup") behind the Print Screen
    stand-in: the screen (size, pixel) and, for Alt+Print Screen, the active
    window, as BMPs in the test's folder; the quiet settings with the test's
    values over them (quiet=False: only the values) written first; the
    printer, when named, installed before the start, as the program lists the
    printers as it loads. Files it saves are looked for in out\."""

    def __init__(self, ctx, screen=(SIZE, blocks), window=None, dib=False, printer=None, exe=None, env=None,
                 quiet=True, **values):
        self.ctx = ctx
        self.out = ctx.path("out")
        self.out.mkdir(exist_ok=True)
        self.printed = ctx.path("printed.ps")
        self.screen = screen
        self.seen = set()
        if printer:
            ctx.session.install_printer(printer, self.printed)
        if screen:
            bmp.write(ctx.path("screen.bmp"), *screen[0], screen[1])
            if window:
                bmp.write(ctx.path("window.bmp"), *window[0], window[1])
            start_snapshot_key(ctx, ctx.path("screen.bmp"), window and ctx.path("window.bmp"), dib=dib)
        if quiet:
            quiet_settings(ctx, **{"SaveFolder": ctx.session.windows_path(self.out) + "\\", **values})
        else:
            ctx.set_settings("HKLM", {k: str(v) for k, v in values.items()})
        self.exe = exe or ctx.session.exe
        self.prog = ctx.start_program("-startup", exe=exe, env=env)
        self.container = self.prog.container(20)
        self.pid = self.container.pid

    def put_clipboard(self, name="screen.bmp"):
        self.ctx.session.drive("clip-put", self.ctx.session.windows_path(self.ctx.path(name)))

    def key(self, key="SNAPSHOT"):
        # The stand-in copies the screen as the key goes down; only then does
        # the program's 100 ms key watch see it.
        self.ctx.session.drive("keys", key)

    def capture(self):
        """The screen put back on the clipboard, then the key."""
        self.put_clipboard()
        self.key()

    def tray(self, *keys):
        tray_pick(self.ctx, self.container, *keys)

    def saved(self, timeout=20):
        """The one new file a capture wrote to out\, checked against the screen."""
        def arrived():  # not the temporary file a save writes first and moves into place
            names = {p.name for p in self.out.iterdir() if p.suffix != ".tmp"} if self.out.exists() else set()
            return names - self.seen
        fresh = wait_until("a saved capture", arrived, timeout, interval=0.1)
        if len(fresh) != 1:
            raise Failure(f"one capture wrote {sorted(fresh)}")
        path = self.out / fresh.pop()
        self.seen.add(path.name)
        wait_for_file(path)
        problem = differences(pictures.decode(path), *self.screen[0], self.screen[1])
        if problem:
            raise Failure(f"{path.name}: {problem}")
        return path

    def files_written(self):
        return sorted(p.name for p in self.out.iterdir())

    def no_box(self, seconds):
        def box():
            code, lines = self.ctx.session.drive("msgbox", "--timeout", 0)
            return lines if code == 0 else None
        stays_clear("no message box", box, seconds, interval=0.2)

    def one_box(self, begins, timeout=20):
        """The one message box the program shows, answered; its text."""
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

    def form(self, what, title, timeout):
        window = self.ctx.session.find_window(cls=FORM_CLASS, title=title, pid=self.pid, visible=True,
                                              timeout=timeout)
        if window is None or (title is None and window.title != ""):
            raise Failure(f"no {what} within {timeout:g} s (found {window})")
        return window

    def selection_window(self, timeout=5):
        return self.form("area selection window", None, timeout)

    def options_dialog(self, timeout=5):
        return self.form("options dialog", TITLE, timeout)

    def open_settings(self, timeout=15):
        return open_settings(self.ctx, self.exe, self.pid, timeout)


def menu_pick(ctx, keys):
    """Picks from the pop-up menu that is showing or about to show."""
    if ctx.session.drive("pick-menu", *keys, "--timeout", 10, timeout=60)[0] != 0:
        raise Failure(f"no menu came, or it stayed open after {' '.join(keys)}")


def tray_pick(ctx, window, *keys):
    """The tray menu, opened as a right click on the icon opens it, picked with the keys."""
    ctx.session.drive("post", window.handle, TRAY_CALLBACK, 1, WM_RBUTTONUP)
    menu_pick(ctx, keys)


def tray_icon(ctx):
    """The window of the one icon in Wine's tray window."""
    code, lines = ctx.session.drive("tray", "--count", 1, "--timeout", 5, timeout=35, check=False)
    if code != 0:
        raise Failure(f"expected one tray icon, found {lines}")
    return next(line.split()[1] for line in lines if line.startswith("icon "))


def tray_icon_pick(ctx, *keys):
    """The tray menu opened by a real right click on the icon."""
    ctx.session.drive("right-click", tray_icon(ctx), 8, 8)
    menu_pick(ctx, keys)
    # A pointer left on the icon brings up its tooltip over later tests' screens.
    ctx.session.drive("cursor", ctx.session.screen[0] // 2, ctx.session.screen[1] // 2)


def tray_icon_colour(ctx):
    """How coloured the tray icon looks on the screen, 0 (grey) to 1; None while it is not drawn."""
    _, lines = ctx.session.drive("dialog", tray_icon(ctx), "placement")
    left, top, right, bottom = map(int, lines[0].split()[1:5])
    screen = screen_shows(ctx)
    pixels = [screen.pixel(x, y) for y in range(top, bottom) for x in range(left, right)]
    if len(set(pixels)) < 2:
        return None
    return sum(max(p) - min(p) for p in pixels) / len(pixels) / 255


def screen_shows(ctx):
    """What the X server shows, read from outside Wine."""
    raw = ctx.path("root.ppm")
    subprocess.run(["import", "-display", ctx.session.env["DISPLAY"], "-window", "root", str(raw)], check=True,
                   timeout=30, env=ctx.session.env)
    return pictures.decode(raw)


def open_settings(ctx, exe, pid, timeout=15):
    """A second start with no argument: the resident opens its settings dialog."""
    code, lines = ctx.session.drive("launch", ctx.session.windows_path(exe), "", "--timeout", timeout,
                                    timeout=timeout + 30)
    if code != 0:
        raise Failure(f"the second start did not end: {lines}")
    dialog = ctx.session.find_window(cls=FORM_CLASS, title=TITLE, pid=pid, visible=True, timeout=timeout)
    if dialog is None:
        raise Failure("the settings dialog did not open")
    return dialog


def wait_for_file(path, timeout=15):
    """A saved image is written beside its name and moved into place whole:
    wait until it is there and ImageMagick reads it."""
    def complete():
        if not path.exists() or path.stat().st_size < 40:
            return None
        try:
            return pictures.identify(path)
        except ValueError:
            return None
    return wait_until(f"the file {path.name}", complete, timeout, interval=0.1)


def differences(picture, width, height, pixel, origin=(0, 0), tolerance=0):
    """None when the picture is the expected one, else what differs. With a
    tolerance (lossy files), the mean error per channel must stay below it and
    no channel may be off by half its range: a shifted, flipped or
    channel-swapped picture misses by far more."""
    if picture.size != (width, height):
        return f"size {picture.width}x{picture.height}, expected {width}x{height}"
    total, worst = 0, (0, None)
    for y in range(height):
        for x in range(width):
            got = picture.pixel(x, y)
            want = pixel(x + origin[0], y + origin[1])
            if tolerance == 0 and got != want:
                return f"pixel ({x},{y}) is {got}, expected {want}"
            errors = [abs(a - b) for a, b in zip(got, want)]
            total += sum(errors)
            if max(errors) > worst[0]:
                worst = (max(errors), (x, y, got, want))
    mean = total / (width * height * 3)
    if tolerance and (mean > tolerance or worst[0] > 128):
        return f"mean error {mean:.1f}, worst {worst[0]} at {worst[1]}"
    return None


def same_picture(path, width, height, pixel):
    """None when the image file holds exactly that picture, else what differs."""
    try:
        return differences(pictures.decode(path), width, height, pixel)
    except ValueError as error:  # not yet whole
        return str(error)


def clipboard_picture(ctx, name="clip.bmp"):
    path = ctx.path(name)
    code, _ = ctx.session.drive("clip-dump", ctx.session.windows_path(path))
    return pictures.decode(path) if code == 0 and path.exists() else None


def read_message_box(ctx, timeout=10):
    """The first visible message box: (window line, text, buttons)."""
    code, lines = ctx.session.drive("msgbox", "--timeout", timeout, timeout=timeout + 30)
    if code != 0:
        raise Failure(f"no message box within {timeout:g} s")
    window = lines[0].split()[0]
    texts, buttons = [], []
    for line in lines[1:]:
        if line.startswith("button "):
            buttons.append(line.split(" ", 2)[2])
        elif line.startswith("text "):
            texts.append(line[5:])
        elif texts:  # a text with line breaks goes on over several lines
            texts[-1] += "\n" + line
    return window, texts, buttons


def wait_gone(ctx, window, what="the box"):
    if ctx.session.drive("wait-gone", getattr(window, "handle", window), "--timeout", 5, timeout=35)[0] != 0:
        raise Failure(f"{what} stayed open")


def answer_box(ctx, window, button="OK", what="the box"):
    ctx.session.drive("press", getattr(window, "handle", window), button)
    wait_gone(ctx, window, what)


SAVE_TITLE = PRODUCT + " Save to File"
SAVE_NAME_FIELDS = (0x47C, 0x480)  # the file name box: an editable combo box, or a plain edit


def save_dialog(ctx, pid=None, timeout=10):
    return ctx.session.find_window(cls="#32770", title=SAVE_TITLE, pid=pid, visible=True, timeout=timeout)


def save_as(ctx, dialog, path):
    """Types the file name into the save dialog and presses its Save button."""
    if not any(ctx.session.drive("set-text", dialog.handle, f, ctx.session.windows_path(path), check=False)[0] == 0
               for f in SAVE_NAME_FIELDS):
        raise Failure("no file name field in the save dialog")
    ctx.session.drive("press", dialog.handle, 1)


def visible_program_windows(ctx, pid):
    return [w for w in ctx.session.windows(pid=pid) if w.visible]
