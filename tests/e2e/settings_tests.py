"""The settings dialog driven from outside: what OK stores and where, what
Reset Defaults and Cancel leave alone, the export script, and pictures of
the pages and of the progress popup."""
import getpass
import shutil
import subprocess

from steps import start_screen
from shell_tests import open_tray_menu, pick
from harness import CONTAINER_CLASS, RUN_KEY, RUN_VALUE, USER_RUN_KEY, Failure, end_process, wait_until

FORM_CLASS = "OrvanexForm"
TITLE = "Orvanex - v3.5"
PRINTER = "Orvanex Settings Printer"

# Control ids of the dialog (1000 + creation index).
TABS, OK, CANCEL = 1000, 1080, 1081
AREA_PROMPT, ON_THE_FLY, KEY_LIST, GLOBAL, AUTO_LOAD, SHOW_ICON, HIDE_POPUP, RESET, EXPORT = (
    1009, 1016, 1018, 1020, 1021, 1022, 1023, 1024, 1025)
PRINTER_LIST, PORTRAIT, GREYSCALE, NEGATIVE, STRETCH = 1031, 1033, 1036, 1037, 1038
RESIZE, RESIZE_BOX, RESIZE_SPIN, FADE, FADE_BOX, FADE_SPIN = 1039, 1040, 1041, 1043, 1044, 1045
HEADER, FOOTER, BORDER_SPIN = 1049, 1051, 1054
SAVE, FILE_NAME, JPG, FOLDER, COUNTER = 1058, 1061, 1066, 1068, 1073
GENERAL_TAB, PRINT_TAB, SAVE_TAB, ABOUT_TAB = 0, 1, 2, 3
POPUP_STATUS = 1002
WM_CLOSE = 0x0010

# The default save folder: the user's Pictures folder, which Wine keeps under the Unix user's name.
PICTURES = f"C:\\users\\{getpass.getuser()}\\Pictures\\"

# What OK writes for a record of defaults, spelt as the writer spells the names.
WRITTEN_DEFAULTS = {
    "GlobalSettings": "1", "Enabled": "True", "PrintScreen": "1", "PrintArea": "0", "Fade": "0",
    "FadeScale": "0", "Orientation": "2", "Greyscale": "0", "Negative": "0", "Resize": "0",
    "ResizeScale": "100", "Header": " ", "Footer": " ", "Save": "0", "SaveFolder": PICTURES, "SaveFormat": "0",
    "SaveFilename": "ORVX-[rdate]-[time]", "OnTheFly": "0", "Key": "44", "ShowIcon": "1", "HidePopup": "0",
    "Counter": "0", "Printer": "<Default Printer>", "x1": "0", "y1": "0", "x2": "639", "y2": "479",
    "JpgQuality": "60", "StretchImage": "0", "HeaderSize": "12", "FooterSize": "8", "PageBorder": "0",
    "Version": "3.50", "AutoLoad": "1",
}

# The export's names in its order; Counter comes twice.
EXPORT_ORDER = ["Counter", "GlobalSettings", "Enabled", "PrintScreen", "OnTheFly", "Key", "PrintArea", "Fade",
                "FadeScale", "Orientation", "GreyScale", "Negative", "Resize", "ResizeScale", "Header", "Footer",
                "Save", "SaveFolder", "SaveFormat", "SaveFileName", "ShowIcon", "HidePopup", "Counter", "Printer",
                "x1", "y1", "x2", "y2", "JpgQuality", "StretchImage", "HeaderSize", "FooterSize", "PageBorder",
                "AutoLoad"]
TRIMMED = ("printer", "header", "footer", "savefilename", "savefolder")


def lowered(values):
    return {name.lower(): text for name, text in values.items()}


# ---- the program, started from a copy in the test's own folder -------------

class Resident:
    """orvanex.exe copied into the test's folder, so that what it writes
    beside itself (the export, the start-up entry's path) is this test's."""

    def __init__(self, ctx):
        self.ctx = ctx
        self.exe = ctx.path("orvanex.exe")
        shutil.copy(ctx.session.exe, self.exe)
        self.folder = ctx.session.windows_path(ctx.folder)
        self.proc = ctx.session.launch(self.exe, ["-startup"])
        ctx.procs.append(self.proc)
        self.window = ctx.session.find_window(cls=CONTAINER_CLASS, timeout=10)
        if self.window is None:
            raise Failure(f"no {CONTAINER_CLASS} window; orvanex -startup exit code {self.proc.poll()}")

    def open_settings(self):
        """A second start with no argument: the resident opens its dialog."""
        code, lines = self.ctx.session.drive("launch", self.ctx.session.windows_path(self.exe), "",
                                             "--timeout", 5, timeout=30)
        if code != 0:
            raise Failure(f"the second start did not end: {lines}")
        dialog = self.ctx.session.find_window(cls=FORM_CLASS, title=TITLE, pid=self.window.pid, visible=True,
                                              timeout=5)
        if dialog is None:
            raise Failure("the settings dialog did not open")
        return Dialog(self.ctx, dialog)


