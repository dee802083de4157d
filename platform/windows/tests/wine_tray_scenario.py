#!/usr/bin/env python3
"""sysvane.exe under Wine on Xvfb with a tray host (trayer, where Wine docks its icons): the icon appears,
a click opens the roll-up panel, a double click the Monitor window, the menu's Exit ends the program.
wine_tray_scenario.py SYSVANE_EXE WINE_RUN_SH PREFIX SCREENSHOT_DIR (a prefix of the display tests)."""
import os
import re
import subprocess
import sys
import time

EXE, WINE_RUN, PREFIX, SHOTS = sys.argv[1:5]
SETTINGS = {"Defined": "Yes", "ShowSplash": "1", "ShowStatsAtStartup": "0", "ShowCPU": "1",
            "ShowPhysMem": "1", "ShowVirtMem": "1", "ShowCdrive": "1"}
started = []


def start(argv, env, **kw):
    started.append(subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                    start_new_session=True, **kw))
    return started[-1]


def wait_for(what, probe, seconds=30.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if found := probe():
            return found
        time.sleep(0.2)
    raise SystemExit(f"FAIL: no {what} within {seconds:.0f} s")


def run(env, *argv):
    return subprocess.run(argv, env=env, capture_output=True, text=True, timeout=60).stdout


def visible(env, *query):  # ids of the mapped windows that match an xdotool search
    return [int(w) for w in run(env, "xdotool", "search", "--onlyvisible", *query).split()]


def geometry(env, wid):  # x, y, width, height
    out = run(env, "xwininfo", "-id", str(wid))
    return [int(re.search(rf"{key}:\s+(-?\d+)", out).group(1))
            for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]


def shot(env, name, box):  # box: x, y, width, height
    run(env, "import", "-window", "root", "-crop", "{2}x{3}+{0}+{1}".format(*box), "+repage",
        os.path.join(SHOTS, f"windows-{name}.png"))


def stop_wine():  # the prefix's Wine server with its programs: the next run starts on its own display
    subprocess.run(["wineserver", "-k"], env={**os.environ, "WINEPREFIX": PREFIX}, capture_output=True)


def main():
    os.makedirs(SHOTS, exist_ok=True)
    stop_wine()  # a server left by a run that was cut short holds that run's display
    env = {k: v for k, v in os.environ.items() if k not in ("WAYLAND_DISPLAY", "XAUTHORITY")}
    env.update(WINEPREFIX=PREFIX, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    read_end, write_end = os.pipe()
    start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24", "-nolisten", "tcp"], env,
          pass_fds=(write_end,))
    os.close(write_end)
    env["DISPLAY"] = ":" + os.read(read_end, 16).decode().strip()
    start(["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request", "--height", "28",
           "--transparent", "true", "--alpha", "0", "--tint", "0x2e3440", "--SetDockType", "true"], env)
    panel = wait_for("tray panel", lambda: visible(env, "--name", "^panel$"))[0]
    # The settings as a user left them, in the registry the program reads (one call: a Wine start
    # costs a second); unmanaged windows, which Wine hides without waiting for a window manager.
    key = r"[HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Sysvane\Settings]"
    reg = os.path.join(SHOTS, "settings.reg")
    with open(reg, "w", encoding="utf-16") as out:
        out.write("Windows Registry Editor Version 5.00\r\n\r\n" + key + "\r\n" +
                  "".join(f'"{k}"="{v}"\r\n' for k, v in SETTINGS.items()) +
                  "\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n\"Managed\"=\"N\"\r\n"
                  "\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"LogPixels\"=dword:00000060\r\n")  # 96 dpi
    subprocess.run([WINE_RUN, PREFIX, "regedit", "/S", reg], env=env, timeout=120, check=True)
    program = start([WINE_RUN, PREFIX, EXE], env)

    splash = wait_for("splash screen", lambda: visible(env, "--classname", "sysvane.exe"))[0]
    time.sleep(0.5)
    shot(env, "splash", geometry(env, splash))
    wait_for("tray icon", lambda: geometry(env, panel)[2] >= 16 and not visible(env, "--classname", "sysvane.exe"))
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
    rollup = wait_for("roll-up panel", lambda: visible(env, "--classname", "sysvane.exe"))[0]
    time.sleep(1.5)  # risen to its full height
    x, y, w, h = geometry(env, rollup)
    if h < 30 or abs((x + w) - (px + pw)) > 40:
        raise SystemExit(f"FAIL: roll-up panel at {x},{y} {w}x{h}, not risen above the tray")
    shot(env, "rollup", (x - 10, y - 10, w + 20, h + 20))
    wait_for("roll-up panel to close", lambda: not visible(env, "--classname", "sysvane.exe"), 15)

    run(env, "xdotool", "mousemove", *map(str, icon), "click", "--repeat", "2", "--delay", "80", "1")
    monitor = wait_for("Monitor window", lambda: visible(env, "--name", "^ Sysvane$"))[0]
    time.sleep(1.2)  # one refresh
    shot(env, "monitor", geometry(env, monitor))

    run(env, "xdotool", "mousemove", *map(str, icon), "click", "3")
    menu = wait_for("tray menu", lambda: [w for w in visible(env, "--classname", "sysvane.exe") if w != monitor])[0]
    mx, my, mw, mh = geometry(env, menu)
    shot(env, "tray-menu", (mx, my, mw, mh))
    run(env, "xdotool", "mousemove", str(mx + 30), str(my + mh - 10), "click", "1")  # Exit, the last item
    ask = wait_for("Exit question", lambda: visible(env, "--name", "^Exit$"))[0]
    shot(env, "exit", geometry(env, ask))
    run(env, "xdotool", "windowfocus", "--sync", str(ask), "key", "Return")  # Yes is the default
    wait_for("program to end", lambda: program.poll() is not None, 15)
    wait_for("tray icon to go", lambda: geometry(env, panel)[2] < 16, 10)


try:
    main()
finally:
    for process in reversed(started):
        if process.poll() is None:
            process.kill()
    stop_wine()
