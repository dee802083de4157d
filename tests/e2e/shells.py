"""The desktops whose shell is the tray host: GNOME Shell with the AppIndicator extension (on X11),
KDE Plasma (plasmashell, kded5's watcher, kwin_x11) and sway with waybar. Each starts as its session
starts it, and the scenarios see and drive it as a user does: through its own screenshots and its own
input."""

import json
import os
import re
import socket
import struct
import time

from harness import SCREEN_HEIGHT, SCREEN_WIDTH, check, wait_for


# The panel holds a stretch and the notification area, at its right end, as Xfce's does.
PLASMA_PANEL = """panels().forEach(function (p) {{ p.remove(); }});
var panel = new Panel; panel.location = "{edge}"; panel.height = 36;
panel.addWidget("org.kde.plasma.panelspacer"); panel.addWidget("org.kde.plasma.systemtray");"""

SWAY_CONFIG = """output * resolution {screen} position 0 0
default_border normal
exec sh -c 'echo "$WAYLAND_DISPLAY $DISPLAY $SWAYSOCK" > {found}.new && mv {found}.new {found}'
exec waybar -c {root}/waybar.json -s {root}/waybar.css
"""
WAYBAR_CONFIG = {"layer": "top", "position": "top", "height": 30, "modules-left": [],
                 "modules-right": ["tray"], "tray": {"spacing": 6, "icon-size": 20}}
WAYBAR_STYLE = "* { font-family: DejaVu Sans; font-size: 13px; } window#waybar { background: #2e3440; }"

# The test session's switch, as Looking Glass has one: Eval and the screenshots over the bus answer
# a test only in unsafe mode.
TEST_EXTENSION = "sysvane-e2e@sysvane"
TEST_EXTENSION_CODE = """function init() {}
function enable() { global.context.unsafe_mode = true; }
function disable() {}
"""

BUTTON_CODES = {1: 0x110, 2: 0x112, 3: 0x111}  # BTN_LEFT, BTN_MIDDLE, BTN_RIGHT


