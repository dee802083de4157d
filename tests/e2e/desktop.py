"""One scenario's world: a fresh user (home and XDG folders in a temporary folder),
a virtual X server with a tray host, and the program started as that user."""

import configparser
import os
import shutil
import subprocess
import tempfile
import time
from typing import Optional

from harness import Processes, ScenarioFailed, check, has_ended, wait_for
from xserver import Window, XServer


class Desktop:
    def __init__(self, program: str, name: str, screenshot_dir: str, log_dir: str) -> None:
        self.program = program
        self.name = name
        self.screenshot_dir = screenshot_dir
        self.log_dir = log_dir
        self.processes = Processes()
        self.root = tempfile.mkdtemp(prefix=f"sysvane-e2e-{name}-")
        self.home = os.path.join(self.root, "home")
        self.config_home = os.path.join(self.root, "config")
        self.runtime_dir = os.path.join(self.root, "runtime")
        self.data_home = os.path.join(self.root, "data")
        self.cache_home = os.path.join(self.root, "cache")
        for folder in (self.home, self.config_home, self.data_home, self.cache_home):
            os.makedirs(folder)
        os.makedirs(self.runtime_dir, mode=0o700)
        self.x = XServer(self.processes, log_dir)
        self._launches = 0
        self.screenshots: list[str] = []

    def __enter__(self) -> "Desktop":
        self.x.start()
        return self

    def __exit__(self, *exc) -> None:
        self.processes.stop_all()
        shutil.rmtree(self.root, ignore_errors=True)

    # ---- the settings file ------------------------------------------------------------
    @property
    def settings_path(self) -> str:
        return os.path.join(self.config_home, "Sysvane", "Sysvane.conf")

    def write_settings(self, **values) -> None:
        """Prepares the settings file as a user (or an earlier run) left it."""
        os.makedirs(os.path.dirname(self.settings_path), exist_ok=True)
        with open(self.settings_path, "w", encoding="utf-8") as out:
            out.write("[Settings]\n")
            for key, value in values.items():
                out.write(f"{key}={value}\n")

    def read_settings(self) -> dict:
        """The keys of the [Settings] section as the program last saved them."""
        parser = configparser.ConfigParser(interpolation=None, strict=False)
        parser.optionxform = str  # keys keep their case
        try:
            parser.read(self.settings_path, encoding="utf-8")
        except configparser.Error:
            return {}  # caught while being rewritten: the caller polls again
        if not parser.has_section("Settings"):
            return {}
        return {key: value.strip().strip('"') for key, value in parser.items("Settings")}

    def setting(self, key: str) -> Optional[str]:
        return self.read_settings().get(key)

    # ---- the program ------------------------------------------------------------------
    def env(self) -> dict:
        env = self.x.env()
        env.update(
            HOME=self.home,
            XDG_CONFIG_HOME=self.config_home,
            XDG_RUNTIME_DIR=self.runtime_dir,
            XDG_DATA_HOME=self.data_home,
            XDG_CACHE_HOME=self.cache_home,
            QT_QPA_PLATFORM="xcb",
        )
        # No session bus: the icon goes to the XEmbed tray host, as on a plain X desktop.
        for name in ("DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER", "QT_SCALE_FACTOR"):
            env.pop(name, None)
        return env

    def launch(self) -> subprocess.Popen:
        self._launches += 1
        log = os.path.join(self.log_dir, f"sysvane-{self._launches}.log")
        proc = self.processes.start([self.program], env=self.env(), log_path=log)
        proc.log_path = log
        proc.started_at = time.monotonic()
        return proc

    def check_running(self, proc: subprocess.Popen) -> None:
        check(proc.poll() is None, f"the program (pid {proc.pid}) ended with code {proc.returncode}")

    def wait_until_ended(self, proc: subprocess.Popen, what: str, timeout: float = 30.0) -> int:
        wait_for(lambda: has_ended(proc), what, timeout)
        return proc.returncode

    # ---- what the user sees -------------------------------------------------------
    def wait_for_tray_icon(self, proc: subprocess.Popen, timeout: float = 60.0) -> Window:
        def icon():
            if has_ended(proc):
                raise ScenarioFailed(f"the program ended (code {proc.returncode}) before its icon showed")
            icons = self.x.tray_icons(proc.pid)
            return icons[0] if icons else None

        return wait_for(icon, "the icon to be embedded in the tray", timeout)

    def wait_for_window(self, proc: subprocess.Popen, what: str, accept=lambda w: True,
                        timeout: float = 30.0) -> Window:
        """Waits for a new mapped top-level window of the program that `accept` likes."""

        def window():
            if has_ended(proc):
                raise ScenarioFailed(f"the program ended (code {proc.returncode}) before {what} showed")
            return next((w for w in self.x.top_level_windows(proc.pid) if accept(w)), None)

        return wait_for(window, what, timeout)

    def wait_for_window_gone(self, proc: subprocess.Popen, window: Window, what: str,
                             timeout: float = 30.0) -> None:
        wait_for(
            lambda: has_ended(proc) or window.id not in {w.id for w in self.x.top_level_windows(proc.pid)},
            what,
            timeout,
        )

    def right_click_tray_icon(self, proc: subprocess.Popen) -> Window:
        """Right-clicks the icon and returns the menu that pops up.

        A click that comes a moment after a menu has closed can be swallowed by the
        toolkit (a person is never that quick): the icon is clicked again, at most
        twice more, when no menu came in 10 seconds."""
        icon = self.wait_for_tray_icon(proc)
        before = {w.id for w in self.x.top_level_windows(proc.pid)}

        def menu():
            return self.wait_for_window(
                proc,
                "the tray menu to pop up",
                accept=lambda w: w.id not in before and self.x.is_override_redirect(w.id),
                timeout=10,
            )

        for _ in range(2):
            self.x.click_window(icon, button=3)
            try:
                return menu()
            except ScenarioFailed as error:
                print(f"  no menu yet ({error}); clicking the icon again")
        self.x.click_window(icon, button=3)
        return menu()

    def choose_from_tray_menu(self, proc: subprocess.Popen, keys: list) -> None:
        """Opens the tray menu and picks an item with the keyboard: Down selects the
        first item (Splash), Up the last (Exit)."""
        menu = self.right_click_tray_icon(proc)
        self.x.key(*keys, "Return")
        self.close_menu(proc, menu)

    def answer(self, proc: subprocess.Popen, box: Window, key: str) -> None:
        """Gives a box the focus, presses a key and waits for the box to close."""
        self.x.focus(box)
        self.x.key(key)
        self.wait_for_window_gone(proc, box, f'the "{box.name}" box to close')

    def close_menu(self, proc: subprocess.Popen, menu: Window) -> None:
        """Waits for a menu to close, and then a moment, as a person reads what changed."""
        self.wait_for_window_gone(proc, menu, "the menu to close")
        time.sleep(0.5)

    def screenshot(self, what: str, region: Optional[tuple] = None) -> str:
        path = os.path.join(self.screenshot_dir, f"{self.name}-{what}.png")
        self.x.screenshot(path, region)
        self.screenshots.append(path)
        print(f"  screenshot: {path}")
        return path

    def screenshot_around(self, what: str, windows: list, margin: int = 24) -> str:
        """Saves the part of the screen that holds the given windows, with a margin."""
        left = max(0, min(w.x for w in windows) - margin)
        top = max(0, min(w.y for w in windows) - margin)
        right = max(w.x + w.width for w in windows) + margin
        bottom = max(w.y + w.height for w in windows) + margin
        return self.screenshot(what, (left, top, right - left, bottom - top))
