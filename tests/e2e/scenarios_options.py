"""The Options dialog on a first run and from the tray menu: the warning when nothing is
chosen, the saved switches, the start-up entry, the System page, and the About box."""

import os
import re
import shutil

from harness import ScenarioFailed, check, scenario, wait_for

TWIPS_PER_PIXEL = 15
OPTIONS_TITLE = " Sysvane Options"

# Saved once, no splash; the Monitor window stays closed so that only the dialog shows.
SAVED = {
    "Defined": "Yes",
    "ShowSplash": "0",
    "ShowStatsAtStartup": "0",
    "ShowCPU": "1",
    "ShowPhysMem": "1",
}

SWITCHES = [
    "ShowStatsAtStartup", "ShowOnTop", "ShowSplash", "ShowCPU", "ShowPhysMem", "ShowVirtMem",
    "ShowSysRsrc", "ShowGDIRsrc", "ShowUserRsrc", "ShowBattery", "ShowCdrive",
]

# Where things are in the dialog, in pixels of its client area (no window manager: the X
# window is the client area). The tab strip sits at (6, 8); the tabs' centres follow the width
# of their captions in the desktop's font, as measured on a screenshot.
TAB_CENTRES = {"Options": (36, 19), "Statistics": (97, 19), "System": (159, 19)}
PAGE_REGION = (12, 36, 286, 170)  # inside the strip, below the tabs


def box_centre(index: int) -> tuple:
    """A check box of a page: left 240, top 480 + 300 x index within the strip at (90, 120),
    every box at least 195 twips high; the point is on its square."""
    return (90 + 240) // TWIPS_PER_PIXEL + 7, (120 + 480 + 300 * index) // TWIPS_PER_PIXEL + 6


def button_centre(dialog, name: str) -> tuple:
    """OK, Cancel and Apply sit 465 twips above the client area's bottom, which moves down
    with every drive row."""
    left = {"OK": 1110, "Cancel": 2310, "Apply": 3510}[name] // TWIPS_PER_PIXEL
    return left + 36, dialog.height - 465 // TWIPS_PER_PIXEL + 12


def _grab(d, dialog, region):
    x, y, width, height = region
    return d.x.grab((dialog.x + x, dialog.y + y, width, height)).data


def _click_and_see_change(d, dialog, point, region, what):
    """Clicks a point of the dialog and waits for the region to look different: the click
    landed. A click swallowed by a busy machine is repeated once."""
    before = _grab(d, dialog, region)
    for attempt in range(2):
        d.x.click(dialog.x + point[0], dialog.y + point[1])
        try:
            wait_for(lambda: _grab(d, dialog, region) != before, what, timeout=10, interval=0.3)
            return
        except ScenarioFailed:
            if attempt == 1:
                raise


def show_page(d, dialog, tab: str) -> None:
    _click_and_see_change(d, dialog, TAB_CENTRES[tab], PAGE_REGION, f'the "{tab}" page to show')


def toggle_box(d, dialog, index: int) -> None:
    x, y = box_centre(index)
    _click_and_see_change(d, dialog, (x, y), (x - 8, y - 7, 16, 16), f"check box {index} to change")


def press(d, dialog, button: str) -> None:
    x, y = button_centre(dialog, button)
    d.x.click(dialog.x + x, dialog.y + y)


def is_dark(rgb) -> bool:
    return sum(rgb) < 3 * 110


def _start(d, program=None):
    d.write_settings(**SAVED)
    if program:
        d.program = program
    proc = d.launch()
    d.wait_for_tray_icon(proc)
    return proc


def _open_options(d, proc):
    d.choose_from_tray_menu(proc, ["Down", "Down"])  # Splash, Options
    return d.wait_for_window(proc, "the Options dialog", accept=lambda w: w.name == OPTIONS_TITLE)


