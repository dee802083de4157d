#!/usr/bin/env python3
"""wine_with_display.py WINE_RUN_SH PREFIX PROGRAM.exe [DPI]: runs a Windows test program under Wine on
a virtual X server of its own (Wine makes no window without a display), at the DPI given (96 unless
told), and answers with its status.
The prefix's Wine server is ended before and after: a server started on another display (or on
none) would keep its programs there, and the desktop with them."""
import os
import subprocess
import sys

wine_run, prefix, program = sys.argv[1:4]
dpi = int(sys.argv[4]) if len(sys.argv) > 4 else 96


def stop_wine():
    subprocess.run(["wineserver", "-k"], env={**os.environ, "WINEPREFIX": prefix}, capture_output=True)


stop_wine()
read_end, write_end = os.pipe()
# -displayfd: the server picks a free display number itself and writes it to us.
server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                          pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
os.close(write_end)
try:
    env = {**os.environ, "DISPLAY": ":" + os.read(read_end, 16).decode().strip()}
    # Without a window manager Wine waits two seconds for each hidden window to be withdrawn, unless
    # its windows are unmanaged. The DPI is the user's LogPixels, set for every run: the prefix keeps it.
    os.makedirs(prefix, exist_ok=True)
    reg = os.path.join(prefix, "display-test.reg")
    with open(reg, "w", encoding="utf-16") as out:
        out.write("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"
                  f'"Managed"="N"\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:{dpi:08x}\r\n')
    subprocess.run([wine_run, prefix, "regedit", "/S", reg], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=120)
    sys.exit(subprocess.run([wine_run, prefix, program], env=env).returncode)
finally:
    stop_wine()
    server.kill()
