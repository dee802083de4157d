#!/usr/bin/env python3
"""The desktop ends under the program, as at every logout: the X server, the tray host and the
session bus go away, and the program is sent SIGINT, SIGTERM or SIGHUP, in a random order a few
milliseconds apart, at a random moment of a random stage of its run, with every core kept busy.
Each round has a desktop of its own (tests/e2e/hosts.py). A round passes when the program ends by
itself (never by a signal, never with a sanitizer's report) and its settings file is whole.

    session_end_fault_test.py --program build/shell/sysvane --out build [--rounds N] [--seed S] [--only R]

ROUNDS=200 and SEED=... in the environment do the same as the options; every round prints its
recipe, and `--seed S --only R` runs round R of seed S alone again.
"""

import argparse
import dataclasses
import os
import random
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

import harness  # noqa: E402
from harness import check, wait_for  # noqa: E402
from hosts import Desktop, Host  # noqa: E402
from run_e2e import MONITOR_WIDTH, SAVED, Run  # noqa: E402

# The stage the faults hit: the settings the round starts with (none: a first run, splash and Options
# dialog), whether the tray comes before the program, the moment the program is there (returns when
# it is: its X connection is the window Qt makes first), and the random wait after it (ms).
CONNECTED = "Qt Selection Owner for sysvane"
STAGES = {
    "start": ({}, True, lambda run: run.window_named(CONNECTED), 400),
    "tray-wait": ({**SAVED}, False, lambda run: run.window_named(CONNECTED), 6000),
    "options": ({"ShowSplash": "0"}, True, lambda run: run.window_named(" Sysvane Options"), 800),
    "splash": ({}, True, lambda run: run.window("the splash", lambda w: w.width >= 100 and w.height >= 100), 4000),
    "monitor": ({**SAVED, "ShowStatsAtStartup": "1"}, True, lambda run: run.window(
        "the Monitor window", lambda w: w.name == " Sysvane" and w.width == MONITOR_WIDTH), 2000),
    "rollup": ({**SAVED}, True, lambda run: (run.icon(), run.left_click(1)), 300),
}
# The desktops: a bare X server with trayer and no session bus is what `make run` sets up headless.
DESKTOPS = {"trayer": Host("trayer"), "trayer-no-bus": Host("trayer", bus=False), "xfce-sni": Host("xfce-sni"),
            "xfce-xembed": Host("xfce-xembed")}
WINDOW_MANAGERS = ("", "", "openbox")

# What ends under the program: which process, and the signal it gets ("swap": the tray is ended
# and another kind of tray started in its place).
FAULTS = {
    "x-term": ("Xvfb", signal.SIGTERM),
    "x-kill": ("Xvfb", signal.SIGKILL),
    "tray-term": ("tray", signal.SIGTERM),
    "tray-kill": ("tray", signal.SIGKILL),
    "tray-swap": ("tray", "swap"),
    "bus-kill": ("dbus-daemon", signal.SIGKILL),
    "bus-term": ("dbus-daemon", signal.SIGTERM),
    "int": ("program", signal.SIGINT),
    "term": ("program", signal.SIGTERM),
    "hup": ("program", signal.SIGHUP),
}
PROGRAM_SIGNALS = ("int", "term", "hup")

# How the program may end. Its own close on a signal ends with 0. When the X server goes first,
# Qt's X11 platform ends the program with 1 ("The X11 connection broke"): a status of its own too.
STATUS_AFTER_SIGNAL, STATUSES_WITHOUT_X = {0}, {0, 1}
SANITIZER_REPORT = re.compile(r"ERROR: (Address|Leak)Sanitizer|runtime error:")


def recipe(seed: int, number: int) -> dict:
    """Round `number` of a run: drawn from its own generator, so that it can be run alone again."""
    rng = random.Random(f"{seed}/{number}")
    stage = rng.choice(list(STAGES))
    faults = rng.sample(list(FAULTS), rng.choice((1, 2, 2, 3)))
    if not any(f.startswith("x-") or f in PROGRAM_SIGNALS for f in faults):
        faults.append(rng.choice(PROGRAM_SIGNALS))  # the program is left on a broken desktop a moment, then ended
        gaps = [rng.randrange(6) for _ in faults[:-1]] + [rng.randrange(800)]
    else:
        gaps = [rng.randrange(6) for _ in faults]
    return {"stage": stage, "desktop": rng.choice(list(DESKTOPS)), "wm": rng.choice(WINDOW_MANAGERS),
            "wait": rng.randrange(STAGES[stage][3]), "faults": list(zip(faults, gaps))}


def describe(r: dict) -> str:
    faults = ", ".join(f"+{gap} ms {fault}" for fault, gap in r["faults"])
    return f"{r['stage']} on {r['desktop']}{' + ' + r['wm'] if r['wm'] else ''}, {r['wait']} ms in: {faults}"


