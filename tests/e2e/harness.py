"""Shared pieces of the end-to-end suites: start Ravelind under Wine, look at
the screen and at the windows (through the probe), drive mouse and keyboard
(xdotool), and keep a screenshot of every failed case.

The suites run inside the environment scripts/test.sh sets up: one Wine
prefix, one 800x600 Wine virtual desktop at 0,0 of the X display.
"""
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
ICON_DIR = os.path.join(os.path.dirname(EXE), "icons") if EXE else ""

DESKTOP_W, DESKTOP_H = 800, 600
RUN_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
MAIN_CLASS = "#32770"
MAIN_TITLE = "Ravelind"


def wait_for(condition, timeout=10.0, interval=0.2, what="condition"):
    """Polls condition() until it returns something true; returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def holds(condition, duration=1.5, interval=0.25):
    """True when condition() stays true for the whole duration."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        if not condition():
            return False
        time.sleep(interval)
    return bool(condition())


# ---------------------------------------------------------------- the probe

def probe(*args, check=True):
    # Output goes through a file, not a pipe: when the probe is the one that
    # starts Wine's desktop process, that process inherits the probe's handles
    # and would hold a pipe open for as long as it runs.
    with tempfile.TemporaryFile() as out:
        run = subprocess.run(["wine", PROBE, *map(str, args)], stdout=out,
                             stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=30)
        out.seek(0)
        text = out.read().decode()
    if check and run.returncode != 0:
        raise RuntimeError(f"probe {args} failed ({run.returncode})")
    return [json.loads(line) for line in text.splitlines() if line.startswith("{")]


def windows():
    return probe("windows")


def controls(hwnd):
    return {c["id"]: c for c in probe("controls", hwnd)}


def center(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


# ---------------------------------------------------------------- the wine side

def wine(*args):
    """Runs a Wine command line program; returns (exit code, output)."""
    with tempfile.TemporaryFile() as out:  # a file, for the reason given at probe()
        run = subprocess.run(["wine", *args], stdout=out, stderr=subprocess.DEVNULL,
                             stdin=subprocess.DEVNULL, timeout=60)
        out.seek(0)
        return run.returncode, out.read().decode(errors="replace")


def windows_path(linux_path):
    with tempfile.TemporaryFile() as out:
        subprocess.run(["winepath", "-w", linux_path], stdout=out, stderr=subprocess.DEVNULL,
                       timeout=30, check=True)
        out.seek(0)
        return out.read().decode().strip()


def run_value():
    """The Ravelind value under the Run key, or None."""
    code, out = wine("reg", "query", RUN_KEY, "/v", "Ravelind")
    if code != 0:
        return None
    for line in out.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) == 3 and parts[0] == "Ravelind" and parts[1] == "REG_SZ":
            return parts[2]
    return None


def delete_run_value():
    wine("reg", "delete", RUN_KEY, "/v", "Ravelind", "/f")


# ---------------------------------------------------------------- mouse and keys

def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True, timeout=30)


def click(x, y, button=1):
    xdo("mousemove", x, y, "sleep", "0.15", "click", button)


def double_click(x, y):
    xdo("mousemove", x, y, "sleep", "0.15", "click", "--repeat", 2, "--delay", 80, 1)


def key(name):
    xdo("key", name)


def park_mouse():
    """Moves the pointer to an empty spot of the desktop."""
    xdo("mousemove", 600, 300)


# ---------------------------------------------------------------- pictures

class Image:
    """An RGB picture: rows of (r, g, b) tuples."""

    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    def at(self, x, y):
        return self.pixels[y][x]

    def crop(self, x, y, w, h):
        return Image(w, h, [row[x:x + w] for row in self.pixels[y:y + h]])

    def differing(self, other):
        """How many pixels differ from another picture of the same size."""
        return sum(a != b for r1, r2 in zip(self.pixels, other.pixels) for a, b in zip(r1, r2))

    def save(self, path):
        header = f"P6 {self.width} {self.height} 255\n".encode()
        data = b"".join(bytes(c for px in row for c in px) for row in self.pixels)
        subprocess.run(["convert", "ppm:-", path], input=header + data, check=True, timeout=30)


