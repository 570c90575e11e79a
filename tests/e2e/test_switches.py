"""The three option switches used with the mouse, their hints, and two copies
of the program side by side."""
import datetime
import os
import shutil

import harness as h
from harness import wait_for, holds

SWITCHED = (b"CREATOR=Ravelind 1.0\r\nTOOLTIPS=no\r\nSTARTUP=yes\r\nSYSDATE=\r\n"
            b"WEEKLABELS=\r\nMIN=yes\r\n\r\n")
MIN_HINT = "If you check this, when the program starts, it will only appear on the system tray."
TOOLTIPS, START_MENU, START_MINIMIZED, QUIT = 1003, 1004, 1007, 1


def today():
    return datetime.date.today().day


def tick(program, control_id):
    """Clicks a check box on its box (left end), as a person would."""
    rect = program.controls()[control_id]["rect"]
    h.click(rect[0] + 6, (rect[1] + rect[3]) // 2)


def checked(program, control_id):
    return program.controls()[control_id]["checked"]


def visible_tips():
    return [w for w in h.windows() if w["class"] == "tooltips_class32" and w["visible"]]


class Switches(h.Case):
    def setUp(self):
        super().setUp()
        h.delete_run_value()
        self.addCleanup(h.delete_run_value)

    def test_switches_by_mouse_are_saved_and_honoured_at_the_next_start(self):
        program = self.start()
        program.wait_shown()
        self.assertEqual([checked(program, c) for c in (TOOLTIPS, START_MENU, START_MINIMIZED)],
                         [1, 0, 0])
        for control in (TOOLTIPS, START_MENU, START_MINIMIZED):
            tick(program, control)
        wait_for(lambda: [checked(program, c) for c in (TOOLTIPS, START_MENU, START_MINIMIZED)]
                 == [0, 1, 1], 5, what="the switches to change")
        self.keep(h.screenshot(), "switched")
        # Start Menu takes effect at once: the Run value names this program.
        expected = h.windows_path(os.path.realpath(h.EXE))
        self.assertNotIn(" ", expected)
        self.assertEqual(wait_for(h.run_value, 5, what="the Run value"), expected)

        h.click(*h.center(program.controls()[QUIT]["rect"]))
        program.wait_exit()
        with open(os.path.join(self.workdir, "rv.ini"), "rb") as f:
            self.assertEqual(f.read(), SWITCHED)
        self.assertEqual(len(SWITCHED), 82)
        self.assertEqual(h.run_value(), expected)

        # The next start: only the tray icon, no window to be seen.
        wait_for(lambda: not h.tray_icons(today()), 5, what="the first icon to go")
        again = self.start()
        wait_for(lambda: h.tray_icons(today()), 10, what="the tray icon")
        self.assertTrue(holds(lambda: not [w for w in again.own_windows() if w["visible"]]),
                        "a window of the program is showing")
        self.assertEqual(checked(again, START_MINIMIZED), 1)

    def test_run_value_is_quoted_when_the_path_has_a_space(self):
        folder = os.path.join(self.workdir, "Program Copy")
        os.mkdir(folder)
        exe = os.path.join(folder, "ravelind.exe")
        shutil.copy(h.EXE, exe)
        program = self.start(exe=exe)
        program.wait_shown()
        tick(program, START_MENU)
        value = wait_for(h.run_value, 5, what="the Run value")
        self.assertEqual(value, '"' + h.windows_path(exe) + '"')


class Hints(h.Case):
    def rest_on(self, program, control_id):
        rect = program.controls()[control_id]["rect"]
        x, y = h.center(rect)
        h.xdo("mousemove", x - 4, y, "sleep", "0.2", "mousemove", x, y)

    def test_hint_of_start_minimized_shows_whole(self):
        program = self.start()
        program.wait_shown()
        self.rest_on(program, START_MINIMIZED)
        tip = wait_for(visible_tips, 6, what="a hint")
        self.assertEqual(len(tip), 1)
        self.assertEqual(tip[0]["pid"], program.pid)
        self.assertEqual(tip[0]["title"], MIN_HINT)
        self.assertEqual(len(tip[0]["title"]), 83)
        left, top, right, bottom = tip[0]["rect"]
        self.assertTrue(0 <= left < right <= h.DESKTOP_W and 0 <= top < bottom <= h.DESKTOP_H,
                        "the hint is not wholly on the desktop")
        self.keep(h.screenshot(), "hint")

    def test_no_hints_once_tooltips_is_cleared(self):
        program = self.start()
        program.wait_shown()
        tick(program, TOOLTIPS)
        wait_for(lambda: checked(program, TOOLTIPS) == 0, 5, what="ToolTips cleared")
        h.park_mouse()
        # Wine's tooltip still shows a hint whose delay was already running
        # when the switch was cleared (here the ToolTips box's own): let that
        # come and go before resting on another control.
        wait_for(lambda: holds(lambda: not visible_tips(), 1.0), 8, what="no hint showing")
        self.rest_on(program, START_MINIMIZED)
        shown = []
        self.assertTrue(holds(lambda: not shown.extend(visible_tips()) and not shown, 2.5),
                        f"a hint showed all the same: {[w['title'] for w in shown]}")
        # And back on: the hint returns.
        tick(program, TOOLTIPS)
        h.park_mouse()
        self.rest_on(program, START_MENU)
        tip = wait_for(visible_tips, 6, what="a hint")
        self.assertEqual(tip[0]["title"],
                         "If you check this, it will load the program every time you start your pc.")


class TwoCopies(h.Case):
    def test_second_copy_runs_beside_the_first_with_its_own_icon(self):
        first = self.start()
        first.wait_shown()
        wait_for(lambda: len(h.tray_icons(today())) == 1, 10, what="the first icon")
        second_dir = os.path.join(self.workdir, "second")
        os.mkdir(second_dir)
        second = self.start(workdir=second_dir)
        second.wait_shown()
        self.assertNotEqual(first.pid, second.pid)
        wait_for(lambda: len(h.tray_icons(today())) == 2, 10, what="two tray icons")
        self.keep(h.screenshot(), "two")
        self.assertTrue(first.running() and second.running())

        # Each has its own: ending the second leaves the first and one icon.
        h.click(*h.center(second.controls()[QUIT]["rect"]))
        second.wait_exit()
        wait_for(lambda: len(h.tray_icons(today())) == 1, 5, what="one icon left")
        self.assertTrue(first.running())
        self.assertTrue(os.path.isfile(os.path.join(second_dir, "rv.ini")))


if __name__ == "__main__":
    h.main()
