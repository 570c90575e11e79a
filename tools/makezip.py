#!/usr/bin/env python3
"""Writes the release zip and a SHA256SUMS file beside it.

The zip must be the same bytes from any clean clone of one commit, built at
any time and in any folder, so nothing of the build machine goes in: the
entries come in the order given, each with the time of the last commit
(SOURCE_DATE_EPOCH, else asked of git), fixed permissions and a fixed
compression level, and without extra fields.

    makezip.py --source DIR --output ZIP --sums SHA256SUMS [--executable NAME] FILE...
"""
import argparse
import hashlib
import os
import subprocess
import sys
import time
import zipfile

# The earliest time a zip entry can hold (1980-01-01 00:00:00 UTC).
ZIP_EPOCH = 315532800


def source_date_epoch(source):
    """The caller's SOURCE_DATE_EPOCH, else the committer time of the last commit."""
    value = os.environ.get("SOURCE_DATE_EPOCH", "").strip()
    if value:
        if not value.isdigit():
            sys.exit(f"makezip: SOURCE_DATE_EPOCH must be seconds since 1970, not {value!r}")
        return int(value)
    try:
        # A clone owned by another user (a CI checkout built as root) is still
        # ours to date: git would refuse to read it and the entries would get
        # 1980, so vouch for it, for this one read-only look-up.
        out = subprocess.run(["git", "-c", f"safe.directory={os.path.abspath(source)}",
                              "-C", source, "log", "-1", "--format=%ct"],
                             capture_output=True, text=True, check=True).stdout.strip()
        return int(out)
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
    info.compress_type = zipfile.ZIP_DEFLATED
    return info


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True, help="source tree, for the commit time")
    parser.add_argument("--output", required=True, help="the zip to write")
    parser.add_argument("--sums", required=True, help="SHA256SUMS to write beside it")
    parser.add_argument("--executable", action="append", default=[],
                        help="entry name that gets mode 755 (others 644)")
    parser.add_argument("files", nargs="+", help="files, stored flat, in this order")
    args = parser.parse_args()

    epoch = source_date_epoch(args.source)
    names = [os.path.basename(f) for f in args.files]
    if len(set(names)) != len(names):
        sys.exit(f"makezip: two files of one name: {names}")

    # Written aside and moved into place, so that a failed run leaves no half zip.
    partial = args.output + ".part"
    with zipfile.ZipFile(partial, "w") as zf:
        for path, name in zip(args.files, names):
            with open(path, "rb") as f:
                data = f.read()
            mode = 0o755 if name in args.executable else 0o644
            zf.writestr(entry(name, epoch, mode), data, compresslevel=9)
    os.replace(partial, args.output)

    with open(args.output, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    # The form `sha256sum -c` reads: the hash, two spaces, the file's name.
    with open(args.sums, "w", newline="\n") as f:
        f.write(f"{digest}  {os.path.basename(args.output)}\n")


if __name__ == "__main__":
    main()
