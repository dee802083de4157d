#!/usr/bin/env python3
# sysvane.exe under Wine on Xvfb with a tray host (trayer, where Wine docks its icons): the icon appears,
# set to show the CPU usage there (TrayIcon=1), its figure follows a busy loop up and down; a click
# opens the roll-up panel, a double click the Monitor window (the program's own icon on its title
# bar), the menu's Exit ends the program.
# wine_tray_scenario.py SYSVANE_EXE WINE_RUN_SH PREFIX SCREENSHOT_DIR [DPI] (a prefix of the display tests;
# 96 dpi unless told).
import os
import re
import subprocess
import sys
import time

from wine_with_display import start_display, stop_wine

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tests", "e2e"))
from harness import check, wait_for, wait_still  # noqa: E402

EXE, WINE_RUN, PREFIX, SHOTS = sys.argv[1:5]
DPI = int(sys.argv[5]) if len(sys.argv) > 5 else 96
# The settings as a user left them, in the registry the program reads.
SETTINGS = "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Sysvane\\Settings]\r\n" + "".join(
    f'"{k}"="{v}"\r\n' for k, v in {"Defined": "Yes", "ShowSplash": "1", "ShowStatsAtStartup": "0", "ShowCPU": "1",
                                    "ShowPhysMem": "1", "ShowVirtMem": "1", "ShowCdrive": "1",
                                    "TrayIcon": "1"}.items()) + "\r\n"
ENV = {k: v for k, v in os.environ.items() if k not in ("WAYLAND_DISPLAY", "XAUTHORITY")}
started = []


def start(*argv):
    started.append(subprocess.Popen(argv, env=ENV, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    return started[-1]


def run(*argv):
    return subprocess.run(argv, env=ENV, capture_output=True, text=True, timeout=60).stdout


def visible(*query):  # ids of the mapped windows that match an xdotool search
    return [int(w) for w in run("xdotool", "search", "--onlyvisible", *query).split()]


def geometry(wid):  # x, y (on the screen), width, height: lines 2 to 5 of "WINDOW=1 X=2 Y=3 WIDTH=4 HEIGHT=5 ..."
    return [int(line.split("=")[1]) for line in run("xdotool", "getwindowgeometry", "--shell", str(wid)).split()[1:5]]


def shot(name, x, y, w, h, out=None):  # the screenshot's file, or its pixels as text when `out` is "txt:-"
    return run("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage",
               out or os.path.join(SHOTS, f"windows-{name}.png"))


def tray(panel):  # the tray's pixels as text
    return shot("", *geometry(panel), "txt:-")


def click(x, y, *args):  # the pointer leaves at once, so that the icon's tip does not cover a window
    run("xdotool", "mousemove", str(x), str(y), "click", *args, "mousemove", "10", "10")


def main():
    os.makedirs(SHOTS, exist_ok=True)
    start_display(WINE_RUN, PREFIX, ENV, started, DPI, SETTINGS)
    start("trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request", "--height", str(28 * DPI // 96),
          "--transparent", "true", "--alpha", "0", "--tint", "0x2e3440", "--SetDockType", "true")
    panel = wait_for(lambda: visible("--name", "^panel$"), "tray panel")[0]
    program = start(WINE_RUN, PREFIX, EXE)

    # The CPU figure: digits on a dark plate, redrawn while the load rises and falls.
    wait_for(lambda: geometry(panel)[2] >= 16 and "#262626" in tray(panel)
             and not visible("--classname", "sysvane.exe"), "CPU figure in the tray")  # the splash gone
    px, py, pw, ph = geometry(panel)
    icon = (px + pw - 12, py + ph // 2)
    busy = [start(sys.executable, "-c", "while True: pass") for _ in range(os.cpu_count() or 1)]
    # Steady: the same a second later (a refresh is 0.9 s).
    loaded = wait_still(lambda: tray(panel), "figure at full load", interval=1)
    shot("tray-figure-busy", px - 40, py - 20, pw + 40, ph + 20)
    # Drawn for the small-icon size at the run's DPI (16 pixels at 96 dpi), which the tray shows unscaled.
    plate = [tuple(map(int, m)) for m in re.findall(r"^(\d+),(\d+): .*#262626", loaded, re.M)]
    check({max(p[i] for p in plate) - min(p[i] for p in plate) + 1 for i in (0, 1)} == {16 * DPI // 96},
          f"the figure is not {16 * DPI // 96} pixels square in the tray")
    list(map(subprocess.Popen.kill, busy))
    # Two refreshes without the loop: the first may still average in some of its load.
    wait_for(lambda: tray(panel) != loaded and (time.sleep(1), tray(panel))[1] != loaded,
             "figure to follow the load down", 120)

    click(*icon, "1")
    rollup = wait_for(lambda: visible("--classname", "sysvane.exe"), "roll-up panel")[0]
    shot("rollup", *wait_still(lambda: geometry(rollup), "roll-up risen"))
    wait_for(lambda: not visible("--classname", "sysvane.exe"), "roll-up panel to close", 15)

    click(*icon, "--repeat", "2", "--delay", "80", "1")
    monitor = wait_for(lambda: visible("--name", "^ Sysvane$"), "Monitor window")[0]
    # The program's own icon, with its green bars, not the system's generic one (no icon resource).
    wait_for(lambda: any(g > 150 and r < 100 and b < 100 for r, g, b in (map(int, m) for m in re.findall(
        r"\((\d+),(\d+),(\d+)", shot("", *geometry(monitor)[:2], 24, 24, "txt:-")))), "program's own icon on the title bar")
    shot("monitor", *geometry(monitor))

    click(*icon, "3")
    menu = wait_for(lambda: [w for w in visible("--classname", "sysvane.exe") if w != monitor], "tray menu")[0]
    mx, my, mw, mh = geometry(menu)
    shot("tray-menu", mx, my, mw, mh)
    click(mx + 30, my + mh - 10, "1")  # Exit, the last item
    ask = wait_for(lambda: visible("--name", "^Exit$"), "Exit question")[0]
    shot("exit", *geometry(ask))
    run("xdotool", "windowfocus", "--sync", str(ask), "key", "Return")  # Yes is the default
    wait_for(lambda: program.poll() is not None, "program to end", 15)


try:
    main()
finally:
    for process in reversed(started):
        if process.poll() is None:
            process.kill()
    stop_wine(PREFIX)
