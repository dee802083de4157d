#!/usr/bin/env python3
"""wine_with_display.py WINE_RUN_SH PREFIX PROGRAM.exe [DPI]: runs a Windows test program under Wine on
a virtual X server of its own (Wine makes no window without a display), at the DPI given (96 unless
told), and answers with its status; the Windows tray scenario sets its display up with the same steps.
The prefix's Wine server is ended before and after: a server started on another display (or on
none) would keep its programs there, and the desktop with them."""
import os
import subprocess
import sys


def stop_wine(prefix):
    subprocess.run(["wineserver", "-k"], env={**os.environ, "WINEPREFIX": prefix}, capture_output=True)


def start_xvfb(env, started):  # -displayfd: the server picks a free display number itself and writes it to us
    read_end, write_end = os.pipe()
    started.append(subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24", "-nolisten",
                                     "tcp"], env=env, pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL))
    os.close(write_end)
    env["DISPLAY"] = ":" + os.read(read_end, 16).decode().strip()


def set_registry(wine_run, prefix, env, reg, dpi=96, keys=""):
    # Without a window manager Wine waits two seconds for each hidden window to be withdrawn, unless its
    # windows are unmanaged. The DPI is the user's LogPixels, set for every run: the prefix keeps it.
    with open(reg, "w", encoding="utf-16") as out:
        out.write(f"Windows Registry Editor Version 5.00\r\n\r\n{keys}[HKEY_CURRENT_USER\\Software\\Wine\\X11 "
                  'Driver]\r\n"Managed"="N"\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n'
                  f'"LogPixels"=dword:{dpi:08x}\r\n')
    subprocess.run([wine_run, prefix, "regedit", "/S", reg], env=env, capture_output=True, timeout=120, check=True)


if __name__ == "__main__":
    wine_run, prefix, program = sys.argv[1:4]
    stop_wine(prefix)
    env, started = dict(os.environ), []
    try:
        start_xvfb(env, started)
        os.makedirs(prefix, exist_ok=True)
        set_registry(wine_run, prefix, env, os.path.join(prefix, "display-test.reg"), int((sys.argv[4:] or [96])[0]))
        sys.exit(subprocess.run([wine_run, prefix, program], env=env).returncode)
    finally:
        stop_wine(prefix)
        for server in started:
            server.kill()
