"""The tray icon and the calendar window as a person meets them: the day's
icon in the notification area, no task-bar button, double click to bring the
window back, right press for the menu, and the ways to end the program."""
import datetime
import os

import harness as h
from harness import wait_for, holds


def today():
    return datetime.date.today().day


def icon_count(image=None):
    return len(h.tray_icons(today(), image))


class TrayIconPresence(h.Case):
    def test_day_icon_appears_with_its_tip(self):
        self.assertEqual(icon_count(), 0, "a day icon was in the tray before the start")
        program = self.start()
        program.wait_shown()
        spots = wait_for(lambda: h.tray_icons(today()), 10, what="today's icon in the tray")
        self.assertEqual(len(spots), 1)
        self.keep(h.screenshot(), "started")

        # Resting on the icon shows the tip "Ravelind".
        x, y = spots[0]
        h.xdo("mousemove", x + 8, y + 8)
        tip = wait_for(lambda: [w for w in h.windows() if w["class"] == "tooltips_class32"
                                and w["visible"]], 6, what="the tray icon's tip")
        self.assertEqual([w["title"] for w in tip], ["Ravelind"])

    def test_window_has_no_task_bar_button(self):
        program = self.start()
        window = program.wait_shown()
        wait_for(lambda: h.tray_icons(today()), 10, what="today's icon in the tray")
        # Owned by an invisible window, so the shell gives it no button.
        self.assertFalse(window["taskbar"])
        owner = [w for w in h.windows() if w["hwnd"] == window["owner"]]
        self.assertEqual(len(owner), 1, "the calendar window has no owner")
        self.assertFalse(owner[0]["visible"])

        # What a person sees: the task bar left of the notification area looks
        # the same with the window shown as with it hidden.
        left, top, _, bottom = h.taskbar_rect()
        strip = (left, top, h.tray_area()[0] - left, bottom - top)
        shown = h.screenshot()
        h.click(*program.title_point("minimize"))
        program.wait_hidden()
        hidden = h.screenshot()
        self.keep(shown, "shown")
        self.assertEqual(shown.crop(*strip).differing(hidden.crop(*strip)), 0,
                         "the task bar changes with the window: it has a button")


class BringingBack(h.Case):
    def test_minimise_hides_and_double_click_restores_in_front(self):
        program = self.start()
        shown = program.wait_shown()
        spot = wait_for(lambda: h.tray_icons(today()), 10, what="today's icon")[0]
        h.click(*program.title_point("minimize"))
        program.wait_hidden()
        image = h.screenshot()
        self.assertEqual(icon_count(image), 1, "the tray icon went with the window")
        title_area = (shown["rect"][0], shown["rect"][1], shown["rect"][0] + 30,
                      shown["rect"][1] + 30)
        self.assertFalse(h.find_picture(image, h.small_picture(today()), title_area),
                         "the window is still drawn")

        h.double_click(spot[0] + 8, spot[1] + 8)
        back = program.wait_shown()
        back = wait_for(lambda: (lambda w: w if w["foreground"] else None)(program.window()), 5,
                        what="the window in the foreground")
        self.assertFalse(back["iconic"])
        self.assertEqual(back["rect"], shown["rect"], "not back in its normal place")
        # On top: its title-bar icon is really drawn where the window is.
        self.assertTrue(h.find_picture(h.screenshot(), h.small_picture(today()), title_area))

    def test_double_click_brings_a_covered_window_to_the_front(self):
        first = self.start()
        first.wait_shown()
        second = self.start(workdir=self.workdir)  # a second copy covers the first
        wait_for(lambda: (second.window() or {}).get("foreground"), 10,
                 what="the second copy in front")
        self.assertFalse(first.window()["foreground"])
        spots = wait_for(lambda: (lambda s: s if len(s) == 2 else None)(h.tray_icons(today())),
                         10, what="two tray icons")
        # Whichever copy owns an icon, double-clicking each brings its own
        # window in front; after both, each copy has been in front once.
        fronts = set()
        for x, y in spots:
            h.double_click(x + 8, y + 8)
            w = wait_for(lambda: [w for w in (first.window(), second.window()) if w["foreground"]],
                         5, what="a window in front")[0]
            fronts.add(w["hwnd"])
            h.park_mouse()
        self.assertEqual(fronts, {first.hwnd, second.hwnd})

    def test_single_click_changes_nothing(self):
        program = self.start()
        program.wait_shown()
        spot = wait_for(lambda: h.tray_icons(today()), 10, what="today's icon")[0]
        h.click(*program.title_point("minimize"))
        program.wait_hidden()
        h.click(spot[0] + 8, spot[1] + 8)
        self.assertTrue(holds(lambda: not program.window()["visible"]),
                        "a single click brought the window back")
        self.assertFalse([w for w in h.windows() if w["class"] == "#32768" and w["visible"]],
                         "a single click opened a menu")