class Dialog:
    def __init__(self, ctx, window):
        self.ctx = ctx
        self.window = window

    def run(self, steps):
        """Runs the steps in as few calls as it can; "answer=BUTTON" answers a message box that the
        step before it raised (that step must post its click)."""
        batch = []
        for step in steps:
            if step.startswith("answer="):
                if batch:
                    self.do(*batch)
                    batch = []
                self.answer(step.removeprefix("answer="))
            else:
                batch.append(step)
        if batch:
            self.do(*batch)

    def do(self, *steps):
        code, lines = self.ctx.session.drive("dialog", self.window.handle, *steps, check=False)
        if code != 0:
            raise Failure(f"dialog steps {steps} failed ({code}): {lines}")
        return lines

    def show(self, *controls):
        """{id: {'check': .., 'enabled': .., 'visible': .., 'text': ..}} of the controls."""
        shown = {}
        for line in self.do(*[f"show={c}" for c in controls]):
            head, _, text = line.partition(" text=")
            fields = dict(part.split("=", 1) for part in head.split()[1:])
            fields["text"] = text
            shown[int(head.split()[0])] = fields
        return shown

    def wait_focus_on_ok(self):
        wait_until("OK to have the keyboard focus", lambda: self.do("focus")[0].split()[1] == str(OK), 3)

    def answer(self, button):
        """Answers the message box the dialog has raised; returns its lines."""
        code, lines = self.ctx.session.drive("msgbox", "--title", TITLE, "--timeout", 5)
        if code != 0:
            raise Failure("no message box came")
        self.ctx.session.drive("press", lines[0].split()[0], button)
        self.ctx.session.drive("wait-gone", lines[0].split()[0], "--timeout", 5)
        return lines

    def wait_closed(self):
        code, _ = self.ctx.session.drive("wait-gone", self.window.handle, "--timeout", 5)
        if code != 0:
            raise Failure("the settings dialog did not close")


def registry_state(ctx):
    """Everything the program may write: both settings keys and both start-up entries."""
    return {root: ctx.session.reg_values(ctx.settings_key(root)) for root in ("HKLM", "HKCU")} | {
        key: ctx.session.reg_get(key, RUN_VALUE) for key in (RUN_KEY, USER_RUN_KEY)}


def only_text_values(values):
    wrong = {name: kind for name, (kind, _) in values.items() if kind != "REG_SZ"}
    if wrong:
        raise Failure(f"values not stored as text: {wrong}")
    return {name: text for name, (_, text) in values.items()}


# ---- OK: the registry holds exactly the dialog's values ---------------------

