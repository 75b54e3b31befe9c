"""The settings dialog driven from outside: what OK stores and where, what
Reset Defaults and Cancel leave alone, the export script, and pictures of
the pages and of the progress popup."""
import getpass
import shutil

from steps import FORM_CLASS, SIZE, TITLE, Resident, answer_box, blocks, wait_gone
from harness import RUN_KEY, RUN_VALUE, USER_RUN_KEY, Failure, wait_until

PRINTER = "Orvanex Settings Printer"

# The dialog's controls by the names the program gives them.
TABS, OK, CANCEL = "TabStrip1", "cmdOK", "cmdCancel"
AREA_PROMPT, ON_THE_FLY, KEY_LIST, GLOBAL = "obPrintArea(2)", "cbxOnTheFly", "ddlbKey", "cbxGlobalSettings"
AUTO_LOAD, SHOW_ICON, HIDE_POPUP, RESET = "cbxAutoLoad", "cbxShowIcon", "cbxHidePopup", "cmdReset"
PRINTER_LIST, PORTRAIT, GREYSCALE = "ddlbPrinter", "obOrientation(0)", "cbxGreyscale"
NEGATIVE, STRETCH, RESIZE, RESIZE_BOX, RESIZE_SPIN = "cbxNegative", "cbxStretchImage", "cbxResize", "tbResize", "udResize"
FADE, FADE_SPIN = "cbxFade", "udFade"
HEADER, FOOTER, BORDER_SPIN = "ddlbHeader", "ddlbFooter", "udPageBorder"
SAVE, FILE_NAME, JPG, FOLDER = "cbxSave", "ddlbSaveFilename", "obSaveFormat(3)", "tbSaveFolder"
GENERAL_TAB, PRINT_TAB, SAVE_TAB, ABOUT_TAB = 0, 1, 2, 3
POPUP_STATUS = "lblCaption"
WM_CLOSE = 0x0010

# The default save folder: the user's Pictures folder, which Wine keeps under the Unix user's name.
PICTURES = f"C:\\users\\{getpass.getuser()}\\Pictures\\"

def lowered(values):
    return {name.lower(): text for name, text in values.items()}


# ---- the program, started from a copy in the test's own folder -------------

def resident_of(ctx, **kw):
    """orvanex.exe copied into the test's folder, so that what it writes
    beside itself (the export, the start-up entry's path) is this test's."""
    exe = ctx.path("orvanex.exe")
    shutil.copy(ctx.session.exe, exe)
    return Resident(ctx, exe=exe, **{"screen": None, "quiet": False, **kw})


