"""What every end-to-end scenario leans on: waiting for conditions, processes that are always
ended by their own pid, and the few questions and gestures asked of an X display."""

import ctypes
import ctypes.util
import os
import re
import signal
import subprocess
import time
from collections import Counter
from dataclasses import dataclass

# A loaded 2-core machine can be several times slower than an idle one (E2E_TIMEOUT_SCALE=3).
TIMEOUT_SCALE = float(os.environ.get("E2E_TIMEOUT_SCALE", "1"))
SCREEN_WIDTH, SCREEN_HEIGHT = 1280, 800


class ScenarioFailed(AssertionError):
    """A condition of a scenario did not hold."""


def check(condition, message: str) -> None:
    if not condition:
        raise ScenarioFailed(message)


def wait_for(condition, what: str, timeout: float = 30.0, interval: float = 0.1):
    """Polls condition until it returns something truthy and returns that."""
    deadline = time.monotonic() + timeout * TIMEOUT_SCALE
    while not (result := condition()):
        if time.monotonic() > deadline:
            raise ScenarioFailed(f"timed out after {timeout * TIMEOUT_SCALE:.0f} s waiting for {what}")
        time.sleep(interval)
    return result


def wait_still(sample, what: str, timeout: float = 30.0, interval: float = 0.3):
    """Polls sample until it gives the same truthy value twice running, and returns that."""
    seen = [None]

    def settled():
        seen.append(sample())
        return seen[-1] if seen[-1] and seen[-1] == seen[-2] else None

    return wait_for(settled, what, timeout, interval)


def start(log_path: str, argv: list, env: dict, pass_fds=()) -> subprocess.Popen:
    """Starts a process that logs to log_path, to be ended by stop."""
    with open(log_path, "ab") as log:
        proc = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                # A child that outlived a harness killed with SIGKILL would keep a display
                                # or a tray alive: it dies with its parent (PR_SET_PDEATHSIG).
                                pass_fds=pass_fds, preexec_fn=lambda: ctypes.CDLL(None).prctl(1, signal.SIGTERM))
    proc.log_path = log_path
    return proc


def stop(proc: subprocess.Popen) -> None:
    """Ends a process by its pid: TERM, then KILL if it lingers."""
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait(10)


def pixels(data: bytes, width: int) -> list:
    """Raw RGB bytes as rows of RGB triples."""
    check(data and len(data) % (width * 3) == 0, "a picture of the screen could not be read")
    return [[tuple(data[i:i + 3]) for i in range(row, row + width * 3, 3)] for row in range(0, len(data), width * 3)]


def ink_box(before: list, after: list, masks=()):
    """The bounding box (x, y, right, bottom), within the pictures, of what changed between two
    pictures of one region, leaving out the masked boxes."""
    return bounds([(c, r) for r, (old, new) in enumerate(zip(before, after)) for c, (p, q) in enumerate(zip(old, new))
                   if differ(p, q) and not any(m[0] <= c < m[2] and m[1] <= r < m[3] for m in masks)])


def differ(p: tuple, q: tuple) -> bool:
    return sum(abs(a - b) for a, b in zip(p, q)) > 60


def bounds(points: list, x: int = 0, y: int = 0):
    """The box (x, y, right, bottom) around the points (column, row), moved by x, y; None without points."""
    if not points:
        return None
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return x + min(xs), y + min(ys), x + max(xs) + 1, y + max(ys) + 1


def new_item(before: list, after: list, start: int = 0, join: int = 2):
    """The box (x, y, right, bottom), within two pictures of a panel, of the one item drawn in the
    second and nowhere in the first, wherever the panel moved its other items to make room for it;
    only items right of start count. Parts at most join columns apart (an icon and its label) are one item."""
    columns, old = list(zip(*after)), list(zip(*before))
    background = Counter(columns).most_common(1)[0][0]
    items, left, last = [], None, 0
    for c, column in enumerate(columns + [background] * (join + 1)):
        if column != background:
            left, last = c if left is None else left, c + 1
        elif left is not None and c - last >= join:
            if left >= start and not any(old[i:i + last - left] == columns[left:last] for i in range(len(old) - last + left)):
                items.append((left, last))
            left = None
    if len(items) != 1:
        return None
    left, right = items[0]
    rows = [r for r in range(len(after)) if any(columns[c][r] != background[r] for c in range(left, right))]
    return left, rows[0], right, rows[-1] + 1