class Round(Run):
    def window_named(self, name: str):
        return wait_for(lambda: self.running() and any(w.name == name for w in self.x.tree().values()), name)

    def process(self, role: str):
        names = ("trayer", "xfce4-panel") if role == "tray" else (role,)
        return next((p for p in reversed(self.d.started) if p.args[0] in names), None)

    def inject(self, fault: str) -> None:
        role, how = FAULTS[fault]
        proc = self.proc if role == "program" else self.process(role)
        if proc is not None and proc.poll() is None:
            proc.send_signal(signal.SIGTERM if how == "swap" else how)
        if how == "swap":  # before any tray (the program still waits for one), the host's own comes
            other = "xfce-sni" if proc and proc.args[0] == "trayer" and self.d.host.bus else "trayer"
            self.d.start_tray(other if proc else self.d.host.tray, ready=False)


def settings_whole(path: str, before: dict) -> None:
    """The file is old or new, never cut: one section, key=value lines, every key it had."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    lines = text.splitlines() or [""]
    check(text.endswith("\n") and lines[0] == "[Settings]", f"the settings file is cut or lost its section: {text!r}")
    keys = {line.split("=", 1)[0] for line in lines[1:] if line}
    check(all(re.match(r"^[A-Za-z]+=\S*$", line) for line in lines[1:] if line), f"a broken line in {text!r}")
    check(set(before) <= keys, f"the settings file lost keys {set(before) - keys}: {text!r}")


def run_round(program: str, r: dict, log_dir: str) -> None:
    settings, tray_first, reached, _ = STAGES[r["stage"]]
    host = dataclasses.replace(DESKTOPS[r["desktop"]], wm=r["wm"], late=not tray_first)
    x_ended = any(fault.startswith("x-") for fault, _ in r["faults"])
    with Desktop(host, log_dir) as desktop:
        if x_ended:
            # Qt's X11 platform calls exit(1) inside the event loop: a leak check then would list all
            # that lives at that moment, the application itself included.
            desktop.env["ASAN_OPTIONS"] = desktop.env.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
        run = Round("round", desktop, program, settings, log_dir)
        try:
            reached(run)
            time.sleep(r["wait"] / 1000)
            for fault, gap in r["faults"]:
                time.sleep(gap / 1000)
                run.inject(fault)
            wait_for(lambda: run.proc.poll() is not None, "the program to end")
        except harness.ScenarioFailed:
            if run.proc.poll() is None:
                run.proc.send_signal(signal.SIGABRT)  # its core shows where it hangs
            raise
        status = run.proc.returncode
        with open(run.proc.log_path, encoding="utf-8", errors="replace") as log:
            report = SANITIZER_REPORT.search(log.read())
        check(not report, f"the program's log holds a report ({report and report[0]}): {run.proc.log_path}")
        check(status >= 0, f"the program ended by signal {-status}")
        accepted = STATUSES_WITHOUT_X if x_ended else STATUS_AFTER_SIGNAL
        check(status in accepted, f"the program ended with {status}, not one of {sorted(accepted)}")
        settings_whole(desktop.path("config", "Sysvane", "Sysvane.conf"), settings)


def busy_loops() -> list:
    """A busy loop on every core, as a build beside the desktop."""
    return [subprocess.Popen(["sh", "-c", "while :; do :; done"], preexec_fn=harness._die_with_parent)
            for _ in range(os.cpu_count() or 1)]


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", required=True, help="the sysvane executable")
    parser.add_argument("--out", required=True, help="build folder; the failed rounds' logs go to faults-logs/")
    parser.add_argument("--rounds", type=int, help="how many rounds (default: ROUNDS, else --default-rounds)")
    parser.add_argument("--default-rounds", type=int, default=40, help="fewer where each start is slow (sanitizers)")
    parser.add_argument("--seed", type=int, default=int(os.environ.get("SEED", random.randrange(1 << 31))))
    parser.add_argument("--only", type=int, help="run this round of the seed alone")
    args = parser.parse_args()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))  # ctest's time-out: clean up as on a failure
    program, logs = os.path.abspath(args.program), os.path.join(os.path.abspath(args.out), "faults-logs")
    rounds = args.rounds or int(os.environ.get("ROUNDS", args.default_rounds))
    numbers = [args.only] if args.only is not None else range(rounds)
    print(f"session end: seed {args.seed}, {len(numbers)} rounds", flush=True)
    failed = []
    # A crash leaves its core (core_pattern "core") in the folder the program runs in: the round's.
    resource.setrlimit(resource.RLIMIT_CORE, (resource.getrlimit(resource.RLIMIT_CORE)[1],) * 2)
    loops = busy_loops()
    try:
        for number in numbers:
            r = recipe(args.seed, number)
            log_dir = tempfile.mkdtemp(prefix=f"sysvane-round{number}-")
            print(f"round {number}: {describe(r)}", flush=True)
            os.chdir(log_dir)
            try:
                run_round(program, r, log_dir)
                shutil.rmtree(log_dir)
            except Exception:
                traceback.print_exc(file=sys.stdout)
                failed.append(number)
                kept = os.path.join(logs, f"seed{args.seed}-round{number}")
                shutil.rmtree(kept, ignore_errors=True)
                shutil.move(log_dir, kept)
                print(f"  FAILED; logs in {kept}; again: --seed {args.seed} --only {number}", flush=True)
            finally:
                os.chdir("/")
    finally:
        for loop in loops:
            harness.stop(loop)
    print(f"session end: seed {args.seed}, {len(numbers) - len(failed)} of {len(numbers)} rounds passed"
          + (f"; failed: {failed}" if failed else ""))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
