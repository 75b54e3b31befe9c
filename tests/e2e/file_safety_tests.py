"""Saving never costs the user a file: a save whose write fails leaves the
earlier file of that name as it was, and names Windows would misread are
refused before anything is written."""
from harness import Failure, wait_until
from steps import answer_box, press_capture_key, quiet_settings, read_message_box, start_resident, start_screen

OLD = b"the earlier picture"


def start_saving(ctx, template):
    start_screen(ctx)
    ctx.session.drive("clip-put", ctx.session.windows_path(ctx.path("screen.bmp")))
    quiet_settings(ctx, Save=1, SaveFormat=1, SaveFileName=template)
    start_resident(ctx)


def box_after_capture(ctx, begins):
    press_capture_key(ctx)
    box, texts, _ = read_message_box(ctx, timeout=20)
    text = "\n".join(texts).replace("\r", "")
    answer_box(ctx, box)
    if not text.startswith(begins.replace("\r", "")):
        raise Failure(f"the box says {text!r}, expected it to begin with {begins!r}")
    return text


def unexpected_files(ctx, before):
    return sorted(set(p.name for p in ctx.folder.iterdir()) - before)


# ---- a write that fails over an earlier file --------------------------------

# Wine replaces a read-only file where Windows refuses, so only another
# program holding the file can make the replace fail here.
def test_failed_save_keeps_the_earlier_file(ctx):
    old = ctx.path("shot.png")
    old.write_bytes(OLD)
    wp = ctx.session.windows_path
    ctx.start_driver("hold", wp(old), "--ready", wp(ctx.path("hold.ready")), "--stop",
                     wp(ctx.path("hold.stop")), out_name="hold.out")
    wait_until("the file to be held", ctx.path("hold.ready").exists, 10)
    try:
        start_saving(ctx, "shot")
        before = set(p.name for p in ctx.folder.iterdir())
        box_after_capture(ctx, f'Failed to create the file "{wp(old)}"\r\n'
                               "Ensure the path is valid, and that you have write access to the folder. - ")
    finally:
        ctx.path("hold.stop").write_text("")
    if old.read_bytes() != OLD:
        raise Failure("the earlier file was changed")
    left = unexpected_files(ctx, before | {"hold.stop"})
    if left:
        raise Failure(f"the failed save left {left}")


# ---- names Windows would misread --------------------------------------------

NAME_CASES = [
    # name, template, the name the box shows
    ("a stream after the name", "shot:[counter]", "shot:7.png"),
    ("a device name", "nul", "nul.png"),
]


def test_misread_name_is_refused(ctx, template, shown):
    start_saving(ctx, template)
    before = set(p.name for p in ctx.folder.iterdir())
    path = ctx.session.windows_path(ctx.folder) + "\\" + shown
    box_after_capture(ctx, f'Could not create the file "{path}"\r\n'
                           "Ensure the path is valid, and that you have write access to the folder. - "
                           "Bad file name or number")
    left = unexpected_files(ctx, before)
    if left:
        raise Failure(f"the refused name still wrote {left}")


TESTS = [
    ("save: failed write over a file another program holds", test_failed_save_keeps_the_earlier_file, {}),
    *[(f"save: {name} is refused", test_misread_name_is_refused, {"template": t, "shown": s})
      for name, t, s in NAME_CASES],
]
