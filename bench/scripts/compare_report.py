#!/usr/bin/env python3
"""The Markdown tables of compare.sh: medians and ranges over the runs, and Sysvane's ratios.

Figures (tab-separated, one line per figure):
    run  phase(shared|alone|tray|counters)  program  kind(process|xserver|host)  metric  value
Metrics, per minute of the steady period unless said otherwise:
    cpu       CPU ms from utime + stime of /proc/PID/stat (10 ms steps: over 60 s, 10 ms per minute)
    cpu_ns    the same from the scheduler's nanosecond clock of every thread (task/*/schedstat),
              without the steps, so that small figures and their ratios can be told apart
    wakeups   voluntary context switches of every thread: the times it slept and was woken
    rss hwm pss dirty   VmRSS, VmHWM, Pss and Private_Dirty in kB at the end (not per minute);
              VmRSS counts the shared library pages every other program of the desktop maps too
              (most of a Qt program's); Pss shares them out, Private_Dirty is the process's own
    xrequests xreplies xuploads xcopies   X requests, replies (round trips), pictures sent
              (PutImage, MIT-SHM PutImage) and copies between drawables (CopyArea, DBE swaps),
              counted by xtrace between the program and its X server
    busmessages  D-Bus messages from or to the program on its desktop's bus (dbus-monitor)
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
TRAY_NAMES = {
    "tray-trayer-program": ("trayer (XEmbed, no session bus)", "program icon"),
    "tray-xfce-dbus-program": ("xfce4-panel, D-Bus tray", "program icon"),
    "tray-xfce-dbus-live": ("xfce4-panel, D-Bus tray", "CPU figure"),
    "tray-xfce-xembed-program": ("xfce4-panel, XEmbed tray", "program icon"),
    "tray-xfce-xembed-live": ("xfce4-panel, XEmbed tray", "CPU figure"),
}
# Sysvane's goals against each peer: CPU of process plus X server, and resident memory.
CPU_GOALS = {"conky": 0.5, "floor": 0.9}
RSS_GOAL = 1.15
STARTUP_GOAL_MS = 120
LIVE_ICON_GOAL = 1.5  # program + X server + host with the CPU figure, against the program icon
REFRESH_S = 0.9
TRAY_WAKEUPS_GOAL = 2  # a minute, with the icon only


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


def ratio_text(numerator, denominator, goal=None, below=False):
    if numerator is None or not denominator:
        return "n/a"
    ratio = numerator / denominator
    text = f"{ratio:.2f}x"
    if goal is not None:
        met = ratio < goal if below else ratio <= goal
        text += f" (goal {'<' if below else '≤'} {goal:.2f}x: {'met' if met else 'not met'})"
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
    parser.add_argument("--parts", default="peers,tray,counters,startup")
    parser.add_argument("--runs", type=int, required=True)
    parser.add_argument("--seconds", type=int, required=True)
    parser.add_argument("--warmup", type=int, required=True)
    parser.add_argument("--rows", required=True)
    parser.add_argument("--load", default="")
    args = parser.parse_args()

    # (phase, program, kind, metric) -> run -> value
    figures = defaultdict(dict)
    for run, phase, program, kind, metric, value in read_rows(args.figures):
        figures[(phase, program, kind, metric)][int(run)] = float(value)

    def series(phase, program, kind, metric):
        return list(figures[(phase, program, kind, metric)].values())

    def totals(program, metric="cpu"):
        # Per run: the program's own CPU side by side plus its X server's when it ran alone.
        own = figures[("shared", program, "process", metric)]
        server = figures[("alone", program, "xserver", metric)]
        return [own[run] + server[run] for run in sorted(own) if run in server]

    def tray_totals(program):
        # Per run: program + X server + tray host, on the nanosecond clock.
        parts = [figures[("tray", program, kind, "cpu_ns")] for kind in ("process", "xserver", "host")]
        return [sum(p[run] for p in parts) for run in sorted(parts[0]) if all(run in p for p in parts)]

    mib = 1 / 1024
    lines = [
        "## Sysvane against its peers",
        "",
        f"Machine: {machine_line()}. Load average (1, 5, 15 min): {args.load}.",
        f"Parts: {args.parts}. {args.runs} run(s) of {args.seconds} s of steady state after {args.warmup} s "
        f"of warm-up, every program refreshing every {REFRESH_S} s (gkrellm at its defaults); statistics "
        f"shown: {args.rows}. Medians, with the range over the runs in parentheses.",
    ]
    programs = [p for p in NAMES if figures.get(("shared", p, "process", "cpu"))]
    if programs:
        lines += [
            "",
            "| Program | CPU ms/min, process (side by side) | CPU ms/min, process (alone) "
            "| CPU ms/min, its X server (alone) | Process + X server | Wake-ups/min (alone) | VmRSS MiB "
            "| VmHWM MiB | Pss MiB | Private_Dirty MiB |",
            "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|",
        ]
        for program in programs:
            memory = [spread([v * mib for v in series("shared", program, "process", m)], 1)
                      for m in ("rss", "hwm", "pss", "dirty")]
            lines.append(
                f"| {NAMES[program]} "
                f"| {spread(series('shared', program, 'process', 'cpu'))} "
                f"| {spread(series('alone', program, 'process', 'cpu'))} "
                f"| {spread(series('alone', program, 'xserver', 'cpu'))} "
                f"| {spread(totals(program))} "
                f"| {spread(series('alone', program, 'process', 'wakeups'))} "
                f"| {' | '.join(memory)} |"
            )
        idle = series("alone", "idle", "xserver", "cpu")
        if idle:
            lines.append(f"| (Xvfb and trayer, no program) | | | {spread(idle)} | {spread(idle)} | | | | | |")
        shared_x = series("shared", "(shared X server)", "xserver", "cpu")
        if shared_x:
            lines.append(f"| (the one X server, side by side) | {spread(shared_x)} | | | | | | | | |")

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
                f"| {spread(series('shared', program, 'process', 'cpu_ns'), 1)} "
                f"| {spread(series('alone', program, 'xserver', 'cpu_ns'), 1)} "
                f"| {spread(totals(program, 'cpu_ns'), 1)} |"
            )
        if idle:
            lines.append(
                f"| (Xvfb and trayer, no program) | | {spread(series('alone', 'idle', 'xserver', 'cpu_ns'), 1)} | |")

    counted = [p for p in list(NAMES) + list(TRAY_NAMES) if figures.get(("counters", p, "process", "xrequests"))]
    if counted:
        per_refresh = REFRESH_S / 60
        lines += [
            "",
            "### Counters per minute (they do not move with the machine's load)",
            "",
            "Wake-ups: voluntary context switches of every thread of the process (the Monitor-window "
            "rows from the runs alone on an X server, the tray rows from the tray runs). X requests, "
            "replies (round trips), pictures sent (PutImage, MIT-SHM PutImage: the repaints as the X "
            "server sees them) and copies between drawables (CopyArea, DBE swaps): one period with "
            "xtrace between the program and its X server. In parentheses: per 0.9 s refresh. How many "
            "requests a refresh takes depends on how many figures changed: the programs ran in the same "
            "period, and the requests per picture sent compare them whatever the load.",
            "",
            "| Program | Wake-ups | X requests | Replies (round trips) | Pictures sent | Copies | Requests per picture |",
            "|---|---:|---:|---:|---:|---:|---:|",
        ]
        for program in counted:
            name = NAMES.get(program) or "Sysvane, icon only: {} ({})".format(*TRAY_NAMES[program])
            wakeups = series("tray" if program in TRAY_NAMES else "alone", program, "process", "wakeups") or \
                series("counters", program, "process", "wakeups")
            cells = []
            for values in (wakeups, *(series("counters", program, "process", m)
                                      for m in ("xrequests", "xreplies", "xuploads", "xcopies"))):
                mid = median(values)
                cells.append("n/a" if mid is None else f"{spread(values)} ({mid * per_refresh:.1f})")
            requests, uploads = (median(series("counters", program, "process", m)) for m in ("xrequests", "xuploads"))
            cells.append(f"{requests / uploads:.1f}" if uploads else "n/a")
            lines.append(f"| {name} | {' | '.join(cells)} |")
        own = {m: median(series("counters", "sysvane", "process", m)) for m in ("xrequests", "xreplies")}
        floor = {m: median(series("counters", "floor", "process", m)) for m in ("xrequests", "xreplies")}
        wake = median(series("alone", "sysvane", "process", "wakeups")) or \
            median(series("counters", "sysvane", "process", "wakeups"))
        if wake is not None:
            lines.append("")
            lines.append(f"- Sysvane's wake-ups per refresh, Monitor window open: {wake * per_refresh:.2f} "
                         f"(goal ≤ 1: {'met' if wake * per_refresh <= 1 else 'not met'})")
        if own["xrequests"] is not None and floor["xrequests"]:
            uploads = [median(series("counters", p, "process", "xuploads")) for p in ("sysvane", "floor")]
            per_picture = ratio_text(own["xrequests"] / uploads[0], floor["xrequests"] / uploads[1]) \
                if all(uploads) else "n/a"
            lines.append(f"- X requests, Sysvane / Qt floor: {ratio_text(own['xrequests'], floor['xrequests'], 1.0)}; "
                         f"per picture sent: {per_picture}; replies: {ratio_text(own['xreplies'], floor['xreplies'])}")

    trayed = [p for p in TRAY_NAMES if figures.get(("tray", p, "process", "cpu_ns"))]
    if trayed:
        lines += [
            "",
            "### The tray-only day (the Monitor window closed; CPU ms per minute on the nanosecond clock)",
            "",
            "Each row a desktop of its own (Xvfb, its tray host, Sysvane), all in the same period. Host: "
            "the tray's processes (xfce4-panel and its notification-area plugin's process; trayer). "
            "The session bus daemon carries the messages between Sysvane and the host (not in the total). "
            "Bus messages: from or to Sysvane on the desktop's own session bus, per minute.",
            "",
            "| Desktop | Icon | Sysvane | its X server | tray host | Sysvane + X + host | session bus daemon "
            "| Sysvane's wake-ups/min | Bus messages/min |",
            "|---|---|---:|---:|---:|---:|---:|---:|---:|",
        ]
        for program in trayed:
            desktop, icon = TRAY_NAMES[program]
            bus = series("tray", program, "process", "busmessages")
            lines.append(
                f"| {desktop} | {icon} "
                f"| {spread(series('tray', program, 'process', 'cpu_ns'), 1)} "
                f"| {spread(series('tray', program, 'xserver', 'cpu_ns'), 1)} "
                f"| {spread(series('tray', program, 'host', 'cpu_ns'), 1)} "
                f"| {spread(tray_totals(program), 1)} "
                f"| {spread(series('tray', program, 'bus', 'cpu_ns'), 1) if bus else 'no bus'} "
                f"| {spread(series('tray', program, 'process', 'wakeups'), 1)} "
                f"| {spread(bus) if bus else 'no bus'} |"
            )
        lines.append("")
        conky = median(totals("conky", "cpu_ns"))
        for desktop in ("xfce-dbus", "xfce-xembed"):
            live, still = f"tray-{desktop}-live", f"tray-{desktop}-program"
            if live in trayed and still in trayed:
                live_total = median(tray_totals(live))
                lines.append(
                    f"- {TRAY_NAMES[live][0]}: CPU figure / program icon, Sysvane + X + host: "
                    f"{ratio_text(live_total, median(tray_totals(still)), LIVE_ICON_GOAL)}; "
                    f"against conky's process + X server alone: {ratio_text(live_total, conky, 1.0, below=True)}"
                )
        for program in ("tray-trayer-program", "tray-xfce-dbus-program"):
            if program in trayed:
                wake = median(series("tray", program, "process", "wakeups"))
                lines.append(
                    f"- Sysvane's wake-ups with the program icon on {TRAY_NAMES[program][0]}: {wake:.1f} a minute "
                    f"(goal ≤ {TRAY_WAKEUPS_GOAL}: {'met' if wake <= TRAY_WAKEUPS_GOAL else 'not met'})"
                )

    if programs:
        lines += [
            "",
            "### Sysvane's ratios (medians of process + X server on the nanosecond clock; resident memory)",
            "",
        ]
    if "sysvane" in programs:
        own_ns = median(totals("sysvane", "cpu_ns"))
        own = median(totals("sysvane"))
        for peer in ("conky", "gkrellm", "floor"):
            if peer in programs:
                lines.append(
                    f"- CPU, Sysvane / {NAMES[peer]}: "
                    f"{ratio_text(own_ns, median(totals(peer, 'cpu_ns')), CPU_GOALS.get(peer))}; "
                    f"from utime + stime: {ratio_text(own, median(totals(peer)))}"
                )
        if "floor" in programs:
            rss = median(series("shared", "sysvane", "process", "rss"))
            floor_rss = median(series("shared", "floor", "process", "rss"))
            lines.append(f"- VmRSS, Sysvane / Qt floor: {ratio_text(rss, floor_rss, RSS_GOAL)}")
        for peer in ("conky", "gkrellm", "floor"):
            if peer in programs:
                own_pss, own_dirty = (median(series("shared", "sysvane", "process", m)) for m in ("pss", "dirty"))
                lines.append(
                    f"- Pss, Sysvane / {NAMES[peer]}: "
                    f"{ratio_text(own_pss, median(series('shared', peer, 'process', 'pss')))}; "
                    f"Private_Dirty: {ratio_text(own_dirty, median(series('shared', peer, 'process', 'dirty')))}"
                )
    elif programs:
        lines.append("- Sysvane was not measured (no executable was built).")

    startup = defaultdict(list)
    for kind, _trial, milliseconds in read_rows(args.startup):
        startup[kind].append(float(milliseconds))
    if startup:
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
