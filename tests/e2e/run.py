#!/usr/bin/env python3
"""End-to-end tests of orvanex.exe under Wine on a private Xvfb display.

Usage: run.py [--exe PATH] [--driver PATH] [--only TEXT] [--keep] [--soak N] [--fail-fast]
Prints one line per test and ends with "e2e: N passed, N failed".
"""
import argparse
import importlib
import os
import sys
import time
import traceback
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

from context import Context  # noqa: E402
from harness import Failure, Session  # noqa: E402
import under_test  # noqa: E402

REPO = HERE.parent.parent

# The test modules in running order; each lists its tests in TESTS.
MODULES = [
    "shell_tests",
    "capture_tests",
    "print_tests",
    "settings_tests",
    "selection_tests",
    "fault_tests",
    "language_tests",
    "desktop_tests",
    "truth_tests",
    "install_tests",
]


def slug(name):
    return "".join(c if c.isalnum() else "-" for c in name.lower()).strip("-")


def on_screen(session):
    """What a failed test left on the screen, so that a failure seen once (a
    loaded machine, a lost key) still says what the program was showing."""
    try:
        shown = [line for line in session.drive("windows", check=False)[1]]
        code, box = session.drive("msgbox", check=False)
    except Exception as fault:  # the diagnosis must not hide the failure
        return f" [screen unreadable: {fault}]"
    text = f" [on screen: {'; '.join(shown) or 'nothing'}"
    if code == 0:
        text += " | first box: " + " / ".join(box[1:])
    return text + "]"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", default=REPO / "build/win64/orvanex.exe", type=Path)
    parser.add_argument("--driver", default=REPO / "build/win64/tests/e2e/tools/orvdrive.exe", type=Path)
    parser.add_argument("--only", default="", help="run only tests whose name contains this text")
    parser.add_argument("--keep", action="store_true", help="keep the Wine prefix afterwards")
    parser.add_argument("--soak", type=int, default=100, help="captures in the soak test (0: none)")
    parser.add_argument("--fail-fast", action="store_true", help="stop at the first failing test")
    options = parser.parse_args()

    try:
        under_test.use(options.exe)
    except (OSError, ValueError) as problem:
        print(f"e2e: cannot read the version of {options.exe} ({problem}); build the win64 preset first",
              file=sys.stderr)
        return 1
    tests = [t for name in MODULES for t in importlib.import_module(name).TESTS]
    if options.soak > 0:
        tests += importlib.import_module("soak_tests").tests(options.soak)
    tests = [t for t in tests if options.only in t[0]]
    for path in (options.exe, options.driver):
        if not path.is_file():
            print(f"e2e: missing {path}; build the win64 preset first", file=sys.stderr)
            print(f"e2e: 0 passed, {len(tests)} failed")
            return 1

    run_dir = REPO / "build/e2e" / f"{time.strftime('%Y%m%d-%H%M%S')}-{os.getpid()}"
    session = Session(run_dir, options.exe, options.driver, HERE / "ci-printer.ppd")
    passed = failed = 0
    began = time.monotonic()
    try:
        session.start()
        print(f"e2e: display {session.xvfb.display}, prefix ready in {time.monotonic() - began:.1f} s, "
              f"logs in {run_dir}", flush=True)
        for name, test, params in tests:
            ctx = Context(session, run_dir / slug(name))
            started = time.monotonic()
            problem = None
            try:
                ctx.clear_settings()
                test(ctx, **params)
            except Failure as failure:
                problem = f"{failure}{on_screen(session)}"
            except Exception:  # a harness fault is a failed test, not a dead run
                problem = traceback.format_exc().strip().replace("\n", "\n    ")
            finally:
                try:
                    ctx.finish()
                except Failure as failure:
                    problem = problem or f"clean-up: {failure}"
            took = time.monotonic() - started
            notes = "".join(f"; {n}" for n in ctx.notes)
            if problem is None:
                passed += 1
                print(f"PASS {name} ({took:.1f} s{notes})", flush=True)
            else:
                failed += 1
                print(f"FAIL {name} ({took:.1f} s): {problem}", flush=True)
                if options.fail_fast:
                    break
    except Failure as failure:
        print(f"e2e: set-up failed: {failure}", flush=True)
        failed += len(tests) - passed - failed
    finally:
        session.stop()
        if not options.keep:
            import shutil
            shutil.rmtree(session.prefix, ignore_errors=True)
    print(f"e2e finished in {time.monotonic() - began:.1f} s")
    print(f"e2e: {passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
