"""Shared pieces of the end-to-end suites, in the Wine desktop scripts/test.sh sets up: start
Ravelind, see the screen and the windows (through the probe), drive the mouse with xdotool,
keep a screenshot of every failed case."""
import datetime
import json
import os
import subprocess
import sys
import tempfile
import time
import unittest

EXE, PROBE = os.environ.get("RAVELIND_EXE", ""), os.environ.get("RAVELIND_PROBE", "")
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(SOURCE, "tools"))
import iconforge  # noqa: E402  (from the source tree, beside the pictures it draws)

DRAWINGS = iconforge.read_drawings(os.path.join(SOURCE, "res", "icons"))


def wait_for(condition, timeout, what):
    """Polls condition() until it returns something true; returns that value."""
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() >= deadline:
            raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(0.2)
    return value


def holds(condition, duration=1.5):
    """True when condition() stays true for the whole duration."""
    deadline = time.monotonic() + duration
    while condition():
        if time.monotonic() >= deadline:
            return True
        time.sleep(0.25)
    return False


def run(*args):
    """Runs a command line and returns its output, through a file: a Wine
    process it starts would keep a pipe open."""
    with tempfile.TemporaryFile() as out:
        subprocess.run(list(map(str, args)), stdout=out, stderr=subprocess.DEVNULL,
                       stdin=subprocess.DEVNULL, timeout=60)
        out.seek(0)
        return out.read().decode(errors="replace")


def probe(*args):
    return [json.loads(line) for line in run("wine", PROBE, *args).splitlines()]


def visible(cls=None, title=None, pid=None):
    """The visible top-level windows of the given class, title and process."""
    return [w for w in probe("windows") if w["visible"] and cls in (None, w["class"])
            and title in (None, w["title"]) and pid in (None, w["pid"])]


def calendars():
    return [w for w in probe("windows") if (w["class"], w["title"]) == ("#32770", "Ravelind")]


def controls(hwnd):
    return {c["id"]: c for c in probe("controls", hwnd)}


def click(x, y, button=1, repeat=1):
    xdo("mousemove", x, y, "sleep", "0.15", "click", "--repeat", repeat, "--delay", 80, button)


def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True, timeout=30)


def screenshot():
    """The Wine desktop as a person sees it, as PPM."""
    return subprocess.run(["import", "-silent", "-window", "root", "-crop", "800x600+0+0", "+repage",
                           "-depth", "8", "ppm:-"], capture_output=True, check=True, timeout=30).stdout


def picture(day, size):
    """The opaque pixels of the day's picture drawn for size px, as iconforge draws it from
    the source tree's res/icons and the screen shows it: (offset in a 800-px wide RGB screen,
    colour)."""
    drawn = iconforge.day_picture(day, *DRAWINGS[size])
    return [((y * 800 + x) * 3, bytes(iconforge.VGA_PALETTE[i])) for y, row in enumerate(drawn)
            for x, i in enumerate(row) if i != iconforge.LIGHT_GREY]


def tray_icons(day=None, size=16):
    """Where the notification area, at the desktop's bottom right, shows the day's
    (today's) picture for size px, pixel for pixel."""
    opaque = picture(day or datetime.date.today().day, size)
    pixels = memoryview(screenshot())[-800 * 600 * 3:]  # slices without copies
    return [(left + size // 2, top + size // 2) for top in range(520, 600 - size)
            for left in range(480, 800 - size)
            if all(pixels[(top * 800 + left) * 3 + i:][:3] == c for i, c in opaque)]


def desktop_at(dpi):
    """Ends the prefix's programs and desktop; the next ones start at `dpi` (LogPixels)."""
    key = r"HKCU\Control Panel\Desktop"
    run("wineserver", "-k")
    run("wine", "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", dpi, "/f")
    run("wineserver", "-w")
    run("wineserver", "-p")
    # Start the new server's services (they keep a program's output open as long as they live)
    # here, into nothing; and hold the desktop open: it closes a moment after its last program
    # ends, and a program started just then ends with it.
    run("wine", "reg", "query", key)
    subprocess.Popen(["wine", PROBE, "hold"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class Program:
    """One running ravelind.exe, started in a working directory."""

    def __init__(self, workdir, exe=EXE, prefix=()):
        before = {w["hwnd"] for w in calendars()}
        self.process = subprocess.Popen([*prefix, "wine", exe], cwd=workdir,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        new = wait_for(lambda: [w for w in calendars() if w["hwnd"] not in before]
                       or self.process.poll() is not None, 20, "the calendar window")
        assert new is not True, "ravelind ended at once"
        self.hwnd, self.pid = new[0]["hwnd"], new[0]["pid"]

    def window(self, front=False):
        """Waits for the calendar window to show (and be in front)."""
        return wait_for(lambda: [w for w in visible(pid=self.pid) if w["hwnd"] == self.hwnd
                                 and (w["front"] or not front)], 10, f"the window (front: {front})")

    def click(self, control_id, dx=None):
        """Clicks a control: in its middle, or dx from its left end."""
        left, top, right, bottom = controls(self.hwnd)[control_id]["rect"]
        click((left + right) // 2 if dx is None else left + dx, (top + bottom) // 2)

    def stop(self):
        """Ends the program: politely, so that its tray icon goes too, then by force."""
        if self.process.poll() is None:
            probe("close", self.hwnd)
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()


class Case(unittest.TestCase):
    """A case with its own working directory, programs stopped at the end and
    a screenshot kept when it fails."""

    def setUp(self):
        self.workdir = tempfile.TemporaryDirectory(prefix="ravelind-e2e-")
        self.addCleanup(self.workdir.cleanup)
        self.programs = []
        xdo("mousemove", 600, 300)  # an empty spot of the desktop

    def start(self, workdir=None, **kw):
        self.programs.append(Program(workdir or self.workdir.name, **kw))
        return self.programs[-1]

    def tearDown(self):
        result = self._outcome.result
        if any(test is self for test, _ in result.failures + result.errors):
            os.makedirs(path := os.environ["RAVELIND_ARTIFACTS"], exist_ok=True)
            subprocess.run(["convert", "ppm:-", f"{path}/FAILED-{self._testMethodName}.png"],
                           input=screenshot(), timeout=30)
        for program in self.programs:
            program.stop()


def main():
    assert os.environ.get("WINEPREFIX") and PROBE, "run through scripts/test.sh -L e2e"
    unittest.main(verbosity=2)
