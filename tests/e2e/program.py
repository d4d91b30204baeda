"""The program under test, started as a user would start it: a fresh copy of the
built program folder, a settings file written beforehand when a scenario needs
one, an optional file on the command line."""

import os
import shutil
import signal
import subprocess
import time

import desktop
from program_files import Settings, write_settings

TITLE_END = "  -  Zentorix"

# What the program writes beside itself: left out of the copy, so that trying
# the program by hand in the build folder changes no scenario.
WRITTEN_BY_PROGRAM = ("Zentorix.ini*", "QuickSave", "Color", "Field", "Rules", "screenshots",
                      "stat.txt", ".*")

# Stands in for the desktop's "open" action: records what the program asked to open.
FAKE_OPENER = """#!/bin/sh
printf '%s\\n' "$*" >> "$(dirname "$0")/opened.txt"
"""


class Program:
    def __init__(self, bin_dir, work, shots, settings=None, settings_lines=(), args=()):
        self.work, self.shots = work, shots
        self.folder = os.path.join(work, "program")
        shutil.copytree(bin_dir, self.folder, ignore=shutil.ignore_patterns(*WRITTEN_BY_PROGRAM))
        self.settings_path = os.path.join(self.folder, "Zentorix.ini")
        if settings is not None:
            write_settings(self.settings_path, settings, settings_lines)
        opener_dir = os.path.join(work, "opener")
        os.makedirs(opener_dir)
        self.opened_path = os.path.join(opener_dir, "opened.txt")
        opener = os.path.join(opener_dir, "xdg-open")
        with open(opener, "w") as f:
            f.write(FAKE_OPENER)
        os.chmod(opener, 0o755)
        runtime = os.path.join(work, "runtime")
        os.makedirs(runtime, mode=0o700)
        env = dict(os.environ)
        env.pop("QT_QPA_PLATFORM", None)  # a real X display, not the tests' offscreen one
        env["PATH"] = opener_dir + os.pathsep + env.get("PATH", "")
        env["XDG_RUNTIME_DIR"] = runtime
        env["HOME"] = work
        self.log = open(os.path.join(shots, "program.log"), "w")
        self.started = time.monotonic()
        self.process = subprocess.Popen(
            [os.path.join(self.folder, "zentorix"), *args],
            cwd=work,
            env=env,
            stdout=self.log,
            stderr=subprocess.STDOUT,
        )
        self.window = desktop.find_window(self.process.pid, TITLE_END, timeout=90)
        self.window.activate()
        self.settle()
        self.shot_count = 0

    def running(self):
        return self.process.poll() is None

    def geometry(self):
        return desktop.wait_for("the window's geometry", self.window.geometry, timeout=10)

    def settle(self, timeout=60):
        """Waits until two screenshots a moment apart are the same."""
        last = [desktop.screenshot()]

        def still():
            time.sleep(0.3)
            now = desktop.screenshot()
            same = now == last[0]
            last[0] = now
            return same

        desktop.wait_for("a still screen", still, timeout, interval=0)
        return last[0]

    def shot(self, label, image=None):
        """A screenshot, kept as a PNG beside the scenario's other pictures."""
        image = image or desktop.screenshot()
        self.shot_count += 1
        image.save_png(os.path.join(self.shots, f"{self.shot_count:02d}-{label}.png"))
        return image

    def wait_closed(self, timeout=30):
        try:
            self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the program did not end within {timeout} s")

    def close(self):
        """Closes the window as the desktop does at log-out (a termination
        signal); the program writes its settings as at any close."""
        self.process.send_signal(signal.SIGTERM)
        self.wait_closed()
        return self.settings()

    def settings(self):
        if not os.path.exists(self.settings_path):
            raise AssertionError("the program wrote no Zentorix.ini")
        return Settings(self.settings_path)

    def other_window(self):
        """A second window of the program large enough to be more than a tooltip,
        or None."""
        done = desktop.xdotool("search", "--onlyvisible", "--pid", self.process.pid, check=False)
        for wid in done.stdout.split():
            window = desktop.Window(wid)
            if wid == str(self.window.wid) or not window.name():
                continue
            geometry = window.geometry()
            if geometry and geometry.width >= 300 and geometry.height >= 200:
                return window
        return None

    def opened(self):
        if not os.path.exists(self.opened_path):
            return []
        with open(self.opened_path) as f:
            return f.read().splitlines()

    def stop(self):
        """Ends a program that is still running after a scenario."""
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()
