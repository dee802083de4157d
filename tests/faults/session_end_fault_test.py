#!/usr/bin/env python3
"""The desktop ends under the program, as at every logout (X server, tray host, session bus, and
SIGINT, SIGTERM or SIGHUP, a few milliseconds apart) at a random moment of a random stage, with every
core busy. A round passes when the program ends by itself (never by a signal, never with a sanitizer's
report) and its settings file is whole. ROUNDS and SEED in the environment set --rounds and --seed.

    session_end_fault_test.py --program build/shell/sysvane --out build [--rounds N] [--seed S] [--only R]
"""

import argparse
import dataclasses
import os
import pathlib
import random
import re
import shutil
import signal
import sys
import tempfile
import time
import traceback

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

from harness import check, start, stop, wait_for  # noqa: E402
from hosts import Desktop, Host  # noqa: E402
from run_e2e import MONITOR_WIDTH, SAVED, Run  # noqa: E402

# The stage the faults hit: the settings the round starts with (none: a first run, splash and Options
# dialog), whether the tray comes before the program, the moment the program is there, and the
# longest random wait after it (ms). Its X connection is the window Qt makes first.
CONNECTED = "Qt Selection Owner for sysvane"
STAGES = {
    "tray-wait": (SAVED, False, lambda run: run.window_named(CONNECTED), 6000),
    "options": ({"ShowSplash": "0"}, True, lambda run: run.window_named(" Sysvane Options"), 800),
    "splash": ({}, True, lambda run: run.window("the splash", lambda w: w.width >= 100 and w.height >= 100), 4000),
    "monitor": ({**SAVED, "ShowStatsAtStartup": "1"}, True, lambda run: run.window(
        "the Monitor window", lambda w: w.name == " Sysvane" and w.width == MONITOR_WIDTH), 2000),
    "rollup": (SAVED, True, lambda run: (run.icon(), run.left_click(1)), 300),
}
# A bare X server with trayer and no session bus is what `make run` sets up headless.
DESKTOPS = {"trayer": Host("trayer"), "trayer-no-bus": Host("trayer", bus=False), "xfce-sni": Host("xfce-sni"),
            "xfce-xembed": Host("xfce-xembed", "openbox")}
# What ends under the program: which process, and the signal it gets ("swap": the tray is ended
# and another kind of tray started in its place).
FAULTS = {"x-term": ("Xvfb", signal.SIGTERM), "x-kill": ("Xvfb", signal.SIGKILL), "tray-kill": ("tray", signal.SIGKILL),
          "tray-swap": ("tray", "swap"), "bus-kill": ("dbus-daemon", signal.SIGKILL),
          "int": ("program", signal.SIGINT), "term": ("program", signal.SIGTERM), "hup": ("program", signal.SIGHUP)}


def recipe(seed: int, number: int) -> tuple:
    """Round `number`: (stage, desktop, wait, [(fault, gap ms)]), from its own generator to be run alone again."""
    rng = random.Random(f"{seed}/{number}")
    stage, desktop = rng.choice(list(STAGES)), rng.choice(list(DESKTOPS))
    faults = rng.sample(list(FAULTS), rng.choice((1, 2, 2, 3)))
    gaps = [rng.randrange(6) for _ in faults]
    if not any(FAULTS[f][0] in ("Xvfb", "program") for f in faults):  # left on a broken desktop, then ended
        faults, gaps = faults + [rng.choice(("int", "term", "hup"))], gaps + [rng.randrange(800)]
    return stage, desktop, rng.randrange(STAGES[stage][3]), list(zip(faults, gaps))


