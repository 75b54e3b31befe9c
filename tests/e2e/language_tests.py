"""Texts beyond the system's code page: a program folder and a save folder
with Polish and Japanese names, a header in both scripts on the printed
page, month names from a Polish user format, and the export imported back
through the registry editor."""
import datetime
import shutil
import subprocess

import pictures
from harness import CONTAINER_CLASS, Failure, wait_until
from print_tests import install_printer, quadrants, wait_for_print
from steps import FORM_CLASS, TITLE, Resident, answer_box, read_message_box, wait_for_file, wait_gone

FOLDER = "Łukasz 写真"
HEADER = "Zażółć gęślą jaźń 日本語 [monthlong]"
# Polish month names as the user's format gives them (either case of the noun).
POLISH_MONTHS = [("styczeń", "stycznia"), ("luty", "lutego"), ("marzec", "marca"), ("kwiecień", "kwietnia"),
                 ("maj", "maja"), ("czerwiec", "czerwca"), ("lipiec", "lipca"), ("sierpień", "sierpnia"),
                 ("wrzesień", "września"), ("październik", "października"), ("listopad", "listopada"),
                 ("grudzień", "grudnia")]
EXPORT = "cmdExport"


def polish_env(ctx):
    """The session's environment with a Polish user format, from a locale
    compiled into the run's own folder (the system has only C)."""
    locales = ctx.session.root / "locales"
    if not (locales / "pl_PL.UTF-8").exists():
        locales.mkdir(exist_ok=True)
        subprocess.run(["localedef", "-i", "pl_PL", "-f", "UTF-8", str(locales / "pl_PL.UTF-8")],
                       check=True, capture_output=True, timeout=120)
    return dict(ctx.session.env, LOCPATH=str(locales), LC_ALL="pl_PL.UTF-8")


def reg_add(ctx, key, values):
    """Values written by Wine's reg.exe from this UTF-8 process: the Unicode text arrives as it is."""
    for name, text in values.items():
        subprocess.run(["wine", "reg", "add", key, "/v", name, "/d", text, "/f"], env=ctx.session.env,
                       check=True, capture_output=True, timeout=60)


REPLACEMENTS = r"HKCU\Software\Wine\Fonts\Replacements"


def cjk_arial(ctx, on):
    """Windows prints a Japanese header in Arial through its font links; Wine's
    PostScript driver does not follow them, so for this test Arial is a font
    that has both Polish and Japanese letters."""
    ctx.session.reg_set(REPLACEMENTS, "Arial", "WenQuanYi Micro Hei" if on else "Liberation Sans")


def program_copy(ctx, legacy_code_page=False):
    """orvanex.exe in a folder with a Polish and Japanese name. With
    legacy_code_page its manifest asks for the Polish code page instead of
    UTF-8, as a Windows older than 10 1903 (which ignores the request) gives a
    Polish user: the A functions then turn Japanese into '?'."""
    folder = ctx.path(FOLDER)
    folder.mkdir(exist_ok=True)
    data = ctx.session.exe.read_bytes()
    if legacy_code_page:
        data = data.replace(b">UTF-8</activeCodePage>", b">pl-PL</activeCodePage>")
    (folder / "orvanex.exe").write_bytes(data)
    return folder


def start(ctx, exe, env=None):
    program = ctx.start_program("-startup", exe=exe, env=env)
    program.container(15)
    return program.proc


def test_printed_and_saved(ctx):
    printed = install_printer(ctx)
    cjk_arial(ctx, True)
    try:
        print_and_save(ctx, printed)
    finally:
        cjk_arial(ctx, False)


