"""A long run of one resident: captures through the key and the tray menu,
the file format, crop and options dialog changed through the settings dialog
every block, a printed page every 50th capture. Every file is decoded and
compared; the process's memory, handles and GUI objects are sampled and may
not grow after warm-up beyond the bounds below. Warm-up takes in every kind
of capture's first use: the options and save dialogs, a JPEG, a print."""
import re
from pathlib import Path

import pictures
from harness import TRAY_CALLBACK, WM_LBUTTONDBLCLK, WM_RBUTTONUP, Failure, Window, wait_until
from steps import FORM_CLASS, PRODUCT, Resident, differences, save_as, save_dialog, wait_for_file

SCREEN = (320, 240)
CROP = (8, 16, 215, 175)  # inclusive; on JPEG's 8-pixel grid
BLOCK = 25  # captures between two visits to the settings dialog
PRINT_EVERY = 50
SAMPLE_EVERY = 10
PRINTER = "Orvanex Soak Printer"
TEMP = re.compile(r"~orv\d{4}\.tmp")
# After warm-up, the most a figure may rise above its value then. Wine
# answers 0 for another process's private bytes, handle count and GDI and USER
# objects; there the handles in the system's list (less the folder-history
# keys Wine's own file dialog leaves open, counted as "mru") and the Wine
# process's anonymous resident memory (heaps and GDI objects) stand in.
BOUNDS = {"private": 4 << 20, "handles": 8, "gdi": 8, "user": 8, "windows": 2, "fds": 4,
          "listed": 8, "rss_anon": 4 << 20}

# SaveFormat, extension, ImageMagick's name, mean error allowed
FORMATS = [(3, "jpg", "JPEG", 12), (0, "gif", "GIF", 0), (1, "png", "PNG", 0), (2, "bmp", "BMP", 0)]
# Controls by the names the program gives them.
TABS, OK, SAVE_TAB = "TabStrip1", "cmdOK", 2
AREA_DESKTOP, AREA_PREDEFINED, ON_THE_FLY = "obPrintArea(0)", "obPrintArea(1)", "cbxOnTheFly"
OPTIONS_OK = "cmdOK"  # the options dialog's OK
TRAY_PRINT_DESKTOP = ["DOWN"] * 3 + ["RETURN"]
TRAY_SAVE_DESKTOP = ["DOWN"] * 5 + ["RETURN"]


