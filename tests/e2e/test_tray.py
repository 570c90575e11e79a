"""The tray icon as a person meets it: the day's picture from the start until Quit, turning
to the new day by itself at midnight, a double click to bring the hidden window back, a right
press for the menu, and one About box however often it is asked for. Under faketime the
program's clock starts at START; the shared wineserver keeps the real time, which timers use.
At 125, 150, 175, 200 and 250 % scale (a new desktop each: it reads the DPI as it starts) the
tray shows the picture drawn for 20, 24, 28, 32 and 40 px, as it shows the 16-px one at 100 %
elsewhere; from 125 to 300 % every text of the windows fits its control (the resources test,
run there), and at 175 and 250 % the screen shows each label of the window whole. (How the
pictures get through Wine 8's tray, which cuts their mask short, stands in tray/DayIcons.cpp.)"""
import os
import shutil
import time
from pathlib import Path

import harness as h
from harness import wait_for

START = "2026-12-31 23:59:50"
# DPI, small-icon size, two days: numbers near the page's edges, a one beside its left.
SCALES = ((120, 20, (3, 25)), (144, 24, (11, 30)), (168, 28, (18, 30)), (192, 32, (30,)),
          (240, 40, (18, 30)), (288, 48, ()))  # at 288 the window covers the tray
LOOKED_AT = (168, 240)
TO_MIDNIGHT, TICK = 10.0, 10.0  # seconds to 00:00:00; the program looks this often

QUIT, HELP = 1, 1008
PLANTS = ("wsock32", "uxtheme", "version", "dwmapi", "cryptbase", "propsys", "dnsapi", "iphlpapi")


def tray_menu(x, y):
    """Opens the tray menu with a right press on the icon; returns its rectangle."""
    h.xdo("mousemove", x, y, "sleep", "0.2", "mousedown", 3)
    try:
        return wait_for(lambda: h.visible("#32768"), 5, "the tray menu")[0]["rect"]
    finally:
        h.xdo("mouseup", 3)


