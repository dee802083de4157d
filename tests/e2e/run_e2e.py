#!/usr/bin/env python3
"""Runs the end-to-end scenarios against the built program, each on its own virtual
X server with a tray host and a fresh user folder.

    run_e2e.py --program build/shell/sysvane --out build [SCENARIO ...]
    run_e2e.py --list
"""

import argparse
import glob
import importlib
import os
import shutil
import signal
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from harness import SCENARIOS, ScenarioFailed  # noqa: E402
from desktop import Desktop  # noqa: E402

TOOLS = ("Xvfb", "trayer", "xdotool", "xwininfo", "xdpyinfo", "import")


def load_scenarios() -> None:
    for path in sorted(glob.glob(os.path.join(HERE, "scenarios_*.py"))):
        importlib.import_module(os.path.splitext(os.path.basename(path))[0])


def print_log_tail(path: str, lines: int = 30) -> None:
    try:
        with open(path, encoding="utf-8", errors="replace") as log:
            tail = log.readlines()[-lines:]
    except OSError:
        return
    if tail:
        print(f"  --- last lines of {path}")
        for line in tail:
            print("  | " + line.rstrip())


def run_one(name: str, program: str, out: str) -> bool:
    screenshot_dir = os.path.join(out, "e2e-screenshots")
    log_dir = os.path.join(out, "e2e-logs", name)
    shutil.rmtree(log_dir, ignore_errors=True)
    os.makedirs(screenshot_dir, exist_ok=True)
    os.makedirs(log_dir)
    print(f"[ RUN  ] {name}: {SCENARIOS[name].doc}", flush=True)
    started = time.monotonic()
    try:
        with Desktop(program, name, screenshot_dir, log_dir) as desktop:
            print(f"  display {desktop.x.display}, user folder {desktop.root}", flush=True)
            try:
                SCENARIOS[name].run(desktop)
            except BaseException:
                # What the screen showed when the scenario failed tells the most.
                try:
                    desktop.screenshot("failure")
                except Exception:
                    pass
                raise
    except (ScenarioFailed, Exception) as error:
        print(f"  FAILED: {error}")
        if not isinstance(error, ScenarioFailed):
            traceback.print_exc(file=sys.stdout)
        # The X server's own log is mostly its search for a free display: not shown.
        for log in sorted(glob.glob(os.path.join(log_dir, "*.log"))):
            if not os.path.basename(log).startswith("xvfb"):
                print_log_tail(log)
        print(f"[ FAIL ] {name} ({time.monotonic() - started:.1f} s)", flush=True)
        return False
    print(f"[   OK ] {name} ({time.monotonic() - started:.1f} s)", flush=True)
    return True


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", help="the sysvane executable")
    parser.add_argument("--out", help="build folder: screenshots and logs go below it")
    parser.add_argument("--list", action="store_true", help="print the scenario names and stop")
    parser.add_argument("scenarios", nargs="*", help="scenarios to run (default: all)")
    args = parser.parse_args()

    load_scenarios()
    if args.list:
        print("\n".join(SCENARIOS))
        return 0
    if not args.program or not args.out:
        parser.error("--program and --out are required")
    missing = [tool for tool in TOOLS if shutil.which(tool) is None]
    if missing:
        print(f"missing tools: {' '.join(missing)} (scripts/setup.sh installs them)")
        return 1
    unknown = [name for name in args.scenarios if name not in SCENARIOS]
    if unknown:
        print(f"unknown scenarios: {' '.join(unknown)}")
        return 1

    # ctest ends a test that runs too long with SIGTERM: clean up as on any failure.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    program = os.path.abspath(args.program)
    names = args.scenarios or list(SCENARIOS)
    passed = sum(run_one(name, program, os.path.abspath(args.out)) for name in names)
    print(f"e2e: {passed} passed, {len(names) - passed} failed")
    return 0 if passed == len(names) else 1


if __name__ == "__main__":
    sys.exit(main())
