"""An X server of its own for the real-window tests: Xvfb on a free display number with openbox managing
it, the programs started on it, what the window manager reports of their windows, and key presses and
clicks through XTest (xdotool). Everything started is stopped by stop_display(), newest first."""

import os
import random
import signal
import subprocess
import time

SCREEN = (1024, 768)


class Failure(Exception):
    pass


def wait_for(what, probe, timeout):
    """Polls probe until it returns something true and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(0.05)


class Display:
    """The display, for programs that run with env. timeout bounds every wait; key_delay is the pause in
    milliseconds between the keys that key() and type() press."""

    def __init__(self, work, env, timeout, key_delay):
        self.work = work
        self.env = env
        self.timeout = timeout
        self.key_delay = str(key_delay)
        self.processes = []

    def start(self):
        """Starts on a display number that nothing else uses; other programs on a shared machine tend to
        take low numbers and may start their own server or window manager there meanwhile."""
        failure = Failure("no free display")
        for _ in range(5):
            number = random.randrange(200, 900)
            if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
                continue
            try:
                self.start_on(number)
                return
            except Failure as error:
                print(f"display :{number}: {error}; trying another")
                failure = error
                self.stop_display()
        raise failure

    def start_on(self, number):
        read_end, write_end = os.pipe()
        # The server writes its display number to the pipe once it takes connections.
        self.spawn(["Xvfb", f":{number}", "-displayfd", str(write_end), "-screen", "0",
                    f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp"], pass_fds=(write_end,))
        os.close(write_end)
        written = b""
        deadline = time.monotonic() + 10
        while not written.endswith(b"\n"):
            chunk = os.read(read_end, 16) if time.monotonic() < deadline else b""
            if not chunk:
                os.close(read_end)
                raise Failure("Xvfb did not start")
            written += chunk
        os.close(read_end)
        self.env["DISPLAY"] = ":" + written.decode().strip()
        self.display_started()

        log_path = os.path.join(self.work, "openbox.log")
        with open(log_path, "w") as log:
            openbox = self.spawn(["openbox", "--sm-disable"], stdout=log, stderr=log)

        def managing():
            if openbox.poll() is not None:
                with open(log_path) as log:
                    raise Failure(f"openbox ended with {openbox.returncode}: {log.read()}")
            return "window id" in self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"])
        wait_for("openbox to manage the screen", managing, timeout=30)

    def display_started(self):
        """What has to run on the display before its window manager starts; nothing here."""

    def spawn(self, command, **options):
        options.setdefault("stdout", subprocess.DEVNULL)
        options.setdefault("stderr", subprocess.DEVNULL)
        process = subprocess.Popen(command, env=self.env, start_new_session=True, **options)
        self.processes.append(process)
        return process

    def run(self, command):
        result = subprocess.run(command, env=self.env, capture_output=True)
        return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else ""

    def stop_display(self):
        """Stops everything started, newest first."""
        for process in reversed(self.processes):
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        for process in reversed(self.processes):
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
        self.processes = []

    # --- what the window manager reports ---

    def frame(self, window):
        """The outer frame (left, top, width, height) and the inner area, as the window manager has them."""
        info = self.run(["xwininfo", "-id", str(window)])
        values = {}
        for line in info.splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        extents = self.run(["xprop", "-id", str(window), "_NET_FRAME_EXTENTS"])
        if "=" not in extents or "Absolute upper-left X" not in values:
            return None
        left, right, top, bottom = (int(part) for part in extents.split("=")[1].split(","))
        x, y = int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"])
        width, height = int(values["Width"]), int(values["Height"])
        return {"outer": (x - left, y - top, width + left + right, height + top + bottom),
                "inner": (x, y, width, height)}

    def settled_frame(self, window):
        """The frame once the window manager has framed the window and it stopped moving."""
        last = [None]

        def probe():
            now = self.frame(window)
            if now and now == last[0]:
                return now
            last[0] = now
            time.sleep(0.1)
            return None
        return wait_for(f"window {window} to settle", probe, self.timeout)

    def active_window(self):
        found = self.run(["xdotool", "getactivewindow"]).strip()
        return int(found) if found else None

    def await_focus(self, window, what):
        """Waits until the window manager has given the window the focus, so that keys go there and
        not to the window that had it a moment before (a closed dialog gives it back only later)."""
        wait_for(f"{what} to have the focus", lambda: self.active_window() == window, self.timeout)

    # --- input ---

    def key(self, *keys):
        self.run(["xdotool", "key", "--delay", self.key_delay, *keys])

    def type(self, text):
        self.run(["xdotool", "type", "--delay", self.key_delay, text])

    def click(self, x, y):
        self.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"])