class VirtualPointer:
    """A hand on a wlroots compositor that has no input device: a pointer of the virtual-pointer
    protocol, spoken on the compositor's socket for as long as the desktop lives."""

    def __init__(self, path: str) -> None:
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.ids = 1
        registry, done = self._new(), self._new()
        self._send(1, 1, struct.pack("I", registry))  # wl_display.get_registry
        self._send(1, 0, struct.pack("I", done))  # wl_display.sync: done once every global is told
        found = {}
        while (event := self._read())[0] != done:
            check(event[0] != 1 or event[1] != 0, f"the compositor refused the pointer: {event}")
            if event[0] == registry and event[1] == 0:  # wl_registry.global(name, interface, version)
                name, size = struct.unpack_from("II", event[2])
                found[event[2][8:8 + size - 1].decode()] = name
        manager, self.pointer = self._new(), self._new()
        interface = b"zwlr_virtual_pointer_manager_v1\0"
        self._send(registry, 0, struct.pack("II", found[interface[:-1].decode()], len(interface)) +
                   interface.ljust((len(interface) + 3) // 4 * 4, b"\0") + struct.pack("II", 1, manager))
        self._send(manager, 0, struct.pack("II", 0, self.pointer))  # create_virtual_pointer(the seat's)

    def _new(self) -> int:
        self.ids += 1
        return self.ids

    def _send(self, target: int, opcode: int, args: bytes) -> None:
        self.sock.sendall(struct.pack("II", target, (8 + len(args)) << 16 | opcode) + args)

    def _read(self) -> tuple:
        head = self.sock.recv(8, socket.MSG_WAITALL)
        target, size_op = struct.unpack("II", head)
        return target, size_op & 0xFFFF, self.sock.recv((size_op >> 16) - 8, socket.MSG_WAITALL)

    def click(self, x: int, y: int, button: int, repeat: int, width: int, height: int) -> None:
        now = lambda: int(time.monotonic() * 1000) & 0xFFFFFFFF  # noqa: E731
        self._send(self.pointer, 1, struct.pack("IIIII", now(), x, y, width, height))  # motion_absolute
        self._send(self.pointer, 4, struct.pack("I", now()))  # frame
        for _ in range(repeat):  # at a hand's pace: a menu takes a press only on an item it has highlighted
            for state in (1, 0):
                time.sleep(0.05)
                self._send(self.pointer, 2, struct.pack("III", now(), BUTTON_CODES[button], state))
                self._send(self.pointer, 4, struct.pack("I", now()))


def shell_eval(desktop, script: str, starting: bool = False):
    """The value of a script run inside GNOME Shell (the test session's unsafe mode); None while it
    is starting, and does not answer yet."""
    out = desktop.x.run("gdbus", "call", "--session", "--dest", "org.gnome.Shell", "--object-path", "/org/gnome/Shell",
                        "--method", "org.gnome.Shell.Eval", script, check_status=not starting).strip()
    m = re.fullmatch(r"\((true|false), '(.*)'\)", out, re.S)
    if starting and not (m and m[1] == "true"):
        return None
    check(m and m[1] == "true", f"GNOME Shell could not run {script!r}: {out}")
    return json.loads(m[2]) if m[2] else None


def _private_system_bus(desktop) -> None:
    """GNOME Shell gives up when /run/systemd/seats exists and no logind answers on the system bus:
    a system bus of its own, empty, has none to ask."""
    desktop.start("system-bus", "dbus-daemon", "--session", "--nofork", f"--address=unix:path={desktop.path('sys')}")
    wait_for(lambda: os.path.exists(desktop.path("sys")), "the private system bus")
    desktop.env["DBUS_SYSTEM_BUS_ADDRESS"] = f"unix:path={desktop.path('sys')}"


def gnome(desktop) -> None:
    desktop._start_xvfb("+extension", "GLX")
    _private_system_bus(desktop)
    desktop.env.update(XDG_CURRENT_DESKTOP="GNOME", XDG_SESSION_TYPE="x11")
    # The services the bus starts (kglobalaccel, kactivitymanagerd...) see the session's display, as
    # a session's start-up tells its bus.
    desktop.x.run("dbus-update-activation-environment", "--all")
    folder = f"data/gnome-shell/extensions/{TEST_EXTENSION}/"
    desktop.write(folder + "metadata.json", json.dumps({"uuid": TEST_EXTENSION, "name": "e2e", "description": "e2e",
                                                        "shell-version": ["43"]}))
    desktop.write(folder + "extension.js", TEST_EXTENSION_CODE)
    # No banners: the one telling root that it is root would come and go over the menus' pictures.
    extensions = f"['ubuntu-appindicators@ubuntu.com', '{TEST_EXTENSION}']"
    for schema, key, value in (("shell", "enabled-extensions", extensions),
                               ("shell", "disable-user-extensions", "false"),
                               ("desktop.notifications", "show-banners", "false")):
        desktop.x.run("gsettings", "set", f"org.gnome.{schema}", key, value)
    desktop.start("gnome-shell", "gnome-shell", "--x11", "--replace")
    wait_for(lambda: desktop.owned("org.kde.StatusNotifierWatcher"), "the AppIndicator extension's watcher", 120)
    # The shell starts in the overview; Escape leaves it, as at a login.
    wait_for(lambda: shell_eval(desktop, "Main.overview.visible && !Main.layoutManager._startingUp", True),
             "the overview to show", 120)

    def left():  # a key pressed while the shell still starts up may go unheard: pressed again
        if shell_eval(desktop, "Main.overview.visible && !Main.overview.animationInProgress"):
            desktop.x.key("Escape")
        return shell_eval(desktop, "!Main.overview.visible && !Main.overview.animationInProgress")

    wait_for(left, "the overview to close", interval=1)


def plasma(desktop) -> None:
    desktop._start_xvfb()
    desktop.env.update(XDG_CURRENT_DESKTOP="KDE", KDE_FULL_SESSION="true", KDE_SESSION_VERSION="5",
                       XDG_SESSION_TYPE="x11", KWIN_COMPOSE="N")
    _private_system_bus(desktop)
    desktop.x.run("dbus-update-activation-environment", "--all")
    desktop.start("kwin_x11", "kwin_x11")
    wait_for(lambda: "window id" in desktop.x.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), "KWin")
    desktop.start("kded5", "kded5")
    desktop.start("plasmashell", "plasmashell", "--no-respawn")
    # A session loads the watcher into kded5; a bare plasmashell has none. kded5 answers once it
    # has given up waiting for its configuration updates (30 s here).
    wait_for(lambda: desktop.bus("org.kde.kded5", "/kded", "org.kde.kded5.loadModule", "statusnotifierwatcher",
                                 check_status=False), "kded5 to load the watcher", 120)
    wait_for(lambda: desktop.owned("org.kde.StatusNotifierWatcher"), "kded5's watcher")
    wait_for(lambda: desktop.owned("org.kde.plasmashell"), "plasmashell", 120)
    script = PLASMA_PANEL.format(edge=desktop.host.edge)
    wait_for(lambda: desktop.bus("org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell.evaluateScript", script,
                                 check_status=False), "plasmashell to take its panel", 60)


def sway(desktop) -> None:
    found = desktop.path("sway-session")
    desktop.write("sway.conf", SWAY_CONFIG.format(screen=f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}", found=found, root=desktop.root))
    desktop.write("waybar.json", json.dumps(WAYBAR_CONFIG))
    desktop.write("waybar.css", WAYBAR_STYLE)
    desktop.env.update(WLR_BACKENDS="headless", WLR_RENDERER="pixman", WLR_LIBINPUT_NO_DEVICES="1",
                       XDG_SESSION_TYPE="wayland", XDG_CURRENT_DESKTOP="sway")
    desktop.start("sway", "sway", "-c", desktop.path("sway.conf"))
    wait_for(lambda: os.path.exists(found), "sway to start its session", 60)
    with open(found, encoding="utf-8") as session:
        wayland, display, swaysock = session.read().split()
    desktop.env.update(WAYLAND_DISPLAY=wayland, DISPLAY=display, SWAYSOCK=swaysock)
    desktop.pointer = VirtualPointer(desktop.path("runtime", wayland))
    # Xwayland lets in its user alone; the scenario's camera and hands run as root.
    desktop.x.run(*desktop.as_user("xhost", "+si:localuser:root"))
    desktop.x.run("dbus-update-activation-environment", "--all")
    wait_for(lambda: desktop.owned("org.kde.StatusNotifierWatcher"), "waybar's watcher", 60)


def panel_box(desktop):
    """Where the tray's panel is: (x, y, right, bottom)."""
    tray = desktop.host.tray
    if tray.startswith("gnome"):
        box = shell_eval(desktop, "(b => [b.x, b.y, b.x + b.width, b.y + b.height])(Main.layoutManager.panelBox)")
        return box if box[3] > box[1] else None
    if tray == "plasma":
        docks = [w for w in desktop.x.tree().values() if "plasmashell" in w.wm_class and w.width > 600
                 and 20 < w.height < 100 and "_NET_WM_WINDOW_TYPE_DOCK" in desktop.x.run(
                     "xprop", "-id", str(w.id), "_NET_WM_WINDOW_TYPE", check_status=False)]
        return docks and (docks[0].x, docks[0].y, docks[0].right, docks[0].bottom)
    workspaces = json.loads(desktop.x.run("swaymsg", "-t", "get_workspaces", "-r", check_status=False) or "[]")
    top = workspaces and workspaces[0]["rect"]["y"]
    return top and (0, 0, workspaces[0]["rect"]["width"], top)


def shoot(desktop, path: str, x: int, y: int, right: int, bottom: int) -> None:
    """A picture taken by the compositor, on the shells whose windows are not all on one X screen."""
    if desktop.host.tray == "sway":
        return desktop.x.run("grim", "-g", f"{x},{y} {right - x}x{bottom - y}", path)
    out = desktop.bus("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot",
                      "org.gnome.Shell.Screenshot.ScreenshotArea", str(x), str(y), str(right - x), str(bottom - y),
                      "false", path)
    check("true" in out, f"GNOME Shell took no screenshot: {out}")


def click(desktop, x: int, y: int, button: int, repeat: int) -> None:
    """A click through sway's own virtual pointer: a headless seat has no pointer device."""
    desktop.pointer.click(x, y, button, repeat, SCREEN_WIDTH, SCREEN_HEIGHT)
