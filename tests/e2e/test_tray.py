"""The tray icon as a person meets it: today's picture in the notification area
from the start until Quit, a double click to bring the hidden window back and a
right press for the menu."""
import os

import harness as h
from harness import wait_for

QUIT = 1


class Tray(h.Case):
    def test_icon_double_click_menu_and_quit(self):
        with open(os.path.join(self.workdir.name, "rv.ini"), "wb") as f:
            f.write(b"MIN=yes\r\n")  # starts hidden
        program = self.start()
        (x, y), = wait_for(h.tray_icons, 10, "today's icon in the tray")
        h.click(x, y, repeat=2)
        program.window(front=True)

        h.xdo("mousemove", x, y, "sleep", "0.2", "mousedown", 3)
        try:
            left, top = wait_for(lambda: h.visible("#32768"), 5, "the tray menu")[0]["rect"][:2]
        finally:
            h.xdo("mouseup", 3)
        h.click(left + 20, top + 10)  # About, the first item
        about = wait_for(lambda: h.visible("#32770", "About Ravelind"), 5, "the About box")[0]
        ok = h.controls(about["hwnd"])[1]["rect"]
        h.click((ok[0] + ok[2]) // 2, (ok[1] + ok[3]) // 2)
        wait_for(lambda: not h.visible("#32770", "About Ravelind"), 5, "the About box to close")

        program.click(QUIT)
        program.process.wait(10)
        wait_for(lambda: not h.tray_icons(), 5, "the icon to go")


if __name__ == "__main__":
    h.main()
