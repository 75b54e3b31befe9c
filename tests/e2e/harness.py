"""A private X display and Wine prefix, and the means to drive orvanex.exe in it.

Everything here waits on conditions with deadlines and ends only what it
started: its own Xvfb (by pid), its own wineserver (by prefix), and the
Windows processes it launched (by pid).
"""
import contextlib
import os
import select
import shutil
import subprocess
import time
from pathlib import Path

SETTINGS_KEY = r"SOFTWARE\Halvorn\Orvanexv3"
RUN_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
USER_RUN_KEY = r"HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
RUN_VALUE = "Orvanex"
CONTAINER_CLASS = "Orvanex.Container"
TRAY_CALLBACK = 0x200
WM_RBUTTONUP = 0x205
WM_LBUTTONDBLCLK = 0x203


class Failure(Exception):
    """A test's expectation did not hold."""


def wait_until(what, probe, timeout, interval=0.05):
    """Returns probe()'s first truthy value, or fails naming `what`."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Failure(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(interval)


def wait_until_right(what, find_problem, timeout, interval=0.05):
    """Waits until find_problem() finds nothing; a failure names the last problem seen."""
    seen = [None]

    def right():
        seen[0] = find_problem()
        return seen[0] is None
    try:
        wait_until(what, right, timeout, interval)
    except Failure as failure:
        raise Failure(f"{failure}; last seen: {seen[0]}") from None


def stays_clear(what, find_problem, seconds, interval=0.05):
    """Watches for the whole period that find_problem() finds nothing: the
    wait for something that must not happen. `what` names the expectation."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        problem = find_problem()
        if problem:
            raise Failure(f"expected {what}, but: {problem}")
        time.sleep(interval)


class Window:
    """One line of orvdrive's window listing."""

    def __init__(self, line):
        fields = line.split(" title=", 1)
        self.title = fields[1] if len(fields) > 1 else ""
        parts = fields[0].split()
        if parts and parts[0] == "new":
            parts = parts[1:]
        self.handle = parts[0]
        self.pid = int(parts[1].split("=", 1)[1])
        self.visible = parts[2] == "visible"
        self.cls = parts[3].split("=", 1)[1]

    def __repr__(self):
        state = "visible" if self.visible else "hidden"
        return f"<{self.cls} {self.handle} pid {self.pid} {state} {self.title!r}>"


class Xvfb:
    """A private X server on a display number nobody uses: Xvfb with one
    screen of `size` pixels, or the server that `command(number, fd)` gives."""

    def __init__(self, log, first=None, command=None, size=(1280, 1024)):
        self.command = command or (lambda number, fd: [
            "Xvfb", f":{number}", "-displayfd", str(fd), "-screen", "0", f"{size[0]}x{size[1]}x24",
            "-nolisten", "tcp"])
        # Start away from the low numbers people use by hand, spread by pid so
        # that parallel runs rarely collide; Xvfb's lock settles any race.
        first = first if first is not None else 100 + os.getpid() % 400
        for number in range(first, first + 50):
            if Path(f"/tmp/.X{number}-lock").exists() or Path(f"/tmp/.X11-unix/X{number}").exists():
                continue
            if self._try(log, number):
                self.display = f":{number}"
                return
        raise Failure("no free X display found")

    def _try(self, log, number):
        read, write = os.pipe()
        # -displayfd: the server writes the number once it accepts clients,
        # or closes the pipe unwritten when it cannot take the display.
        self.proc = subprocess.Popen(self.command(number, write), pass_fds=(write,), stdout=log, stderr=log)
        os.close(write)
        with os.fdopen(read) as pipe:
            ready = pipe.readline().strip()
        if ready == str(number):
            return True
        self.stop()
        return False

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


