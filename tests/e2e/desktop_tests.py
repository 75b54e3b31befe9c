"""Monitors and scale: pre-defined areas on two monitors with the primary on
the right (so the left one has negative screen coordinates), and the settings
dialog and the area selection window at 150 % (144 dpi)."""
import bmp
import selection_tests
from harness import Failure, Xvfb, wait_until_right
from selection_tests import MENU_CAPTURE, area_capture, resident
from settings_tests import CANCEL, OK
from steps import TITLE, answer_box, same_picture, wait_gone

# Two 640 x 480 monitors side by side under one Xinerama screen; the primary
# (the first screen) on the right. Xvfb stacks its screens at (0, 0), so this
# takes Xorg with its dummy driver.
VIRTUAL = (1280, 480)
TWO_MONITORS = """
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "DontVTSwitch" "true"
  Option "Xinerama" "true"
EndSection
Section "Monitor"
  Identifier "m"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "640x480" 25.18 640 656 752 800 480 490 492 525 -hsync -vsync
EndSection
""" + "".join(f"""
Section "Device"
  Identifier "d{n}"
  Driver "dummy"
  VideoRam 16000
  Option "Monitor-DUMMY0" "m"
EndSection
Section "Screen"
  Identifier "s{n}"
  Device "d{n}"
  Monitor "m"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "640x480"
  EndSubSection
EndSection
""" for n in (0, 1)) + """
Section "ServerLayout"
  Identifier "l"
  Screen 0 "s0" 0 0
  Screen 1 "s1" LeftOf "s0"
EndSection
"""

# Wine 8 shows only the first monitor through XRandR on such a server, and its
# video mode code crashes on the second Xinerama screen: both off.
X11_DRIVER = r"HKCU\Software\Wine\X11 Driver"
MULTI_MONITOR = [(X11_DRIVER, "UseXRandR", "REG_SZ", "N"), (X11_DRIVER, "UseXVidMode", "REG_SZ", "N")]
HIGH_DPI = [(r"HKCU\Control Panel\Desktop", "LogPixels", "REG_DWORD", 144)]


def two_monitor_server(ctx):
    conf = ctx.path("two-monitors.conf")
    conf.write_text(TWO_MONITORS)
    log = ctx.path("xorg.log")
    return Xvfb(ctx.session.log, command=lambda number, fd: [
        "Xorg", f":{number}", "-displayfd", str(fd), "-config", str(conf), "-logfile", str(log),
        "-noreset", "-nolisten", "tcp", "-novtswitch", "-sharevts"])


def control_ids(ctx, window, *texts):
    """The ids of the controls with those texts."""
    found = {}
    for line in ctx.session.drive("controls", window.handle)[1]:
        head, _, text = line.partition(" text=")
        if head.startswith("control ") and text in texts:
            found[text] = int(head.split()[1])
    missing = [t for t in texts if t not in found]
    if missing:
        raise Failure(f"no controls {missing} in the dialog")
    return [found[t] for t in texts]


def define_area(ctx, dialog, corners):
    """Define Area as a user does it: the pointer on each corner, then the
    space bar on the box (here its OK button), then OK on the dialog."""
    option, button = control_ids(ctx, dialog, "Capture a Pre-Defined Area", "&Define Area")
    ctx.session.drive("dialog", dialog.handle, f"click={option}", f"post-click={button}")
    for x, y in corners:
        code, lines = ctx.session.drive("msgbox", "--title", TITLE, "--timeout", 5)
        if code != 0:
            raise Failure("Define Area showed no box")
        box = lines[0].split()[0]
        ctx.session.drive("cursor", x, y)
        answer_box(ctx, box)
    ctx.session.drive("dialog", dialog.handle, f"post-click={OK}")
    wait_gone(ctx, dialog, "the settings dialog")


def test_two_monitors(ctx):
    server = two_monitor_server(ctx)
    try:
        with ctx.session.desktop(server, MULTI_MONITOR):
            two_monitor_captures(ctx)
            ctx.finish()
    finally:
        server.stop()


def two_monitor_captures(ctx):
    desk = resident(ctx, {"PrintArea": "0", "Save": "1", "SaveFormat": "2"}, screen=VIRTUAL)
    # Define Area stores the pointer's screen pixels; the Print Screen picture
    # starts at the virtual screen's corner, 640 pixels left of the primary's.
    for name, corners in (("left", [(-600, 50), (-401, 149)]), ("primary", [(100, 60), (299, 159)])):
        define_area(ctx, desk.open_settings(), corners)
        (x1, y1), (x2, y2) = corners
        stored = ctx.settings("HKLM", ["x1", "y1", "x2", "y2"])
        if stored != {"x1": str(x1), "y1": str(y1), "x2": str(x2), "y2": str(y2)}:
            raise Failure(f"Define Area on the {name} monitor stored {stored}")
        for old in desk.out.iterdir():
            old.unlink()
        desk.capture()

        def problem():
            files = list(desk.out.iterdir())
            if len(files) != 1:
                return f"files {[f.name for f in files]}"
            return same_picture(files[0], x2 - x1 + 1, y2 - y1 + 1,
                                lambda x, y: bmp.pattern(x1 + 640 + x, y1 + y))
        wait_until_right(f"the area on the {name} monitor saved", problem, 10)
    # The selection window spans both monitors, image pixel (0, 0) on the
    # left monitor's top-left corner.
    for old in desk.out.iterdir():
        old.unlink()
    area_capture(ctx, desk, "tray",
                 [("placed", "maximized", (-640, 0, 640, 480)), ("look", None), ("drag", 40, 30, 199, 149),
                  ("menu", MENU_CAPTURE)], (40, 30, 199, 149))


def test_high_dpi(ctx):
    with ctx.session.desktop(wine_values=HIGH_DPI):
        desk = resident(ctx, {"PrintArea": "2", "Save": "1", "SaveFileName": "area", "SaveFormat": "2"})
        # The dialog's 7095 x 5535 twips are 710 x 554 pixels at 144 dpi (473 x 369 at 96).
        dialog = desk.open_settings()
        rect = ctx.session.drive("dialog", dialog.handle, "rect")[1]
        width, height = map(int, rect[-1].split()[3:])
        if not (710 <= width <= 740 and 554 <= height <= 620):
            raise Failure(f"the settings dialog is {width} x {height} pixels at 144 dpi")
        ctx.session.drive("dialog", dialog.handle, f"post-click={CANCEL}")
        wait_gone(ctx, dialog, "the settings dialog")
        # The selection window still lays the capture on the screen one to one.
        area_capture(ctx, desk, "key",
                     [("placed", "maximized", selection_tests.FULL_SCREEN), ("look", None),
                      ("drag", 40, 30, 199, 149), ("look", (40, 30, 199, 149)), ("menu", MENU_CAPTURE)],
                     (40, 30, 199, 149))
        ctx.finish()


TESTS = [
    ("desktop: pre-defined areas and the selection window on two monitors, primary on the right",
     test_two_monitors, {}),
    ("desktop: settings dialog and selection window at 144 dpi", test_high_dpi, {}),
]
