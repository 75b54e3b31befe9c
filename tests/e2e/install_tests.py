"""The MSI under Wine's msiexec: silent install, the Installed apps entry,
the start-up entry, an upgrade over a running copy, removal while the
program runs, and settings imported at install."""
import subprocess
from pathlib import Path

import under_test
from harness import CONTAINER_CLASS, RUN_VALUE, Failure, wait_until
from steps import Resident

RELEASE = Path(__file__).resolve().parents[2] / "scripts" / "release"
INSTALL_DIR = r"C:\Program Files\Orvanex"
INSTALLED_EXE = INSTALL_DIR + r"\orvanex.exe"
STARTUP_ENTRY = f'"{INSTALLED_EXE}" -startup'
PRODUCTS_KEY = r"HKLM\Software\Classes\Installer\Products"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
RUN_KEYS = {root: root + r"\Software\Microsoft\Windows\CurrentVersion\Run" for root in ("HKLM", "HKCU")}
VERSION = under_test.VERSION  # the exe under test says it; the upgrade is built as the next one
_MAJOR, _MINOR = VERSION.split(".")[:2]
NEXT_VERSION = f"{_MAJOR}.{int(_MINOR) + 1}"

_built = {}


def build_msi(ctx, version, build=""):
    """The release script's MSI, once per version and build (a run has one session): of the exe
    under test for its own version, else of an exe the script builds as that version. Each
    build is a new product code."""
    if (version, build) not in _built:
        out = ctx.session.root / f"msi-{version}{build}"
        exe = ["--exe", str(ctx.session.exe)] if version == VERSION else []
        result = subprocess.run(["bash", str(RELEASE), *exe, "--version", version, "--out", str(out)],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=900)
        if result.returncode != 0:
            raise Failure(f"scripts/release --version {version} failed:\n{result.stdout.decode()[-2000:]}")
        msi = out / f"orvanex-{version}-x64.msi"
        code = subprocess.run(["msiinfo", "export", str(msi), "Property"], stdout=subprocess.PIPE,
                              check=True).stdout.decode()
        product = next(line.split("\t")[1] for line in code.splitlines() if line.startswith("ProductCode\t"))
        _built[version, build] = (msi, product.strip())
    return _built[version, build]


def msiexec(ctx, log_name, *args, timeout=240, expect=0):
    """Runs msiexec silently with a verbose log in the test's folder; returns the log's text."""
    log = ctx.path(log_name)
    result = subprocess.run(["wine", "msiexec", *args, "/qn", "/l*v", ctx.session.windows_path(log)],
                            env=ctx.session.env, stdout=ctx.session.log, stderr=ctx.session.log, timeout=timeout)
    if (result.returncode == 0) != (expect == 0):
        raise Failure(f"msiexec {' '.join(args)} exited with {result.returncode}; see {log}")
    return log_text(log)


def log_text(log):
    """A verbose log, whichever of UTF-16 or ANSI msiexec wrote it in."""
    return log.read_bytes().replace(b"\0", b"").decode("latin-1") if log.is_file() else ""


def install(ctx, version, *properties, log_name="install.log", build="", expect=0):
    msi, product = build_msi(ctx, version, build)
    msiexec(ctx, log_name, "/i", ctx.session.windows_path(msi), *properties, expect=expect)
    return product


def uninstall(ctx, product, *properties):
    return msiexec(ctx, "uninstall.log", "/x", product, *properties)


def clean_up(ctx, product):
    """Removes what a failed test installed, without hiding why it failed."""
    try:
        msiexec(ctx, "clean-up.log", "/x", product, "REMOVESETTINGS=1")
    except (Failure, subprocess.TimeoutExpired):
        pass


def installed_files(ctx):
    folder = ctx.session.prefix / "drive_c" / "Program Files" / "Orvanex"
    return sorted(p.name for p in folder.iterdir()) if folder.is_dir() else []


def shortcuts(ctx):
    return sorted(str(p.relative_to(ctx.session.prefix)) for p in
                  (ctx.session.prefix / "drive_c").glob("**/Start Menu/Programs/Orvanex.lnk"))


def entries(ctx):
    """{product code: {value name: data}} of every Orvanex entry in Installed apps."""
    result = subprocess.run(["wine", "reg", "query", UNINSTALL_KEY, "/s"], env=ctx.session.env,
                            stdout=subprocess.PIPE, stderr=ctx.session.log, timeout=60)
    found, key, values = {}, None, {}
    for line in result.stdout.decode("utf-8", "replace").replace("\r", "").splitlines() + [""]:
        if line.startswith("HKEY_"):
            key, values = line.rsplit("\\", 1)[-1], {}
        elif line.strip() and key:
            parts = line.split(None, 2)
            if len(parts) == 3:
                values[parts[0]] = parts[2]
            if values.get("DisplayName") == "Orvanex":
                found[key] = values
    return found


