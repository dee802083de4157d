"""The desktops the scenarios run on. Each host names its X server, window manager, tray host and
session bus, sets them up in a fresh user folder, and gives every process it starts (the program
too) the environment of that desktop."""

import contextlib
import os
import pwd
import re
import shutil
import signal
import tempfile
from dataclasses import dataclass

import harness
import shells
from harness import SCREEN_HEIGHT, SCREEN_WIDTH, Display, check, wait_for

TRAY_CLASSES = {"trayer": "trayer", "xfce-sni": "xfce4-panel", "xfce-xembed": "xfce4-panel", "plasma": "plasmashell"}
# The desktops whose shell draws the tray and its menus: the scenarios see them on screenshots.
SHELLS = ("gnome", "plasma", "sway")
E2E_USER = "sysvane-e2e"  # sway refuses root: its desktop runs as this user (scripts/setup-desktops.sh)


@dataclass(frozen=True)
class Host:
    tray: str = ""  # "trayer" (XEmbed), "xfce-sni" (the D-Bus StatusNotifierItem tray), "xfce-xembed", a shell, or none
    wm: str = ""  # "xfwm4", "openbox", or none
    edge: str = "bottom"  # where the panel sits
    wayland: str = ""  # "xwayland": Weston, headless, with its X server in place of Xvfb
    late: bool = False  # the panel starts after the program, as at a login where the program is quicker
    bus: bool = True  # a session bus; without one (a bare X server, as `make run` sets up headless), trayer alone

    @property
    def xembed(self) -> bool:
        return self.tray in ("trayer", "xfce-xembed")

    @property
    def shell(self) -> bool:
        return self.tray in SHELLS


# Every desktop session has a session bus. On the xfce-xembed host no process may own the
# StatusNotifier watcher's name: the panel hosts the icon by XEmbed, as it does for a program that
# finds no watcher on its bus.
BUS_CONFIG = """<busconfig><type>session</type><listen>unix:path={path}</listen><standard_session_servicedirs/>
<policy context="default"><allow user="*"/><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/>
<allow own="*"/>{deny}</policy></busconfig>"""
NO_WATCHER = '<deny own="org.kde.StatusNotifierWatcher"/>'

# One panel across the screen (p=12 at the bottom, p=11 at the top) with the notification area at
# its right end, after an empty stretch, as Xfce lays it out.
PANEL_CONFIG = """<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0"><property name="configver" type="int" value="2"/>
<property name="panels" type="array"><value type="int" value="1"/><property name="panel-1" type="empty">
<property name="position" type="string" value="p={p};x=0;y=0"/><property name="length" type="uint" value="100"/>
<property name="position-locked" type="bool" value="true"/><property name="size" type="uint" value="27"/>
<property name="plugin-ids" type="array"><value type="int" value="2"/><value type="int" value="1"/></property>
</property></property><property name="plugins" type="empty"><property name="plugin-1" type="string" value="systray"/>
<property name="plugin-2" type="string" value="separator"><property name="expand" type="bool" value="true"/>
<property name="style" type="uint" value="0"/></property></property></channel>"""

TRAYER_ARGS = ["--align", "right", "--widthtype", "request", "--height", "28", "--iconspacing", "2", "--transparent",
               "true", "--alpha", "0", "--tint", "0x2e3440", "--SetDockType", "true", "--SetPartialStrut", "true"]

