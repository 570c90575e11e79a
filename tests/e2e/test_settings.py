"""rv.ini in the working directory, as a person leaves it behind: created
empty at the first start, written on every way out, values the program does
not use handed back untouched, and a clear message when it cannot be saved."""
import datetime
import os
import subprocess
import tempfile

import harness as h
from harness import wait_for

PLAIN = b"CREATOR=Ravelind 1.0\r\nTOOLTIPS=\r\nSTARTUP=\r\nSYSDATE=\r\nWEEKLABELS=\r\nMIN=\r\n\r\n"


def quit_button(program):
    h.click(*h.center(program.controls()[1]["rect"]))


def escape_key(program):
    program.focus()
    h.key("Escape")


def close_box(program):
    h.click(*program.title_point("close"))


class Saving(h.Case):
    def ini(self):
        return os.path.join(self.workdir, "rv.ini")

    def read_ini(self):
        with open(self.ini(), "rb") as f:
            return f.read()

    def test_first_start_creates_an_empty_file_and_quit_fills_it(self):
        self.assertFalse(os.path.exists(self.ini()))
        program = self.start()
        program.wait_shown()
        wait_for(lambda: os.path.isfile(self.ini()), 5, what="rv.ini")
        self.assertEqual(self.read_ini(), b"")
        quit_button(program)
        program.wait_exit()
        self.assertEqual(len(PLAIN), 74)
        self.assertEqual(self.read_ini(), PLAIN)
        self.assertEqual(os.listdir(self.workdir), ["rv.ini"], "something else was left behind")

    def test_escape_and_close_box_save_too(self):
        for end in (escape_key, close_box):
            with self.subTest(end.__name__):
                if os.path.exists(self.ini()):
                    os.remove(self.ini())
                program = self.start()
                program.wait_shown()
                wait_for(lambda: os.path.isfile(self.ini()), 5, what="rv.ini")
                end(program)
                program.wait_exit()
                self.assertEqual(self.read_ini(), PLAIN)

    def test_values_it_does_not_use_come_back_unchanged(self):
        before = (b"CREATOR=Ravelind 1.0\r\nTOOLTIPS=\r\nSTARTUP=\r\nSYSDATE=yes\r\n"
                  b"WEEKLABELS=no\r\nMIN=\r\n\r\n")
        with open(self.ini(), "wb") as f:
            f.write(before)
        program = self.start()
        program.wait_shown()
        quit_button(program)
        program.wait_exit()
        self.assertEqual(self.read_ini(), before)


class SaveFailures(h.Case):
    """Quit when rv.ini cannot be written: the message, and nothing lost."""

    def quit_into_error(self, workdir):
        program = self.start(workdir=workdir)
        program.wait_shown()
        quit_button(program)
        box = wait_for(lambda: [w for w in program.own_windows("#32770")
                                if w["title"] == "Error Writing File" and w["visible"]],
                       10, what="the error message box")[0]
        self.keep(h.screenshot(), "message")
        parts = h.controls(box["hwnd"])
        texts = [c["text"] for c in parts.values() if c["class"] == "Static" and c["text"]]
        buttons = [c for c in parts.values() if c["class"] == "Button" and c["visible"]]
        self.assertEqual(texts, ["Save to File"])
        self.assertEqual([b["text"] for b in buttons], ["OK"])
        h.click(*h.center(buttons[0]["rect"]))
        program.wait_exit()
        wait_for(lambda: not h.tray_icons(datetime.date.today().day), 5,
                 what="the tray icon to go")

    def test_settings_file_is_a_directory(self):
        folder = os.path.join(self.workdir, "rv.ini")
        os.mkdir(folder)
        with open(os.path.join(folder, "keep.txt"), "wb") as f:
            f.write(b"mine")
        self.quit_into_error(self.workdir)
        self.assertTrue(os.path.isdir(folder))
        self.assertEqual(os.listdir(folder), ["keep.txt"])
        with open(os.path.join(folder, "keep.txt"), "rb") as f:
            self.assertEqual(f.read(), b"mine")
        self.assertEqual(sorted(os.listdir(self.workdir)), ["rv.ini"],
                         "a temporary file was left behind")

    def test_full_disk_keeps_the_previous_file(self):
        disk = tempfile.mkdtemp(prefix="ravelind-full-")
        self.addCleanup(os.rmdir, disk)
        mount = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", disk],
                               capture_output=True, text=True)
        if mount.returncode != 0:
            self.skipTest("cannot mount a small tmpfs here (needs root): "
                          + mount.stderr.strip())
        self.addCleanup(subprocess.run, ["umount", "-l", disk], check=False)
        previous = (b"CREATOR=Ravelind 1.0\r\nTOOLTIPS=no\r\nSTARTUP=\r\nSYSDATE=keep\r\n"
                    b"WEEKLABELS=\r\nMIN=\r\n\r\n")
        with open(os.path.join(disk, "rv.ini"), "wb") as f:
            f.write(previous)
        # Fill every last byte.
        with open(os.path.join(disk, "filler"), "wb", buffering=0) as f:
            try:
                while True:
                    f.write(b"\0" * 4096)
            except OSError:
                pass
            try:
                while True:
                    f.write(b"\0")
            except OSError:
                pass
        self.assertEqual(os.statvfs(disk).f_bavail, 0)
        self.quit_into_error(disk)
        with open(os.path.join(disk, "rv.ini"), "rb") as f:
            self.assertEqual(f.read(), previous)
        self.assertEqual(sorted(os.listdir(disk)), ["filler", "rv.ini"],
                         "a temporary file was left behind")


if __name__ == "__main__":
    h.main()