def ended(proc, timeout=30):
    try:
        proc.wait(timeout)
    except subprocess.TimeoutExpired:
        raise Failure(f"the installed program still runs {timeout} s after msiexec returned") from None


def run_entries(ctx):
    return {root: ctx.session.reg_get(key, RUN_VALUE) for root, key in RUN_KEYS.items()}


def check_entry(ctx, product, version):
    found = entries(ctx)
    if list(found) != [product]:
        raise Failure(f"Installed apps lists {sorted(found)}, expected only {product}")
    values = found[product]
    expected = {"DisplayVersion": version, "Publisher": "Halvorn",
                "HelpLink": INSTALL_DIR + r"\Orvanex.html"}
    wrong = {k: values.get(k) for k, v in expected.items() if values.get(k) != v}
    if wrong:
        raise Failure(f"uninstall entry {values}: expected {expected}")
    # Installed apps shows the icon Windows Installer registered for the product.
    icon = ctx.session.reg_get(PRODUCTS_KEY + "\\" + packed(product), "ProductIcon") or ""
    unix_icon = ctx.session.prefix / "drive_c" / icon[3:].replace("\\", "/")
    if not (icon.lower().startswith("c:\\") and icon.lower().endswith(".ico") and unix_icon.is_file()):
        raise Failure(f"product icon {icon!r} is not an installed .ico file")


def packed(guid):
    """A product code as Windows Installer's registration keys spell it."""
    hexes = guid.strip("{}").replace("-", "")
    swapped = "".join(hexes[i + 1] + hexes[i] for i in range(16, 32, 2))
    return hexes[7::-1] + hexes[11:7:-1] + hexes[15:11:-1] + swapped


def test_install_upgrade_remove(ctx):
    product = install(ctx, VERSION, "AUTOSTART=1")
    try:
        if installed_files(ctx) != ["LICENSE.txt", "Orvanex.html", "orvanex.exe"]:
            raise Failure(f"installed files: {installed_files(ctx)}")
        if len(shortcuts(ctx)) != 1:
            raise Failure(f"Start menu shortcuts: {shortcuts(ctx)}")
        check_entry(ctx, product, VERSION)
        if run_entries(ctx) != {"HKLM": STARTUP_ENTRY, "HKCU": None}:
            raise Failure(f"start-up entries after AUTOSTART=1: {run_entries(ctx)}")

        # The installed program captures.
        desk = Resident(ctx, exe=INSTALLED_EXE, Save=1, SaveFormat=1)
        desk.capture()
        desk.saved()
        proc = desk.prog.proc

        # The upgrade ends the running copy the way Exit does (the counter is
        # written), replaces it, keeps the settings and the start-up entries
        # (also the one a standard user's program writes under HKCU), and
        # starts the new exe again for the user whose resident it ended.
        ctx.session.reg_set(RUN_KEYS["HKCU"], RUN_VALUE, STARTUP_ENTRY)
        product = install(ctx, NEXT_VERSION, log_name="upgrade.log")
        ended(proc)
        check_entry(ctx, product, NEXT_VERSION)
        installed = under_test.read(ctx.session.prefix / "drive_c" / "Program Files" / "Orvanex" / "orvanex.exe")
        if installed[0] != NEXT_VERSION:
            raise Failure(f"after the upgrade the installed exe says version {installed}")
        ctx.session.find_window(cls=CONTAINER_CLASS, timeout=20)
        kept = ctx.settings("HKLM", ["Counter", "Save", "SaveFileName"])
        if kept != {"Counter": "8", "Save": "1", "SaveFileName": "shot-[counter]"}:
            raise Failure(f"settings after the upgrade: {kept}")
        if run_entries(ctx) != {"HKLM": STARTUP_ENTRY, "HKCU": STARTUP_ENTRY}:
            raise Failure(f"start-up entries after the upgrade: {run_entries(ctx)}")

        # Removal while the (restarted) program runs takes both entries, and
        # the resident has gone before files in use are looked for.
        log = uninstall(ctx, product)
        product = None
        wait_until("the restarted resident's end",
                   lambda: not ctx.session.find_window(cls=CONTAINER_CLASS), 20)
        in_use = [line for line in log.splitlines() if "in use" in line.lower() or "FilesInUse" in line]
        if in_use:
            raise Failure(f"the removal met files in use: {in_use[:3]}")
    except BaseException:
        if product:
            clean_up(ctx, product)
        raise
    left = {"files": installed_files(ctx), "shortcuts": shortcuts(ctx), "entries": sorted(entries(ctx)),
            "start-up entries": {k: v for k, v in run_entries(ctx).items() if v is not None}}
    if any(left.values()):
        raise Failure(f"left after removal: {left}")
    if ctx.settings("HKLM", ["SaveFileName"])["SaveFileName"] != "shot-[counter]":
        raise Failure("removal took the users' settings")


