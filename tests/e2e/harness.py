"""Shared pieces of the end-to-end suites, run in the one Wine prefix and the
800x600 virtual desktop (at 0,0 of the X display) scripts/test.sh sets up:
start Ravelind, look at the screen and the windows (through the probe), drive
mouse and keys with xdotool, keep a screenshot of every failed case."""
import datetime
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest

EXE = os.environ.get("RAVELIND_EXE", "")
PROBE = os.environ.get("RAVELIND_PROBE", "")
ARTIFACTS = os.environ.get("RAVELIND_ARTIFACTS", "")
DESKTOP_W, DESKTOP_H = 800, 600
RUN_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run"


def today():
    return datetime.date.today().day


def wait_for(condition, timeout=10.0, interval=0.2, what="condition"):
    """Polls condition() until it returns something true; returns that value."""
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() >= deadline:
            raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)
    return value


def holds(condition, duration=1.5, interval=0.25):
    """True when condition() stays true for the whole duration."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        if not condition():
            return False
        time.sleep(interval)
    return bool(condition())


def run(*args, timeout=60):
    """Runs a command line; returns (exit code, output). The output goes through
    a file, not a pipe: when the command is the one that starts Wine's desktop
    process, that process inherits its handles and would hold a pipe open."""
    with tempfile.TemporaryFile() as out:
        code = subprocess.run(list(map(str, args)), stdout=out, stderr=subprocess.DEVNULL,
                              stdin=subprocess.DEVNULL, timeout=timeout).returncode
        out.seek(0)
        return code, out.read().decode(errors="replace")


def probe(*args, check=True):
    code, text = run("wine", PROBE, *args, timeout=30)
    if check and code != 0:
        raise RuntimeError(f"probe {args} failed ({code})")
    return [json.loads(line) for line in text.splitlines() if line.startswith("{")]


def windows():
    return probe("windows")


def visible(cls=None, title=None, pid=None):
    """The visible top-level windows, of the given class, title and process."""
    return [w for w in windows() if w["visible"] and cls in (None, w["class"])
            and title in (None, w["title"]) and pid in (None, w["pid"])]


def controls(hwnd):
    return {c["id"]: c for c in probe("controls", hwnd)}


def center(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


def run_value():
    """The Ravelind value under the Run key, or None."""
    out = run("wine", "reg", "query", RUN_KEY, "/v", "Ravelind")[1]
    return next((p[2] for p in (line.strip().split(None, 2) for line in out.splitlines())
                 if len(p) == 3 and p[:2] == ["Ravelind", "REG_SZ"]), None)


def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True, timeout=30)


def click(x, y, button=1, repeat=1):
    xdo("mousemove", x, y, "sleep", "0.15", "click", "--repeat", repeat, "--delay", 80, button)


def park_mouse():
    xdo("mousemove", 600, 300)  # an empty spot of the desktop


class Screenshot:
    """The Wine desktop as a person sees it: rows of (r, g, b) tuples."""

    def __init__(self):
        self.ppm = subprocess.run(
            ["import", "-silent", "-window", "root", "-crop", f"{DESKTOP_W}x{DESKTOP_H}+0+0",
             "+repage", "-depth", "8", "ppm:-"], capture_output=True, check=True, timeout=30).stdout
        width, height = map(int, self.ppm.split(maxsplit=3)[1:3])
        body = self.ppm[-width * height * 3:]
        self.rows = [[tuple(body[i:i + 3]) for i in range(y * width * 3, (y + 1) * width * 3, 3)]
                     for y in range(height)]

    def save(self, name):
        os.makedirs(ARTIFACTS or ".", exist_ok=True)
        path = os.path.join(ARTIFACTS, name + ".png")
        subprocess.run(["convert", "ppm:-", path], input=self.ppm, check=True, timeout=30)
        return path


def small_icon(day):
    """The day's generated 32x32 4bpp icon as the shell shows it at 16x16: every
    other pixel, as Wine scales it. Rows of (r, g, b), None where transparent."""
    with open(os.path.join(os.path.dirname(EXE), "icons", f"day{day:02d}.ico"), "rb") as f:
        data = f.read()
    at = struct.unpack_from("<I", data, 18)[0]
    size, width, height2, _, bpp = struct.unpack_from("<IiiHH", data, at)
    assert (width, height2, bpp) == (32, 64, 4), "day icons are 32x32, 16 colours"
    palette = [tuple(reversed(data[at + size + 4 * i:at + size + 4 * i + 3])) for i in range(16)]
    xor_at = at + size + 64
    and_at = xor_at + 32 * 16

    def pixel(x, row):  # rows are stored bottom-up
        if data[and_at + row * 4 + x // 8] >> (7 - x % 8) & 1:
            return None
        return palette[data[xor_at + row * 16 + x // 2] >> (0 if x % 2 else 4) & 0xF]
    return [[pixel(2 * x + 1, 31 - 2 * y) for x in range(16)] for y in range(16)]


def find_picture(image, picture, area, threshold=0.95):
    """Places (x, y) in area (x0, y0, x1, y1) showing the picture's opaque pixels."""
    x0, y0, x1, y1 = area
    size = len(picture)
    opaque = [(dx, dy, c) for dy, row in enumerate(picture) for dx, c in enumerate(row)
              if c is not None]
    hits = []
    for y in range(y0, y1 - size + 1):
        for x in range(x0, x1 - size + 1):
            same = sum(image.rows[y + dy][x + dx] == c for dx, dy, c in opaque)
            if same >= threshold * len(opaque) and not any(
                    abs(x - hx) < size and abs(y - hy) < size for hx, hy in hits):
                hits.append((x, y))
    return hits


