"""The resident program seen from outside: start-up, tray icon, second
starts and Exit."""
from harness import CONTAINER_CLASS, RUN_KEY, RUN_VALUE, USER_RUN_KEY, Failure, stays_clear, wait_until
from steps import start_screen, tray_icon_colour, tray_icon_pick

EXIT_VALUES = ("Counter", "Enabled")


def visible_windows(ctx, pid):
    return [w for w in ctx.session.windows(pid=pid) if w.visible]


def test_startup_stays_in_the_tray(ctx):
    # The icon switched off here: every exit case counts the default one.
    ctx.set_settings("HKLM", {"ShowIcon": "0"})
    prog = ctx.start_program("-startup")
    window = prog.container()
    if window.visible:
        raise Failure(f"the container window is visible: {window}")
    # A few key-watch ticks: a configure signal sent by mistake would open the
    # settings dialog within them.
    stays_clear("no visible window or tray icon and the process alive",
                lambda: ("the process ended" if not prog.running else visible_windows(ctx, window.pid)
                         or (ctx.session.tray_icons() and "an icon appeared")), 1.5)
    for root in ("HKLM", "HKCU"):
        written = {k: v for k, v in ctx.settings(root, EXIT_VALUES + ("GlobalSettings", "Version")).items()
                   if v is not None}
        if written:
            raise Failure(f"start-up wrote settings under {root}: {written}")
    for key in (RUN_KEY, USER_RUN_KEY):
        entry = ctx.session.reg_get(key, RUN_VALUE)
        if entry is not None:
            raise Failure(f"start-up registered itself to run: {entry!r}")


# Command lines the resident is sent (the other spellings are native tests): name, command line after the
# program's name, whether the resident opens its settings.
SECOND_START_CASES = [
    ("print screen switch, mixed case and blanks", "  -PrintScreen ", False),
    ("no argument", "", True),
]


def test_second_start_is_a_messenger(ctx, tail, opens_settings):
    # Quiet captures: neither print nor save, no popup; the "screen" is known.
    ctx.set_settings("HKLM", {"PrintScreen": "0", "Save": "0", "HidePopup": "1", "OnTheFly": "0"})
    start_screen(ctx)

    resident = ctx.start_program("-startup")
    window = resident.container()

    watch = ctx.start_driver("watch-windows",
                             "--ready", ctx.session.windows_path(ctx.path("watch.ready")),
                             "--stop", ctx.session.windows_path(ctx.path("watch.stop")),
                             out_name="watch.out")
    wait_until("the window watch", ctx.path("watch.ready").exists, 10)
    # Started from inside Wine so that the command line reaches it exactly.
    code, lines = ctx.session.drive("launch", ctx.session.windows_path(ctx.session.exe), tail,
                                    "--timeout", 2, timeout=30)
    if code != 0:
        raise Failure(f"the second start did not end within 2 s: {lines}")
    ctx.note(f"second start {lines[-1]}")
    ctx.path("watch.stop").touch()
    watch.wait(10)
    created = [line for line in ctx.path("watch.out").read_text(errors="replace").splitlines()
               if line.startswith("new ")]
    offending = [line for line in created if " visible " in line or "class=Orvanex" in line]
    if offending:
        raise Failure(f"the second start created windows: {offending}")
    containers = [w for w in ctx.session.windows(all_windows=True) if w.cls == CONTAINER_CLASS]
    if len(containers) != 1 or not resident.running:
        raise Failure(f"expected the one resident to go on, found {containers}")

    if opens_settings:
        wait_until("the resident's settings dialog",
                   lambda: visible_windows(ctx, window.pid), 5)
    else:
        stays_clear("no window from the resident", lambda: visible_windows(ctx, window.pid), 1.5)


EXIT_CASES = [
    # name, GlobalSettings chooser, values stored before, tray keys before Exit, root, values expected
    ("per-user stored values kept", "0", {"Counter": "41", "Enabled": "False"}, [], "HKCU",
     {"Counter": "41", "Enabled": "False"}),
    ("disabled from the tray first", None, {}, ["e"], "HKLM", {"Counter": "0", "Enabled": "False"}),
]


