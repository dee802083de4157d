"""Faults with the real program: a stale lock and two instances started at once, a damaged
settings file, the programs it starts, and a short version of the long run."""

import os
import signal
import stat
import time

from harness import ScenarioFailed, check, has_ended, scenario, wait_for
from long_run import judge, run_long

SAVED_NO_SPLASH = {"Defined": "Yes", "ShowSplash": "0", "ShowCPU": "1", "ShowPhysMem": "1"}
RACE_ROUNDS = 50


def _message_box(d, proc):
    """The "Program is already running!" box of a refused start, when it shows."""
    return next((w for w in d.x.top_level_windows(proc.pid) if w.name == "Sysvane"), None)


def _race_round(d, number: int):
    """Two starts at the same moment: returns (survivor, refused) once one has docked its
    icon and the other shows its message."""
    first = d.launch()
    second = d.launch()

    def settled():
        for proc in (first, second):
            if has_ended(proc):
                raise ScenarioFailed(f"round {number}: pid {proc.pid} ended (code {proc.returncode}) before "
                                     "its icon or its message showed")
        iconed = [p for p in (first, second) if d.x.tray_icons(p.pid)]
        boxed = [p for p in (first, second) if _message_box(d, p)]
        check(len(iconed) < 2, f"round {number}: both instances docked an icon")
        check(len(boxed) < 2, f"round {number}: both instances were refused")
        if len(iconed) == 1 and len(boxed) == 1 and iconed[0] is not boxed[0]:
            return iconed[0], boxed[0]
        return None

    return wait_for(settled, f"round {number}: one icon and one refusal", timeout=60)


@scenario
def single_instance_race(d):
    """50 times: two starts at once after a kill -9; exactly one survives, the other says so."""
    d.write_settings(**SAVED_NO_SPLASH)
    started = time.monotonic()
    survivor = None
    for number in range(1, RACE_ROUNDS + 1):
        survivor, refused = _race_round(d, number)
        box = _message_box(d, refused)
        d.x.focus(box)
        d.x.key("Return")
        code = d.wait_until_ended(refused, f"round {number}: the refused instance to end after Return")
        check(code == 0, f"round {number}: the refused instance ended with code {code}")
        d.check_running(survivor)
        icons = d.x.embedded_in_tray()
        check(len(icons) == 1, f"round {number}: the tray holds {len(icons)} icons")
        if number < RACE_ROUNDS:
            # The next round starts with the lock this one leaves behind.
            os.kill(survivor.pid, signal.SIGKILL)
            d.wait_until_ended(survivor, f"round {number}: the killed survivor to end")
            wait_for(lambda: not d.x.embedded_in_tray(), f"round {number}: the killed icon to leave the tray")
    print(f"  {RACE_ROUNDS} rounds in {time.monotonic() - started:.0f} s")
    d.processes.stop(survivor)
    check(survivor.returncode == 0, f"the last survivor ended with code {survivor.returncode}")


@scenario
def damaged_settings_start(d):
    """A settings file with garbage, hand-edited values and a position far off the screen: the
    program starts, shows its Monitor window on the screen, and keeps every line it did not write."""
    os.makedirs(os.path.dirname(d.settings_path), exist_ok=True)
    damaged = (b"\x00\x01garbage \xff\xfe line\n; my own comment\n[Settings\n"
               b"Defined=Yes\nShowSplash= 0 \nShowStatsAtStartup=1e0\nShowCPU=\" 1 \"\nShowPhysMem=yes\n"
               b"ShowVirtMem=2\nMainLeft=1e12\nMainTop=-99999999999999999999\nMine=keep me\n"
               b"Broken=\"unterminated\n\n[Other]\nShowCPU=0\n")
    with open(d.settings_path, "wb") as out:
        out.write(damaged)
    proc = d.launch()
    d.wait_for_tray_icon(proc)
    monitor = d.wait_for_window(proc, "the Monitor window", accept=lambda w: w.name == " Sysvane")
    d.screenshot_around("monitor", [monitor])
    print(f"  Monitor window: {monitor}")
    check(0 <= monitor.x and monitor.x + monitor.width <= 1280, f"the Monitor window is off the screen: {monitor}")
    check(0 <= monitor.y and monitor.y + monitor.height <= 800, f"the Monitor window is off the screen: {monitor}")
    # One statistic row: CPU (" 1 " is on; "yes" and "2" are off).
    check(monitor.height < 70, f"the Monitor window shows more than the CPU row: {monitor}")
    d.processes.stop(proc)
    check(proc.returncode == 0, f"the program ended with code {proc.returncode}")
    with open(d.settings_path, "rb") as saved:
        text = saved.read()
    for line in damaged.split(b"\n"):
        if line.startswith((b"MainLeft", b"MainTop")):
            continue  # the window's position, saved anew
        check(line in text.split(b"\n"), f"the line {line!r} was lost: {text!r}")
    check(stat.S_IMODE(os.stat(d.settings_path).st_mode) == 0o600, "the settings file is not the user's alone")


