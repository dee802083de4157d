#!/usr/bin/env python3
"""The Markdown table of compare.sh: medians and ranges over the runs, and Sysvane's ratios.

Figures (tab-separated, one line per measured process and run):
    run  phase(shared|alone)  program  kind(process|xserver)  cpu_ms_per_minute
    cpu_ms_per_minute_from_scheduler_ns  vmrss_kb  vmhwm_kb  pss_kb  private_dirty_kb
VmRSS counts the shared library pages every other program of the desktop maps too (most of a Qt
program's); Pss shares them out among their users, and Private_Dirty is the process's own memory.
CPU figures are utime + stime of /proc/PID/stat (10 ms steps: over 60 s, 10 ms per minute); the
scheduler's nanosecond clock of every thread (/proc/PID/task/*/schedstat) gives the same time
without the steps, so that small figures and their ratios can be told apart.
Start-up (tab-separated): kind(tray|monitor|floor)  trial  milliseconds
"""

import argparse
import os
import platform
import statistics
import subprocess
from collections import defaultdict

NAMES = {
    "sysvane": "Sysvane (Monitor window)",
    "conky": "conky",
    "gkrellm": "gkrellm",
    "floor": "Qt floor",
}
# Sysvane's goals against each peer: CPU of process plus X server, and resident memory.
CPU_GOALS = {"conky": 0.5, "floor": 1.0}
RSS_GOAL = 1.15
STARTUP_GOAL_MS = 120
# Fields of a measured process.
CPU, CPU_NS, RSS, HWM, PSS, DIRTY = range(6)


def read_rows(path):
    with open(path, encoding="utf-8") as file:
        return [line.rstrip("\n").split("\t") for line in file if line.strip()]


def spread(values, digits=0):
    """'median (min–max)', or the single value when every run gave the same."""
    if not values:
        return "n/a"
    low, mid, high = min(values), statistics.median(values), max(values)
    text = f"{mid:.{digits}f}"
    if f"{low:.{digits}f}" != f"{high:.{digits}f}":
        text += f" ({low:.{digits}f}–{high:.{digits}f})"
    return text


def median(values):
    return statistics.median(values) if values else None


def ratio_text(numerator, denominator, goal=None):
    if numerator is None or not denominator:
        return "n/a"
    ratio = numerator / denominator
    text = f"{ratio:.2f}x"
    if goal is not None:
        text += f" (goal ≤ {goal:.2f}x: {'met' if ratio <= goal else 'not met'})"
    return text


def command_output(*command):
    try:
        return subprocess.run(command, capture_output=True, text=True, check=False).stdout.strip()
    except OSError:
        return ""


