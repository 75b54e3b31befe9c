"""What one test works with: its own folder, the processes it started, and
the program under test."""
import subprocess
from pathlib import Path

from harness import (CONTAINER_CLASS, RUN_KEY, RUN_VALUE, SETTINGS_KEY, USER_RUN_KEY, Failure, end_process,
                     wait_until)


class Program:
    """One start of orvanex.exe (or of the copy at exe)."""

    def __init__(self, ctx, args, exe=None, env=None):
        self.ctx = ctx
        self.args = args
        self.proc = ctx.session.launch(exe or ctx.session.exe, args, env=env)
        ctx.procs.append(self.proc)

    @property
    def running(self):
        return self.proc.poll() is None

    def container(self, timeout=10.0):
        """The hidden window of this resident process."""
        def probe():
            if not self.running:
                raise Failure(f"orvanex {self.args} ended with {self.proc.returncode} "
                              f"before its {CONTAINER_CLASS} window appeared")
            return self.ctx.session.find_window(cls=CONTAINER_CLASS)
        return wait_until(f"a {CONTAINER_CLASS} window", probe, timeout)

    def wait_end(self, timeout):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"orvanex {self.args} still running after {timeout:g} s") from None


class Context:
    def __init__(self, session, folder):
        self.session = session
        self.folder = Path(folder)
        self.folder.mkdir(parents=True, exist_ok=True)
        self.procs = []
        self.notes = []

    def note(self, text):
        self.notes.append(text)

    def path(self, name):
        return self.folder / name

    def start_program(self, *args, exe=None, env=None):
        return Program(self, list(args), exe, env)

    def start_driver(self, *args, out_name):
        """A long-running orvdrive subcommand whose output goes to a file here."""
        out = open(self.path(out_name), "wb")
        proc = self.session.launch(self.session.driver, [str(a) for a in args], stdout=out)
        out.close()
        self.procs.append(proc)
        return proc

    def finish(self):
        """Ends whatever this test started and waits until it is gone, so the
        next test meets no leftover instance."""
        for proc in self.procs:
            end_process(proc)
        wait_until("the last Orvanex window to go",
                   lambda: self.session.find_window(cls=CONTAINER_CLASS) is None, 10)

    # ---- settings -------------------------------------------------------
    @staticmethod
    def settings_key(root):
        return root + "\\" + SETTINGS_KEY

    def clear_settings(self):
        self.session.drive("reg", "delete", *(root + r"\SOFTWARE\Halvorn" for root in ("HKLM", "HKCU")))
        for key in (RUN_KEY, USER_RUN_KEY):
            self.session.reg_unset(key, RUN_VALUE)

    def set_settings(self, root, values):
        if values:
            pairs = [str(item) for name, text in values.items() for item in (name, text)]
            self.session.drive("reg", "set", self.settings_key(root), *pairs)

    def settings(self, root, names):
        """The named values under the settings key of root; None when missing.
        Names are matched without regard to case, as the registry does."""
        stored = self.session.reg_values(self.settings_key(root))
        found = {}
        for name in names:
            kind, text = stored.get(name.lower(), (None, None))
            if kind not in (None, "REG_SZ"):
                raise Failure(f"{root}\\{name} is stored as {kind}, not as text")
            found[name] = text
        return found
