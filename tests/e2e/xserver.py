"""A virtual X server with a tray host, and the few questions and gestures the
scenarios need: which windows exist and where, mouse clicks, keys, screenshots."""

import ctypes
import ctypes.util
import os
import re
import select
import subprocess
from dataclasses import dataclass
from typing import Optional

from harness import Processes, ScenarioFailed, TIMEOUT_SCALE, wait_for

SCREEN = "1280x800x24"

# trayer is ready at once and needs no window manager; it docks at the bottom right
# as a dark strip, as a desktop panel would.
TRAYER_ARGS = [
    "--edge", "bottom", "--align", "right", "--widthtype", "request",
    "--height", "28", "--iconspacing", "2", "--transparent", "true", "--alpha", "0",
    "--tint", "0x2e3440", "--SetDockType", "true", "--SetPartialStrut", "true",
]

# One line of `xwininfo -root -tree`:
#      0x200003 "panel": ("panel" "trayer")  24x32+1000+736  +1000+736
_TREE_LINE = re.compile(
    r'^(?P<indent>\s*)(?P<id>0x[0-9a-f]+) (?:"(?P<name>.*)"|\(has no name\)): '
    r"\((?P<cls>.*)\)\s+(?P<w>\d+)x(?P<h>\d+)\+-?\d+\+-?\d+\s+\+(?P<x>-?\d+)\+(?P<y>-?\d+)\s*$"
)


@dataclass
class Window:
    id: int
    name: str
    wm_class: tuple
    x: int  # absolute position on the screen
    y: int
    width: int
    height: int
    parent: Optional[int]

    @property
    def centre(self) -> tuple:
        return self.x + self.width // 2, self.y + self.height // 2

    def __str__(self) -> str:
        return f'0x{self.id:x} "{self.name}" {self.width}x{self.height}+{self.x}+{self.y}'


class Pixels:
    """A grabbed part of the screen: RGB triples, row by row."""

    def __init__(self, width: int, height: int, data: bytes) -> None:
        self.width = width
        self.height = height
        self.data = data

    def at(self, x: int, y: int) -> tuple:
        i = (y * self.width + x) * 3
        return self.data[i], self.data[i + 1], self.data[i + 2]

    def count(self, predicate) -> int:
        d = self.data
        return sum(1 for i in range(0, len(d), 3) if predicate((d[i], d[i + 1], d[i + 2])))

    def share(self, predicate) -> float:
        return self.count(predicate) / max(1, self.width * self.height)


def _read_display_number(fd: int, timeout: float) -> str:
    ready, _, _ = select.select([fd], [], [], timeout)
    if not ready:
        raise ScenarioFailed("Xvfb did not report its display number")
    data = b""
    while not data.endswith(b"\n"):
        chunk = os.read(fd, 16)
        if not chunk:
            break
        data += chunk
    if not data.strip():
        raise ScenarioFailed("Xvfb ended before it reported its display number")
    return ":" + data.decode().strip()