OK_CASES = [
    # name, chooser, stored under it, dialog steps, root OK writes to, changes OK must write there, what
    # the other root then holds, start-up entry expected (the root whose Run key holds the copy's quoted
    # path, beside the settings; None: in neither), tray icons after OK
    ("shared settings, every page changed", None, {},
     [f"click={AREA_PROMPT}", f"click={ON_THE_FLY}", f"choose={KEY_LIST}:2", f"click={AUTO_LOAD}",
      f"click={SHOW_ICON}", f"click={HIDE_POPUP}",
      f"tab={TABS}:{PRINT_TAB}", f"choose-text={PRINTER_LIST}:{PRINTER}", f"click={PORTRAIT}",
      f"click={GREYSCALE}", f"click={NEGATIVE}", f"click={STRETCH}", f"click={RESIZE}", f"spin={RESIZE_SPIN}:down:3",
      f"click={FADE}", f"spin={FADE_SPIN}:up:2", f"choose={HEADER}:3", f'type={FOOTER}:Page "1" of C:\\x',
      f"spin={BORDER_SPIN}:up:5",
      f"tab={TABS}:{SAVE_TAB}", f"click={SAVE}", f"choose={FILE_NAME}:4", f"click={JPG}",
      f"type={FOLDER}:D:\\Shots\\"],
     "HKLM", {"PrintArea": "2", "OnTheFly": "1", "Key": "122", "AutoLoad": "0", "ShowIcon": "0", "HidePopup": "1",
      "Printer": PRINTER, "Orientation": "1", "Greyscale": "1", "Negative": "1", "StretchImage": "1",
      "Resize": "1", "ResizeScale": "97", "Fade": "1", "FadeScale": "2", "Header": "[date] - [time]",
      "Footer": 'Page "1" of C:\\x', "PageBorder": "5", "Save": "1", "SaveFilename": "ORVX-[counter]",
      "SaveFormat": "3", "SaveFolder": "D:\\Shots\\"},
     {}, None, 0),
    # Stored values the dialog shows but cannot edit (area, counter, Enabled) come back unchanged;
    # an arrow of an unticked option changes nothing; a text box holds what a read can give back (254
    # characters).
    ("per-user settings, stored values kept", "0",
     {"Counter": "17", "Header": "Mine", "Fade": "1", "FadeScale": "12.5", "x1": "5", "y1": "6", "x2": "300",
      "y2": "200", "Enabled": "False", "PrintArea": "1"},
     [f"tab={TABS}:{PRINT_TAB}", f"spin={FADE_SPIN}:up", f"spin={RESIZE_SPIN}:up:2", f"click={NEGATIVE}",
      f"type={HEADER}:{'h' * 256}", f"tab={TABS}:{GENERAL_TAB}", f"choose={KEY_LIST}:1"],
     "HKCU", {"FadeScale": "13.5", "Negative": "1", "Key": "121", "Header": "h" * 254},
     {}, "HKCU", 1),
    # Ticking "Share User Settings" and keeping the values on screen: the chooser changes at once, OK
    # stores the screen's values machine-wide and leaves this user's own values where they were.
    ("per-user settings made shared", "0", {"Header": "Mine", "Save": "1"},
     [f"post-click={GLOBAL}", "answer=Yes", f"tab={TABS}:{PRINT_TAB}", f"click={GREYSCALE}"],
     "HKLM", {"GlobalSettings": "1", "Greyscale": "1"},
     {"GlobalSettings": "1", "Header": "Mine", "Save": "1"}, "HKLM", 1),
]


def test_ok_stores_the_dialog(ctx, chooser, stored, steps, root, changes, other_holds, run_entry, icons):
    ctx.session.install_printer(PRINTER, ctx.path("printed.ps"))
    other = "HKLM" if root == "HKCU" else "HKCU"
    if chooser is not None:
        ctx.set_settings("HKCU", {"GlobalSettings": chooser})
    ctx.set_settings("HKCU" if chooser == "0" else "HKLM", stored)
    ctx.session.reg_set(RUN_KEY, RUN_VALUE, "left from before")
    ctx.session.reg_set(USER_RUN_KEY, RUN_VALUE, "left from before")

    resident = Resident(ctx)
    dialog = resident.open_settings()
    dialog.run(steps + [f"post-click={OK}"])
    dialog.wait_closed()

    expected = lowered(WRITTEN_DEFAULTS | {"GlobalSettings": chooser or "1"} | stored | changes)
    got = only_text_values(ctx.session.reg_values(ctx.settings_key(root)))
    if got != expected:
        wrong = {k: (got.get(k), v) for k, v in expected.items() if got.get(k) != v}
        extra = {k: v for k, v in got.items() if k not in expected}
        raise Failure(f"under {root} (found, expected): {wrong}; unexpected values: {extra}")
    beside = only_text_values(ctx.session.reg_values(ctx.settings_key(other)))
    if beside != lowered(other_holds):
        raise Failure(f"under {other} found {beside}, expected {lowered(other_holds)}")
    command = f'"{resident.folder}\\orvanex.exe" -startup'
    for key, where in ((RUN_KEY, "HKLM"), (USER_RUN_KEY, "HKCU")):
        entry = ctx.session.reg_get(key, RUN_VALUE)
        want = command if run_entry == where else None
        if entry != want:
            raise Failure(f"start-up entry under {where} {entry!r}, expected {want!r}")
    ctx.session.tray_icons(count=icons, timeout=5)
    if resident.proc.poll() is not None:
        raise Failure("the resident ended after OK")


# ---- Reset Defaults and leaving without OK ----------------------------------

STORED_FOR_RESET = {"GlobalSettings": "1", "Greyscale": "1", "Resize": "1", "ResizeScale": "150", "Counter": "9",
                    "AutoLoad": "0", "Header": "Kept", "ShowIcon": "1"}

RESET_CASES = [
    # name, answer to the question, how the dialog is left, Cancel enabled after the answer,
    # (control, field, value) shown after the answer
    ("answered yes, left by the close box", "Yes", "close", "0",
     [(GREYSCALE, "check", "0"), (RESIZE_BOX, "text", "100"), (HEADER, "text", "")]),
    ("answered no, left by Cancel", "No", "cancel", "1",
     [(GREYSCALE, "check", "1"), (RESIZE_BOX, "text", "150"), (HEADER, "text", "Kept")]),
]