def icon_shows(ctx, enabled):
    """The enabled icon is coloured, the disabled one grey (about 0.11 and 0.004 as Wine draws them)."""
    def right():
        colour = tray_icon_colour(ctx)
        return colour is not None and (colour > 0.05 if enabled else colour < 0.02)
    wait_until(f"the tray icon to look {'coloured' if enabled else 'grey'}", right, 5)


def test_exit_from_tray_menu(ctx, chooser, stored, keys, root, expected):
    other = "HKCU" if root == "HKLM" else "HKLM"
    if chooser is not None:
        ctx.set_settings("HKCU", {"GlobalSettings": chooser})
    ctx.set_settings(root, stored)
    prog = ctx.start_program("-startup")
    prog.container()
    ctx.session.tray_icons(count=1, timeout=5)
    enabled = stored.get("Enabled") != "False"
    icon_shows(ctx, enabled)
    for key in keys + ["x"]:  # picked as a user does: the icon itself right-clicked
        tray_icon_pick(ctx, key)
        if key == "e":
            enabled = not enabled
            icon_shows(ctx, enabled)
    prog.wait_end(5)
    got = ctx.settings(root, EXIT_VALUES)
    if got != expected:
        raise Failure(f"under {root} expected {expected}, found {got}")
    strays = {k: v for k, v in ctx.settings(other, EXIT_VALUES).items() if v is not None}
    if strays:
        raise Failure(f"Exit also wrote under {other}: {strays}")
    ctx.session.tray_icons(count=0, timeout=2)


def test_exit_then_restart(ctx):
    """An upgrade's sequence: -exit returns once the resident has gone (the exe is then free to
    replace), and -restart brings it back."""
    old = ctx.start_program("-startup")
    window = old.container()
    ctx.session.tray_icons(count=1, timeout=5)  # its removal makes the end slow under Wine
    ctx.start_program("-exit").wait_end(15)
    if ctx.session.find_window(cls=CONTAINER_CLASS, pid=window.pid) is not None:
        raise Failure("-exit returned while the resident was still there")
    ctx.start_program("-restart").container()  # the start that brings it back is the new resident
    ctx.start_program("-exit").wait_end(15)


def test_end_session_ends_at_once(ctx, close_app):
    """Sign-out (or Restart Manager's close) as Windows sends it: the resident saves, shows
    nothing and ends; a box inside the message would hold the whole sign-out up."""
    prog = ctx.start_program("-startup")
    window = prog.container()
    code, lines = ctx.session.drive("end-session", window.handle, *(["--close-app"] if close_app else []),
                                    "--timeout", 5)
    if code != 0:
        raise Failure(f"the end-session messages were not answered: {lines}")
    prog.wait_end(1)
    code, box = ctx.session.drive("msgbox", check=False)
    if code == 0:
        raise Failure(f"a box was shown at the end of the session: {box}")
    got = ctx.settings("HKLM", EXIT_VALUES)
    if got != {"Counter": "0", "Enabled": "True"}:
        raise Failure(f"the end of the session stored {got}")
    ctx.note(lines[-1])


TESTS = [
    ("startup switch stays in the tray, icon switched off", test_startup_stays_in_the_tray, {}),
    *[(f"second start: {name}", test_second_start_is_a_messenger, {"tail": a, "opens_settings": o})
      for name, a, o in SECOND_START_CASES],
    *[(f"exit: {name}", test_exit_from_tray_menu,
       {"chooser": c, "stored": s, "keys": k, "root": r, "expected": e})
      for name, c, s, k, r, e in EXIT_CASES],
    ("exit: -exit waits for the resident, -restart brings it back", test_exit_then_restart, {}),
    *[(f"exit: end of session ({name})", test_end_session_ends_at_once, {"close_app": c})
      for name, c in (("sign-out", False), ("Restart Manager", True))],
]
