"""The pieces every end-to-end scenario leans on: waiting for conditions,
processes that are always cleaned up, and the list of scenarios."""

import ctypes
import os
import signal
import subprocess
import time
from typing import Callable, Optional

# A loaded 2-core machine can be several times slower than an idle one; every
# time-out below is multiplied by this factor (E2E_TIMEOUT_SCALE=3 for slow runs).
TIMEOUT_SCALE = float(os.environ.get("E2E_TIMEOUT_SCALE", "1"))


class ScenarioFailed(AssertionError):
    """A condition of a scenario did not hold."""


def check(condition, message: str) -> None:
    if not condition:
        raise ScenarioFailed(message)


def wait_for(condition: Callable, what: str, timeout: float = 30.0, interval: float = 0.1):
    """Polls condition until it returns something truthy and returns that, or fails
    with `what` once `timeout` seconds (scaled) have passed."""
    deadline = time.monotonic() + timeout * TIMEOUT_SCALE
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise ScenarioFailed(f"timed out after {timeout * TIMEOUT_SCALE:.0f} s waiting for {what}")
        time.sleep(interval)


def _die_with_parent() -> None:
    # A child that outlives a harness killed with SIGKILL would keep a display
    # or a tray icon alive; the kernel ends it when the harness goes.
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


class Processes:
    """Every process a scenario starts, ended by its own pid when the scenario ends."""

    def __init__(self) -> None:
        self._started: list[subprocess.Popen] = []

    def start(self, argv: list[str], env: dict, log_path: str, pass_fds=()) -> subprocess.Popen:
        with open(log_path, "ab") as log:
            proc = subprocess.Popen(
                argv,
                env=env,
                stdin=subprocess.DEVNULL,
                stdout=log,
                stderr=subprocess.STDOUT,
                pass_fds=pass_fds,
                preexec_fn=_die_with_parent,
            )
        self._started.append(proc)
        return proc

    def stop(self, proc: subprocess.Popen, grace: float = 5.0) -> None:
        if proc.poll() is None:
            proc.terminate()
            try:
                proc.wait(grace)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait(10)

    def stop_all(self) -> None:
        # Newest first: the program before the tray host, the tray host before the X server.
        for proc in reversed(self._started):
            try:
                self.stop(proc)
            except Exception as error:  # keep cleaning up the others
                print(f"warning: could not stop pid {proc.pid}: {error}")
        self._started.clear()


def has_ended(proc: subprocess.Popen) -> bool:
    return proc.poll() is not None


class Scenario:
    def __init__(self, name: str, run: Callable, doc: Optional[str]) -> None:
        self.name = name
        self.run = run
        self.doc = (doc or "").strip().splitlines()[0] if doc else ""


SCENARIOS: dict[str, Scenario] = {}


def scenario(function: Callable) -> Callable:
    """Registers a scenario under the function's name; it receives a Desktop."""
    SCENARIOS[function.__name__] = Scenario(function.__name__, function, function.__doc__)
    return function