def _ppm(data):
    parts = data.split(maxsplit=4)
    width, height = int(parts[1]), int(parts[2])
    body = parts[4]
    rows = []
    for y in range(height):
        line = body[y * width * 3:(y + 1) * width * 3]
        rows.append([tuple(line[i:i + 3]) for i in range(0, len(line), 3)])
    return Image(width, height, rows)


def screenshot():
    """The Wine desktop as a person sees it."""
    data = subprocess.run(
        ["import", "-silent", "-window", "root", "-crop", f"{DESKTOP_W}x{DESKTOP_H}+0+0",
         "+repage", "-depth", "8", "ppm:-"], capture_output=True, check=True, timeout=30).stdout
    return _ppm(data)


def load_day_icon(day):
    """The generated 32x32 4bpp day icon: rows of (r, g, b) or None (transparent)."""
    with open(os.path.join(ICON_DIR, f"day{day:02d}.ico"), "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 6 + 12)[0]
    header_size, width, height2, _, bpp = struct.unpack_from("<IiiHH", data, offset)
    assert (width, height2, bpp) == (32, 64, 4), "day icons are 32x32, 16 colours"
    palette_at = offset + header_size
    palette = [tuple(reversed(data[palette_at + 4 * i:palette_at + 4 * i + 3])) for i in range(16)]
    xor_at = palette_at + 64
    and_at = xor_at + 32 * 16
    rows = []
    for y in range(32):
        src = 31 - y  # bottom-up
        xor_row = data[xor_at + src * 16:xor_at + src * 16 + 16]
        and_row = data[and_at + src * 4:and_at + src * 4 + 4]
        row = []
        for x in range(32):
            index = (xor_row[x // 2] >> (4 if x % 2 == 0 else 0)) & 0xF
            transparent = (and_row[x // 8] >> (7 - x % 8)) & 1
            row.append(None if transparent else palette[index])
        rows.append(row)
    return rows


def small_picture(day):
    """The day icon as the shell shows it at 16x16: every other pixel, as Wine scales it."""
    big = load_day_icon(day)
    return [[big[2 * y][2 * x + 1] for x in range(16)] for y in range(16)]


def likeness(image, x, y, picture):
    """Share of the picture's opaque pixels that the image has at x, y."""
    same = total = 0
    for dy, row in enumerate(picture):
        line = image.pixels[y + dy]
        for dx, colour in enumerate(row):
            if colour is None:
                continue
            total += 1
            if line[x + dx] == colour:
                same += 1
    return same / total if total else 0.0


def find_picture(image, picture, area, threshold=0.95):
    """Places (x, y) in area (x0, y0, x1, y1) where the picture is shown."""
    x0, y0, x1, y1 = area
    size = len(picture)
    hits = []
    for y in range(y0, y1 - size + 1):
        for x in range(x0, x1 - size + 1):
            if likeness(image, x, y, picture) >= threshold:
                if not any(abs(x - hx) < size and abs(y - hy) < size for hx, hy in hits):
                    hits.append((x, y))
    return hits


def taskbar_rect():
    for w in windows():
        if w["class"] == "Shell_TrayWnd":
            return w["rect"]
    raise AssertionError("no task bar on the Wine desktop")


def tray_area():
    """The right part of the task bar, where the notification area is."""
    left, top, right, bottom = taskbar_rect()
    return (max(left, right - 240), top, right, bottom)


def tray_icons(day, image=None):
    """Where the tray shows the day's icon, left to right."""
    image = image or screenshot()
    return sorted(find_picture(image, small_picture(day), tray_area()))


# ---------------------------------------------------------------- the program

class Program:
    """One running ravelind.exe, started in a working directory."""

    def __init__(self, workdir, exe=None, prefix=(), env=None):
        self.workdir = workdir
        before = {w["hwnd"] for w in windows() if self._is_main(w)}
        self.process = subprocess.Popen([*prefix, "wine", exe or EXE], cwd=workdir,
                                        env={**os.environ, **(env or {})},
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def new_main():
            if self.process.poll() is not None:
                raise AssertionError(f"ravelind ended at once ({self.process.returncode})")
            found = [w for w in windows() if self._is_main(w) and w["hwnd"] not in before]
            return found[0] if found else None

        try:
            first = wait_for(new_main, 20, what="the calendar window")
        except BaseException:
            self.process.kill()
            self.process.wait(5)
            raise
        self.hwnd, self.pid = first["hwnd"], first["pid"]

    @staticmethod
    def _is_main(w):
        return w["class"] == MAIN_CLASS and w["title"] == MAIN_TITLE

    def window(self):
        """The calendar window's current state, or None once it is gone."""
        for w in windows():
            if w["hwnd"] == self.hwnd:
                return w
        return None

    def own_windows(self, cls=None):
        return [w for w in windows() if w["pid"] == self.pid and (cls is None or w["class"] == cls)]

    def controls(self):
        return controls(self.hwnd)

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=10):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("ravelind did not end") from None

    def wait_shown(self, timeout=10):
        return wait_for(lambda: (lambda w: w if w and w["visible"] else None)(self.window()),
                        timeout, what="the calendar window to show")

    def wait_hidden(self, timeout=10):
        return wait_for(lambda: (lambda w: w and not w["visible"])(self.window()),
                        timeout, what="the calendar window to hide")

    def title_point(self, button):
        """Screen point of a title-bar button: 'close' or 'minimize'."""
        left, top, right, _ = self.window()["rect"]
        return {"close": (right - 14, top + 11), "minimize": (right - 46, top + 11)}[button]

    def focus(self):
        """Clicks the title bar (not on a control), so keys reach the window."""
        left, top, right, _ = self.window()["rect"]
        click(left + 120, top + 11)
        wait_for(lambda: (self.window() or {}).get("foreground"), 5,
                 what="the calendar window in front")

    def stop(self):
        """Ends the program (cleanup): politely first, so that its tray icon
        goes too (the tray keeps the icons of killed programs), then by force."""
        if not self.running():
            return
        probe("close", self.hwnd, check=False)
        try:
            self.process.wait(4)
            return
        except subprocess.TimeoutExpired:
            pass
        probe("terminate", self.pid, check=False)
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait(5)


# ---------------------------------------------------------------- test cases

class Case(unittest.TestCase):
    """A case with its own working directory, programs stopped at the end and
    a screenshot kept when it fails."""

    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="ravelind-e2e-")
        self.programs = []
        self.final_shot = None
        park_mouse()

    def start(self, workdir=None, **kw):
        program = Program(workdir or self.workdir, **kw)
        self.programs.append(program)
        return program

    def tearDown(self):
        try:
            self.final_shot = screenshot()
        except Exception:  # a missing picture must not hide the real result
            self.final_shot = None
        for program in self.programs:
            program.stop()
        shutil.rmtree(self.workdir, ignore_errors=True)

    def keep(self, image, name):
        """Saves a picture among the artifacts (to look at by hand)."""
        if ARTIFACTS:
            os.makedirs(ARTIFACTS, exist_ok=True)
            image.save(os.path.join(ARTIFACTS, f"{self.id().split('.')[-1]}-{name}.png"))


class _KeepFailures(unittest.TextTestResult):
    def _keep(self, test):
        image = getattr(test, "final_shot", None)
        if image is not None and ARTIFACTS:
            os.makedirs(ARTIFACTS, exist_ok=True)
            path = os.path.join(ARTIFACTS, f"FAILED-{test.id()}.png")
            image.save(path)
            self.stream.writeln(f"screenshot: {path}")

    def addFailure(self, test, err):
        super().addFailure(test, err)
        self._keep(test)

    def addError(self, test, err):
        super().addError(test, err)
        self._keep(test)


def main():
    missing = [n for n in ("RAVELIND_EXE", "RAVELIND_PROBE", "DISPLAY", "WINEPREFIX")
               if not os.environ.get(n)]
    if missing:
        sys.exit("run through scripts/test.sh -L e2e (missing: " + ", ".join(missing) + ")")
    unittest.main(testRunner=unittest.TextTestRunner(resultclass=_KeepFailures, verbosity=2))