def print_and_save(ctx, printed):
    folder = program_copy(ctx, legacy_code_page=True)
    saves = folder / "Zdjęcia 写真"
    saves.mkdir()
    size = (64, 48)
    reg_add(ctx, r"HKLM\SOFTWARE\Halvorn\Orvanexv3", {
        "PrintScreen": "1", "Printer": "<Default Printer>", "Header": HEADER, "Footer": "stopka ąę",
        "Save": "1", "SaveFormat": "2", "SaveFolder": ctx.session.windows_path(saves) + "\\",
        "SaveFileName": "zrzut [monthshort] [counter]", "Counter": "3", "HidePopup": "1", "OnTheFly": "0",
        "PrintArea": "0"})
    desk = Resident(ctx, screen=(size, quadrants(*size)), exe=folder / "orvanex.exe", env=polish_env(ctx), quiet=False)
    desk.capture()
    wait_for_print(printed)
    text = pictures.page_text(printed)
    month = datetime.date.today().month
    names = POLISH_MONTHS[month - 1]
    if not any(f"Zażółć gęślą jaźń 日本語 {name}" in text for name in names):
        raise Failure(f"the header is not on the page as typed with a Polish month: {text.strip()[:300]!r}")
    if "stopka ąę" not in text:
        raise Failure(f"the footer is not on the page: {text.strip()[:300]!r}")
    wait_until("a saved picture", lambda: any(saves.iterdir()), 15)
    saved = [p.name for p in saves.iterdir()]
    if len(saved) != 1 or not saved[0].startswith("zrzut ") or not saved[0].endswith(" 3.bmp"):
        raise Failure(f"saved {saved}, expected one 'zrzut <month> 3.bmp'")
    wait_for_file(saves / saved[0])
    ctx.note(f"month {saved[0][6:-6]!r}")
    # A box naming the folder shows it as it is, whatever the system's code page.
    shutil.rmtree(saves)
    desk.capture()
    box = desk.one_box('Could not create the file "')
    if ctx.session.windows_path(saves) not in box:
        raise Failure(f"the box does not name the folder as it is: {box!r}")
    ctx.path("hook.stop").touch()


def export_once(ctx, proc_folder):
    """Opens the settings by a second start, exports, answers the box, closes."""
    # Started directly: the helper's own command line cannot carry the folder's name.
    second = subprocess.run(["wine", str(proc_folder / "orvanex.exe")], env=ctx.session.env,
                            stdout=ctx.session.log, stderr=ctx.session.log, timeout=60)
    if second.returncode != 0:
        raise Failure(f"the second start ended with {second.returncode}")
    dialog = ctx.session.find_window(cls=FORM_CLASS, title=TITLE, visible=True, timeout=15)
    if dialog is None:
        raise Failure(f"the settings dialog did not open: {ctx.session.windows()}")
    ctx.session.drive("dialog", dialog.handle, f"post-click={EXPORT}")
    box, texts, _ = read_message_box(ctx, 5)
    answer_box(ctx, box)
    if not any("has been created" in text for text in texts):  # each export replaces the file
        raise Failure(f"the export said {texts}")
    ctx.session.drive("post", dialog.handle, 0x0010, 0, 0)  # the close box
    wait_gone(ctx, dialog, "the settings dialog")
    return (proc_folder / "orvanex.reg").read_bytes()


def test_export_round_trip(ctx):
    folder = program_copy(ctx)
    values = {"Header": 'Nagłówek "日本語" \\ [date]', "Footer": "Stopka", "Printer": "<Default Printer>",
              "SaveFolder": "C:\\Użytkownicy\\Łukasz\\写真\\", "SaveFileName": "zrzut-[counter]", "Counter": "12"}
    key = r"HKLM\SOFTWARE\Halvorn\Orvanexv3"
    reg_add(ctx, key, values)
    proc = start(ctx, folder / "orvanex.exe")
    first = export_once(ctx, folder)
    if not first.startswith(b"\xff\xfe"):
        raise Failure(f"the export is not UTF-16LE with its mark: {first[:40]!r}")
    text = first[2:].decode("utf-16-le")
    for name, value in values.items():
        line = '"{}"="{}"'.format(name, value.replace("\\", "\\\\").replace('"', '\\"'))
        if line not in text.split("\r\n"):
            raise Failure(f"the export lacks {line!r}")
    proc.terminate()
    proc.wait(10)
    wait_until("the resident to go", lambda: ctx.session.find_window(cls=CONTAINER_CLASS) is None, 10)

    # Wine's registry editor puts the values back; the next start reads and exports them unchanged.
    subprocess.run(["wine", "reg", "delete", key, "/f"], env=ctx.session.env, check=True, capture_output=True,
                   timeout=60)
    subprocess.run(["wine", "regedit", "/s", ctx.session.windows_path(folder / "orvanex.reg")],
                   env=ctx.session.env, check=True, capture_output=True, timeout=60)
    start(ctx, folder / "orvanex.exe")
    second = export_once(ctx, folder)
    if second != first:
        raise Failure("the settings read back after the import export differently")


TESTS = [
    ("language: Polish and Japanese header printed, Polish month, non-ASCII folders", test_printed_and_saved, {}),
    ("language: export imported by regedit gives back the same values", test_export_round_trip, {}),
]