class TrayMenu(h.Case):
    def open_menu_at(self, x, y):
        h.xdo("mousemove", x, y, "sleep", "0.2", "mousedown", 3)
        try:
            return wait_for(lambda: [w for w in h.windows() if w["class"] == "#32768"
                                     and w["visible"]], 5, what="the tray menu")
        finally:
            h.xdo("mouseup", 3)

    def test_right_press_opens_the_menu_left_of_the_pointer(self):
        first = self.start()
        first.wait_shown()
        second = self.start(workdir=self.workdir)
        spots = wait_for(lambda: (lambda s: s if len(s) == 2 else None)(h.tray_icons(today())),
                         10, what="two tray icons")
        pids = {first.pid, second.pid}

        # The left icon leaves room: the menu's left edge is 50 left of the pointer.
        x, y = spots[0][0] + 1, spots[0][1] + 8
        menus = self.open_menu_at(x, y)
        self.assertEqual(len(menus), 1)
        menu = menus[0]
        self.assertIn(menu["pid"], pids)
        left, top, right, bottom = menu["rect"]
        self.assertLessEqual(x - 50 + (right - left), h.DESKTOP_W, "no room: pick another point")
        self.assertEqual(left, x - 50)
        # No room below the pointer at the bottom of the screen: it opens above.
        self.assertLessEqual(bottom, y)
        self.assertGreaterEqual(top, 0)
        self.keep(h.screenshot(), "menu")

        # Its first item is About: choosing it opens the About box.
        h.click(left + 20, top + 10)
        about = wait_for(lambda: [w for w in h.windows() if w["title"] == "About Ravelind"
                                  and w["visible"]], 5, what="the About box")
        self.assertEqual(about[0]["pid"], menu["pid"])
        h.key("Escape")
        wait_for(lambda: not [w for w in h.windows() if w["title"] == "About Ravelind"
                              and w["visible"]], 5, what="the About box to close")

        # The right icon has no room for that: the menu stays on the desktop.
        x, y = spots[1][0] + 8, spots[1][1] + 8
        menu = self.open_menu_at(x, y)[0]
        left, top, right, bottom = menu["rect"]
        self.assertEqual(left, min(x - 50, h.DESKTOP_W - (right - left)))
        self.assertLessEqual(right, h.DESKTOP_W)
        h.key("Escape")
        wait_for(lambda: not [w for w in h.windows() if w["class"] == "#32768" and w["visible"]],
                 5, what="the menu to close")


class Ending(h.Case):
    def end_and_check(self, end):
        program = self.start()
        program.wait_shown()
        wait_for(lambda: icon_count() == 1, 10, what="today's icon")
        end(program)
        program.wait_exit()
        wait_for(lambda: icon_count() == 0, 5, what="the tray icon to go")
        self.assertFalse([w for w in h.windows() if w["pid"] == program.pid])

    def test_quit_button(self):
        def quit(program):
            h.click(*h.center(program.controls()[1]["rect"]))
        self.end_and_check(quit)

    def test_escape(self):
        def escape(program):
            program.focus()
            h.key("Escape")
        self.end_and_check(escape)

    def test_close_box(self):
        self.end_and_check(lambda program: h.click(*program.title_point("close")))


if __name__ == "__main__":
    h.main()
