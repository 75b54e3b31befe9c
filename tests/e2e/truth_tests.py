"""Captures that must not use an old picture, and keys that must not leak:
a Print Screen that copies nothing, F11 taken from the window in front, and
the header prompt opened by the key taking the typing."""
import pictures
from harness import Failure, wait_until
from print_tests import install_printer, wait_for_print
from steps import SIZE, Resident, answer_box, blocks, clipboard_picture, differences, read_message_box
import bmp

NO_PICTURE = "No new picture of the screen arrived on the clipboard, so nothing was saved or printed"


def test_print_screen_copies_nothing(ctx):
    # No stand-in runs: Wine's own Print Screen copies nothing, as Windows 11's
    # does when the key opens its capture tool. An old picture waits on the clipboard.
    old = ctx.path("old.bmp")
    bmp.write(old, *SIZE, blocks)
    ctx.session.drive("clip-put", ctx.session.windows_path(old))
    printed = install_printer(ctx)
    desk = Resident(ctx, screen=None, Save=1, SaveFormat=1, PrintScreen=1, Printer="<Default Printer>")
    for press in range(2):
        desk.key()
        if press == 0:
            box, texts, buttons = read_message_box(ctx)
            text = " ".join(texts).replace("\r", "").replace("\n", " ")
            if NO_PICTURE not in text or buttons != ["OK"]:
                raise Failure(f"the box says {text!r} with {buttons}, expected why nothing was saved")
            answer_box(ctx, box)
    # The second press ends as quietly as a program that has told the user once.
    code, lines = ctx.session.drive("msgbox", "--timeout", 4, check=False, timeout=40)
    if code == 0:
        raise Failure(f"a second box after the second press: {lines}")
    saved = desk.files_written()
    if saved or printed.exists():
        raise Failure(f"the old picture went out: saved {saved}, printed {printed.exists()}")
    picture = clipboard_picture(ctx)
    if picture is None or differences(picture, *SIZE, blocks):
        raise Failure("the clipboard no longer holds the old picture")
    if not desk.prog.running:
        raise Failure("the program ended")


def start_key_window(ctx):
    wp = ctx.session.windows_path
    ctx.start_driver("key-window", "--ready", wp(ctx.path("keys.ready")), "--log", wp(ctx.path("keys.log")),
                     "--stop", wp(ctx.path("keys.stop")), out_name="keywindow.out")
    wait_until("the window in front", ctx.path("keys.ready").exists, 10)


def keys_seen(ctx):
    return [int(line) for line in ctx.path("keys.log").read_text().split()]


def test_f11_stays_out_of_the_window_in_front(ctx):
    desk = Resident(ctx, Key=122, Save=1, SaveFormat=1)
    start_key_window(ctx)
    desk.key("A")  # the window does hear keys
    wait_until("the window to see A", lambda: 65 in keys_seen(ctx), 5)
    desk.key("F11")
    desk.saved()
    ctx.path("keys.stop").touch()
    if 122 in keys_seen(ctx):
        raise Failure(f"F11 reached the window in front: {keys_seen(ctx)}")


def test_header_prompt_takes_the_typing(ctx, key=("F11", 122)):
    # F11 is a hot key, which brings the right to the foreground; Print
    # Screen is polled and brings none. Wine grants the foreground to anyone,
    # so this cannot show the refusal Windows makes (the native table does);
    # it shows the prompt in front either way and no Alt reaching the window behind.
    printed = install_printer(ctx)
    desk = Resident(ctx, Key=key[1], PrintScreen=1, Printer="<Default Printer>", Header="[Prompt User for Header]",
                    Footer="[Prompt User for Footer]")
    start_key_window(ctx)  # someone was typing elsewhere when the key came
    desk.key(key[0])
    box, texts, _ = read_message_box(ctx)
    if "Enter the Header Text for the Printout" not in texts:
        raise Failure(f"expected the header prompt, found {texts}")
    _, focus = ctx.session.drive("dialog", box, "focus")
    ctx.session.drive("keys", "O", "R", "V", "X", "RETURN")
    # A cancelled prompt prints no line at all, not the preset.
    box, texts, _ = read_message_box(ctx)
    if "Enter the Footer Text for the Printout" not in texts:
        raise Failure(f"expected the footer prompt, found {texts}")
    answer_box(ctx, box, "Cancel")
    wait_for_print(printed)
    text = pictures.page_text(printed)
    ctx.path("keys.stop").touch()
    if "Prompt" in text:
        raise Failure(f"a preset was printed: {text.strip()[:200]!r}")
    if "orvx" not in text.lower():
        raise Failure(f"the typed header is not on the page ({focus}): {text.strip()[:200]!r}; "
                      f"the window behind got {keys_seen(ctx)}")
    if 18 in keys_seen(ctx):
        raise Failure(f"an Alt reached the window behind: {keys_seen(ctx)}")


TESTS = [
    ("truth: Print Screen copies nothing, an old picture is not used", test_print_screen_copies_nothing, {}),
    ("truth: F11 does not reach the window in front", test_f11_stays_out_of_the_window_in_front, {}),
    ("truth: the header prompt opened by the key takes the typing", test_header_prompt_takes_the_typing, {}),
    ("truth: the header prompt opened by the polled Print Screen takes the typing",
     lambda ctx: test_header_prompt_takes_the_typing(ctx, ("SNAPSHOT", 44)), {}),
]
