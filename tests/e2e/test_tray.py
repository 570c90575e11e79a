"""The tray icon and the calendar window as a person meets them: the day's
icon in the notification area, no task-bar button, double click to bring the
window back, right press for the menu, and two copies side by side."""
import os

import harness as h
from harness import holds, wait_for


class OneCopy(h.Case):
    def test_icon_without_task_bar_button_and_double_click_brings_it_back(self):
        self.assertFalse(h.tray_icons(h.today()), "a day icon was in the tray before the start")
        program = self.start()
        shown = program.wait_window()
        spots = wait_for(lambda: h.tray_icons(h.today()), 10, what="today's icon in the tray")
        self.assertEqual(len(spots), 1)
        x, y = spots[0][0] + 8, spots[0][1] + 8

        # No task-bar button: owned by an invisible window, and the task bar left
        # of the notification area looks the same with the window hidden.
        self.assertFalse(shown["taskbar"])
        self.assertEqual([w["visible"] for w in h.windows() if w["hwnd"] == shown["owner"]],
                         [False], "the calendar window has no hidden owner")
        left, top, right, bottom = h.taskbar_rect()
        strip = lambda image: [row[left:right - 240] for row in image.rows[top:bottom]]
        before = h.Screenshot()
        h.click(*program.title_point("minimize"))
        program.wait_window(shown=False)
        hidden = h.Screenshot()
        self.assertTrue(strip(before) == strip(hidden), "the task bar changes with the window")
        self.assertEqual(len(h.tray_icons(h.today(), hidden)), 1, "the icon went with the window")
        self.assertFalse(h.title_icon(hidden, shown, h.today()), "the window is still drawn")

        # Resting on the icon shows the tip; a single click changes nothing.
        h.xdo("mousemove", x, y)
        tips = wait_for(lambda: h.visible("tooltips_class32"), 6, what="the tray icon's tip")
        self.assertEqual([w["title"] for w in tips], ["Ravelind"])
        h.click(x, y)
        self.assertTrue(holds(lambda: not program.window()["visible"]),
                        "a single click brought the window back")
        self.assertFalse(h.visible("#32768"), "a single click opened a menu")

        # A double click: back in its place, in front, really drawn on top.
        h.click(x, y, repeat=2)
        back = program.wait_window(front=True)
        self.assertEqual(back["rect"], shown["rect"], "not back in its normal place")
        self.assertTrue(h.title_icon(h.Screenshot(), back, h.today()))


class TwoCopies(h.Case):
    def open_menu_at(self, x, y):
        h.xdo("mousemove", x, y, "sleep", "0.2", "mousedown", 3)
        try:
            menus = wait_for(lambda: h.visible("#32768"), 5, what="the tray menu")
        finally:
            h.xdo("mouseup", 3)
        self.assertEqual(len(menus), 1)
        return menus[0]

    def test_second_copy_has_its_own_icon_menu_and_window(self):
        first = self.start()
        first.wait_window()
        wait_for(lambda: len(h.tray_icons(h.today())) == 1, 10, what="the first icon")
        os.mkdir(second_dir := os.path.join(self.workdir, "second"))
        second = self.start(second_dir)
        second.wait_window(front=True)
        self.assertFalse(first.window()["foreground"])
        spots = wait_for(lambda: len(s := h.tray_icons(h.today())) == 2 and s, 10,
                         what="two tray icons")

        # The left icon leaves room: the menu's left edge is 50 left of the
        # pointer, and at the bottom of the screen it opens above.
        x, y = spots[0][0] + 1, spots[0][1] + 8
        menu = self.open_menu_at(x, y)
        pids = [menu["pid"]]
        left, top, right, bottom = menu["rect"]
        self.assertLessEqual(x - 50 + (right - left), h.DESKTOP_W, "no room: pick another point")
        self.assertEqual(left, x - 50)
        self.assertTrue(top >= 0 and bottom <= y)
        self.keep(h.Screenshot(), "menu")
        h.click(left + 20, top + 10)  # About, its first item
        about = wait_for(lambda: h.visible(title="About Ravelind"), 5, what="the About box")
        self.assertEqual(about[0]["pid"], menu["pid"])
        h.xdo("key", "Escape")
        wait_for(lambda: not h.visible(title="About Ravelind"), 5, what="the About box to close")

        # The right icon has no room for that: the menu stays on the desktop.
        x, y = spots[1][0] + 8, spots[1][1] + 8
        menu = self.open_menu_at(x, y)
        pids.append(menu["pid"])
        self.assertEqual(sorted(pids), sorted([first.pid, second.pid]), "not one menu per copy")
        owners = [first if pid == first.pid else second for pid in pids]
        left, top, right, bottom = menu["rect"]
        self.assertEqual(left, min(x - 50, h.DESKTOP_W - (right - left)))
        self.assertLessEqual(right, h.DESKTOP_W)
        h.xdo("key", "Escape")
        wait_for(lambda: not h.visible("#32768"), 5, what="the menu to close")

        # Double-clicking an icon brings its own copy in front, the covered one too.
        for (x, y), program in zip(spots, owners):
            h.click(x + 8, y + 8, repeat=2)
            program.wait_window(front=True, timeout=5)
            h.park_mouse()

        # Ending the copy in front leaves the other one and its icon.
        owners[1].quit()
        owners[1].wait_exit()
        wait_for(lambda: len(h.tray_icons(h.today())) == 1, 5, what="one icon left")
        self.assertTrue(owners[0].running())


if __name__ == "__main__":
    h.main()