def test_reset_then_leave(ctx, answer, leave, cancel_enabled, shown):
    ctx.set_settings("HKLM", STORED_FOR_RESET)
    ctx.session.reg_set(RUN_KEY, RUN_VALUE, "left from before")
    before = registry_state(ctx)

    resident = Resident(ctx)
    dialog = resident.open_settings()
    dialog.wait_focus_on_ok()
    dialog.do(f"post-click={RESET}")
    lines = dialog.answer(answer)
    if not any("reset the current settings back to thier default values" in line for line in lines):
        raise Failure(f"unexpected question: {lines}")
    dialog.do(f"tab={TABS}:{PRINT_TAB}")
    now = dialog.show(CANCEL, *[control for control, _, _ in shown])
    if now[CANCEL]["enabled"] != cancel_enabled:
        raise Failure(f"Cancel enabled={now[CANCEL]['enabled']}, expected {cancel_enabled}")
    for control, field, value in shown:
        got = now[control][field]
        if got != value:
            raise Failure(f"control {control} shows {field}={got!r}, expected {value!r}")
    if answer == "Yes":  # the reload brings the dialog forward again with OK focused
        dialog.wait_focus_on_ok()
    if leave == "close":
        ctx.session.drive("post", dialog.window.handle, WM_CLOSE, 0, 0)  # as the close box sends
    else:
        dialog.do(f"post-click={CANCEL}")
    dialog.wait_closed()
    after = registry_state(ctx)
    if after != before:
        raise Failure(f"the registry changed: before {before}, after {after}")
    # Exit then writes the counter and switch the program held before the reset.
    pick(ctx, open_tray_menu(ctx, resident.window), "x")
    resident.proc.wait(10)
    stored = ctx.settings("HKLM", ("Counter", "Enabled"))
    if stored != {"Counter": "9", "Enabled": "True"}:
        raise Failure(f"after Exit the shared key holds {stored}, expected Counter 9 and Enabled True")


# ---- Export ------------------------------------------------------------------

def record_after_load(stored):
    """The in-memory record the dialog starts from: defaults, stored values over them, strings trimmed."""
    record = lowered(WRITTEN_DEFAULTS)
    record.pop("version")
    for name in ("header", "footer"):
        record[name] = ""
    for name, text in lowered(stored).items():
        record[name] = text.strip(" ") if name in TRIMMED else text
    return record


def export_text(record):
    def escaped(text):
        return text.replace("\\", "\\\\").replace('"', '\\"')
    lines = ["Windows Registry Editor Version 5.00", "", r"[HKEY_LOCAL_MACHINE\SOFTWARE\Halvorn\Orvanexv3]"]
    lines += [f'"{name}"="{escaped(record[name.lower()])}"' for name in EXPORT_ORDER]
    return ("\r\n".join(lines) + "\r\n\r\n").encode("cp1252")


# Per-user settings with quotes, backslashes and blanks; they still go under the machine-wide key. The
# export takes the dialog's working copy: after Reset Defaults the defaults, whatever the registry holds;
# each export replaces the file.
EXPORT_STORED = {"SaveFolder": "\\\\server\\share\\", "Header": 'He said "hi" \\o/', "Footer": " ",
                 "Counter": "42", "FadeScale": "12.5", "Printer": "  <Default Printer> ", "Key": "123",
                 "Enabled": "False"}


def test_export(ctx):
    stored = {"GlobalSettings": "0"} | EXPORT_STORED
    ctx.set_settings("HKCU", stored)
    target = ctx.path("orvanex.reg")
    target.write_bytes(b"stale\r\n" * 1000)
    before = registry_state(ctx)

    resident = Resident(ctx)
    dialog = resident.open_settings()
    for steps, record in (([], record_after_load(stored)),
                          ([f"post-click={RESET}", "answer=Yes"], record_after_load({}))):
        dialog.run(steps + [f"post-click={EXPORT}"])
        lines = dialog.answer("OK")
        told = "\n".join(line.removeprefix("text ") for line in lines[1:] if not line.startswith("button "))
        want = f"The file '{resident.folder}\\orvanex.reg' has been created.\nCheck 'help' for more details."
        if told != want:
            raise Failure(f"the export said {told!r}, expected {want!r}")
        expected = export_text(record)
        got = target.read_bytes()
        if got != expected:
            first = next((i for i, (a, b) in enumerate(zip(got, expected)) if a != b), min(len(got), len(expected)))
            raise Failure(f"orvanex.reg differs from byte {first}: got {got[first - 40:first + 40]!r}, "
                          f"expected {expected[first - 40:first + 40]!r}")
    # After Reset Cancel is greyed; the close box leaves without saving.
    ctx.session.drive("post", dialog.window.handle, WM_CLOSE, 0, 0)
    dialog.wait_closed()
    if registry_state(ctx) != before:
        raise Failure("the export changed the registry")


