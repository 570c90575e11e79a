"""rv.ini where only the real program in a real folder can show it: a log-on
start of the release unzipped into a folder named outside the ANSI code page,
and a save onto a full disk."""
import os
import shutil
import subprocess
import zipfile
from pathlib import Path

import harness as h
from harness import wait_for

QUIT, START_MENU, START_MINIMIZED = 1, 1004, 1007
FOLDER = "Календарь 日历"


class Settings(h.Case):
    def test_log_on_starts_the_unzipped_program_in_its_folder(self):
        drive_c = Path(os.environ["WINEPREFIX"], "drive_c")
        (folder := drive_c / FOLDER).mkdir()
        self.addCleanup(shutil.rmtree, folder, True)
        for hive in ("HKLM", "HKCU"):
            self.addCleanup(h.run, "wine", "reg", "delete",
                            hive + r"\SOFTWARE\Microsoft\Windows\CurrentVersion\Run", "/v", "Ravelind", "/f")
        zipfile.ZipFile(os.environ["RAVELIND_ZIP"]).extractall(folder)
        program = self.start(folder, exe=folder / "ravelind.exe")
        program.window()
        for control in (START_MENU, START_MINIMIZED):
            program.click(control, dx=6)  # on the box itself
        program.click(QUIT)
        program.process.wait(10)
        wait_for(lambda: not h.tray_icons(), 5, "the icon to go")

        # Log-on: wineboot starts the Run entries, from C:\windows. Start
        # Minimized, read from the folder's rv.ini, leaves only the tray icon.
        h.run("wine", "wineboot")
        started = wait_for(h.calendars, 20, "Ravelind started from the Run entry")[0]
        self.addCleanup(h.probe, "close", started["hwnd"])
        wait_for(h.tray_icons, 10, "the tray icon")
        self.assertTrue(h.holds(lambda: not h.visible(pid=started["pid"])), "a window is showing")
        h.probe("close", started["hwnd"])
        wait_for(lambda: not h.calendars(), 10, "Ravelind to end")
        self.assertIn(b"\r\nSTARTUP=yes\r\n", (folder / "rv.ini").read_bytes())
        self.assertFalse((drive_c / "windows" / "rv.ini").exists(), "rv.ini went to C:\\windows")

    def test_full_disk_says_so_and_keeps_the_old_file(self):
        disk, old = self.workdir.name, b"TOOLTIPS=no\r\nSYSDATE=kept\r\n"
        mount = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", disk],
                               capture_output=True, text=True)
        if mount.returncode:
            self.skipTest("cannot mount a small tmpfs here (needs root): " + mount.stderr)
        self.addCleanup(subprocess.run, ["umount", "-l", disk])
        Path(disk, "rv.ini").write_bytes(old)
        subprocess.run(["dd", "if=/dev/zero", f"of={disk}/filler", "bs=4k"], capture_output=True)
        self.assertEqual(os.statvfs(disk).f_bavail, 0)
        program = self.start(disk)
        program.window()
        program.click(QUIT)
        box = wait_for(lambda: h.visible("#32770", "Error Writing File", program.pid), 10,
                       "the error message")[0]
        texts = {c["title"]: c["rect"] for c in h.controls(box["hwnd"]).values() if c["visible"]}
        self.assertEqual(sorted(filter(None, texts)), ["OK", "Save to File"])  # text, one button
        h.click(texts["OK"][0] + 10, texts["OK"][1] + 10)
        program.process.wait(10)
        self.assertEqual(Path(disk, "rv.ini").read_bytes(), old)
        self.assertEqual(sorted(os.listdir(disk)), ["filler", "rv.ini"], "a temporary file was left")


if __name__ == "__main__":
    h.main()