def settings_dialog(resident):
    return Dialog(resident.ctx, resident.open_settings())


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
            shown[head.split()[0]] = fields
        return shown

    def wait_focus_on_ok(self):
        wait_until("OK to have the keyboard focus", lambda: self.do("focus")[0].split()[1] == OK, 3)

    def answer(self, button):
        """Answers the message box the dialog has raised; returns its lines."""
        code, lines = self.ctx.session.drive("msgbox", "--title", TITLE, "--timeout", 5)
        if code != 0:
            raise Failure("no message box came")
        answer_box(self.ctx, lines[0].split()[0], button)
        return lines

    def wait_closed(self):
        wait_gone(self.ctx, self.window, "the settings dialog")


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
    # characters, counted as UTF-16 units).
    ("per-user settings, stored values kept", "0",
     {"Counter": "17", "Header": "Mine", "Fade": "1", "FadeScale": "12.5", "x1": "5", "y1": "6", "x2": "300",
      "y2": "200", "Enabled": "False", "PrintArea": "1"},
     [f"tab={TABS}:{PRINT_TAB}", f"spin={FADE_SPIN}:up", f"spin={RESIZE_SPIN}:up:2", f"click={NEGATIVE}",
      f"type={HEADER}:{'日本' * 128}", f"tab={TABS}:{GENERAL_TAB}", f"choose={KEY_LIST}:1"],
     "HKCU", {"FadeScale": "13.5", "Negative": "1", "Key": "121", "Header": "日本" * 127},
     {}, "HKCU", 1),
    # Ticking "Share User Settings" and keeping the values on screen: the chooser changes at once, OK
    # stores the screen's values machine-wide and leaves this user's own values where they were.
    ("per-user settings made shared", "0", {"Header": "Mine", "Save": "1"},
     [f"post-click={GLOBAL}", "answer=Yes", f"tab={TABS}:{PRINT_TAB}", f"click={GREYSCALE}"],
     "HKLM", {"GlobalSettings": "1", "Greyscale": "1", "SaveFolder": PICTURES},
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

    resident = resident_of(ctx)
    dialog = settings_dialog(resident)
    dialog.run(steps + [f"post-click={OK}"])
    dialog.wait_closed()

    expected = lowered({"GlobalSettings": chooser or "1"} | stored | changes)
    got = only_text_values(ctx.session.reg_values(ctx.settings_key(root)))
    wrong = {k: (got.get(k), v) for k, v in expected.items() if got.get(k) != v}
    if wrong:
        raise Failure(f"under {root} (found, expected): {wrong}")
    beside = only_text_values(ctx.session.reg_values(ctx.settings_key(other)))
    if beside != lowered(other_holds):
        raise Failure(f"under {other} found {beside}, expected {lowered(other_holds)}")
    command = f'"{ctx.session.windows_path(resident.exe)}" -startup'
    for key, where in ((RUN_KEY, "HKLM"), (USER_RUN_KEY, "HKCU")):
        entry = ctx.session.reg_get(key, RUN_VALUE)
        want = command if run_entry == where else None
        if entry != want:
            raise Failure(f"start-up entry under {where} {entry!r}, expected {want!r}")
    ctx.session.tray_icons(count=icons, timeout=5)
    if resident.prog.proc.poll() is not None:
        raise Failure("the resident ended after OK")


# ---- Reset Defaults and leaving without OK ----------------------------------

STORED_FOR_RESET = {"GlobalSettings": "1", "Greyscale": "1", "Resize": "1", "ResizeScale": "150", "Counter": "9",
                    "AutoLoad": "0", "Header": "Kept", "ShowIcon": "1"}

RESET_CASES = [
    # answer to the question, how the dialog is left, Cancel enabled after the answer, (control, field,
    # value) shown after the answer. The second dialog also shows that the first one's reset was dropped.
    ("Yes", "close", "0", [(GREYSCALE, "check", "0"), (RESIZE_BOX, "text", "100"), (HEADER, "text", "")]),
    ("No", "cancel", "1", [(GREYSCALE, "check", "1"), (RESIZE_BOX, "text", "150"), (HEADER, "text", "Kept")]),
]


def test_reset_then_leave(ctx):
    ctx.set_settings("HKLM", STORED_FOR_RESET)
    ctx.session.reg_set(RUN_KEY, RUN_VALUE, "left from before")
    before = registry_state(ctx)
    resident = resident_of(ctx)
    for answer, leave, cancel_enabled, shown in RESET_CASES:
        dialog = settings_dialog(resident)
        dialog.wait_focus_on_ok()
        dialog.do(f"post-click={RESET}")
        lines = dialog.answer(answer)
        if not any("reset the current settings back to thier default values" in line for line in lines):
            raise Failure(f"unexpected question: {lines}")
        dialog.do(f"tab={TABS}:{PRINT_TAB}")
        now = dialog.show(CANCEL, *[control for control, _, _ in shown])
        got = [now[CANCEL]["enabled"]] + [now[control][field] for control, field, _ in shown]
        if got != [cancel_enabled] + [value for _, _, value in shown]:
            raise Failure(f"after {answer}: Cancel enabled and {shown} show {got}")
        if answer == "Yes":  # the reload brings the dialog forward again with OK focused
            dialog.wait_focus_on_ok()
        if leave == "close":
            ctx.session.drive("post", dialog.window.handle, WM_CLOSE, 0, 0)  # as the close box sends
        else:
            dialog.do(f"post-click={CANCEL}")
        dialog.wait_closed()
        if registry_state(ctx) != before:
            raise Failure(f"after {answer} the registry changed: before {before}, after {registry_state(ctx)}")
    # Exit then writes the counter and switch the program held before the reset.
    resident.tray("x")
    resident.prog.proc.wait(10)
    stored = ctx.settings("HKLM", ("Counter", "Enabled"))
    if stored != {"Counter": "9", "Enabled": "True"}:
        raise Failure(f"after Exit the shared key holds {stored}, expected Counter 9 and Enabled True")


# ---- Help: the page beside the program, at the page's topic, in the user's browser ----

HTTP_OPEN = r"HKLM\Software\Classes\http\shell\open\command"


def test_help_opens_the_page(ctx):
    resident = resident_of(ctx)
    shutil.copy(ctx.session.exe.with_name("Orvanex.html"), ctx.path("Orvanex.html"))
    opened = ctx.path("browser.txt")
    browser = ctx.session.reg_get(HTTP_OPEN, "")
    # A stand-in browser that writes down the address it was given.
    ctx.session.reg_set(HTTP_OPEN, "", f'"{ctx.session.windows_path(ctx.session.driver)}" note '
                                       f'"{ctx.session.windows_path(opened)}" "%1"')
    try:
        dialog = settings_dialog(resident)
        dialog.do(f"tab={TABS}:{SAVE_TAB}", "post-click=cmdHelpPageSetup(2)")
        wait_until("the browser to be started", lambda: opened.exists() and opened.stat().st_size > 0, 10)
        address = opened.read_text().strip()
        page = ctx.session.windows_path(ctx.path("Orvanex.html")).replace("\\", "/")
        if address != f"file:///{page}#context-40":
            raise Failure(f"the browser was given {address!r}, expected the Save Options topic of {page}")
        resident.no_box(0.5)
        dialog.do(f"post-click={CANCEL}")
        dialog.wait_closed()
    finally:
        if browser is None:
            ctx.session.reg_unset(HTTP_OPEN, "")
        else:
            ctx.session.reg_set(HTTP_OPEN, "", browser)


# ---- pictures --------------------------------------------------------------------

def test_popup_beside_the_save_dialog(ctx):
    # The popup during a capture whose save waits on the file dialog.
    resident = resident_of(ctx, screen=(SIZE, blocks), quiet=True, Save=1, SaveFileName="[Prompt user for filename]",
                           HidePopup=0)
    resident.key()
    pid = resident.pid
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
    ctx.session.drive("press", save.handle, "Cancel")
    # A cancelled file name is reported before the capture ends.
    lines = popup.answer("OK")
    if not any("File will not be saved" in line for line in lines):
        raise Failure(f"unexpected message after cancelling the save: {lines}")
    wait_gone(ctx, popup.window, "the popup, after the save was cancelled,")
    ctx.path("hook.stop").touch()


TESTS = [
    *[(f"settings: OK with {name}", test_ok_stores_the_dialog,
       {"chooser": c, "stored": s, "steps": st, "root": rt, "changes": ch, "other_holds": o, "run_entry": r,
        "icons": i})
      for name, c, s, st, rt, ch, o, r, i in OK_CASES],
    ("settings: reset answered yes then no, left without OK", test_reset_then_leave, {}),
    ("settings: Help opens the page at the topic in the browser", test_help_opens_the_page, {}),
    ("settings: the popup beside the save dialog, a cancelled name reported", test_popup_beside_the_save_dialog, {}),
]