def machine_line():
    model = ""
    with open("/proc/cpuinfo", encoding="utf-8") as file:
        for line in file:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    release = ""
    if os.path.exists("/etc/os-release"):
        with open("/etc/os-release", encoding="utf-8") as file:
            for line in file:
                if line.startswith("PRETTY_NAME="):
                    release = line.split("=", 1)[1].strip().strip('"')
    versions = command_output(
        "dpkg-query", "-W", "-f", "${Package} ${Version}, ", "libqt6core6", "conky-std", "gkrellm", "xvfb"
    ).rstrip(", ")
    return (
        f"{model or platform.processor()}, {os.cpu_count()} cores, {release}, "
        f"Linux {platform.release()}; {versions}"
    )


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--figures", required=True)
    parser.add_argument("--startup", required=True)
    parser.add_argument("--runs", type=int, required=True)
    parser.add_argument("--seconds", type=int, required=True)
    parser.add_argument("--warmup", type=int, required=True)
    parser.add_argument("--rows", required=True)
    parser.add_argument("--load", default="")
    args = parser.parse_args()

    # (phase, program, kind) -> run -> (cpu, rss, hwm, cpu from the scheduler's clock)
    figures = defaultdict(dict)
    for run, phase, program, kind, *values in read_rows(args.figures):
        values += [""] * (6 - len(values))  # a process gone at the end has no memory figures
        figures[(phase, program, kind)][int(run)] = tuple(float(v or 0) for v in values[:6])

    def series(phase, program, kind, index):
        return [values[index] for values in figures[(phase, program, kind)].values()]

    def totals(program, index=CPU):
        # Per run: the program's own CPU side by side plus its X server's when it ran alone.
        own = figures[("shared", program, "process")]
        server = figures[("alone", program, "xserver")]
        return [own[run][index] + server[run][index] for run in sorted(own) if run in server]

    mib = 1 / 1024
    lines = [
        "## Sysvane against its peers",
        "",
        f"Machine: {machine_line()}. Load average (1, 5, 15 min): {args.load}.",
        f"{args.runs} run(s) of {args.seconds} s of steady state after {args.warmup} s of warm-up, "
        f"every program refreshing every 0.9 s (gkrellm at its defaults); statistics shown: {args.rows}. "
        "Medians, with the range over the runs in parentheses.",
        "",
        "| Program | CPU ms/min, process (side by side) | CPU ms/min, process (alone) "
        "| CPU ms/min, its X server (alone) | Process + X server | VmRSS MiB | VmHWM MiB | Pss MiB "
        "| Private_Dirty MiB |",
        "|---|---:|---:|---:|---:|---:|---:|---:|---:|",
    ]
    programs = [p for p in NAMES if figures.get(("shared", p, "process"))]
    for program in programs:
        lines.append(
            f"| {NAMES[program]} "
            f"| {spread(series('shared', program, 'process', CPU))} "
            f"| {spread(series('alone', program, 'process', CPU))} "
            f"| {spread(series('alone', program, 'xserver', CPU))} "
            f"| {spread(totals(program))} "
            f"| {spread([v * mib for v in series('shared', program, 'process', RSS)], 1)} "
            f"| {spread([v * mib for v in series('shared', program, 'process', HWM)], 1)} "
            f"| {spread([v * mib for v in series('shared', program, 'process', PSS)], 1)} "
            f"| {spread([v * mib for v in series('shared', program, 'process', DIRTY)], 1)} |"
        )
    idle = series("alone", "idle", "xserver", CPU)
    if idle:
        lines.append(f"| (Xvfb and trayer, no program) | | | {spread(idle)} | {spread(idle)} | | | | |")
    shared_x = series("shared", "(shared X server)", "xserver", CPU)
    if shared_x:
        lines.append(f"| (the one X server, side by side) | {spread(shared_x)} | | | | | | | |")

    lines += [
        "",
        "The same CPU time on the scheduler's nanosecond clock (utime + stime moves in 10 ms steps, "
        "10 ms per minute over 60 s):",
        "",
        "| Program | CPU ms/min, process (side by side) | CPU ms/min, its X server (alone) | Process + X server |",
        "|---|---:|---:|---:|",
    ]
    for program in programs:
        lines.append(
            f"| {NAMES[program]} "
            f"| {spread(series('shared', program, 'process', CPU_NS), 1)} "
            f"| {spread(series('alone', program, 'xserver', CPU_NS), 1)} "
            f"| {spread(totals(program, CPU_NS), 1)} |"
        )
    if idle:
        lines.append(f"| (Xvfb and trayer, no program) | | {spread(series('alone', 'idle', 'xserver', CPU_NS), 1)} | |")

    lines += [
        "",
        "### Sysvane's ratios (medians of process + X server on the nanosecond clock; resident memory)",
        "",
    ]
    if "sysvane" in programs:
        own = median(totals("sysvane"))
        own_ns = median(totals("sysvane", CPU_NS))
        for peer in ("conky", "gkrellm", "floor"):
            if peer in programs:
                goal = CPU_GOALS.get(peer)
                lines.append(
                    f"- CPU, Sysvane / {NAMES[peer]}: "
                    f"{ratio_text(own_ns, median(totals(peer, CPU_NS)), goal)}; "
                    f"from utime + stime: {ratio_text(own, median(totals(peer)))}"
                )
        if "floor" in programs:
            rss = median(series("shared", "sysvane", "process", RSS))
            floor_rss = median(series("shared", "floor", "process", RSS))
            lines.append(f"- VmRSS, Sysvane / Qt floor: {ratio_text(rss, floor_rss, RSS_GOAL)}")
        for peer in ("conky", "gkrellm", "floor"):
            if peer in programs:
                own_pss, own_dirty = (median(series("shared", "sysvane", "process", i)) for i in (PSS, DIRTY))
                lines.append(
                    f"- Pss, Sysvane / {NAMES[peer]}: "
                    f"{ratio_text(own_pss, median(series('shared', peer, 'process', PSS)))}; "
                    f"Private_Dirty: {ratio_text(own_dirty, median(series('shared', peer, 'process', DIRTY)))}"
                )
    else:
        lines.append("- Sysvane was not measured (no executable was built).")

    startup = defaultdict(list)
    for kind, _trial, milliseconds in read_rows(args.startup):
        startup[kind].append(float(milliseconds))
    lines += ["", "### Start-up (milliseconds from process start; median, range)", ""]
    labels = {
        "tray": f"Sysvane, to the tray icon embedded (splash off; goal ≤ {STARTUP_GOAL_MS} ms)",
        "monitor": "Sysvane, to the Monitor window mapped (ShowStatsAtStartup on)",
        "floor": "Qt floor, to its window mapped",
    }
    for kind, label in labels.items():
        if startup.get(kind):
            count = len(startup[kind])
            lines.append(f"- {label}: {spread(startup[kind])} over {count} start(s)")
    print("\n".join(lines))


if __name__ == "__main__":
    main()
