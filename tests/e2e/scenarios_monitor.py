"""The roll-up panel above the tray, the Monitor window with its live bars, its remembered
position and the detail window that opens over a bar."""

import sys
import time

from harness import TIMEOUT_SCALE, ScenarioFailed, check, has_ended, scenario, wait_for
from xserver import SCREEN

TWIPS_PER_PIXEL = 15

# A user who chose four statistics and turned the splash off; the Monitor window opens only
# when asked for.
FOUR_ROWS = {
    "Defined": "Yes",
    "ShowSplash": "0",
    "ShowStatsAtStartup": "0",
    "ShowCPU": "1",
    "ShowPhysMem": "1",
    "ShowVirtMem": "1",
    "ShowCdrive": "1",
}
TWO_ROWS = {"Defined": "Yes", "ShowSplash": "0", "ShowCPU": "1", "ShowPhysMem": "1"}

# The Monitor window's design, in pixels of its client area (there is no window manager, so
# the X window is the client area): captions from 9 down, bars at 138..259, rows 18 apart.
BAR_LEFT, BAR_TOP, BAR_WIDTH, BAR_HEIGHT, ROW_PITCH = 138, 8, 121, 17, 18
MONITOR_WIDTH = 268
SCREEN_WIDTH = int(SCREEN.split("x")[0])
ROW_PHYSICAL_MEMORY = 1


def monitor_height(rows: int) -> int:
    """Client height: the last caption's top (135 + 270 per row) + 735, less the title bar."""
    return (135 + 270 * (rows - 1) + 735 - 375) // TWIPS_PER_PIXEL


def bar_region(monitor, row: int) -> tuple:
    return (monitor.x + BAR_LEFT, monitor.y + BAR_TOP + ROW_PITCH * row, BAR_WIDTH, BAR_HEIGHT)


def is_light_yellow(rgb) -> bool:
    r, g, b = rgb
    return r >= 245 and g >= 245 and 170 <= b <= 215


def is_greenish(rgb) -> bool:
    r, g, b = rgb
    return g >= 120 and g > r + 40 and g > b + 40


def _start(d, settings):
    d.write_settings(**settings)
    proc = d.launch()
    icon = d.wait_for_tray_icon(proc)
    return proc, icon


def _open_monitor(d, proc, icon):
    """Double-clicks the icon and returns the Monitor window."""
    d.x.double_click_window(icon)
    return d.wait_for_window(proc, "the Monitor window", accept=lambda w: w.name == " Sysvane", timeout=30)


def _wait_for_bars_drawn(d, monitor, rows: int) -> None:
    """Every row's bar is painted (not the window's dark background) and the physical memory
    bar, never at 0 %, shows the green start of its fill: the first refresh has happened."""
    background = d.x.grab((monitor.x + 2, monitor.y + 2, 1, 1)).at(0, 0)

    def drawn():
        for row in range(rows):
            bar = d.x.grab(bar_region(monitor, row))
            if bar.share(lambda rgb: rgb != background) < 0.5:
                return False
        memory = d.x.grab(bar_region(monitor, ROW_PHYSICAL_MEMORY))
        return memory.count(is_greenish) >= 3

    wait_for(drawn, "the bars to be drawn with their first figures", timeout=30, interval=0.5)


def _memory_user(d, megabytes: int):
    """A process that takes `megabytes` of memory for a while, so that the physical memory
    figure has to change."""
    code = f"import time\nblock = b'\\x01' * ({megabytes} << 20)\ntime.sleep(120)\n"
    # This interpreter itself: a launcher script in between could outlive a stop by pid.
    return d.processes.start([sys.executable, "-c", code], env=d.env(), log_path=f"{d.log_dir}/memory-user.log")