@scenario
def read_only_settings_start(d):
    """A settings file its owner made read-only: the program starts and runs, the file stays as it was."""
    d.write_settings(**SAVED_NO_SPLASH, ShowStatsAtStartup="1")
    os.chmod(d.settings_path, 0o444)
    with open(d.settings_path, "rb") as original:
        before = original.read()
    proc = d.launch()
    d.wait_for_tray_icon(proc)
    d.wait_for_window(proc, "the Monitor window", accept=lambda w: w.name == " Sysvane")
    d.processes.stop(proc)
    check(proc.returncode == 0, f"the program ended with code {proc.returncode}")
    with open(d.settings_path, "rb") as after:
        check(after.read() == before, "the read-only settings file was changed")


@scenario
def long_run_short(d):
    """Two minutes of the long run: memory, descriptors and threads stay flat."""
    figures = run_long(d, 120.0)
    samples = figures["samples"]
    print(f"  {figures['counts']}; first {samples[0]}, last {samples[-1]} (s, RSS KiB, fds, threads)")
    problems = judge(figures, rss_slack_kib=8192, fd_slack=2)
    check(not problems, "; ".join(problems))


def _recorder(path: str, record: str) -> None:
    """A stand-in program that writes its arguments, one per line, to `record`."""
    with open(path, "w", encoding="ascii") as script:
        script.write("#!/bin/sh\n"
                     f"{{ printf '%s\\n' \"$0\"; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; }} > {record}.tmp\n"
                     f"mv {record}.tmp {record}\n")
    os.chmod(path, 0o700)


def _read_record(d, record: str, what: str) -> list:
    wait_for(lambda: os.path.exists(record), what, timeout=15)
    with open(record, encoding="utf-8") as lines:
        result = lines.read().splitlines()
    os.remove(record)
    return result


@scenario
def started_programs_argv(d):
    """The About box's links and System Info start the browser, the mail handler and the system
    information program directly, each with one fixed argument (or none)."""
    bin_dir = os.path.join(d.root, "bin")
    os.makedirs(bin_dir)
    opened = os.path.join(d.root, "xdg-open.args")
    info = os.path.join(d.root, "hardinfo.args")
    _recorder(os.path.join(bin_dir, "xdg-open"), opened)
    _recorder(os.path.join(bin_dir, "hardinfo"), info)
    d.write_settings(**SAVED_NO_SPLASH, Mine="$(touch PWNED)`touch PWNED`;touch PWNED")

    env = d.env()
    env["PATH"] = bin_dir + os.pathsep + env.get("PATH", "")
    proc = d.processes.start([d.program], env=env, log_path=os.path.join(d.log_dir, "sysvane-argv.log"))
    d.wait_for_tray_icon(proc)
    menu = d.right_click_tray_icon(proc)
    d.x.key("Up", "Up", "Return")  # the last item is Exit, the one before it About
    d.close_menu(proc, menu)
    about = d.wait_for_window(proc, "the About box", accept=lambda w: w.name == " About Sysvane")
    d.screenshot_around("about", [about])

    # The links' centres, from their places in the box (twips / 15).
    d.x.click(about.x + (1140 + 3255 // 2) // 15 - 60, about.y + (3261 + 127) // 15)
    check(_read_record(d, opened, "the browser to be started") == [
        os.path.join(bin_dir, "xdg-open"), "[https://www.quorvale.example/]"], "the browser's arguments")
    d.x.click(about.x + (240 + 4155 // 2) // 15 - 60, about.y + (2820 + 127) // 15)
    check(_read_record(d, opened, "the mail handler to be started") == [
        os.path.join(bin_dir, "xdg-open"), "[mailto:support@quorvale.example?subject=Sysvane%2C%20Version%202.0]"],
        "the mail handler's arguments")
    d.x.focus(about)
    d.x.key("alt+s")
    check(_read_record(d, info, "the system information program to be started") == [os.path.join(bin_dir, "hardinfo")],
          "the system information program was given arguments")
    for folder in (bin_dir, d.home, d.root):
        check(not os.path.exists(os.path.join(folder, "PWNED")), "a setting reached a shell")
    d.check_running(proc)
