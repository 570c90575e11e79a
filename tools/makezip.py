"""Writes the release zip.

The zip must be the same bytes from any clean clone of one commit, built at any
time, in any folder and by any Python, so nothing of the build machine goes in:
the entries come in the order given, each with the time of the last commit
(SOURCE_DATE_EPOCH, else asked of git), fixed permissions and without extra
fields, and stored: a deflated entry would be whatever the Python's zlib makes
of it, and zlib-ng (Fedora's Python, CPython 3.14 for Windows) makes other bytes
than zlib. Stored costs about 70 KB against deflate, for a zip of about 110 KB.
"""
import os
import subprocess
import sys
import time
import zipfile

# The earliest time a zip entry can hold (1980-01-01 00:00:00 UTC).
ZIP_EPOCH = 315532800


def git(source, *args):
    """git's answer in source. A clone owned by another user (a CI checkout
    built as root) is still ours to read: git would refuse it, so vouch for it."""
    return subprocess.run(["git", "-c", f"safe.directory={os.path.abspath(source)}",
                           "-C", source, *args],
                          capture_output=True, text=True, check=True).stdout.strip()


def source_date_epoch(source):
    """The caller's SOURCE_DATE_EPOCH, else the committer time of the last commit."""
    value = os.environ.get("SOURCE_DATE_EPOCH", "").strip()
    if value:
        if not value.isdigit():
            sys.exit(f"makezip: SOURCE_DATE_EPOCH must be seconds since 1970, not {value!r}")
        return int(value)
    try:
        return int(git(source, "log", "-1", "--format=%ct"))
    except (OSError, subprocess.CalledProcessError, ValueError):
        # An export without .git: a fixed time rather than today's, so that two
        # such builds still agree. Set SOURCE_DATE_EPOCH to give the real one.
        print("makezip: no git history and no SOURCE_DATE_EPOCH; entries dated 1980-01-01",
              file=sys.stderr)
        return ZIP_EPOCH


def entry(name, epoch, mode):
    # UTC, not local time: the builder's time zone must not show in the zip.
    info = zipfile.ZipInfo(name, date_time=time.gmtime(max(epoch, ZIP_EPOCH))[:6])
    info.create_system = 3  # Unix, so that external_attr carries the permissions below
    info.external_attr = (0o100000 | mode) << 16
    info.compress_type = zipfile.ZIP_STORED
    return info


def write_zip(output, files, executables, epoch):
    """Stores files flat, in this order; the names in executables get mode 755."""
    names = [os.path.basename(f) for f in files]
    if len(set(names)) != len(names):
        sys.exit(f"makezip: two files of one name: {names}")
    # Written aside and moved into place, so that a failed run leaves no half zip.
    partial = output + ".part"
    with zipfile.ZipFile(partial, "w") as zf:
        for path, name in zip(files, names):
            with open(path, "rb") as f:
                data = f.read()
            zf.writestr(entry(name, epoch, 0o755 if name in executables else 0o644), data)
    os.replace(partial, output)
