"""The tray at 100, 125 and 150 % display scale: the notification area shows small icons
of 16, 20 and 24 px, and Ravelind hands it the day's picture drawn for that size, which
it shows pixel for pixel. The desktop reads the DPI when it starts: each scale gets a
new one.

Wine 8's shell passes an icon's mask to its notification area with the rows packed,
though the bitmap's rows are padded to 16 bits: at 20 and 24 px the last rows of any
program's tray icon come out wrong on its screen. Only the rows that arrive whole are
compared here; the window test sees the whole picture handed to the shell."""
import harness as h
from harness import wait_for

SCALES = ((96, 16, (8, 18)), (120, 20, (3, 25)), (144, 24, (11, 30)))  # DPI, size, days


class Scale(h.Case):
    def test_tray_shows_the_picture_drawn_for_its_size(self):
        self.addCleanup(h.desktop_at, 96)
        for dpi, size, days in SCALES:
            h.desktop_at(dpi)
            for day in days:
                program = self.start(prefix=("faketime", f"2026-12-{day:02d} 12:00:00"))
                whole = size * size // 8 // ((size + 15) // 16 * 2)  # mask rows that arrive whole
                wait_for(lambda: h.tray_icons(day, size, whole), 10,
                         f"the {day} at {size} px, {dpi} DPI")
                program.stop()


if __name__ == "__main__":
    h.main()
