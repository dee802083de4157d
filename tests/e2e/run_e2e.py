#!/usr/bin/env python3
"""Runs the built program on real desktops and drives it as a user does. One table of hosts, one
table of steps: each step checks only what the real desktop shows (a window appears where it
belongs, the icon sits in the real tray, the menu is ours, the process ends).

    run_e2e.py --program build/shell/sysvane --out build [SCENARIO ...]
    run_e2e.py --list
"""

import argparse
import os
import re
import shutil
import signal
import sys
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harness import ScenarioFailed, bands, check, ink_box, new_item, stop, wait_for, wait_still  # noqa: E402
from hosts import SCREEN_HEIGHT, SCREEN_WIDTH, TRAY_CLASSES, Desktop, Host  # noqa: E402

# Saved once, no splash, no Monitor window at start: the icon comes at once and shows alone.
SAVED = {"Defined": "Yes", "ShowSplash": "0", "ShowStatsAtStartup": "0", "ShowCPU": "1", "ShowPhysMem": "1"}
LIVE = {**SAVED, "TrayIcon": "1"}  # the CPU usage as digits in the icon
TRAY = ("icon", "click", "double_click", "menu_exit")
MONITOR_WIDTH = 268  # the Monitor window's client area: 4020 twips; its message boxes share its title
# On the desktops whose shell is the host: the roll-up, the Monitor window, the menu's marks as the
# bus and the host's own drawing show them after the Monitor window and the Options dialog, Exit.
SHELL_TRAY = ("icon", "click", "double_click", "marks", "menu_exit")
ITEMS = ("Show Splash Screen?", "Options", "Monitor", "About Sysvane", "Exit")
# The buttons each host maps: (the roll-up's, the host's menu's). GNOME's AppIndicator host shows the
# menu itself on a left click and sends the middle click as SecondaryActivate.
BUTTONS = {"gnome": (2, 1)}

SCENARIOS = {
    "trayer": (Host("trayer"), SAVED, TRAY),
    "trayer-openbox": (Host("trayer", "openbox"), SAVED, TRAY),
    "xfce-sni": (Host("xfce-sni"), LIVE, ("icon", "busy", "click", "menu_exit")),
    "xfce-sni-xfwm4-top": (Host("xfce-sni", "xfwm4", "top"), SAVED, TRAY),
    "xfce-sni-late": (Host("xfce-sni", late=True), SAVED, ("late_panel",) + TRAY),
    "xfce-xembed": (Host("xfce-xembed"), LIVE, ("icon", "busy") + TRAY[1:]),
    "xfce-xembed-xfwm4": (Host("xfce-xembed", "xfwm4"), SAVED, TRAY),
    "weston-no-tray": (Host(wayland="xwayland"), SAVED, ("no_tray",)),
    "xfce-xembed-bars": (Host("xfce-xembed"), {**SAVED, "TrayIcon": "2"}, ("icon", "menu_exit")),
    "first-run": (Host("trayer", "xfwm4"), {}, ("splash", "icon", "options")),
    "gnome-x11": (Host("gnome", edge="top"), LIVE, ("icon", "busy", "label") + SHELL_TRAY[1:]),
    "plasma-bottom": (Host("plasma"), SAVED, SHELL_TRAY),
    "plasma-top": (Host("plasma", edge="top"), LIVE, ("icon", "busy") + SHELL_TRAY[1:]),
    "sway-waybar": (Host("sway", edge="top"), SAVED, SHELL_TRAY),
}