def _megabytes_to_move_memory_bar() -> int:
    """About 3 % of the memory, so that the bar must move, but at most a quarter of what is
    free and never above 2 GB."""
    fields = {}
    with open("/proc/meminfo", encoding="ascii") as meminfo:
        for line in meminfo:
            name, value = line.split(":", 1)
            fields[name] = int(value.split()[0])  # kB
    total, available = fields["MemTotal"], fields.get("MemAvailable", fields["MemFree"])
    return max(64, min(total * 3 // 100, available // 4, 2 << 20) // 1024)


def _wait_for_bars_to_move(d, monitor, rows: int) -> None:
    """The bars are refreshed: what they show changes. The CPU figure usually moves by
    itself; when it does not, a memory user moves the physical memory bar."""
    region = (monitor.x + BAR_LEFT, monitor.y + BAR_TOP, BAR_WIDTH, ROW_PITCH * (rows - 1) + BAR_HEIGHT)
    first = d.x.grab(region).data
    moved = lambda: d.x.grab(region).data != first  # noqa: E731
    try:
        wait_for(moved, "the bars to move by themselves", timeout=5, interval=0.5)
        print("  the bars moved")
        return
    except ScenarioFailed:
        pass
    megabytes = _megabytes_to_move_memory_bar()
    print(f"  the bars stood still; taking {megabytes} MB of memory")
    user = _memory_user(d, megabytes)
    try:
        wait_for(moved, "the bars to show the memory taken", timeout=30, interval=0.5)
    finally:
        d.processes.stop(user)


@scenario
def rollup_on_click(d):
    """A click on the icon rolls the light-yellow panel up above the tray; it goes by itself."""
    proc, icon = _start(d, TWO_ROWS)
    panel = d.x.tray_panel()
    before = {w.id for w in d.x.top_level_windows(proc.pid)}
    d.x.click_window(icon)

    def rollup_window():
        if has_ended(proc):
            raise ScenarioFailed(f"the program ended (code {proc.returncode})")
        return next((w for w in d.x.top_level_windows(proc.pid) if w.id not in before), None)

    window = wait_for(rollup_window, "the roll-up panel to appear", timeout=30, interval=0.02)

    # Follow its height as it grows, holds and shrinks away.
    heights, changed_at, full_since, gone_at = [], time.monotonic(), None, None
    deadline = time.monotonic() + 60 * TIMEOUT_SCALE
    while time.monotonic() < deadline:
        windows = {w.id: w for w in d.x.top_level_windows(proc.pid)}
        if window.id not in windows:
            gone_at = time.monotonic()
            break
        current = windows[window.id]
        if heights and current.height != heights[-1]:
            changed_at = time.monotonic()
        heights.append(current.height)
        # Full height: it has kept its height for a while (a step takes 15 ms).
        if full_since is None and len(heights) >= 3 and time.monotonic() - changed_at >= 0.4:
            full_since = time.monotonic()
            print(f"  rolled up to {current} through heights {sorted(set(heights))}")
            check(panel is None or current.y + current.height <= panel.y + 2,
                  f"the panel {current} reaches into the tray {panel}")
            check(current.x + current.width >= SCREEN_WIDTH - 40,
                  f"the panel {current} is not at the screen's right edge")
            share = d.x.grab((current.x, current.y, current.width, current.height)).share(is_light_yellow)
            check(share >= 0.4, f"the panel is not light yellow ({share:.0%} of its pixels)")
            d.screenshot_around("rollup", [current, icon], margin=16)
            # A second click while it is open must neither start it again nor keep it up.
            d.x.click_window(icon)
    else:
        raise ScenarioFailed(
            f"the roll-up panel was still there after {60 * TIMEOUT_SCALE:.0f} s (heights {heights[-5:]})"
        )

    check(full_since is not None, f"the panel never held still (heights {heights})")
    check(min(heights) < max(heights), f"the panel did not grow: heights {heights}")
    check(max(heights) >= 24, f"the panel is too low ({max(heights)} px) for its two lines")
    held = gone_at - full_since
    print(f"  held for {held:.1f} s, then rolled away")
    check(held >= 3.5, f"the panel went after {held:.1f} s instead of about five seconds")

    # It opens again: the program knows it is gone.
    d.x.click_window(icon)
    again = wait_for(rollup_window, "the roll-up panel to appear a second time", timeout=30)
    d.wait_for_window_gone(proc, again, "the second roll-up panel to go away", timeout=60)
    d.check_running(proc)


@scenario
def monitor_opens_on_double_click(d):
    """A double-click on the icon opens the Monitor window; its bars are drawn and move."""
    proc, icon = _start(d, FOUR_ROWS)
    monitor = _open_monitor(d, proc, icon)
    opened = time.monotonic()
    print(f"  Monitor window {monitor}")
    check(abs(monitor.width - MONITOR_WIDTH) <= 2, f"the Monitor window {monitor} is not {MONITOR_WIDTH} wide")
    check(abs(monitor.height - monitor_height(4)) <= 2,
          f"the Monitor window {monitor} is not {monitor_height(4)} high, as for four rows")
    _wait_for_bars_drawn(d, monitor, 4)
    _wait_for_bars_to_move(d, monitor, 4)
    time.sleep(max(0.0, 3.0 - (time.monotonic() - opened)))  # a few refreshes (900 ms each) for the picture
    d.screenshot_around("monitor", [monitor], margin=8)
    d.check_running(proc)


@scenario
def monitor_detail_on_hover(d):
    """Resting the pointer on a bar opens the light-yellow detail window beside the Monitor."""
    proc, icon = _start(d, FOUR_ROWS)
    monitor = _open_monitor(d, proc, icon)
    _wait_for_bars_drawn(d, monitor, 4)

    x, y, width, height = bar_region(monitor, ROW_PHYSICAL_MEMORY)
    d.x.move_pointer(x + width // 2 - 20, y + height // 2 - 1)
    d.x.move_pointer(x + width // 2 - 2, y + height // 2)
    d.x.move_pointer(x + width // 2, y + height // 2 + 1)
    rested = time.monotonic()
    detail = d.wait_for_window(proc, "the detail window", accept=lambda w: w.id != monitor.id, timeout=20)
    print(f"  detail window {detail} {time.monotonic() - rested:.1f} s after the pointer rested")

    right_of = detail.x >= monitor.x + monitor.width
    left_of = detail.x + detail.width <= monitor.x
    check(right_of or left_of, f"the detail window {detail} covers the Monitor window {monitor}")
    gap = detail.x - (monitor.x + monitor.width) if right_of else monitor.x - (detail.x + detail.width)
    check(gap <= 10, f"the detail window {detail} is {gap} px away from the Monitor window {monitor}")
    # Level with the hovered bar, never below the Monitor window's frame (its title bar
    # counts, though no window manager draws it here).
    check(monitor.y <= detail.y <= y + 30, f"the detail window {detail} is not level with the bar at y {y}")
    check(detail.y + detail.height <= monitor.y + monitor.height + 25 + 2,
          f"the detail window {detail} reaches below the Monitor window {monitor}")
    check(detail.height >= 50, f"the detail window {detail} is too low for the memory figures' four lines")
    share = d.x.grab((detail.x, detail.y, detail.width, detail.height)).share(is_light_yellow)
    check(share >= 0.4, f"the detail window is not light yellow ({share:.0%} of its pixels)")
    d.screenshot_around("detail", [monitor, detail], margin=8)

    # Leaving the bars for the captions closes it.
    d.x.move_pointer(monitor.x + 40, monitor.y + 14)
    d.x.move_pointer(monitor.x + 42, monitor.y + 16)
    d.wait_for_window_gone(proc, detail, "the detail window to close when the pointer left the bars")
    d.check_running(proc)


@scenario
def monitor_position_remembered(d):
    """Closing the Monitor window saves where it stands; the next start puts it back there."""
    proc, icon = _start(d, TWO_ROWS)
    monitor = _open_monitor(d, proc, icon)
    # The user drags the window elsewhere (without a window manager, a move of the X window
    # is exactly what the program hears of a drag).
    target = (300 if monitor.x != 300 else 420, 200 if monitor.y != 200 else 260)
    d.x.move_window(monitor, *target)
    wait_for(
        lambda: any(w.id == monitor.id and (w.x, w.y) == target for w in d.x.top_level_windows(proc.pid)),
        f"the Monitor window to stand at {target}",
        timeout=15,
    )

    d.x.close(monitor)  # the close command a window manager sends
    d.wait_for_window_gone(proc, monitor, "the Monitor window to close")
    d.check_running(proc)

    def saved_position():
        settings = d.read_settings()
        try:
            left, top = float(settings["MainLeft"]), float(settings["MainTop"])
        except (KeyError, ValueError):
            return None
        return (left, top) if (left, top) == (target[0] * TWIPS_PER_PIXEL, target[1] * TWIPS_PER_PIXEL) else None

    try:
        wait_for(saved_position, "MainLeft and MainTop of the new position", timeout=15)
    except ScenarioFailed:
        settings = d.read_settings()
        raise ScenarioFailed(
            f"the settings hold MainLeft={settings.get('MainLeft')} MainTop={settings.get('MainTop')}, "
            f"not the position {target} in twips"
        )

    d.choose_from_tray_menu(proc, ["Up"])
    box = d.wait_for_window(proc, 'the "Exit" question', accept=lambda w: w.name == "Exit")
    d.x.focus(box)
    d.x.key("y")
    d.wait_until_ended(proc, "the program to end after Yes")

    settings = d.read_settings()
    settings["ShowStatsAtStartup"] = "1"
    d.write_settings(**settings)
    again = d.launch()
    reopened = d.wait_for_window(again, "the Monitor window at start", accept=lambda w: w.name == " Sysvane",
                                 timeout=60)
    print(f"  reopened at {reopened}")
    check(abs(reopened.x - target[0]) <= 3 and abs(reopened.y - target[1]) <= 3,
          f"the Monitor window came back at {reopened}, not at {target}")
    d.check_running(again)