class XServer:
    def __init__(self, processes: Processes, log_dir: str) -> None:
        self._processes = processes
        self._log_dir = log_dir
        self.display = ""
        self.trayer = None

    # ---- start-up -------------------------------------------------------------------
    def start(self) -> None:
        read_end, write_end = os.pipe()
        try:
            # -displayfd: the server picks a free display number itself and writes it to us.
            self._xvfb = self._processes.start(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp", "-noreset"],
                env=dict(os.environ),
                log_path=os.path.join(self._log_dir, "xvfb.log"),
                pass_fds=(write_end,),
            )
            os.close(write_end)
            self.display = _read_display_number(read_end, 30 * TIMEOUT_SCALE)
        finally:
            os.close(read_end)
        wait_for(lambda: self._run(["xdpyinfo"], check=False).returncode == 0, "the X server to answer")
        self.trayer = self._processes.start(
            ["trayer", *TRAYER_ARGS], env=self.env(), log_path=os.path.join(self._log_dir, "trayer.log")
        )
        wait_for(self.tray_panel, "trayer's panel to be mapped")

    def env(self) -> dict:
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        for name in ("WAYLAND_DISPLAY", "XAUTHORITY"):
            env.pop(name, None)
        return env

    def _run(self, argv: list, check: bool = True, timeout: float = 20.0) -> subprocess.CompletedProcess:
        result = subprocess.run(
            argv, env=self.env(), capture_output=True, text=True, timeout=timeout * TIMEOUT_SCALE
        )
        if check and result.returncode != 0:
            raise ScenarioFailed(f"{' '.join(argv)} failed: {result.stderr.strip()}")
        return result

    # ---- windows ------------------------------------------------------------------
    def tree(self) -> dict:
        """Every window on the screen, mapped or not, by id, with its parent (None for
        the top-level windows, the children of the root window)."""
        windows: dict[int, Window] = {}
        stack: list[tuple[int, int]] = []  # (indent, id) of the open ancestors
        for line in self._run(["xwininfo", "-root", "-tree"]).stdout.splitlines():
            match = _TREE_LINE.match(line)
            if not match:
                continue
            indent = len(match["indent"])
            while stack and stack[-1][0] >= indent:
                stack.pop()
            wid = int(match["id"], 16)
            windows[wid] = Window(
                id=wid,
                name=match["name"] or "",
                wm_class=tuple(re.findall(r'"([^"]*)"', match["cls"])),
                x=int(match["x"]),
                y=int(match["y"]),
                width=int(match["w"]),
                height=int(match["h"]),
                parent=stack[-1][1] if stack else None,
            )
            stack.append((indent, wid))
        return windows

    def is_viewable(self, wid: int) -> bool:
        result = self._run(["xwininfo", "-id", str(wid)], check=False)
        return result.returncode == 0 and "Map State: IsViewable" in result.stdout

    def is_override_redirect(self, wid: int) -> bool:
        result = self._run(["xwininfo", "-id", str(wid)], check=False)
        return "Override Redirect State: yes" in result.stdout

    def _visible_ids(self, pid: int) -> set:
        result = self._run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], check=False)
        return {int(line) for line in result.stdout.split()}

    def tray_panel(self) -> Optional[Window]:
        for window in self.tree().values():
            if window.name == "panel" and "trayer" in window.wm_class and self.is_viewable(window.id):
                return window
        return None

    def _top_level_of(self, windows: dict, window: Window) -> Window:
        while window.parent is not None:
            window = windows[window.parent]
        return window

    def windows_of(self, pid: int) -> tuple:
        """The mapped windows of a process: (top-level windows, icons embedded in the tray)."""
        visible = self._visible_ids(pid)
        windows = self.tree()
        top_level, tray_icons = [], []
        for wid in visible:
            window = windows.get(wid)
            if window is None:
                continue
            if window.parent is None:
                top_level.append(window)
            elif "trayer" in self._top_level_of(windows, window).wm_class:
                tray_icons.append(window)
        return top_level, tray_icons

    def top_level_windows(self, pid: int) -> list:
        return self.windows_of(pid)[0]

    def tray_icons(self, pid: int) -> list:
        return self.windows_of(pid)[1]

    def embedded_in_tray(self) -> list:
        """Every client window docked in the tray panel, whoever it belongs to: the
        panel holds one socket window per icon, and the icon's window sits in it."""
        windows = self.tree()
        panel = next((w for w in windows.values() if w.name == "panel" and "trayer" in w.wm_class), None)
        if panel is None:
            return []
        sockets = {w.id for w in windows.values() if w.parent == panel.id}
        return [w for w in windows.values() if w.parent in sockets and w.width > 1]

    # ---- gestures -------------------------------------------------------------------
    def click(self, x: int, y: int, button: int = 1) -> None:
        # The pointer comes from elsewhere, as a hand moves it: a toolkit may ignore a
        # press on a window the pointer never entered (after a popup's grab, say).
        # No --sync: it waits for the pointer to move, forever when it is already there.
        self._run(["xdotool", "mousemove", str(max(0, x - 40)), str(max(0, y - 40))])
        self._run(["xdotool", "mousemove", str(x), str(y)])
        self._run(["xdotool", "click", str(button)])

    def click_window(self, window: Window, button: int = 1) -> None:
        self.click(*window.centre, button=button)

    def double_click_window(self, window: Window) -> None:
        x, y = window.centre
        self._run(["xdotool", "mousemove", str(max(0, x - 40)), str(max(0, y - 40))])
        self._run(["xdotool", "mousemove", str(x), str(y)])
        self._run(["xdotool", "click", "--repeat", "2", "--delay", "80", "1"])

    def move_pointer(self, x: int, y: int) -> None:
        self._run(["xdotool", "mousemove", str(x), str(y)])

    def close(self, window: Window) -> None:
        """Asks a window to close as a window manager's close button does: with a
        WM_DELETE_WINDOW message, which the toolkit turns into its own close request.
        (`xdotool windowclose` destroys the window behind the program's back.)"""
        if not _send_delete_window(self.display, window.id):
            raise ScenarioFailed(f"could not send WM_DELETE_WINDOW to {window}")

    def focus(self, window: Window) -> None:
        self._run(["xdotool", "windowfocus", "--sync", str(window.id)])

    def key(self, *keys: str) -> None:
        self._run(["xdotool", "key", "--delay", "80", *keys])

    def grab(self, region: tuple) -> "Pixels":
        """The region (x, y, width, height) of the screen, pixel by pixel."""
        x, y, width, height = region
        result = subprocess.run(
            ["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-depth", "8", "rgb:-"],
            env=self.env(), capture_output=True, timeout=60 * TIMEOUT_SCALE,
        )
        if result.returncode != 0 or len(result.stdout) != width * height * 3:
            raise ScenarioFailed(f"could not read the screen at {region}: {result.stderr.decode().strip()}")
        return Pixels(width, height, result.stdout)

    def move_window(self, window: Window, x: int, y: int) -> None:
        """Moves a window as a user dragging it would: the program hears of it afterwards."""
        self._run(["xdotool", "windowmove", "--sync", str(window.id), str(x), str(y)])

    def screenshot(self, path: str, region: Optional[tuple] = None) -> str:
        """Saves the whole screen, or the region (x, y, width, height) of it, as PNG."""
        argv = ["import", "-window", "root"]
        if region is not None:
            x, y, width, height = region
            argv += ["-crop", f"{width}x{height}+{x}+{y}", "+repage"]
        self._run(argv + [path], timeout=60)
        return path


# ---- a window manager's close command, sent by hand --------------------------------------
class _ClientMessage(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("window", ctypes.c_ulong),
        ("message_type", ctypes.c_ulong),
        ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5),
    ]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


def _send_delete_window(display_name: str, wid: int) -> bool:
    """Sends WM_PROTOCOLS/WM_DELETE_WINDOW to the window's owner through Xlib."""
    name = ctypes.util.find_library("X11")
    if name is None:
        return False
    xlib = ctypes.CDLL(name)
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XSendEvent.argtypes = [
        ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(_XEvent)
    ]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = xlib.XOpenDisplay(display_name.encode())
    if not display:
        return False
    try:
        event = _XEvent()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = wid
        event.xclient.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.xclient.data[1] = 0  # CurrentTime
        sent = xlib.XSendEvent(display, wid, 0, 0, ctypes.byref(event))
        xlib.XFlush(display)
        return bool(sent)
    finally:
        xlib.XCloseDisplay(display)