def taskbar_rect():
    return next(w["rect"] for w in windows() if w["class"] == "Shell_TrayWnd")


def tray_icons(day, image=None):
    """Where the notification area (the task bar's right end) shows the day's icon."""
    left, top, right, bottom = taskbar_rect()
    area = (max(left, right - 240), top, right, bottom)
    return sorted(find_picture(image or Screenshot(), small_icon(day), area))


def title_icon(image, window, day):
    """Whether the window's title bar shows the day's icon."""
    left, top = window["rect"][:2]
    return bool(find_picture(image, small_icon(day), (left, top, left + 30, top + 30)))


class Program:
    """One running ravelind.exe, started in a working directory."""

    def __init__(self, workdir, exe=None, prefix=()):
        mains = lambda: [w for w in windows() if (w["class"], w["title"]) == ("#32770", "Ravelind")]
        before = {w["hwnd"] for w in mains()}
        self.process = subprocess.Popen([*prefix, "wine", exe or EXE], cwd=workdir,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def new_main():
            if self.process.poll() is not None:
                raise AssertionError(f"ravelind ended at once ({self.process.returncode})")
            return next((w for w in mains() if w["hwnd"] not in before), None)
        try:
            first = wait_for(new_main, 20, what="the calendar window")
        except BaseException:
            self.process.kill()
            self.process.wait(5)
            raise
        self.hwnd, self.pid = first["hwnd"], first["pid"]

    def window(self):
        """The calendar window's current state, or None once it is gone."""
        return next((w for w in windows() if w["hwnd"] == self.hwnd), None)

    def wait_window(self, shown=True, front=False, timeout=10):
        """Waits for the calendar window to be shown (or hidden), maybe in front."""
        return wait_for(lambda: (w := self.window()) and w["visible"] == shown
                        and (w["foreground"] or not front) and w, timeout,
                        what=f"the calendar window (shown={shown}, front={front})")

    def running(self):
        return self.process.poll() is None

    def wait_exit(self):
        return self.process.wait(10)

    def title_point(self, button):
        """Screen point of a title-bar button: 'close' or 'minimize'."""
        _, top, right, _ = self.window()["rect"]
        return (right - {"close": 14, "minimize": 46}[button], top + 11)

    def focus(self):
        """Clicks the title bar (not on a control), so keys reach the window."""
        left, top = self.window()["rect"][:2]
        click(left + 120, top + 11)
        self.wait_window(front=True, timeout=5)

    def quit(self):
        click(*center(controls(self.hwnd)[1]["rect"]))

    def stop(self):
        """Ends the program (cleanup): politely first, so that its tray icon
        goes too (the tray keeps the icons of killed programs), then by force."""
        for end in (lambda: probe("close", self.hwnd, check=False),
                    lambda: probe("terminate", self.pid, check=False), self.process.kill):
            if self.running():
                end()
                try:
                    self.process.wait(5)
                except subprocess.TimeoutExpired:
                    pass


class Case(unittest.TestCase):
    """A case with its own working directory, programs stopped at the end and
    a screenshot kept when it fails."""

    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="ravelind-e2e-")
        self.addCleanup(shutil.rmtree, self.workdir, ignore_errors=True)
        self.programs = []
        park_mouse()

    def start(self, workdir=None, **kw):
        self.programs.append(Program(workdir or self.workdir, **kw))
        return self.programs[-1]

    def keep(self, image, name):
        image.save(f"{self.id().split('.')[-1]}-{name}")

    def tearDown(self):
        try:
            self.final_shot = Screenshot()
        except Exception:  # a missing picture must not hide the real result
            self.final_shot = None
        for program in self.programs:
            program.stop()


class _KeepFailures(unittest.TextTestResult):
    def stopTest(self, test):
        super().stopTest(test)
        failed = any(t is test for t, _ in self.failures + self.errors)
        if failed and getattr(test, "final_shot", None):
            self.stream.writeln(f"screenshot: {test.final_shot.save(f'FAILED-{test.id()}')}")


def main():
    if not all(map(os.environ.get, ("RAVELIND_EXE", "RAVELIND_PROBE", "DISPLAY", "WINEPREFIX"))):
        sys.exit("run through scripts/test.sh -L e2e")
    unittest.main(testRunner=unittest.TextTestRunner(resultclass=_KeepFailures, verbosity=2))
