"""Midnight with the program running: the tray icon turns to the new day by
itself, while the window's own icon keeps the day the program started on.

The program runs under faketime (libfaketime preloaded into the Wine
process): its clock starts at the given moment and runs on at normal speed.
The shared wineserver keeps the real time, which matters only for timer
lengths, and those are the same in both."""
import shutil
import time

import harness as h
from harness import wait_for

START = "2026-12-31 23:59:50"
TO_MIDNIGHT = 10.0  # seconds from the start to 00:00:00
TICK = 10.0         # the program looks at the day this often


def title_icon(image, window, day):
    left, top = window["rect"][:2]
    return h.find_picture(image, h.small_picture(day), (left, top, left + 30, top + 30))


class Midnight(h.Case):
    def setUp(self):
        if shutil.which("faketime") is None:
            self.skipTest("faketime is not installed")
        super().setUp()

    def test_tray_turns_to_the_first_and_the_window_keeps_the_31st(self):
        self.assertFalse(h.tray_icons(31) or h.tray_icons(1), "a day icon is already shown")
        launched = time.monotonic()
        program = self.start(prefix=("faketime", START))
        window = program.wait_shown()

        # Before midnight: the 31st in the tray and on the window.
        spots = wait_for(lambda: h.tray_icons(31), 8, what="the 31 in the tray")
        before = h.screenshot()
        seen_at = time.monotonic() - launched
        self.assertLess(seen_at, TO_MIDNIGHT, "too slow to see the tray before midnight")
        self.keep(before, "before")
        self.assertEqual(len(spots), 1)
        self.assertFalse(h.tray_icons(1, before))
        self.assertTrue(title_icon(before, window, 31), "the window does not show the 31st")

        # After midnight: the 1st within one look at the day.
        deadline = TO_MIDNIGHT + TICK + 3.0 - (time.monotonic() - launched)
        turned = wait_for(lambda: h.tray_icons(1), max(deadline, 1.0), interval=0.5,
                          what="the 1 in the tray after midnight")
        turned_at = time.monotonic() - launched
        after = h.screenshot()
        self.keep(after, "after")
        self.assertGreaterEqual(turned_at, TO_MIDNIGHT - 1.0, "the icon changed before midnight")
        self.assertEqual(turned, spots, "the new icon is not where the old one was")
        self.assertFalse(h.tray_icons(31, after), "the 31 is still in the tray")

        window = program.window()
        self.assertTrue(window["visible"])
        self.assertTrue(title_icon(after, window, 31), "the window's icon changed")
        self.assertFalse(title_icon(after, window, 1))


if __name__ == "__main__":
    h.main()