def tiles(x, y):
    """8 x 8 tiles of 96 colours: exact in a GIF, aligned with JPEG's blocks."""
    return ((x // 8) % 8 * 32 + 16, (y // 8) % 6 * 40 + 8, 0xC0 if (x // 8 + y // 8) % 2 else 0x30)


def block_plan(k):
    """The format, crop and options dialog of block k; every pair of format
    and crop comes up within eight blocks. The options dialog keeps the area
    chosen in it from one capture to the next, so its blocks take the whole
    desktop."""
    on_the_fly = k % 5 == 0
    return FORMATS[k % 4], (k + k // 4) % 2 == 1 and not on_the_fly, on_the_fly


class Soak:
    def __init__(self, ctx):
        self.ctx = ctx
        self.drive = ctx.session.drive
        # As a DIB: Wine 8 keeps two frames in every process that reads
        # another's new device bitmap, which would hide what the program holds.
        desk = Resident(ctx, screen=(SCREEN, tiles), dib=True, printer=PRINTER, Save=1, HidePopup=0, SaveFormat=0,
                        Counter=1, Printer=PRINTER, x1=CROP[0], y1=CROP[1], x2=CROP[2], y2=CROP[3])
        self.out, self.printed, self.prog, self.container, self.pid = (desk.out, desk.printed, desk.prog,
                                                                       desk.container, desk.pid)
        self.on_the_fly = False
        self.repressed = 0
        self.seen = set()
        self.samples = []  # (captures done, {figure: value})

    # ---- the settings dialog ---------------------------------------------
    def configure(self, fmt, crop, on_the_fly):
        self.drive("post", self.container.handle, TRAY_CALLBACK, 1, WM_LBUTTONDBLCLK)
        dialog = self.ctx.session.find_window(cls=FORM_CLASS, title=PRODUCT, pid=self.pid, visible=True, timeout=30)
        if dialog is None:
            raise Failure("the settings dialog did not open")
        steps = [f"click={AREA_PREDEFINED if crop else AREA_DESKTOP}"]
        if on_the_fly != self.on_the_fly:
            steps.append(f"click={ON_THE_FLY}")
        steps += [f"tab={TABS}:{SAVE_TAB}", f"click=obSaveFormat({fmt[0]})", f"post-click={OK}"]
        code, lines = self.drive("dialog", dialog.handle, *steps, check=False)
        if code != 0:
            raise Failure(f"settings dialog steps {steps}: {lines}")
        if self.drive("wait-gone", dialog.handle, "--timeout", 10)[0] != 0:
            raise Failure("the settings dialog stayed open")
        self.on_the_fly = on_the_fly

    # ---- captures --------------------------------------------------------
    def key_capture(self, name):
        """A press of the key; through the options dialog, whose save asks
        for the file's name."""
        # The clipboard holds the screen already: no capture leaves anything else there.
        self.drive("keys", "SNAPSHOT")
        if not self.on_the_fly:
            try:
                # Long enough that a slow capture is not taken for a lost press
                # (pressing again would then make a second file).
                return self.new_file(timeout=20)
            except Failure:
                # A press landing as the previous capture's tick ends belongs
                # to that capture and is forgotten with it; count those.
                self.repressed += 1
                self.drive("keys", "SNAPSHOT")
                return self.new_file()
        dialog = self.ctx.session.find_window(cls=FORM_CLASS, title=PRODUCT, pid=self.pid, visible=True, timeout=30)
        if dialog is None:
            raise Failure("no options dialog")
        self.drive("press", dialog.handle, OPTIONS_OK)
        return self.save_as(name)

    def tray(self, keys):
        self.drive("post", self.container.handle, TRAY_CALLBACK, 1, WM_RBUTTONUP)
        if self.drive("pick-menu", *keys, "--timeout", 10, timeout=60)[0] != 0:
            raise Failure(f"the tray menu did not take {keys}")

    def save_as(self, name):
        box = save_dialog(self.ctx, self.pid, 30)
        if box is None:
            raise Failure("no save dialog")
        target = self.out / name
        save_as(self.ctx, box, target)
        self.seen.add(name)
        return target, wait_for_file(target, timeout=30)[0]

    def new_file(self, timeout=30):
        def arrived():
            # A save writes "~orvNNNN.tmp" and renames it: that name is never the capture's file.
            fresh = {p.name for p in self.out.iterdir() if not TEMP.fullmatch(p.name)} - self.seen
            return fresh or None
        fresh = wait_until("the capture's file", arrived, timeout, interval=0.1)
        if len(fresh) != 1:
            raise Failure(f"one capture wrote {sorted(fresh)}")
        name = fresh.pop()
        self.seen.add(name)
        return self.out / name, wait_for_file(self.out / name, timeout=30)[0]

    def tray_print(self):
        self.printed.unlink(missing_ok=True)
        self.tray(TRAY_PRINT_DESKTOP)
        wait_until("the printed page", lambda: self.printed.exists() and b"%%EOF" in self.printed.read_bytes()[-200:],
                   60, interval=0.1)
        page = pictures.render_pages(self.printed, self.ctx.folder, dpi=20)
        coloured = sum(1 for i in range(0, len(page[0].data), 3)
                       if max(page[0].data[i:i + 3]) - min(page[0].data[i:i + 3]) > 80) if len(page) == 1 else 0
        if coloured < 100:
            raise Failure(f"the printed page holds {len(page)} page(s), {coloured} coloured pixels")
        self.printed.unlink()
        self.ended()

    def ended(self):
        """Waits until the capture has ended (its popup gone): a press before
        that belongs to the capture and is forgotten with it."""
        wait_until("the capture to end", lambda: not self.drive("windows", "--pid", self.pid)[1], 30)

    def check(self, saved, fmt, crop):
        self.ended()
        path, kind = saved
        if not kind.startswith(fmt[2]):
            raise Failure(f"{path.name} is {kind}, expected {fmt[2]}")
        if crop:
            size, origin = (CROP[2] - CROP[0] + 1, CROP[3] - CROP[1] + 1), CROP[:2]
        else:
            size, origin = SCREEN, (0, 0)
        problem = differences(pictures.decode(path), *size, tiles, origin=origin, tolerance=fmt[3])
        if problem:
            raise Failure(f"{path.name}: {problem}")

    # ---- what the process holds --------------------------------------------
    def sample(self, done):
        code, lines = self.drive("process-stats", self.pid)
        if code != 0 or not lines:
            raise Failure(f"process-stats {self.pid}: {lines}")
        figures = {k: int(v) for k, v in (f.split("=") for f in lines[0].split())}
        figures.update(unix_figures(self.prog.proc.pid))
        self.samples.append((done, figures))
        with open(self.ctx.path("soak.csv"), "a") as log:
            log.write(f"{done}," + ",".join(f"{k}={v}" for k, v in figures.items()) + "\n")
        boxes = [Window(line) for line in self.drive("windows", "--pid", self.pid)[1]]
        if boxes:
            raise Failure(f"after {done} captures, windows open: {boxes}")
        if self.printed.exists():
            raise Failure(f"a page printed by none of the first {done} captures' choices")
        if not self.prog.running:
            raise Failure(f"the resident ended after {done} captures")


def unix_figures(pid):
    """Anonymous resident bytes and open files of the Wine process (its Unix
    pid: `wine` execs the loader in place)."""
    status = dict(line.split(":", 1) for line in open(f"/proc/{pid}/status").read().splitlines() if ":" in line)
    kib = int(status.get("RssAnon", "0 kB").split()[0])
    return {"rss_anon": kib * 1024, "fds": len(list(Path(f"/proc/{pid}/fd").iterdir()))}


def growth(samples, warm_up):
    """The sample at the end of warm-up, the last one, and the figures that
    rose above the first beyond their bound afterwards."""
    base = next(f for done, f in samples if done >= warm_up)
    later = [f for done, f in samples if done >= warm_up]
    over = {k: max(f[k] for f in later) - base[k] for k in BOUNDS if max(f[k] for f in later) - base[k] > BOUNDS[k]}
    return base, samples[-1][1], over


def test_soak(ctx, captures):
    soak = Soak(ctx)
    warm_up = min(max(20, captures // 10), captures // 2)
    soak.sample(0)
    files = 0
    fmt, crop = FORMATS[0], False
    for i in range(captures):
        if i % BLOCK == 0:
            fmt, crop, on_the_fly = block_plan(i // BLOCK)
            soak.configure(fmt, crop, on_the_fly)
        try:
            if (i + 1) % PRINT_EVERY == 10:
                soak.tray_print()
            elif i % 10 == 5:
                soak.tray(TRAY_SAVE_DESKTOP)
                soak.check(soak.save_as(f"tray-{i + 1}.{fmt[1]}"), fmt, False)  # the tray takes the whole desktop
                files += 1
            else:
                soak.check(soak.key_capture(f"options-{i + 1}.{fmt[1]}"), fmt, crop)
                files += 1
        except Failure as failure:
            raise Failure(f"capture {i + 1} ({fmt[1]}, crop {crop}, options dialog {soak.on_the_fly}): {failure}") \
                from None
        if (i + 1) % SAMPLE_EVERY == 0 or i + 1 == captures:  # the last one too: warm-up ends before it
            soak.sample(i + 1)
    written = sorted(p.name for p in soak.out.iterdir())
    if len(written) != files:
        raise Failure(f"{len(written)} files written for {files} saving captures")
    first, (base, last, over) = soak.samples[0][1], growth(soak.samples, warm_up)
    for name in (*BOUNDS, "mru"):
        ctx.note(f"{name} {first[name]} / {base[name]} / {last[name]}")
    ctx.note(f"{soak.repressed} presses pressed again")
    if over:
        raise Failure(f"grew after {warm_up} captures beyond the bounds: {over}; see soak.csv")


def tests(captures):
    return [(f"soak: {captures} captures on one resident", test_soak, {"captures": captures})]