class Run:
    """One scenario: the program on its desktop, and the steps a user takes."""

    def __init__(self, name: str, desktop: Desktop, program: str, settings: dict, shots: str) -> None:
        self.name, self.d, self.x, self.shots = name, desktop, desktop.x, shots
        saved = "".join(f"{key}={value}\n" for key, value in settings.items())
        desktop.write("config/Sysvane/Sysvane.conf", "[Settings]\n" + saved)
        self.proc, self.menu = desktop.start("sysvane", program), None

    def running(self) -> bool:
        check(self.proc.poll() is None, f"the program ended with code {self.proc.returncode}")
        return True

    def ended_cleanly(self, after: str) -> None:
        wait_for(lambda: self.proc.poll() is not None, f"the program to end after {after}")
        check(self.proc.returncode == 0, f"the program ended with code {self.proc.returncode} after {after}")

    def screenshot(self, what: str, *windows, margin: int = 12) -> None:
        """The picture of what the windows or boxes (x, y, right, bottom) cover, and a margin."""
        path = os.path.join(self.shots, f"{self.name}-{what}.png")
        if self.d.host.wayland:  # a rootless XWayland has no picture of its root: the window's own
            self.x.run("import", "-window", str(windows[0].id), path)
            return
        sides = list(zip(*[(w.x, w.y, w.right, w.bottom) if hasattr(w, "right") else w for w in windows]))
        self.d.shoot(path, (max(0, min(sides[0]) - margin), max(0, min(sides[1]) - margin),
                            min(SCREEN_WIDTH, max(sides[2]) + margin), min(SCREEN_HEIGHT, max(sides[3]) + margin)))

    def windows(self, embedded: bool = False) -> list:
        """The program's mapped windows: top-level ones (framed or not), or those docked in the tray."""
        tray_class = TRAY_CLASSES.get(self.d.host.tray, "-")
        ids = {int(i) for i in self.x.run("xdotool", "search", "--onlyvisible", "--pid", str(self.proc.pid),
                                          check_status=False).split()}
        tree = self.x.tree()
        found = []
        # A window inside one of the program's own (a Monitor window's bar) is part of that window.
        for wid in (i for i in ids if i in tree and tree[i].parent not in ids):
            ancestors = [tree[wid]]  # up to the root
            while ancestors[-1].parent in tree:
                ancestors.append(tree[ancestors[-1].parent])
            if any(tray_class in w.wm_class for w in ancestors[1:]) == embedded:
                found.append(tree[wid])
        return found

    def window(self, what: str, accept, timeout: float = 30.0):
        return wait_for(lambda: self.running() and next((w for w in self.windows() if accept(w)), None), what, timeout)

    def gone(self, window, what: str, timeout: float = 30.0) -> None:
        wait_for(lambda: self.running() and window.id not in {w.id for w in self.windows()}, what, timeout)

    def left_click(self, repeat: int) -> None:
        """Clicks the icon, and the hand moves on, as no tip should cover what opens."""
        self.d.click(*self.icon_at, button=BUTTONS.get(self.d.host.tray, (1, 3))[0] if repeat == 1 else 1,
                     repeat=repeat)
        if not self.d.host.shell:
            self.x.run("xdotool", "mousemove", str(SCREEN_WIDTH // 2), str(SCREEN_HEIGHT // 2))

    # ---- the steps ---------------------------------------------------------------------------
    def splash(self) -> None:
        splash = self.window("the splash screen", lambda w: w.width >= 100 and w.height >= 100, timeout=60)
        self.screenshot("splash", splash)
        self.gone(splash, "the splash screen to close")

    def late_panel(self) -> None:
        # The program is up and has asked for a tray, in vain; the panel comes within its grace.
        wait_for(lambda: self.running() and self.bus_name(), "the program to ask for a tray")
        self.d.start_tray()

    def icon(self) -> None:
        def drawn():  # what the tray draws, once the icon is docked (trayer grows to hold it)
            self.panel = self.d.panel()
            if self.d.host.xembed and not self.windows(embedded=True):
                return None
            return self.running() and self.x.drawn_box(self.panel)

        def new_in_panel():  # in the panel's right third, where the notification area is
            x, y, right, bottom = self.d.panel_box
            # GNOME draws the label beside the icon; a one-digit figure starts with a figure space.
            join = (bottom - y) // 2 if self.d.host.tray == "gnome" else 2
            box = self.running() and new_item(self.d.panel_before, self.d.grab(self.d.panel_box),
                                              (right - x) * 2 // 3, join)
            return box and (x + box[0], y + box[1], x + box[2], y + box[3])

        self.box = wait_still(new_in_panel if self.d.host.shell else drawn, "the icon to show in the tray", 60)
        if not self.d.host.shell:
            self.d.panel_box = (self.panel.x, self.panel.y, self.panel.right, self.panel.bottom)
        self.icon_at = ((self.box[0] + self.box[2]) // 2, (self.box[1] + self.box[3]) // 2)
        check(self.d.host.xembed or not self.windows(embedded=True), "the icon went to the XEmbed tray, not to D-Bus")
        self.screenshot("icon", self.box, margin=24)

    def busy(self) -> None:
        """The figure the tray shows follows the load: a busy loop on every core brings it to the full
        load (its picture kept), and ending the loop takes it off that again, if it was not off before."""
        idle = self.d.grab(self.box)
        loops = [self.d.start(f"busy{i}", "sh", "-c", "while :; do :; done") for i in range(os.cpu_count() or 1)]
        try:  # full load holds one figure: the same picture across a refresh (0.9 s)
            busy = wait_still(lambda: self.running() and self.d.grab(self.box), "the icon at full load", interval=1)
            self.screenshot("busy", self.box, margin=24)
            # Whole pixels at the size shown (plate, digits, the panel at the corners), where the icon is alone.
            check(self.d.host.shell or len({p for row in busy for p in row}) <= 3, "the tray scaled the icon: blurred")
        finally:
            list(map(stop, loops))
        # Slowly: where the shell takes the pictures with its own renderer, taking them loads the machine.
        wait_for(lambda: idle != busy or self.d.grab(self.box) != busy,
                 "the icon to leave the full load (another program keeping every core busy holds it there)", 90, 1)

    def label(self) -> None:
        """The figure also goes as the label that GNOME's AppIndicator host draws beside its tiny icon."""
        label = self.d.bus(*self.item(), "org.freedesktop.DBus.Properties.Get", "org.kde.StatusNotifierItem",
                           "XAyatanaLabel")
        # Two digits' width, a figure space for the tens: the host sizes the label to its text.
        check(re.search(r"<'(\u2007\d|\d\d)%'>", label), f"the item's label is {label}, not the CPU figure")
        check(self.box[2] - self.box[0] > 2 * (self.box[3] - self.box[1]), f"no label beside the icon at {self.box}")

    def click(self) -> None:
        before = {w.id for w in self.windows()}
        self.left_click(1)

        def unrolled():  # a new window, past its first few lines
            rollup = next((w for w in self.windows() if w.id not in before), None)
            return rollup if rollup and rollup.height > 20 else None

        rollup = wait_still(unrolled, "the roll-up to appear, unroll and hold still")
        x, y, right, bottom = self.d.panel_box
        gap = y - rollup.bottom if self.d.host.edge == "bottom" else rollup.y - bottom
        check(-2 <= gap <= 8, f"the roll-up {rollup} is not against the panel {self.d.panel_box} ({gap} px away)")
        aside = max(rollup.x - self.box[2], self.box[0] - rollup.right)
        check(aside <= 8, f"the roll-up {rollup} is {aside} px aside of the icon at {self.box}")
        self.screenshot("rollup", rollup, (rollup.x, y, rollup.right, bottom))
        self.gone(rollup, "the roll-up to go by itself")

    def monitor(self):
        first = self.window("the Monitor window", lambda w: w.name == " Sysvane" and w.width == MONITOR_WIDTH)
        monitor = wait_still(lambda: next((w for w in self.windows() if w.id == first.id), None),
                             "the Monitor window to hold still", interval=0.5)
        # Where on the work area it stands is the placement table's; here: on the screen, off the panel.
        top, bottom = getattr(self.d, "panel_box", (0, 0, 0, 0))[1::2]
        check(0 <= monitor.x < SCREEN_WIDTH and 0 <= monitor.y < SCREEN_HEIGHT and
              (monitor.bottom <= top or monitor.y >= bottom), f"Monitor {monitor} is off screen or on the panel")
        wait_for(lambda: self.x.painted(monitor.id), "the Monitor window to paint its rows")
        # The bars, each a window of its own on X11, on the screen: a colour of the fill's gradient from
        # green (0, 192, 0) to red (255, 0, 0), which the memory's bar always shows (never empty) and the
        # labels and the frame never do.
        wait_for(lambda: any(b <= 24 and abs(r / 255 + g / 192 - 1) <= 0.1 for r, g, b in self.x.colours(monitor.id)),
                 "the Monitor window's bars to show their fill")
        self.screenshot("monitor", monitor, margin=40)  # its frame too
        self.monitor_window = monitor
        return monitor

    def double_click(self) -> None:
        self.left_click(2)
        self.monitor()

    def owns(self, name: str) -> bool:
        return f"uint32 {self.proc.pid}," in self.d.bus("org.freedesktop.DBus", "/",
                                                        "org.freedesktop.DBus.GetConnectionUnixProcessID", name,
                                                        check_status=False)

    def bus_name(self):
        """The program's own connection to the session bus, found by its process id; None before it joins."""
        names = self.d.bus("org.freedesktop.DBus", "/", "org.freedesktop.DBus.ListNames")
        return next((name for name in re.findall(r"'(:[\d.]+)'", names) if self.owns(name)), None)

    def registered(self) -> str:
        return self.d.bus("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher", "org.freedesktop.DBus.Properties.Get",
                          "org.kde.StatusNotifierWatcher", "RegisteredStatusNotifierItems")

    def item(self) -> tuple:
        """The bus name and path of the program's item, as the watcher holds it (the program may have
        more than one connection to the bus)."""
        items = self.registered()
        ours = [(name, path or "/StatusNotifierItem") for name, path in re.findall(r"'([^'/@]+)@?(/[^']*)?'", items)
                if self.owns(name)]
        check(len(ours) == 1, f"the watcher holds no one item of the program: {items}")
        return ours[0]

    def exported_menu(self) -> list:
        """The program's menu as GetLayout gives it to a host that reads the whole menu: (label, toggle
        state, or "off" for an item that cannot be chosen) per item shown."""
        name, path = self.item()
        get = ("org.freedesktop.DBus.Properties.Get", "org.kde.StatusNotifierItem", "Menu")
        menu = re.search(r"'(/[^']*)'", self.d.bus(name, path, *get))[1]
        layout = self.d.bus(name, menu, "com.canonical.dbusmenu.GetLayout", "0", "int32 -1", "[]")
        found = []
        for props in re.findall(r"\(\d+, \{([^{}]*)\}", layout):
            label = re.search(r"'label': <'([^']*)'>", props)
            if label and "'type': <'separator'>" not in props and "'visible': <false>" not in props:
                state = re.search(r"'toggle-state': <(-?\d+)>", props)
                found.append((label[1].replace("_", ""),
                              "off" if "'enabled': <false>" in props else int(state[1]) if state else 0))
        return found

    def menu_with(self, what: str, drawn: bool = True, **marks):
        """Checks the items and marks the program exports; on a shell (drawn) first opens the host's
        menu on the icon and returns it."""
        menu = self.open_menu(what) if drawn and self.d.host.shell else None
        expected = [(label, marks.get(label.split()[0].rstrip("?"), 0)) for label in ITEMS]
        try:
            wait_for(lambda: self.exported_menu() == expected, "the exported menu", 10)
        except ScenarioFailed:
            exported = self.exported_menu()
            if menu:
                self.close_menu(menu[3])  # for the steps after this one
            check(False, f"the program exports {exported}, not {expected}, {what}")
        return menu

    def open_menu(self, what: str):
        """Opens the host's menu on the icon: its box, the pictures of its items, where they are."""
        x, y, right, bottom = self.d.panel_box  # the menu opens beside the panel, at the icon's end
        region = (SCREEN_WIDTH // 2, bottom, SCREEN_WIDTH, SCREEN_HEIGHT) if self.d.host.edge == "top" else \
            (SCREEN_WIDTH // 2, 0, SCREEN_WIDTH, y)
        # The program's windows and their frames (sway draws a title bar that the window does not own).
        masks = [(w.x - region[0] - 40, w.y - region[1] - 40, w.right - region[0] + 40, w.bottom - region[1] + 40)
                 for w in self.windows()]
        self.d.click(*self.empty_spot(), repeat=0)  # the hand comes from elsewhere, and no tip shows
        before = wait_still(lambda: self.d.grab(region), "the screen to hold still")
        self.d.click(*self.icon_at, button=BUTTONS.get(self.d.host.tray, (1, 3))[1])

        def drawn():
            box = ink_box(before, self.d.grab(region), masks)
            return box and box[2] - box[0] > 60 and box[3] - box[1] > 60 and box

        box = wait_still(drawn, "the host's menu to show")
        box = (region[0] + box[0], region[1] + box[1], region[0] + box[2], region[1] + box[3])
        self.screenshot(f"menu-{what}", box, self.box)
        picture = self.d.grab(box)
        items = bands(picture)
        check(len(items) == len(ITEMS), f"the host's menu {box} shows {len(items)} items, not {len(ITEMS)}")
        return box, [picture[top:end] for top, end in items], items, (before, region, masks)

    def empty_spot(self) -> tuple:
        """A place on the desktop's background, away from the program's windows."""
        spots = [(x, SCREEN_HEIGHT // 2) for x in range(SCREEN_WIDTH // 8, SCREEN_WIDTH, SCREEN_WIDTH // 8)]
        return next(s for s in spots if not any(w.x - 40 <= s[0] < w.right + 40 for w in self.windows()))

    def close_menu(self, shown) -> None:
        before, region, masks = shown
        self.d.click(*self.empty_spot())
        wait_for(lambda: not ink_box(before, self.d.grab(region), masks), "the host's menu to close")

    def choose(self, menu, label: str) -> None:
        box, _, items, _ = menu
        top, end = items[ITEMS.index(label)]
        self.d.click((box[0] + box[2]) // 2, box[1] + (top + end) // 2)

    def close(self, window, what: str) -> None:
        self.x.close(window.id)
        self.gone(window, f"{what} to close")

    def marks(self) -> None:
        """The marks of Monitor and Options follow their windows, as the program exports them and, on a
        shell, as the host draws them."""
        shown = self.menu_with("monitor-open", Monitor=1)
        if shown:
            self.close_menu(shown[3])
        self.close(self.monitor_window, "the Monitor window")
        self.choose(self.menu_with("monitor-closed"), "Options")
        dialog = self.window("the Options dialog", lambda w: w.name == " Sysvane Options")
        self.menu_with("options-open", drawn=False, Options=1)
        self.screenshot("options", dialog, margin=8)
        self.close(dialog, "the Options dialog")
        self.menu = self.menu_with("options-closed")
        if self.menu:  # only Monitor's mark went, with its window: the rows the host draws tell it
            changed = [label for label, now, then in zip(ITEMS, self.menu[1], shown[1]) if now != then]
            check(changed == ["Monitor"], f"the host's drawing of the menu changed in {changed}, not in Monitor "
                                          "alone, after the Monitor window and the Options dialog were closed")

    def menu_exit(self) -> None:
        if self.d.host.shell:
            self.choose(self.menu or self.open_menu("exit"), "Exit")
        else:
            before = set(self.x.tree())

            def menu():  # a new popup, whoever owns it: a D-Bus tray's host draws the menu itself
                for w in self.x.tree().values():
                    if w.id not in before and not w.parent and w.height > 60:
                        info = self.x.run("xwininfo", "-id", str(w.id), check_status=False)
                        if "IsViewable" in info and "Override Redirect State: yes" in info:
                            return w
                return None

            for attempt in range(3):  # a click a moment after a popup closed may be swallowed
                self.x.click(*self.icon_at, button=3)
                try:
                    menu_window = wait_for(menu, "the tray menu", timeout=8)
                    break
                except ScenarioFailed:
                    check(attempt < 2, "no menu popped up on three right clicks")
            self.screenshot("menu", menu_window, self.box)
            self.x.key("Up", "Return")  # the last item: Exit, when the menu is ours
        box = self.window('the "Exit" question (the menu is not ours)', lambda w: w.name == "Exit", timeout=15)
        self.x.run("xdotool", "windowfocus", "--sync", str(box.id))
        self.x.key("y")
        self.ended_cleanly("Yes")

    def no_tray(self) -> None:
        # The windows are X windows on XWayland: the program chose the X11 platform.
        box = self.window("the message that there is no tray", lambda w: w.width not in (0, 1, MONITOR_WIDTH))
        self.screenshot("message", box)
        self.close(box, "the message")
        monitor = self.monitor()
        self.x.close(monitor.id)
        self.ended_cleanly("its Monitor window closed")

    def options(self) -> None:
        dialog = self.window("the first run's Options dialog", lambda w: w.name == " Sysvane Options", timeout=60)
        self.screenshot("options", dialog, margin=30)


def run_one(name: str, program: str, out: str) -> bool:
    host, settings, steps = SCENARIOS[name]
    log_dir, shots = os.path.join(out, "e2e-logs", name), os.path.join(out, "e2e-screenshots")
    shutil.rmtree(log_dir, ignore_errors=True)
    os.makedirs(log_dir)
    os.makedirs(shots, exist_ok=True)
    print(f"[ RUN  ] {name}: {host}; logs in {log_dir}", flush=True)
    failed = []
    try:
        with Desktop(host, log_dir) as desktop:
            run = Run(name, desktop, program, settings, shots)
            # A failed step is told, and the steps after it still run while the program does: a
            # run tells every check that fails, not only the first. No icon: nothing to click.
            for step in steps:
                print(f"  {step}", flush=True)
                try:
                    getattr(run, step)()
                except Exception:
                    traceback.print_exc(file=sys.stdout)
                    failed.append(step)
                    if run.proc.poll() is not None or step == "icon":
                        break
    except Exception:
        traceback.print_exc(file=sys.stdout)
        failed.append("the desktop")
    print(f"[ {'FAIL' if failed else '  OK'} ] {name} {' '.join(failed)}", flush=True)
    return not failed


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--list", action="store_true", help="print the scenario names and stop")
    parser.add_argument("--program", required="--list" not in sys.argv, help="the sysvane executable")
    parser.add_argument("--out", required="--list" not in sys.argv, help="build folder for screenshots and logs")
    parser.add_argument("scenarios", nargs="*", help="scenarios to run (default: all)")
    args = parser.parse_args()
    if args.list:
        print("\n".join(f"{name} {'desktops' if host.shell else 'e2e'}" for name, (host, _, _) in SCENARIOS.items()))
        return 0
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))  # ctest's time-out: clean up as on a failure
    names = args.scenarios or list(SCENARIOS)
    passed = sum(run_one(name, os.path.abspath(args.program), os.path.abspath(args.out)) for name in names)
    print(f"e2e: {passed} passed, {len(names) - passed} failed")
    return 0 if passed == len(names) else 1


if __name__ == "__main__":
    sys.exit(main())
