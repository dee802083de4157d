"""Start-up, the single-instance rule, the tray icon with its menu, and the way out."""

import os
import signal
import time

from harness import check, scenario, wait_for

# A user who saved the options once and turned the splash off: the icon comes at once.
SAVED_NO_SPLASH = {"Defined": "Yes", "ShowSplash": "0", "ShowCPU": "1", "ShowPhysMem": "1"}


def _start_with_icon(d, settings=SAVED_NO_SPLASH):
    d.write_settings(**settings)
    proc = d.launch()
    icon = d.wait_for_tray_icon(proc)
    print(f"  icon docked {time.monotonic() - proc.started_at:.2f} s after start: {icon}")
    return proc, icon


def _choose_from_tray_menu(d, proc, keys):
    """Opens the tray menu and picks an item with the keyboard, as a user may:
    Down selects the first item, Up the last."""
    menu = d.right_click_tray_icon(proc)
    d.x.key(*keys, "Return")
    d.close_menu(proc, menu)


def _answer(d, proc, box, key):
    d.x.focus(box)
    d.x.key(key)
    d.wait_for_window_gone(proc, box, f'the "{box.name}" box to close')


@scenario
def first_start(d):
    """First start with an empty settings folder: splash for about three seconds, then the icon."""
    proc = d.launch()
    splash = d.wait_for_window(
        proc, "the splash screen", accept=lambda w: w.width >= 100 and w.height >= 100, timeout=60
    )
    seen = time.monotonic()
    d.screenshot_around("splash", [splash])

    def splash_closed():
        # The icon comes only after the splash: docked within the splash's first second
        # means it did not wait. (Later, splash and icon may briefly overlap on screen.)
        if time.monotonic() - seen < 1.0:
            check(not d.x.tray_icons(proc.pid), "the icon was docked while the splash screen showed")
        return splash.id not in {w.id for w in d.x.top_level_windows(proc.pid)}

    wait_for(splash_closed, "the splash screen to close", timeout=30)
    shown = time.monotonic() - seen
    print(f"  splash seen for {shown:.1f} s")
    check(shown >= 1.5, f"the splash screen closed after {shown:.1f} s instead of about three seconds")

    icon = d.wait_for_tray_icon(proc)
    print(f"  icon docked {time.monotonic() - proc.started_at:.2f} s after start: {icon}")
    d.screenshot_around("icon", [d.x.tray_panel()], margin=60)
    # A first run may open the Options dialog beside the icon; it must not end the program.
    time.sleep(1.0)
    d.check_running(proc)
    if d.x.top_level_windows(proc.pid):
        d.screenshot("after-start")


@scenario
def second_instance_refused(d):
    """A second start shows "Program is already running!" and ends once it is dismissed."""
    first, _ = _start_with_icon(d)
    second = d.launch()
    box = d.wait_for_window(second, 'the "already running" message', accept=lambda w: w.name == "Sysvane")
    d.screenshot_around("message", [box])
    windows = d.x.top_level_windows(second.pid)
    check(len(windows) == 1, f"the second instance shows more than its message: {[str(w) for w in windows]}")
    check(not d.x.tray_icons(second.pid), "the second instance docked an icon")
    d.check_running(second)  # it waits for the message to be dismissed

    d.x.focus(box)
    d.x.key("Return")
    code = d.wait_until_ended(second, "the second instance to end after its message")
    check(code >= 0, f"the second instance crashed (signal {-code})")
    d.check_running(first)
    icons = d.x.embedded_in_tray()
    check(len(icons) == 1, f"the tray holds {len(icons)} icons instead of the first instance's one")


@scenario
def stale_lock_recovered(d):
    """After the program is killed, a new start is not refused: it docks its icon."""
    first, _ = _start_with_icon(d)
    os.kill(first.pid, signal.SIGKILL)
    d.wait_until_ended(first, "the killed program to end")
    wait_for(lambda: not d.x.embedded_in_tray(), "the killed program's icon to leave the tray")

    second = d.launch()
    d.wait_for_tray_icon(second)
    refusals = [w for w in d.x.top_level_windows(second.pid) if w.name == "Sysvane"]
    check(not refusals, "the new start showed the already-running message")
    d.check_running(second)


@scenario
def tray_menu(d):
    """A right-click on the icon pops up the menu next to the pointer; Escape closes it."""
    proc, icon = _start_with_icon(d)
    menu = d.right_click_tray_icon(proc)
    d.screenshot_around("menu", [menu, icon])
    x, y = icon.centre
    gap_x = max(menu.x - x, 0, x - (menu.x + menu.width))
    gap_y = max(menu.y - y, 0, y - (menu.y + menu.height))
    check(gap_x <= 40 and gap_y <= 40, f"the menu {menu} is not at the pointer ({x}, {y})")
    check(menu.height >= 5 * 12, f"the menu {menu} is too small for its five items")

    d.x.key("Escape")
    d.close_menu(proc, menu)
    d.check_running(proc)
    check(d.x.tray_icons(proc.pid), "the icon left the tray after the menu closed")


@scenario
def splash_toggle_saved(d):
    """The menu's splash item switches ShowSplash in the settings file, both ways."""
    proc, _ = _start_with_icon(d)
    _choose_from_tray_menu(d, proc, ["Down"])
    wait_for(lambda: d.setting("ShowSplash") == "1", "ShowSplash=1 in the settings file", timeout=15)
    _choose_from_tray_menu(d, proc, ["Down"])
    wait_for(lambda: d.setting("ShowSplash") == "0", "ShowSplash=0 in the settings file", timeout=15)
    settings = d.read_settings()
    check(settings.get("Defined") == "Yes", f"the other settings were lost: {settings}")
    check(settings.get("ShowCPU") == "1", f"the other settings were lost: {settings}")
    d.check_running(proc)


@scenario
def exit_asks_first(d):
    """Exit asks first: No keeps the program, Yes ends it and takes the icon away."""
    proc, _ = _start_with_icon(d)
    exit_box = lambda w: w.name == "Exit"  # noqa: E731

    _choose_from_tray_menu(d, proc, ["Up"])
    box = d.wait_for_window(proc, 'the "Exit" question', accept=exit_box)
    d.screenshot_around("question", [box])
    _answer(d, proc, box, "n")
    time.sleep(0.5)
    d.check_running(proc)
    check(d.x.tray_icons(proc.pid), "No took the icon away")

    _choose_from_tray_menu(d, proc, ["Up"])
    box = d.wait_for_window(proc, 'the "Exit" question again', accept=exit_box)
    d.x.focus(box)
    d.x.key("y")
    code = d.wait_until_ended(proc, "the program to end after Yes")
    check(code == 0, f"the program ended with code {code}")
    check(not d.x.embedded_in_tray(), "the icon stayed in the tray after the program ended")