@scenario
def first_run_options(d):
    """A first run opens Options; OK with nothing chosen warns; CPU and memory, OK: all saved."""
    proc = d.launch()
    dialog = d.wait_for_window(proc, "the Options dialog of a first run", accept=lambda w: w.name == OPTIONS_TITLE,
                               timeout=90)
    print(f"  Options dialog {dialog}")
    d.screenshot_around("options", [dialog], margin=0)

    press(d, dialog, "OK")
    warning = d.wait_for_window(proc, "the warning",
                                accept=lambda w: w.name == OPTIONS_TITLE and w.id != dialog.id)
    print(f"  warning {warning}")
    check(warning.width < dialog.width and warning.height < dialog.height,
          f"the warning {warning} is not a small box over the dialog {dialog}")
    check(dialog.x <= warning.x and warning.x + warning.width <= dialog.x + dialog.width,
          f"the warning {warning} is not centred like the dialog {dialog}")
    text = d.x.grab((warning.x, warning.y, warning.width, warning.height))
    check(text.count(is_dark) >= 200, "the warning shows no text")
    d.screenshot_around("warning", [warning], margin=0)
    check(d.setting("Defined") is None, f"the warning's OK saved the settings: {d.read_settings()}")
    d.answer(proc, warning, "Return")
    check(dialog.id in {w.id for w in d.x.top_level_windows(proc.pid)}, "the dialog closed with the warning")

    # The warning brought the Statistics page forward.
    toggle_box(d, dialog, 0)  # CPU Activity
    toggle_box(d, dialog, 1)  # Physical memory usage
    memory_bar = (dialog.x + (90 + 2460) // TWIPS_PER_PIXEL, dialog.y + (120 + 780) // TWIPS_PER_PIXEL, 121, 17)
    wait_for(lambda: d.x.grab(memory_bar).count(lambda rgb: rgb[1] > rgb[0] + 40 and rgb[1] > 120) >= 3,
             "the physical memory preview to show its figure", timeout=20, interval=0.5)
    d.screenshot_around("statistics", [dialog], margin=0)

    press(d, dialog, "OK")
    d.wait_for_window_gone(proc, dialog, "the dialog to close after OK")
    wait_for(lambda: d.setting("Defined") == "Yes", "Defined=Yes in the settings file", timeout=15)
    settings = d.read_settings()
    print(f"  saved: {settings}")
    missing = [key for key in SWITCHES if key not in settings]
    check(not missing, f"the settings file lacks {missing}: {settings}")
    expected = {"ShowStatsAtStartup": "1", "ShowOnTop": "0", "ShowSplash": "1", "ShowCPU": "1",
                "ShowPhysMem": "1", "ShowVirtMem": "0", "ShowSysRsrc": "0", "ShowGDIRsrc": "0",
                "ShowUserRsrc": "0", "ShowBattery": "0", "ShowCdrive": "0"}
    wrong = {key: settings[key] for key, value in expected.items() if settings[key] != value}
    check(not wrong, f"switches saved wrong: {wrong} (expected {expected})")
    # One key per fixed drive besides C, the letters in order from D, none chosen.
    drives = sorted(key for key in settings if re.fullmatch(r"Show[D-Z]drive", key))
    check(drives == [f"Show{chr(ord('D') + i)}drive" for i in range(len(drives))], f"drive keys {drives}")
    check(all(settings[key] == "0" for key in drives), f"a drive nobody chose was saved as chosen: {settings}")

    # The start-up box is checked on a first run: the Monitor window opens, with two rows.
    monitor = d.wait_for_window(proc, "the Monitor window after OK", accept=lambda w: w.name == " Sysvane")
    check(abs(monitor.height - 51) <= 2, f"the Monitor window {monitor} is not two rows high")
    d.check_running(proc)


def parse_exec(value: str) -> list:
    """The arguments of a desktop entry's Exec value, by the Desktop Entry rules: a double-quoted
    argument escapes ", `, $ and \\ with a backslash; %% is a percent sign; an unquoted argument
    holds no reserved character."""
    arguments, current, quoted, started, i = [], "", False, False, 0
    while i < len(value):
        c = value[i]
        if quoted:
            if c == "\\":
                check(i + 1 < len(value) and value[i + 1] in '"`$\\', f"a bad escape in Exec={value}")
                current += value[i + 1]
                i += 1
            elif c == '"':
                quoted = False
            else:
                current += c
        elif c == '"':
            check(not current, f"a quote inside an argument in Exec={value}")
            quoted = started = True
        elif c == " ":
            if started:
                arguments.append(current)
            current, started = "", False
        else:
            check(c not in "\t\n\"'\\><~|&;$*?#()`", f"an unquoted reserved character {c!r} in Exec={value}")
            current += c
            started = True
        i += 1
    check(not quoted, f"an unclosed quote in Exec={value}")
    if started:
        arguments.append(current)
    result = []
    for argument in arguments:
        check(not re.search(r"%[^%]", argument.replace("%%", "")), f"a field code in Exec={value}")
        result.append(argument.replace("%%", "%"))
    return result


def unescape_string(value: str) -> str:
    """A string value's escapes, resolved before the Exec quoting rules apply: a desktop
    reads any other escape as an error."""
    escapes = {"s": " ", "n": "\n", "t": "\t", "r": "\r", "\\": "\\"}

    def resolve(match):
        check(match[1] in escapes, f"the invalid escape \\{match[1]} in {value}")
        return escapes[match[1]]

    return re.sub(r"\\(.)", resolve, value)


def read_desktop_entry(path: str) -> dict:
    """The keys of the [Desktop Entry] group, with the string escapes resolved."""
    entry, group = {}, None
    with open(path, encoding="utf-8") as entry_file:
        for line in entry_file.read().splitlines():
            if line.startswith("["):
                group = line
            elif group == "[Desktop Entry]" and "=" in line and not line.startswith("#"):
                key, value = line.split("=", 1)
                entry[key.strip()] = unescape_string(value.strip())
    return entry


@scenario
def startup_entry_follows_box(d):
    """The run-at-start-up box writes the autostart entry, quoted for any folder; unchecked, removes it."""
    # A folder name with everything the Exec rules must quote or escape.
    folder = os.path.join(d.log_dir, 'my "apps" $HOME `x` 100% \\ it\'s')
    os.makedirs(folder, exist_ok=True)
    program = os.path.join(folder, "sysvane")
    shutil.copy2(d.program, program)
    proc = _start(d, program=program)
    autostart = os.path.join(d.config_home, "autostart")
    entry_path = os.path.join(autostart, "Sysvane.desktop")
    check(not os.path.exists(entry_path), "an autostart entry exists before anything was saved")

    dialog = _open_options(d, proc)
    toggle_box(d, dialog, 0)  # Run program at Linux StartUp?
    press(d, dialog, "Apply")
    wait_for(lambda: os.path.exists(entry_path), f"{entry_path} after Apply", timeout=15)
    entry = read_desktop_entry(entry_path)
    print(f"  entry: {entry}")
    check(entry.get("Type") == "Application" and entry.get("Name") == "Sysvane", f"the entry is wrong: {entry}")
    check(parse_exec(entry.get("Exec", "")) == [program],
          f"Exec={entry.get('Exec')} does not start {program}")
    leftovers = sorted(set(os.listdir(autostart)) - {"Sysvane.desktop"})
    check(not leftovers, f"the autostart folder holds more than the entry: {leftovers}")
    check(dialog.id in {w.id for w in d.x.top_level_windows(proc.pid)}, "Apply closed the dialog")
    d.screenshot_around("options", [dialog], margin=0)

    toggle_box(d, dialog, 0)
    press(d, dialog, "OK")
    d.wait_for_window_gone(proc, dialog, "the dialog to close after OK")
    wait_for(lambda: not os.path.exists(entry_path), "the autostart entry to go after unchecking", timeout=15)
    d.check_running(proc)
    # The copy goes once nothing runs it; after a failure it stays for a look, until the next run.
    d.processes.stop(proc)
    shutil.rmtree(folder, ignore_errors=True)


@scenario
def system_page_facts(d):
    """The System page lists this machine's facts, one caption and value per row."""
    proc = _start(d)
    before = d.read_settings()
    dialog = _open_options(d, proc)
    show_page(d, dialog, "System")
    # Caption column at 240 and value column at 1980 twips, rows at these tops; the version
    # line sits under the system's name.
    rows = {"processor": 480, "processors": 780, "physical memory": 1080, "virtual memory": 1380,
            "screen": 1680, "system": 1980, "drive C": 2580}

    def has_text(left, top, width):
        x = dialog.x + (90 + left) // TWIPS_PER_PIXEL
        y = dialog.y + (120 + top) // TWIPS_PER_PIXEL
        return d.x.grab((x, y, width // TWIPS_PER_PIXEL, 15)).count(is_dark) >= 8

    def all_filled():
        return all(has_text(240, top, 1590) and has_text(1980, top, 2055) for top in rows.values()) and has_text(
            1980, 2160, 2055)

    try:
        wait_for(all_filled, "every row of the System page to show its fact", timeout=10, interval=0.5)
    except ScenarioFailed:
        empty = [name for name, top in rows.items() if not has_text(1980, top, 2055)]
        raise ScenarioFailed(f"the System page shows nothing for {empty or ['the version line']}")
    d.screenshot_around("system", [dialog], margin=0)

    press(d, dialog, "Cancel")
    d.wait_for_window_gone(proc, dialog, "the dialog to close after Cancel")
    d.check_running(proc)
    check(d.read_settings() == before, f"Cancel changed the settings: {before} -> {d.read_settings()}")


@scenario
def about_box_from_menu(d):
    """The tray menu's About item opens the About box; Escape closes it."""
    proc = _start(d)
    d.choose_from_tray_menu(proc, ["Up", "Up"])  # Exit, About
    about = d.wait_for_window(proc, "the About box", accept=lambda w: w.name == " About Sysvane")
    print(f"  About box {about}")
    check(about.width >= 300 and about.height >= 200, f"the About box {about} is too small")
    text = d.x.grab((about.x, about.y, about.width, about.height))
    check(text.count(is_dark) >= 500, "the About box shows no text")
    d.screenshot_around("about", [about], margin=0)
    d.answer(proc, about, "Escape")
    d.check_running(proc)
