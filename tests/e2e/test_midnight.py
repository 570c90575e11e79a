"""Midnight with the program running: the tray icon turns to the new day by
itself. Under faketime the program's clock starts at START and runs at normal
speed; the shared wineserver keeps the real time, which timers depend on."""
import shutil
import time
import unittest

import harness as h
from harness import wait_for

START = "2026-12-31 23:59:50"
TO_MIDNIGHT, TICK = 10.0, 10.0  # seconds to 00:00:00; the program looks this often


@unittest.skipIf(shutil.which("faketime") is None, "faketime is not installed")
class Midnight(h.Case):
    def test_tray_turns_from_the_31st_to_the_1st(self):
        launched = time.monotonic()
        self.start(prefix=("faketime", START))
        spots = wait_for(lambda: h.tray_icons(31), 8, "the 31 in the tray")
        self.assertLess(time.monotonic() - launched, TO_MIDNIGHT, "too slow to see it before")
        wait_for(lambda: h.tray_icons(1) == spots, TO_MIDNIGHT + TICK + 3, "the 1 in its place")
        self.assertGreater(time.monotonic() - launched, TO_MIDNIGHT - 1, "changed before midnight")
        self.assertFalse(h.tray_icons(31), "the 31 is still in the tray")


if __name__ == "__main__":
    h.main()