# The variables a desktop session sets; each host sets its own.
SESSION_VARIABLES = {"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER",
                     "XDG_SESSION_TYPE", "XDG_CURRENT_DESKTOP", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"}


class Desktop:
    def __init__(self, host: Host, log_dir: str) -> None:
        self.host = host
        self.root = tempfile.mkdtemp(prefix="sysvane-e2e-")
        self.log_dir = log_dir
        self.started: list = []  # every process it starts, to be ended newest first
        self.env = {k: v for k, v in os.environ.items() if k not in SESSION_VARIABLES}
        self.env["NO_AT_BRIDGE"] = "1"  # GTK's hosts start no accessibility bus of their own
        for name, variable in (("home", "HOME"), ("config", "XDG_CONFIG_HOME"), ("data", "XDG_DATA_HOME"),
                               ("cache", "XDG_CACHE_HOME"), ("runtime", "XDG_RUNTIME_DIR")):
            self.env[variable] = self.path(name)
            os.makedirs(self.env[variable], mode=0o700)
        self.x = Display(self.env)  # sees DISPLAY once it is set
        self.user = pwd.getpwnam(E2E_USER) if host.tray == "sway" and os.getuid() == 0 else None

    def path(self, *parts: str) -> str:
        return os.path.join(self.root, *parts)

    def write(self, relative: str, text: str) -> None:
        os.makedirs(os.path.dirname(self.path(relative)), exist_ok=True)
        with open(self.path(relative), "w", encoding="utf-8") as out:
            out.write(text)

    def start(self, name: str, *argv: str, pass_fds=()):
        if self.user:  # the desktop's files are the user's, and so are its processes
            for folder, _, files in os.walk(self.root):
                for entry in [folder] + [os.path.join(folder, f) for f in files]:
                    os.chown(entry, self.user.pw_uid, self.user.pw_gid)
        argv = self.as_user(*argv)
        proc = harness.start(os.path.join(self.log_dir, f"{name}.log"), list(argv), dict(self.env), pass_fds)
        self.started.append(proc)
        return proc

    def __enter__(self) -> "Desktop":
        try:
            return self._set_up()
        except BaseException:  # what started is ended: a process run as another user outlives us
            self.__exit__()
            raise

    def _set_up(self) -> "Desktop":
        host = self.host
        self.write("bus.conf", BUS_CONFIG.format(path=self.path("bus"), deny=NO_WATCHER if host.tray == "xfce-xembed"
                                                 else ""))
        if host.bus:
            self.start("dbus-daemon", "dbus-daemon", "--nofork", f"--config-file={self.path('bus.conf')}")
            wait_for(lambda: os.path.exists(self.path("bus")), "the session bus")
            self.env["DBUS_SESSION_BUS_ADDRESS"] = f"unix:path={self.path('bus')}"
        if host.shell:
            getattr(shells, host.tray.replace("-", "_"))(self)
            self.panel_box = wait_for(lambda: shells.panel_box(self), "the panel")
            # The panel as it is before the program: drawn, and holding still for a second.
            self.panel_before = harness.wait_still(lambda: self.grab(self.panel_box), "the panel to settle", 60, 1)
            return self
        self._start_wayland() if host.wayland else self._start_xvfb()
        if host.wm:
            self.start(host.wm, host.wm, *(["--compositor=off", "--sm-client-disable"] if host.wm == "xfwm4" else []))
            wait_for(lambda: "window id" in self.x.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                     f"{host.wm} to manage the screen")
        if host.tray.startswith("xfce"):
            self.env["XDG_CURRENT_DESKTOP"] = "XFCE"  # the session's, for every program in it
        if not host.late:
            self.start_tray()
        return self

    def start_tray(self, tray: str = "", ready: bool = True) -> None:
        """Starts the host's tray, or another kind of tray in its place, and waits until it is ready."""
        host, tray = self.host, tray or self.host.tray
        if tray == "trayer":
            self.start("trayer", "trayer", "--edge", host.edge, *TRAYER_ARGS)
        elif tray:
            self.write("config/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml",
                       PANEL_CONFIG.format(p=12 if host.edge == "bottom" else 11))
            self.start("xfce4-panel", "xfce4-panel", *([] if host.wm else ["--disable-wm-check"]))
        if tray and ready:
            wait_for(lambda: self.x.selection_owned("_NET_SYSTEM_TRAY_S0") and self.panel(), "the tray to be ready")
        if tray == "xfce-sni" and ready:
            wait_for(lambda: self.owned("org.kde.StatusNotifierWatcher"), "the tray's watcher")

    def _start_xvfb(self, *extra: str) -> None:
        read_end, write_end = os.pipe()
        self.start("xvfb", "Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}x24",
                   "-nolisten", "tcp", "-noreset", *extra, pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as reported:  # -displayfd: the server picks a free number and writes it
            number = reported.readline().strip()
        check(number.isdigit(), "Xvfb did not report its display number")
        self.env["DISPLAY"] = ":" + number
        wait_for(lambda: self.x.run("xdpyinfo", check_status=False), "the X server to answer")

    def _start_wayland(self) -> None:
        self.env.update(WAYLAND_DISPLAY="wayland-e2e", XDG_SESSION_TYPE="wayland")
        weston = self.start("weston", "weston", "--backend=headless-backend.so", "--socket=wayland-e2e",
                            f"--width={SCREEN_WIDTH}", f"--height={SCREEN_HEIGHT}", "--idle-time=0",
                            "--xwayland")

        def display():  # Weston picks a free display number for XWayland and logs it
            check(weston.poll() is None, f"weston ended with code {weston.returncode}")
            with open(weston.log_path, encoding="utf-8", errors="replace") as log:
                return re.search(r"xserver listening on display (:\d+)", log.read())

        self.env["DISPLAY"] = wait_for(display, "weston's XWayland display")[1]
        wait_for(lambda: self.x.run("xdpyinfo", check_status=False), "XWayland to answer")

    def as_user(self, *argv: str) -> tuple:
        """A command line run as the desktop's user."""
        return (("setpriv", f"--reuid={self.user.pw_uid}", f"--regid={self.user.pw_gid}", "--init-groups") if
                self.user else ()) + argv

    def bus(self, dest: str, path: str, method: str, *args: str, check_status: bool = True) -> str:
        return self.x.run("gdbus", "call", "--session", "--dest", dest, "--object-path", path, "--method", method,
                          *args, check_status=check_status)

    def owned(self, name: str) -> bool:
        return "true" in self.bus("org.freedesktop.DBus", "/", "org.freedesktop.DBus.NameHasOwner", name)

    def shoot(self, path: str, box=None) -> None:
        """A picture of the screen, or of the box (x, y, right, bottom) on it, as the desktop takes one."""
        x, y, right, bottom = box or (0, 0, SCREEN_WIDTH, SCREEN_HEIGHT)
        if self.host.tray in ("gnome", "sway"):
            shells.shoot(self, path, x, y, right, bottom)
        else:
            self.x.run("import", "-window", "root", "-crop", f"{right - x}x{bottom - y}+{x}+{y}", "+repage", path)

    def grab(self, box) -> list:
        """The pixels of a box (x, y, right, bottom), row by row, as RGB triples."""
        if not self.host.shell:
            return self.x.grab(box[0], box[1], box[2] - box[0], box[3] - box[1])
        path = self.path("grab.png")
        self.shoot(path, box)
        return harness.pixels(self.x.run("convert", path, "-depth", "8", "rgb:-", binary=True), box[2] - box[0])

    def click(self, x: int, y: int, button: int = 1, repeat: int = 1) -> None:
        shells.click(self, x, y, button, repeat) if self.host.tray == "sway" else \
            self.x.click(x, y, button, repeat)

    def panel(self):
        """The tray host's panel: its widest window."""
        panels = [w for w in self.x.tree().values() if TRAY_CLASSES.get(self.host.tray, "-") in w.wm_class]
        return max(panels, key=lambda w: w.width, default=None)

    def __exit__(self, *exc) -> None:
        for proc in reversed(self.started):
            harness.stop(proc)
        # What the session started behind our back (services its bus started, a configuration update
        # a daemon left hanging) holds its bus's address in its environment.
        orphan = f"DBUS_SESSION_BUS_ADDRESS=unix:path={self.path('bus')}\0".encode()
        for pid in filter(str.isdigit, os.listdir("/proc")):
            with contextlib.suppress(OSError), open(f"/proc/{pid}/environ", "rb") as environ:
                if orphan in environ.read():
                    os.kill(int(pid), signal.SIGKILL)
        shutil.rmtree(self.root, ignore_errors=True)
