#!/usr/bin/env python3
"""sysvane.exe under Wine on Xvfb with a tray host (trayer, where Wine docks its icons): the icon appears,
a click opens the roll-up panel, a double click the Monitor window, the menu's Exit ends the program.
wine_tray_scenario.py SYSVANE_EXE WINE_RUN_SH PREFIX SCREENSHOT_DIR (a prefix of the display tests)."""
import os
import re
import subprocess
import sys

from wine_with_display import set_registry, start_xvfb, stop_wine

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tests", "e2e"))
from harness import wait_for, wait_still  # noqa: E402

EXE, WINE_RUN, PREFIX, SHOTS = sys.argv[1:5]
SETTINGS = {"Defined": "Yes", "ShowSplash": "1", "ShowStatsAtStartup": "0", "ShowCPU": "1",
            "ShowPhysMem": "1", "ShowVirtMem": "1", "ShowCdrive": "1"}
started = []


def start(argv, env, **kw):
    started.append(subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                    start_new_session=True, **kw))
    return started[-1]


def run(env, *argv):
    return subprocess.run(argv, env=env, capture_output=True, text=True, timeout=60).stdout


def visible(env, *query):  # ids of the mapped windows that match an xdotool search
    return [int(w) for w in run(env, "xdotool", "search", "--onlyvisible", *query).split()]


def geometry(env, wid):  # x, y, width, height
    out = run(env, "xwininfo", "-id", str(wid))
    return [int(re.search(rf"{key}:\s+(-?\d+)", out).group(1))
            for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]


def still(env, wid):  # the window's geometry once it holds still
    return wait_still(lambda: geometry(env, wid), f"window 0x{wid:x} to hold still")


def shot(env, name, box):  # box: x, y, width, height
    run(env, "import", "-window", "root", "-crop", "{2}x{3}+{0}+{1}".format(*box), "+repage",
        os.path.join(SHOTS, f"windows-{name}.png"))


def main():
    os.makedirs(SHOTS, exist_ok=True)
    stop_wine(PREFIX)  # a server left by a run that was cut short holds that run's display
    env = {k: v for k, v in os.environ.items() if k not in ("WAYLAND_DISPLAY", "XAUTHORITY")}
    env.update(WINEPREFIX=PREFIX, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    start_xvfb(env, started)
    start(["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request", "--height", "28",
           "--transparent", "true", "--alpha", "0", "--tint", "0x2e3440", "--SetDockType", "true"], env)
    panel = wait_for(lambda: visible(env, "--name", "^panel$"), "the tray panel")[0]
    # The settings as a user left them, in the registry the program reads.
    settings = "".join(f'"{k}"="{v}"\r\n' for k, v in SETTINGS.items())
    key = r"HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Sysvane\Settings"
    set_registry(WINE_RUN, PREFIX, env, os.path.join(SHOTS, "settings.reg"), keys=f"[{key}]\r\n{settings}\r\n")
    program = start([WINE_RUN, PREFIX, EXE], env)

    splash = wait_for(lambda: visible(env, "--classname", "sysvane.exe"), "the splash screen")[0]
    shot(env, "splash", still(env, splash))
    wait_for(lambda: geometry(env, panel)[2] >= 16 and not visible(env, "--classname", "sysvane.exe"), "the tray icon")
    px, py, pw, ph = geometry(env, panel)
    icon = (px + pw - 12, py + ph // 2)
    shot(env, "tray-icon", (px - 40, py - 20, pw + 40, ph + 20))
    # The program's own icon, with its green bars, not the system's generic one (no icon resource).
    pixels = run(env, "import", "-window", "root", "-crop", f"{pw}x{ph}+{px}+{py}", "+repage", "txt:-")
    if not any(g > 150 and r < 100 and b < 100 for r, g, b in
               (map(int, m) for m in re.findall(r"\((\d+),(\d+),(\d+)", pixels))):
        raise SystemExit("FAIL: the tray shows no icon of the program's own")

    # The pointer leaves the icon at once, so that the icon's tip does not cover the panel.
    run(env, "xdotool", "mousemove", *map(str, icon), "click", "1", "mousemove", "10", "10")
    rollup = wait_for(lambda: visible(env, "--classname", "sysvane.exe"), "the roll-up panel")[0]
    x, y, w, h = still(env, rollup)  # risen to its full height
    if h < 30 or abs((x + w) - (px + pw)) > 40:
        raise SystemExit(f"FAIL: roll-up panel at {x},{y} {w}x{h}, not risen above the tray")
    shot(env, "rollup", (x - 10, y - 10, w + 20, h + 20))
    wait_for(lambda: not visible(env, "--classname", "sysvane.exe"), "the roll-up panel to close", 15)

    run(env, "xdotool", "mousemove", *map(str, icon), "click", "--repeat", "2", "--delay", "80", "1")
    monitor = wait_for(lambda: visible(env, "--name", "^ Sysvane$"), "the Monitor window")[0]
    shot(env, "monitor", still(env, monitor))

    run(env, "xdotool", "mousemove", *map(str, icon), "click", "3")
    menu = wait_for(lambda: [w for w in visible(env, "--classname", "sysvane.exe") if w != monitor], "the tray menu")[0]
    mx, my, mw, mh = geometry(env, menu)
    shot(env, "tray-menu", (mx, my, mw, mh))
    run(env, "xdotool", "mousemove", str(mx + 30), str(my + mh - 10), "click", "1")  # Exit, the last item
    ask = wait_for(lambda: visible(env, "--name", "^Exit$"), "the Exit question")[0]
    shot(env, "exit", geometry(env, ask))
    run(env, "xdotool", "windowfocus", "--sync", str(ask), "key", "Return")  # Yes is the default
    wait_for(lambda: program.poll() is not None, "the program to end", 15)
    wait_for(lambda: geometry(env, panel)[2] < 16, "the tray icon to go", 10)


try:
    main()
finally:
    for process in reversed(started):
        if process.poll() is None:
            process.kill()
    stop_wine(PREFIX)