class Round(Run):
    def window_named(self, name: str):
        return wait_for(lambda: self.running() and any(w.name == name for w in self.x.tree().values()), name)

    def inject(self, fault: str) -> None:
        role, how = FAULTS[fault]
        names = ("trayer", "xfce4-panel") if role == "tray" else (role,)
        proc = self.proc if role == "program" else next(
            (p for p in reversed(self.d.started) if p.args[0] in names), None)
        if proc is not None and proc.poll() is None:
            proc.send_signal(signal.SIGTERM if how == "swap" else how)
        if how == "swap":  # before any tray (the program still waits for one), the host's own comes
            other = "xfce-sni" if proc and proc.args[0] == "trayer" and self.d.host.bus else "trayer"
            self.d.start_tray(other if proc else self.d.host.tray, ready=False)


def run_round(program: str, stage: str, desktop_name: str, wait: int, faults: list, log_dir: str) -> None:
    settings, tray_first, reached, _ = STAGES[stage]
    x_ended = any(FAULTS[fault][0] == "Xvfb" for fault, _ in faults)
    with Desktop(dataclasses.replace(DESKTOPS[desktop_name], late=not tray_first), log_dir) as desktop:
        if x_ended:
            # Qt's X11 platform calls exit(1) inside the event loop: a leak check then would list all
            # that lives at that moment, the application itself included.
            desktop.env["ASAN_OPTIONS"] = desktop.env.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
        run = Round("round", desktop, program, settings, log_dir)
        reached(run)
        time.sleep(wait / 1000)
        for fault, gap in faults:
            time.sleep(gap / 1000)
            run.inject(fault)
        wait_for(lambda: run.proc.poll() is not None, "the program to end")
        status = run.proc.returncode
        said = pathlib.Path(run.proc.log_path).read_text(encoding="utf-8", errors="replace")
        # What the program said last is in the failure's message: a run elsewhere keeps no logs.
        last = "".join(said.splitlines(keepends=True)[-40:])
        check(not re.search(r"ERROR: (Address|Leak)Sanitizer|runtime error:", said), f"a sanitizer's report:\n{last}")
        # Its own close on a signal ends with 0; when the X server goes first, Qt's X11 platform ends
        # the program with 1 ("The X11 connection broke").
        check(status in ((0, 1) if x_ended else (0,)),
              f"the program ended with {status} (negative: by a signal); its log ends:\n{last}")
        # The settings file is old or new, never cut: one section, key=value lines, every key it had.
        text = pathlib.Path(desktop.path("config", "Sysvane", "Sysvane.conf")).read_text(encoding="utf-8")
        check(re.fullmatch(r"\[Settings\]\n([A-Za-z]+=\S*\n|\n)*", text), f"a cut or broken settings file: {text!r}")
        check(set(settings) <= set(re.findall(r"^(\w+)=", text, re.M)), f"the settings file lost keys: {text!r}")


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
    numbers = [args.only] if args.only is not None else range(
        args.rounds or int(os.environ.get("ROUNDS", args.default_rounds)))
    failed = []
    # A busy loop on every core, as a build beside the desktop.
    loops = [start(os.devnull, ["sh", "-c", "while :; do :; done"], dict(os.environ))
             for _ in range(os.cpu_count() or 1)]
    try:
        for number in numbers:
            r = recipe(args.seed, number)
            print(f"round {number} of seed {args.seed}: {r}", flush=True)
            log_dir = tempfile.mkdtemp(prefix=f"sysvane-round{number}-")
            try:
                run_round(os.path.abspath(args.program), *r, log_dir)
                shutil.rmtree(log_dir)
            except Exception:
                traceback.print_exc(file=sys.stdout)
                failed.append(number)
                kept = os.path.join(os.path.abspath(args.out), "faults-logs", f"seed{args.seed}-round{number}")
                shutil.rmtree(kept, ignore_errors=True)
                shutil.move(log_dir, kept)
                print(f"  FAILED; logs in {kept}; again: --seed {args.seed} --only {number}", flush=True)
    finally:
        list(map(stop, loops))
    print(f"session end: seed {args.seed}, {len(numbers) - len(failed)} of {len(numbers)} passed; failed: {failed}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
