"""rv.ini in the working directory and the ways to end the program: created
empty at the first start, written on every way out, values the program does
not use handed back untouched, and a clear message when it cannot be saved."""
import os
import subprocess
import tempfile
from pathlib import Path

import harness as h
from harness import wait_for

PLAIN = b"CREATOR=Ravelind 1.0\r\nTOOLTIPS=\r\nSTARTUP=\r\nSYSDATE=\r\nWEEKLABELS=\r\nMIN=\r\n\r\n"


def escape(program):
    program.focus()
    h.xdo("key", "Escape")


UNUSED = PLAIN.replace(b"SYSDATE=", b"SYSDATE=yes").replace(b"LABELS=", b"LABELS=no")
# Each way out, from no file (created empty at the start) or from one holding
# values the program does not use (handed back unchanged).
WAYS_OUT = [("Quit", h.Program.quit, None), ("Esc", escape, None),
            ("close box", lambda program: h.click(*program.title_point("close")), None),
            ("Quit", h.Program.quit, UNUSED)]


class Saving(h.Case):
    def test_every_way_out_saves_removes_the_icon_and_ends(self):
        self.assertEqual(len(PLAIN), 74)
        for way, end, given in WAYS_OUT:
            workdir = tempfile.mkdtemp(dir=self.workdir)
            ini = Path(workdir, "rv.ini")
            if given:
                ini.write_bytes(given)
            program = self.start(workdir)
            program.wait_window()
            wait_for(lambda: len(h.tray_icons(h.today())) == 1, 10, what="today's icon")
            wait_for(ini.is_file, 5, what="rv.ini")
            self.assertEqual(ini.read_bytes(), given or b"", f"{way}: changed at the start")
            end(program)
            program.wait_exit()
            wait_for(lambda: not h.tray_icons(h.today()), 5, what=f"the icon to go ({way})")
            self.assertEqual(ini.read_bytes(), given or PLAIN, way)
            self.assertEqual(os.listdir(workdir), ["rv.ini"], f"{way}: something else was left")


class SaveFailures(h.Case):
    """Quit when rv.ini cannot be written: the message, and nothing lost."""

    def quit_into_error(self, workdir, leaves=("rv.ini",)):
        program = self.start(workdir)
        program.wait_window()
        program.quit()
        box = wait_for(lambda: h.visible("#32770", "Error Writing File", program.pid), 10,
                       what="the error message box")[0]
        self.keep(h.Screenshot(), "message")
        parts = h.controls(box["hwnd"]).values()
        self.assertEqual([c["title"] for c in parts if c["class"] == "Static" and c["title"]],
                         ["Save to File"])
        buttons = [c for c in parts if c["class"] == "Button" and c["visible"]]
        self.assertEqual([b["title"] for b in buttons], ["OK"])
        h.click(*h.center(buttons[0]["rect"]))
        program.wait_exit()
        wait_for(lambda: not h.tray_icons(h.today()), 5, what="the tray icon to go")
        self.assertEqual(sorted(os.listdir(workdir)), list(leaves), "a temporary file was left")

    def test_settings_file_is_a_directory(self):
        (folder := Path(self.workdir, "rv.ini")).mkdir()
        (folder / "keep.txt").write_bytes(b"mine")
        self.quit_into_error(self.workdir)
        self.assertEqual(os.listdir(folder), ["keep.txt"])
        self.assertEqual((folder / "keep.txt").read_bytes(), b"mine")

    def test_full_disk_keeps_the_previous_file(self):
        disk = tempfile.mkdtemp(dir=self.workdir)
        mount = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", disk],
                               capture_output=True, text=True)
        if mount.returncode != 0:
            self.skipTest("cannot mount a small tmpfs here (needs root): " + mount.stderr.strip())
        self.addCleanup(subprocess.run, ["umount", "-l", disk], check=False)
        previous = PLAIN.replace(b"TOOLTIPS=", b"TOOLTIPS=no").replace(b"SYSDATE=", b"SYSDATE=k")
        Path(disk, "rv.ini").write_bytes(previous)
        subprocess.run(["dd", "if=/dev/zero", "of=" + os.path.join(disk, "filler"), "bs=4k"],
                       capture_output=True)
        self.assertEqual(os.statvfs(disk).f_bavail, 0)
        self.quit_into_error(disk, ["filler", "rv.ini"])
        self.assertEqual(Path(disk, "rv.ini").read_bytes(), previous)


if __name__ == "__main__":
    h.main()