SETTINGS_FILE = "\r\n".join([
    "Windows Registry Editor Version 5.00", "",
    r"[HKEY_LOCAL_MACHINE\SOFTWARE\Halvorn\Orvanexv3]",
    r'"GlobalSettings"="1"', r'"Key"="121"', r'"SaveFolder"="D:\\Shots\\"',
    r'"Header"="Printed by \"[name]\""', r'"AutoLoad"="0"', "", ""])


def test_install_with_settings_file(ctx):
    exported = ctx.path("orvanex.reg")
    exported.write_bytes(SETTINGS_FILE.encode("ascii"))
    # A portable copy's start-up entry is not the installer's to remove.
    portable = r"C:\Tools\orvanex.exe -startup"
    ctx.session.reg_set(RUN_KEYS["HKLM"], RUN_VALUE, portable)
    ctx.set_settings("HKCU", {"GlobalSettings": "0", "Key": "123"})
    product = install(ctx, VERSION, "SETTINGS=" + ctx.session.windows_path(exported))
    try:
        got = ctx.settings("HKLM", ["GlobalSettings", "Key", "SaveFolder", "Header", "AutoLoad"])
        expected = {"GlobalSettings": "1", "Key": "121", "SaveFolder": "D:\\Shots\\",
                    "Header": 'Printed by "[name]"', "AutoLoad": "0"}
        if got != expected:
            raise Failure(f"imported settings {got}, expected {expected}")
        if run_entries(ctx)["HKLM"] != portable:
            raise Failure(f"install without AUTOSTART changed the start-up entry: {run_entries(ctx)}")
    except BaseException:
        clean_up(ctx, product)
        raise
    uninstall(ctx, product, "REMOVESETTINGS=1")
    left = {root: ctx.settings(root, ["Key"])["Key"] for root in ("HKLM", "HKCU")}
    if any(left.values()):
        raise Failure(f"REMOVESETTINGS=1 left settings: {left}")
    if run_entries(ctx)["HKLM"] != portable:
        raise Failure(f"removal took another copy's start-up entry: {run_entries(ctx)}")


def test_same_version_rebuilt_replaces(ctx):
    """The same version rebuilt (signed over unsigned: another product code) replaces the
    installed one: one product, the settings and the one start-up entry kept."""
    exported = ctx.path("orvanex.reg")
    exported.write_bytes(SETTINGS_FILE.encode("ascii"))
    product = install(ctx, VERSION, "AUTOSTART=1", "SETTINGS=" + ctx.session.windows_path(exported))
    try:
        product = install(ctx, VERSION, build="-rebuilt", log_name="reinstall.log")
        check_entry(ctx, product, VERSION)
        if ctx.settings("HKLM", ["Key"])["Key"] != "121":
            raise Failure(f"the reinstall lost the settings: {ctx.settings('HKLM', ['Key'])}")
        if run_entries(ctx) != {"HKLM": STARTUP_ENTRY, "HKCU": None}:
            raise Failure(f"start-up entries after the reinstall: {run_entries(ctx)}")
    finally:
        clean_up(ctx, product)


def test_missing_settings_file_changes_nothing(ctx):
    """A SETTINGS file that cannot be read ends the install before anything changes."""
    missing = ctx.session.windows_path(ctx.path("no-such-file.reg"))
    install(ctx, VERSION, "AUTOSTART=1", "SETTINGS=" + missing, expect=1)
    left = {"files": installed_files(ctx), "entries": sorted(entries(ctx)),
            "start-up entries": {k: v for k, v in run_entries(ctx).items() if v is not None}}
    if any(left.values()):
        clean_up(ctx, build_msi(ctx, VERSION)[1])
        raise Failure(f"left by the failed install: {left}")
    if "no-such-file.reg" not in log_text(ctx.path("install.log")):
        raise Failure("the install log does not name the settings file")


TESTS = [
    ("installer: install, capture, upgrade, removal while running", test_install_upgrade_remove, {}),
    ("installer: settings file imported, settings removed on request", test_install_with_settings_file, {}),
    ("installer: the same version rebuilt replaces the installed one", test_same_version_rebuilt_replaces, {}),
    ("installer: a missing settings file changes nothing", test_missing_settings_file_changes_nothing, {}),
]
