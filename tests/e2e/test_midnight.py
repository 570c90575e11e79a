"""Midnight with the program running: the tray icon turns to the new day by
itself, the window's own icon keeps the day the program started on. Under
faketime the program's clock starts at START and runs at normal speed; the
shared wineserver keeps the real time, which only timer lengths depend on."""
import shutil
import time
import unittest

import harness as h
from harness import wait_for

START = "2026-12-31 23:59:50"
TO_MIDNIGHT = 10.0  # seconds from the start to 00:00:00
TICK = 10.0         # the program looks at the day this often


@unittest.skipIf(shutil.which("faketime") is None, "faketime is not installed")
class Midnight(h.Case):
    def test_tray_turns_to_the_first_and_the_window_keeps_the_31st(self):
        self.assertFalse(h.tray_icons(31) or h.tray_icons(1), "a day icon is already shown")
        launched = time.monotonic()
        program = self.start(prefix=("faketime", START))
        window = program.wait_window()

        # Before midnight: the 31st in the tray and on the window.
        spots = wait_for(lambda: h.tray_icons(31), 8, what="the 31 in the tray")
        before = h.Screenshot()
        self.assertLess(time.monotonic() - launched, TO_MIDNIGHT, "too slow to see it before")
        self.keep(before, "before")
        self.assertEqual((len(spots), h.tray_icons(1, before)), (1, []))
        self.assertTrue(h.title_icon(before, window, 31), "the window does not show the 31st")

        # After midnight: the 1st within one look at the day.
        deadline = TO_MIDNIGHT + TICK + 3.0 - (time.monotonic() - launched)
        turned = wait_for(lambda: h.tray_icons(1), max(deadline, 1.0), interval=0.5,
                          what="the 1 in the tray after midnight")
        self.assertGreaterEqual(time.monotonic() - launched, TO_MIDNIGHT - 1.0,
                                "the icon changed before midnight")
        after = h.Screenshot()
        self.keep(after, "after")
        self.assertEqual(turned, spots, "the new icon is not where the old one was")
        self.assertFalse(h.tray_icons(31, after), "the 31 is still in the tray")

        window = program.wait_window(timeout=1)
        self.assertTrue(h.title_icon(after, window, 31), "the window's icon changed")
        self.assertFalse(h.title_icon(after, window, 1))


if __name__ == "__main__":
    h.main()