class Session:
    """One Xvfb and one fresh Wine prefix for the whole run."""

    def __init__(self, root, exe, driver, ppd, screen=(1280, 1024)):
        self.root = Path(root)
        self.exe = Path(exe)
        self.driver = Path(driver)
        self.ppd = Path(ppd)
        self.screen = screen
        self.root.mkdir(parents=True, exist_ok=True)
        self.log = open(self.root / "wine.log", "ab")
        self.prefix = self.root / "prefix"
        self.xvfb = None
        self.env = None
        self.started = []  # Popen objects of Windows processes we launched
        self.server = None  # the orvdrive serve process, started at the first call

    # ---- set-up and tear-down -------------------------------------------
    def start(self):
        self.xvfb = Xvfb(self.log, size=self.screen)
        self.env = dict(os.environ, DISPLAY=self.xvfb.display, WINEPREFIX=str(self.prefix),
                        WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=", WINEARCH="win64")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.prefix.mkdir(parents=True, exist_ok=True)
        # The server first, kept alive between processes: every later start is fast.
        self._tool(["wineserver", "-p", "600"], 30)
        self._tool(["wineboot", "-i"], 180)
        fonts = self.prefix / "drive_c" / "windows" / "Fonts"
        for font in Path("/usr/share/wine/fonts").glob("*.ttf"):
            shutil.copy(font, fonts)
        # Without a window manager a destroyed top-level window stalls for
        # 2 s unless Wine manages no windows itself.
        self.reg_set(r"HKCU\Software\Wine\X11 Driver", "Managed", "N")
        self.reg_set(r"HKCU\Software\Wine\Fonts\Replacements", "Arial", "Liberation Sans")
        self.reg_set(r"HKCU\Software\Wine\Fonts\Replacements", "Times New Roman", "Liberation Serif")

    def stop(self):
        for proc in self.started:
            end_process(proc)
        if self.env is not None:
            subprocess.run(["wineserver", "-k"], env=self.env, stdout=self.log, stderr=self.log,
                           timeout=30, check=False)
            try:
                subprocess.run(["wineserver", "-w"], env=self.env, timeout=30, check=False)
            except subprocess.TimeoutExpired:
                pass
        if self.xvfb:
            self.xvfb.stop()
        self.log.close()

    @contextlib.contextmanager
    def desktop(self, xserver=None, wine_values=()):
        """Runs the block on another X server (an Xvfb object, started
        already) and with Wine's own settings (key, name, type, data) that a
        wineserver reads as it starts; afterwards puts back the display and
        removes the settings. The prefix stays: no second wineboot."""
        for key, name, kind, data in wine_values:
            self._tool(["wine", "reg", "add", key, "/v", name, "/t", kind, "/d", str(data), "/f"], 60)
        self._restart_wineserver(xserver.display if xserver else None)
        try:
            yield
        finally:
            for key, name, _, _ in wine_values:
                self._tool(["wine", "reg", "delete", key, "/v", name, "/f"], 60)
            self._restart_wineserver(self.xvfb.display)

    def _restart_wineserver(self, display):
        subprocess.run(["wineserver", "-k"], env=self.env, stdout=self.log, stderr=self.log, timeout=30, check=False)
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=60, check=False)
        if display:
            self.env["DISPLAY"] = display
        self._tool(["wineserver", "-p", "600"], 30)

    def _tool(self, argv, timeout):
        result = subprocess.run(argv, env=self.env, stdout=self.log, stderr=self.log, timeout=timeout)
        if result.returncode != 0:
            raise Failure(f"{' '.join(argv)} exited with {result.returncode}")

    # ---- Windows processes ----------------------------------------------
    def launch(self, exe, args=(), stdout=None, env=None, stdin=None):
        # The arguments go to Wine as one command-line text per element.
        proc = subprocess.Popen(["wine", str(exe), *args], env=env or self.env, stdin=stdin,
                                stdout=stdout if stdout is not None else self.log, stderr=self.log)
        self.started.append(proc)
        return proc

    def drive(self, *args, timeout=30, check=True):
        """Runs one orvdrive subcommand; returns (exit code, stdout lines)."""
        args = [str(a) for a in args]
        if args[0] in ONE_OFF or any("\t" in a or "\n" in a for a in args) or sum(map(len, args)) > 7000:
            code, lines = self._drive_once(args, timeout)  # the server reads one tab-separated line
        else:
            try:
                code, lines = self.driver_server().call(args, timeout)
            except ServerEnded:
                # Wine ended the server (a wineserver restart does, and once in many runs Wine
                # ended a fresh one before it read anything): a new one takes the call.
                self.log.write(f"orvdrive serve ended before answering {args[0]}; run again\n".encode())
                code, lines = self.driver_server().call(args, timeout)
        if check and code == 2:
            raise Failure(f"orvdrive {' '.join(args)} failed")
        return code, lines

    def driver_server(self):
        if self.server is None or not self.server.running:
            self.server = DriveServer(self)
        return self.server

    def _drive_once(self, args, timeout):
        result = subprocess.run(["wine", str(self.driver), *args], env=self.env, stdout=subprocess.PIPE,
                                stderr=self.log, timeout=timeout)
        return result.returncode, result.stdout.decode("utf-8", "replace").replace("\r", "").splitlines()

    def windows_path(self, path):
        """The Wine name of a file in the Unix file system (drive Z:)."""
        return "Z:" + str(Path(path).resolve()).replace("/", "\\")

    # ---- windows --------------------------------------------------------
    def find_window(self, cls=None, title=None, pid=None, visible=False, timeout=0.0):
        args = ["find-window"]
        if cls:
            args += ["--class", cls]
        if title:
            args += ["--title", title]
        if pid:
            args += ["--pid", pid]
        if visible:
            args.append("--visible")
        code, lines = self.drive(*args, "--timeout", timeout, timeout=timeout + 30)
        return Window(lines[0]) if code == 0 and lines else None

    def windows(self, pid=None, all_windows=False):
        args = ["windows"] + (["--pid", pid] if pid else []) + (["--all"] if all_windows else [])
        return [Window(line) for line in self.drive(*args)[1]]

    def tray_icons(self, count=None, timeout=0.0):
        args = ["tray"] + (["--count", count, "--timeout", timeout] if count is not None else [])
        code, lines = self.drive(*args, timeout=timeout + 30)
        seen = int(lines[-1].split()[1]) if lines else -1
        if count is not None and code != 0:
            raise Failure(f"expected {count} tray icon(s) within {timeout:g} s, saw {seen}")
        return seen

    # ---- registry -------------------------------------------------------
    def reg_get(self, key, name):
        """The value's text, or None when missing. Fails on a non-text type."""
        kind, text = self.reg_values(key).get(name.lower(), (None, None))
        if kind not in (None, "REG_SZ"):
            raise Failure(f"{key}\\{name} is {kind}, not REG_SZ")
        return text

    def reg_values(self, key):
        """{lower-cased name: (type, text)} of every value of the key ({} when missing)."""
        code, lines = self.drive("reg", "list", key)
        values = {}
        for line in lines if code == 0 else []:
            name, _, typed = line.partition("=")
            kind, _, text = typed.partition(":")
            values[name.lower()] = (kind, text)
        return values

    def reg_set(self, key, name, text):
        self.drive("reg", "set", key, name, text)

    def reg_unset(self, key, name):
        self.drive("reg", "unset", key, name)

    # ---- a file printer -------------------------------------------------
    def install_printer(self, name, output_file):
        drivers = self.prefix / "drive_c" / "windows" / "system32" / "spool" / "drivers" / "x64" / "3"
        drivers.mkdir(parents=True, exist_ok=True)
        shutil.copy(self.ppd, drivers / self.ppd.name)
        self.reg_set(r"HKCU\Software\Wine\Printing\Spooler", "LPT1:", str(output_file))
        self.drive("install-printer", name, self.ppd.name, "LPT1:")


