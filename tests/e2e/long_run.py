#!/usr/bin/env python3
"""A long run of the real program under Xvfb: the Monitor window open all along, the
roll-up opened every few seconds, the Options dialog opened and closed, the statistic and
drive switches of the settings file toggled. Resident memory and open file descriptors are
sampled once a minute; they must stay flat.

    long_run.py --program build/shell/sysvane --out build [--minutes 30]

Not registered with ctest (30 minutes); scenarios_faults.long_run_short runs two minutes of it.
"""

import argparse
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from desktop import Desktop  # noqa: E402
from harness import ScenarioFailed, check  # noqa: E402

# Monitor window at start-up, splash off, the statistics a machine without resources has.
SETTINGS = {
    "Defined": "Yes",
    "ShowSplash": "0",
    "ShowStatsAtStartup": "1",
    "ShowCPU": "1",
    "ShowPhysMem": "1",
    "ShowVirtMem": "1",
    "ShowBattery": "1",
    "ShowCdrive": "1",
}
# Switched on and off in turn while the program runs, as a user editing the file would.
TOGGLED = ["ShowCdrive", "ShowDdrive", "ShowEdrive", "ShowVirtMem", "ShowPhysMem"]

# Warm-up before the first figure counts: fonts, the first roll-up and dialog are loaded once.
WARM_UP_S = 45


def resident_kib(pid: int) -> int:
    with open(f"/proc/{pid}/status", encoding="ascii") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise ScenarioFailed(f"no VmRSS for pid {pid}")


def descriptors(pid: int) -> int:
    return len(os.listdir(f"/proc/{pid}/fd"))


def threads(pid: int) -> int:
    return len(os.listdir(f"/proc/{pid}/task"))


def _edit_setting(d, key: str, value: str) -> None:
    settings = dict(SETTINGS)
    settings.update(d.read_settings())
    settings[key] = value
    d.write_settings(**settings)


def _open_and_close_options(d, proc) -> None:
    """Tray menu, second item (Options), then the dialog's OK with its mnemonic: nothing
    changed, so nothing is saved."""
    menu = d.right_click_tray_icon(proc)
    d.x.key("Down", "Down", "Return")
    d.close_menu(proc, menu)
    dialog = d.wait_for_window(proc, "the Options dialog", accept=lambda w: w.name == " Sysvane Options")
    time.sleep(1.0)  # its preview bars refresh meanwhile
    d.x.focus(dialog)
    d.x.key("alt+o")
    d.wait_for_window_gone(proc, dialog, "the Options dialog to close")


def run_long(d, seconds: float, report=print) -> dict:
    """Drives the program for `seconds` and returns the figures: samples of
    (elapsed s, resident KiB, descriptors, threads) and counts of what was done."""
    d.write_settings(**SETTINGS)
    proc = d.launch()
    icon = d.wait_for_tray_icon(proc)
    monitor = d.wait_for_window(proc, "the Monitor window", accept=lambda w: w.name == " Sysvane")
    report(f"  running: pid {proc.pid}, icon {icon}, Monitor {monitor}")

    started = time.monotonic()
    samples = []
    counts = {"roll-ups": 0, "options": 0, "toggles": 0}
    next_sample = 0.0
    next_options = 20.0
    next_toggle = 10.0
    toggle = 0
    while True:
        elapsed = time.monotonic() - started
        d.check_running(proc)
        if elapsed >= next_sample:
            sample = (round(elapsed), resident_kib(proc.pid), descriptors(proc.pid), threads(proc.pid))
            samples.append(sample)
            report(f"  {sample[0]:5d} s  RSS {sample[1]:7d} KiB  fds {sample[2]:3d}  threads {sample[3]:3d}")
            next_sample += 60.0 if seconds > 300 else 15.0
        if elapsed >= seconds:
            break
        if elapsed >= next_toggle:
            key = TOGGLED[toggle % len(TOGGLED)]
            current = d.read_settings().get(key, "0")
            _edit_setting(d, key, "0" if current == "1" else "1")
            toggle += 1
            counts["toggles"] += 1
            next_toggle += 10.0
        if elapsed >= next_options:
            _open_and_close_options(d, proc)
            counts["options"] += 1
            next_options += 45.0
        else:
            d.x.click_window(d.wait_for_tray_icon(proc))
            counts["roll-ups"] += 1
            time.sleep(3.0)
    # Still whole: the Monitor window is there and the program answers a roll-up.
    check(any(w.name == " Sysvane" for w in d.x.top_level_windows(proc.pid)), "the Monitor window has gone")
    d.processes.stop(proc)
    return {"samples": samples, "counts": counts, "pid": proc.pid}


def judge(figures: dict, rss_slack_kib: int, fd_slack: int) -> list:
    """Problems found in the figures: growth past the warm-up beyond the slack. Descriptors and
    threads come and go with what is open (Qt's pool threads end after 30 idle seconds), so the
    highest count of the later half is compared with that of the earlier half."""
    samples = [s for s in figures["samples"] if s[0] >= WARM_UP_S] or figures["samples"]
    first, last = samples[0], samples[-1]
    earlier, later = samples[: max(1, len(samples) // 2)], samples[len(samples) // 2:]
    problems = []
    if last[1] - first[1] > rss_slack_kib:
        problems.append(f"resident memory grew from {first[1]} KiB to {last[1]} KiB")
    if max(s[2] for s in later) - max(s[2] for s in earlier) > fd_slack:
        problems.append(f"file descriptors grew from at most {max(s[2] for s in earlier)} "
                        f"to {max(s[2] for s in later)}")
    if max(s[3] for s in later) > max(s[3] for s in earlier) + 2:
        problems.append(f"threads grew from at most {max(s[3] for s in earlier)} to {max(s[3] for s in later)}")
    return problems


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--minutes", type=float, default=30.0)
    args = parser.parse_args()
    out = os.path.abspath(args.out)
    logs = os.path.join(out, "e2e-logs", "long_run")
    shots = os.path.join(out, "e2e-screenshots")
    os.makedirs(logs, exist_ok=True)
    os.makedirs(shots, exist_ok=True)
    with Desktop(os.path.abspath(args.program), "long_run", shots, logs) as d:
        figures = run_long(d, args.minutes * 60.0, report=lambda line: print(line, flush=True))
    samples = figures["samples"]
    print(f"done: {figures['counts']}")
    print(f"first sample {samples[0]}, last sample {samples[-1]} (elapsed s, RSS KiB, fds, threads)")
    problems = judge(figures, rss_slack_kib=4096, fd_slack=2)
    for problem in problems:
        print("PROBLEM: " + problem)
    print("long run: " + ("1 passed, 0 failed" if not problems else "0 passed, 1 failed"))
    return 0 if not problems else 1


if __name__ == "__main__":
    sys.exit(main())
