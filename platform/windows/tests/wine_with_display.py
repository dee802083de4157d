#!/usr/bin/env python3
# wine_with_display.py WINE_RUN_SH PREFIX PROGRAM.exe [DPI]: runs a Windows test program under Wine on
# a virtual X server of its own (Wine makes no window without a display), at the DPI given (96 unless
# told), and answers with its status. The tray scenario starts its display here too.
# The prefix's Wine server is ended before and after: a server started on another display (or on
# none) would keep its programs there, and the desktop with them.
import os
import subprocess
import sys


def stop_wine(prefix):
    subprocess.run(["wineserver", "-k"], env={**os.environ, "WINEPREFIX": prefix}, capture_output=True)


def start_display(wine_run, prefix, env, started, dpi=96, settings=""):
    # Starts Xvfb (added to `started`; env's DISPLAY set to it) and writes to the prefix's registry
    # `settings` (.reg text), unmanaged windows (without a window manager Wine waits two seconds for
    # each hidden window to be withdrawn) and the DPI (the prefix keeps it: set for every run).
    stop_wine(prefix)
    read_end, write_end = os.pipe()
    # -displayfd: the server picks a free display number itself and writes it to us.
    # -noreset: the server stays up, and open to clients, when its last client goes (Wine's, below).
    started.append(subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24",
                                     "-nolisten", "tcp", "-noreset"], env=env, pass_fds=(write_end,),
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    os.close(write_end)
    env["DISPLAY"] = ":" + os.read(read_end, 16).decode().strip()
    os.makedirs(prefix, exist_ok=True)
    reg = os.path.join(prefix, "display-test.reg")
    with open(reg, "w", encoding="utf-16") as out:
        out.write("Windows Registry Editor Version 5.00\r\n\r\n" + settings +
                  '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
                  f'[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:{dpi:08x}\r\n')
    subprocess.run([wine_run, prefix, "regedit", "/S", reg], env=env, capture_output=True, timeout=120, check=True)
    # The desktop and its tray started with the DPI of the run before: they start again with this one.
    stop_wine(prefix)


if __name__ == "__main__":
    wine_run, prefix, program = sys.argv[1:4]
    env, started = dict(os.environ), []
    try:
        start_display(wine_run, prefix, env, started, int(sys.argv[4]) if len(sys.argv) > 4 else 96)
        sys.exit(subprocess.run([wine_run, prefix, program], env=env).returncode)
    finally:
        stop_wine(prefix)
        for process in started:
            process.kill()