# Calls run in a process of their own. A long-running process on Xinerama kept
# the screen it saw first: its pointer moves stayed on the primary monitor.
ONE_OFF = {"cursor"}


class ServerEnded(Exception):
    """The drive server ended before it answered."""


class DriveServer:
    """One `orvdrive serve` answering every call: a step costs a pipe write,
    not a Wine process start. Started again when it ends (a wineserver restart
    ends it) or stops answering."""

    def __init__(self, session):
        self.session = session
        self.proc = session.launch(session.driver, ["serve"], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.pending = b""
        self.eof = False

    @property
    def running(self):
        return not self.eof and self.proc.poll() is None

    def call(self, args, timeout):
        try:
            self.proc.stdin.write(("\t".join(args) + "\n").encode())
            self.proc.stdin.flush()
        except OSError:
            raise ServerEnded() from None
        deadline = time.monotonic() + timeout
        out = []
        while True:
            line = self._line(deadline)
            if line is None:
                ended = self.eof
                end_process(self.proc)
                if ended and not out:
                    raise ServerEnded()
                raise Failure(f"orvdrive {' '.join(args)}: no answer within {timeout:g} s")
            if line.startswith("end "):
                return int(line[4:]), out
            out.append(line)

    def _line(self, deadline):
        """The next output line, or None when the server ended or the deadline passed."""
        while b"\n" not in self.pending:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.proc.stdout], [], [], left)[0]:
                return None
            chunk = os.read(self.proc.stdout.fileno(), 65536)
            if not chunk:
                self.eof = True
                return None
            self.pending += chunk
        line, self.pending = self.pending.split(b"\n", 1)
        return line.decode("utf-8", "replace").rstrip("\r")


def end_process(proc, timeout=10):
    """Ends one process we started: politely, then surely."""
    if proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