def bands(rows: list) -> list:
    """The (top, bottom) of each band of rows drawn unlike the picture's background, taller than a
    separator line: the items of a menu. The side columns, where its rounded corners are, are left out."""
    rows = [row[len(row) // 8:-len(row) // 8] for row in rows]
    background = Counter(p for row in rows for p in row).most_common(1)[0][0]
    inked = [len(set(row)) > 1 and any(differ(p, background) for p in row) for row in rows]
    found, top = [], None
    for r, ink in enumerate(inked + [False]):
        if ink and top is None:
            top = r
        elif not ink and top is not None:
            if r - top > 4:
                found.append((top, r))
            top = None
    return found


@dataclass
class Window:
    id: int
    name: str
    wm_class: tuple
    x: int  # absolute position on the screen
    y: int
    width: int
    height: int
    parent: int  # 0 for the children of the root window

    @property
    def right(self) -> int:
        return self.x + self.width

    @property
    def bottom(self) -> int:
        return self.y + self.height


# One line of `xwininfo -root -tree`:   0x200003 "panel": ("panel" "trayer")  24x32+1000+736  +1000+736
_TREE_LINE = re.compile(
    r'^(\s*)(0x[0-9a-f]+) (?:"(.*)"|\(has no name\)): \((.*)\)\s+(\d+)x(\d+)\S*\s+\+(-?\d+)\+(-?\d+)$')


class Display:
    """One X display, as seen and driven from outside the program."""

    def __init__(self, env: dict) -> None:
        self.env = env

    def run(self, *argv, check_status: bool = True, binary: bool = False):
        result = subprocess.run(argv, env=self.env, capture_output=True, timeout=60 * TIMEOUT_SCALE)
        check(result.returncode == 0 or not check_status, f"{' '.join(argv)}: {result.stderr.decode().strip()}")
        if binary:
            return result.stdout
        return result.stdout.decode(errors="replace") if result.returncode == 0 else ""

    def tree(self) -> dict:
        """Every window, mapped or not, by id."""
        windows, stack = {}, []  # stack: (indent, id) of the open ancestors
        # A window that goes while xwininfo walks the tree fails the walk: it is walked again.
        tree = wait_for(lambda: self.run("xwininfo", "-root", "-tree", check_status=False), "a walk of the windows")
        for line in tree.splitlines():
            if m := _TREE_LINE.match(line):
                while stack and stack[-1][0] >= len(m[1]):
                    stack.pop()
                wid = int(m[2], 16)
                windows[wid] = Window(wid, m[3] or "", tuple(re.findall(r'"([^"]*)"', m[4])), int(m[7]), int(m[8]),
                                      int(m[5]), int(m[6]), stack[-1][1] if stack else 0)
                stack.append((len(m[1]), wid))
        return windows

    def click(self, x: int, y: int, button: int = 1, repeat: int = 1) -> None:
        # The pointer comes from elsewhere, as a hand moves it: a toolkit may ignore a press on a
        # window the pointer never entered.
        self.run("xdotool", "mousemove", str(max(0, x - 40)), str(max(0, y - 40)))
        clicks = ("click", "--repeat", str(repeat), "--delay", "80", str(button)) if repeat else ()
        self.run("xdotool", "mousemove", str(x), str(y), *clicks)

    def key(self, *keys: str) -> None:
        self.run("xdotool", "key", "--delay", "80", *keys)

    @staticmethod
    def visible(x: int, y: int, width: int, height: int) -> tuple:
        """The part (x, y, width, height) of a region on the screen: a panel may reach past its edge."""
        left, top = max(0, x), max(0, y)
        return left, top, max(0, min(x + width, SCREEN_WIDTH) - left), max(0, min(y + height, SCREEN_HEIGHT) - top)

    def grab(self, x: int, y: int, width: int, height: int) -> list:
        """The pixels of the region's part on the screen, row by row, as RGB triples."""
        x, y, width, height = self.visible(x, y, width, height)
        check(width > 0 and height > 0, f"nothing of {width}x{height}+{x}+{y} is on the screen")
        data = self.run("import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-depth", "8",
                        "rgb:-", binary=True)
        return pixels(data, width)

    def colours(self, wid: int) -> set:
        """The colours (RGB triples) of a window's own picture (a rootless XWayland has none of its root),
        its child windows' included."""
        data = self.run("import", "-window", str(wid), "-depth", "8", "rgb:-", binary=True)
        return {tuple(data[i:i + 3]) for i in range(0, len(data) - 2, 3)}

    def painted(self, wid: int) -> bool:
        """Whether a window's own picture holds two colours."""
        return len(self.colours(wid)) > 1

    def drawn_box(self, window: Window):
        """The box (x, y, right, bottom) of what a window draws, less lines of one colour (a panel's border)."""
        left, top = self.visible(window.x, window.y, window.width, window.height)[:2]
        rows = self.grab(window.x, window.y, window.width, window.height)
        background = Counter(p for row in rows for p in row).most_common(1)[0][0]
        lines = {r for r, row in enumerate(rows) if len(set(row)) == 1}
        return bounds([(c, r) for r, row in enumerate(rows) if r not in lines for c, p in enumerate(row)
                       if differ(p, background)], left, top)

    def close(self, wid: int) -> None:
        """WM_DELETE_WINDOW, as a close button sends it (xdotool's windowclose destroys the window)."""
        check(_xlib_call(self.env, "close", wid), f"could not ask window 0x{wid:x} to close")

    def selection_owned(self, name: str) -> bool:
        return _xlib_call(self.env, "owner", name)


class _XClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 16)]


def _xlib_call(env: dict, what: str, arg) -> bool:
    # Xlib reads the display's cookie file from this process's environment (Xwayland under GNOME has one).
    os.environ["XAUTHORITY"] = env.get("XAUTHORITY", os.path.expanduser("~/.Xauthority"))
    xlib = ctypes.CDLL(ctypes.util.find_library("X11"))
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    display = ctypes.c_void_p(xlib.XOpenDisplay(env["DISPLAY"].encode()))
    if not display.value:
        return False
    atom = lambda name: xlib.XInternAtom(display, name.encode(), 0)  # noqa: E731
    try:
        if what == "owner":
            return xlib.XGetSelectionOwner(display, ctypes.c_ulong(atom(arg))) != 0
        event = _XClientMessage(type=33, window=arg, format=32, message_type=atom("WM_PROTOCOLS"))  # ClientMessage
        event.data[0] = atom("WM_DELETE_WINDOW")
        sent = xlib.XSendEvent(display, ctypes.c_ulong(arg), 0, ctypes.c_long(0), ctypes.byref(event))
        xlib.XFlush(display)
        return bool(sent)
    finally:
        xlib.XCloseDisplay(display)