def about_from_menu(x, y):
    left, top, right, bottom = tray_menu(x, y)
    h.click(left + 20, top + (bottom - top) * 4 // 9)  # About, below the date and Open


def labels_cut(hwnd):
    """The window's texts that the screen shows cut off: those whose ink, dark on light, meets
    an end of the room it is drawn in (a push button's inside its frame and focus line)."""
    pixels = memoryview(h.screenshot())[-800 * 600 * 3:]
    cut = []
    for c in h.controls(hwnd).values():
        if not c["title"] or c["class"] not in ("Button", "Static"):
            continue
        inset = 4 if c["id"] in (QUIT, 1008, 1009) else 0
        left, top, right, bottom = c["rect"]
        room = range(left + inset, min(right, 800) - inset)
        ink = [x for x in room if any(sum(pixels[(y * 800 + x) * 3:][:3]) < 384
                                      for y in range(top + inset, bottom - inset))]
        if not ink or ink[0] == room[0] or ink[-1] == room[-1]:
            cut.append(c["title"])
    return cut


def about_boxes():
    return [(w["visible"], w["front"], w["hwnd"]) for w in h.probe("windows")
            if (w["class"], w["title"]) == ("#32770", "About Ravelind")]


class Tray(h.Case):
    def test_icon_across_midnight_double_click_menu_about_and_quit(self):
        launched = time.monotonic()
        program = self.start(prefix=("faketime", START))
        place = program.window()[0]["rect"]
        h.click(place[2] - 46, place[1] + 11)  # the minimise button: only the tray icon stays
        wait_for(lambda: not h.visible(pid=program.pid), 5, "the window to hide")
        spots = wait_for(lambda: h.tray_icons(31), 8, "the 31 in the tray")
        self.assertLess(time.monotonic() - launched, TO_MIDNIGHT, "too slow to see it before")
        wait_for(lambda: h.tray_icons(1) == spots, TO_MIDNIGHT + TICK + 3, "the 1 in its place")
        self.assertGreater(time.monotonic() - launched, TO_MIDNIGHT - 1, "changed before midnight")
        self.assertFalse(h.tray_icons(31), "the 31 is still in the tray")
        (x, y), = spots
        h.click(x, y, repeat=2)
        self.assertEqual(program.window(front=True)[0]["rect"], place, "not back in its place")

        # The About box from the tray menu, asked for again while it is open
        # and brought forward by a double click: one, in front.
        for again in (about_from_menu, about_from_menu, lambda x, y: h.click(x, y, 1, 2)):
            again(x, y)
            about = wait_for(lambda: [b for b in about_boxes() if b[1]], 5, "About in front")[0][2]
            self.assertTrue(h.holds(lambda: about_boxes() == [(1, 1, about)]),
                            f"not one About box in front: {about_boxes()}")
        ok = h.controls(about)[1]["rect"]
        h.click((ok[0] + ok[2]) // 2, (ok[1] + ok[3]) // 2)
        wait_for(lambda: not about_boxes(), 5, "the About box to close")

        program.click(QUIT)  # the window answers again, and Quit takes the icon away
        program.process.wait(10)
        wait_for(lambda: not h.tray_icons(1), 5, "the icon to go")

    def test_the_keyboard_opens_a_hidden_window_and_quits_from_the_tray_menu(self):
        """Windows hands Shift+F10 or the Menu key on the icon over as a right press; Wine's
        tray takes no keys, so the mouse opens the menu. With no window manager X gives keys
        to the window under the pointer: it rests on the menu's date line, which does nothing."""
        rv_ini = os.path.join(self.workdir.name, "rv.ini")
        with open(rv_ini, "wb") as f:
            f.write(b"MIN=yes\r\nSYSDATE=kept\r\n")
        program = self.start()
        (x, y), = wait_for(h.tray_icons, 10, "the tray icon")
        self.assertTrue(h.holds(lambda: not h.visible(pid=program.pid)), "a window is showing")
        for key in ("o", "q"):
            left, top = tray_menu(x, y)[:2]
            h.xdo("mousemove", left + 20, top + 8, "sleep", "0.3", "key", key)
            if key == "o":
                program.window(front=True)
        program.process.wait(10)
        with open(rv_ini, "rb") as f:
            self.assertEqual(f.read(), b"CREATOR=Ravelind 1.0\r\nTOOLTIPS=\r\nSTARTUP=\r\n"
                             b"SYSDATE=kept\r\nWEEKLABELS=\r\nMIN=yes\r\n\r\n")
        wait_for(lambda: not h.tray_icons(), 5, "the icon to go")

    def test_picture_drawn_for_the_tray_size_at_other_scales(self):
        self.addCleanup(h.desktop_at, 96)
        for dpi, size, days in SCALES:
            h.desktop_at(dpi)
            self.assertIn("[  PASSED  ] 1 test", h.run("env", f"RAVELIND_TEST_DPI={dpi}", "wine",
                          os.environ["RAVELIND_WIN_TESTS"], "--gtest_filter=ResourcesTest.Texts*"))
            for day in days:
                program = self.start(prefix=("faketime", f"2026-12-{day:02d} 12:00:00"))
                wait_for(lambda: h.tray_icons(day, size), 10, f"the {day} at {size} px")
                if dpi in LOOKED_AT and day == days[0]:
                    h.xdo("mousemove", 300, 520)  # below the window: no hint over it
                    self.assertEqual(labels_cut(program.window()[0]["hwnd"]), [], f"{dpi} DPI")
                program.stop()

    def test_no_dll_planted_beside_the_program_runs(self):
        """DLLs planted beside the program under system DLLs' names, each preferred as Windows
        prefers one that is no Known DLL, run when the probe loads them by name, and never in
        Ravelind: not at its start, nor from the tray menu, About, Help or Quit. (msimg32 is
        left out: Wine's own common controls delay-load it by the search of old, after the
        program limited it to the system folder; Windows resolves delay-loads by that limit.)"""
        folder, names = Path(self.workdir.name), PLANTS
        for built in (h.EXE, h.PROBE, *(Path(h.PROBE).parent / "planted" / f"{n}.dll"
                                        for n in names)):
            shutil.copy(built, folder)
        prefer = ("env", f"WINEDLLOVERRIDES=mscoree,mshtml=;{','.join(names)}=n,b")
        ran = lambda: sorted(mark.name[:-8] for mark in folder.glob("*.dll.ran"))
        h.run(*prefer, "wine", folder / "probe.exe", "load", *(f"{n}.dll" for n in names))
        self.assertEqual(ran(), sorted(names), "a plant that never runs proves nothing")
        for mark in folder.glob("*.ran"):
            mark.unlink()
        program = self.start(exe=folder / "ravelind.exe", prefix=prefer)
        program.window()
        spot = wait_for(h.tray_icons, 10, "the tray icon")[0]
        self.assertEqual(ran(), [], "planted DLLs ran as Ravelind started")
        about_from_menu(*spot)
        ok = h.controls(wait_for(about_boxes, 5, "the About box")[0][2])[1]["rect"]
        h.click((ok[0] + ok[2]) // 2, (ok[1] + ok[3]) // 2)
        wait_for(lambda: not about_boxes(), 5, "the About box to close")
        for button in (HELP, QUIT):
            program.click(button)
        program.process.wait(10)
        self.assertEqual(ran(), [], "planted DLLs ran in Ravelind's menu, About, Help or Quit")

if __name__ == "__main__":
    h.main()