# ---- pictures --------------------------------------------------------------------

def shoot(ctx, window_lines, path):
    """A picture of one window's rectangle of the screen, once two shots in a row agree."""
    x, y, w, h = map(int, window_lines[-1].split()[1:])
    display = ctx.session.env["DISPLAY"]
    raw = ctx.path("shot.ppm")
    last = None

    def steady():
        nonlocal last
        subprocess.run(["import", "-display", display, "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage",
                        str(raw)], check=True, timeout=30, env=ctx.session.env)
        now = raw.read_bytes()
        same, last = now == last, now
        return same
    wait_until(f"a steady picture of {path.name}", steady, 10, interval=0.1)
    path.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["convert", str(raw), "-strip", "-define", "png:exclude-chunks=date,time", str(path)],
                   check=True, timeout=30)


PAGES = [(GENERAL_TAB, "settings-general.png"), (PRINT_TAB, "settings-print.png"),
         (SAVE_TAB, "settings-save.png"), (ABOUT_TAB, "settings-about.png")]


def test_screenshots(ctx):
    out = getattr(ctx.session, "screenshots", None) or ctx.folder
    # The pages as they first open, with printing and saving on so that their options show.
    ctx.set_settings("HKLM", {"Save": "1", "SaveFolder": "C:\\Shots\\"})
    resident = Resident(ctx)
    dialog = resident.open_settings()
    dialog.wait_focus_on_ok()
    for tab, name in PAGES:
        dialog.do(f"tab={TABS}:{tab}")
        shoot(ctx, dialog.do("redraw", "rect"), out / name)
    dialog.do(f"post-click={CANCEL}")
    dialog.wait_closed()
    end_process(resident.proc)
    wait_until("the first resident to go", lambda: ctx.session.find_window(cls=CONTAINER_CLASS) is None, 10)

    # The popup during a capture whose save waits on the file dialog.
    ctx.set_settings("HKLM", {"PrintScreen": "0", "Save": "1", "SaveFilename": "[Prompt user for filename]",
                              "HidePopup": "0", "OnTheFly": "0", "SaveFolder": ctx.session.windows_path(ctx.folder) + "\\"})
    start_screen(ctx)
    resident = Resident(ctx)
    ctx.session.drive("keys", "SNAPSHOT")
    pid = resident.window.pid
    save = ctx.session.find_window(cls="#32770", pid=pid, visible=True, timeout=10)
    if save is None:
        raise Failure("the capture did not ask for a file name")
    popups = [w for w in ctx.session.windows(pid=pid) if w.cls == FORM_CLASS and w.visible]
    if len(popups) != 1:
        raise Failure(f"expected the popup beside the file dialog, found {popups}")
    popup = Dialog(ctx, popups[0])
    status = popup.show(POPUP_STATUS)[POPUP_STATUS]["text"]
    if status != "Saving Screen Image to File":
        raise Failure(f"the popup says {status!r} while the file name is asked for")
    # The file dialog opens centred over the popup; out of its way for the picture.
    Dialog(ctx, save).do("move=0:0")
    shoot(ctx, popup.do("redraw", "rect"), out / "popup.png")
    ctx.session.drive("press", save.handle, "Cancel")
    # A cancelled file name is reported before the capture ends.
    lines = popup.answer("OK")
    if not any("File will not be saved" in line for line in lines):
        raise Failure(f"unexpected message after cancelling the save: {lines}")
    code, _ = ctx.session.drive("wait-gone", popup.window.handle, "--timeout", 5)
    if code != 0:
        raise Failure("the popup stayed after the save was cancelled")
    ctx.path("hook.stop").touch()


TESTS = [
    *[(f"settings: OK with {name}", test_ok_stores_the_dialog,
       {"chooser": c, "stored": s, "steps": st, "root": rt, "changes": ch, "other_holds": o, "run_entry": r,
        "icons": i})
      for name, c, s, st, rt, ch, o, r, i in OK_CASES],
    *[(f"settings: reset {name}", test_reset_then_leave,
       {"answer": a, "leave": lv, "cancel_enabled": ce, "shown": sh}) for name, a, lv, ce, sh in RESET_CASES],
    ("settings: export, per-user settings, then reset", test_export, {}),
    ("settings: screenshots of the pages and the popup", test_screenshots, {}),
]
