#!/usr/bin/env python3
"""Signs the program, and puts the release together.

    release.py sign --source DIR --program EXE --signature PEM
    release.py package --source DIR --program EXE --signature PEM --arch win64|win32
        --version V --build DIR --release DIR --url URL --homepage URL
        --compiler CXX --linker LD --cmake CMAKE --executable NAME FILE...

`sign` signs a copy of the program with the certificate and key the caller
names (RAVELIND_SIGN_CERT, RAVELIND_SIGN_KEY, RAVELIND_SIGN_PASSWORD) and writes
the detached signature, to be committed. `package` attaches a committed
signature to the program just built, but only if it was made for these very
bytes, then writes the zip into the build tree and into the release folder that
both architectures share, with SHA256SUMS, BUILDINFO and draft winget and Scoop
manifests, all naming the zips of one commit only.
"""
import argparse
import hashlib
import json
import os
import platform
import re
import shutil
import subprocess
import sys
import tempfile

import authenticode
import makezip

ARCHITECTURES = {"win64": ("x64", "64bit"), "win32": ("x86", "32bit")}  # winget's, Scoop's
IDENTIFIER = "Ravelind.Ravelind"
PUBLISHER = "The Ravelind developers"
LICENCE = "MIT"  # as LICENSE grants it
DESCRIPTION = "Keeps today's date in view: a calendar page in the notification area " \
              "shows the day of the month."
# The release's own files, which nothing else may pass for.
MANIFESTS = [f"{IDENTIFIER}.yaml", f"{IDENTIFIER}.locale.en-US.yaml",
             f"{IDENTIFIER}.installer.yaml", "ravelind.json"]


class Stop(Exception):
    """The package cannot be made as asked; the message says why and what to do."""


def run(command, what):
    result = subprocess.run(command, capture_output=True, text=True)
    if result.returncode:
        sys.exit(f"{what} failed:\n{result.stdout}{result.stderr}")
    return result.stdout


def first_line(command):
    """The first line a tool prints about itself, or "none" where it is missing."""
    try:
        out = subprocess.run(command, capture_output=True, text=True).stdout
    except OSError:
        return "none"
    return out.splitlines()[0].strip() if out.strip() else "none"


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def sign(args):
    cert, key = os.environ.get("RAVELIND_SIGN_CERT"), os.environ.get("RAVELIND_SIGN_KEY")
    if not cert:
        sys.exit("sign: name the certificate in RAVELIND_SIGN_CERT and its key in "
                 "RAVELIND_SIGN_KEY (PEM files), or a PKCS#12 file in RAVELIND_SIGN_CERT")
    with open(cert, "rb") as f:
        pkcs12 = b"-----BEGIN" not in f.read()
    if not pkcs12 and not key:
        sys.exit("sign: RAVELIND_SIGN_CERT is a PEM certificate: name its key in "
                 "RAVELIND_SIGN_KEY")
    command = ["osslsigncode", "sign", "-h", "sha256"]
    command += ["-pkcs12", cert] if pkcs12 else ["-certs", cert, "-key", key]
    # Without a time-stamp authority the signing time is the commit's, so that
    # signing one program twice gives the same signature.
    url = os.environ.get("RAVELIND_SIGN_TIMESTAMP_URL")
    command += ["-ts", url] if url else ["-time", str(makezip.source_date_epoch(args.source))]
    with open(args.program, "rb") as f:
        program = f.read()
    with tempfile.TemporaryDirectory() as work:
        password = os.environ.get("RAVELIND_SIGN_PASSWORD")
        if password is not None:  # in a file of the caller's alone, not on a command line
            with open(os.open(os.path.join(work, "pass"), os.O_WRONLY | os.O_CREAT, 0o600),
                      "w") as f:
                f.write(password)
            command += ["-readpass", os.path.join(work, "pass")]
        signed, pem = os.path.join(work, "signed.exe"), os.path.join(work, "signature.pem")
        run(command + ["-in", args.program, "-out", signed], "osslsigncode sign")
        run(["osslsigncode", "extract-signature", "-pem", "-in", signed, "-out", pem],
            "osslsigncode extract-signature")
        with open(signed, "rb") as f, open(pem) as p:
            # Every build attaches the signature itself: it must give the very
            # file osslsigncode signed.
            if authenticode.attach(program, authenticode.pem_to_der(p.read())) != f.read():
                sys.exit("sign: the signature, attached again, does not give the signed program")
        os.makedirs(os.path.dirname(args.signature), exist_ok=True)
        shutil.copyfile(pem, args.signature)
    name = os.path.relpath(args.signature, args.source)
    print(f"sign: wrote {name}; commit it (git add {name}), then build the package")


def signed_program(args, target):
    """Writes the program into the zip's folder, with its committed signature
    attached if there is one; returns the signature's name in the source tree."""
    with open(args.program, "rb") as f:
        program = f.read()
    if not os.path.exists(args.signature):
        data, name = program, "none"
    else:
        name = os.path.relpath(args.signature, args.source)
        redo = (f"sign this build again (cmake --build --preset {args.arch} --target sign) "
                f"and commit the new signature, or remove {name} to build the zip unsigned")
        try:
            with open(args.signature) as f:
                der = authenticode.pem_to_der(f.read())
            algorithm, digest = authenticode.signed_digest(der)
        except (ValueError, UnicodeDecodeError) as e:
            raise Stop(f"{name} is no signature we can read ({e}): {redo}") from None
        if authenticode.program_digest(program, algorithm) != digest:
            raise Stop(f"{name} was made for another build of ravelind.exe (another commit "
                       f"or architecture), not for {args.program}: {redo}")
        data = authenticode.attach(program, der)
    with open(target + ".part", "wb") as f:
        f.write(data)
    os.replace(target + ".part", target)
    return name


def tool_versions(args):
    # The MinGW-w64 headers and runtime say their version only to the preprocessor.
    mingw = subprocess.run([args.compiler, "-E", "-P", "-x", "c++", "-"], text=True,
                           input="#include <_mingw.h>\n__MINGW64_VERSION_STR\n",
                           capture_output=True).stdout
    return {
        "Compiler": first_line([args.compiler, "--version"]),
        "Binutils": first_line([args.linker, "--version"]),
        "MinGW-w64": re.sub(r'[" ]', "", mingw.strip().splitlines()[-1]) if mingw else "none",
        "CMake": first_line([args.cmake, "--version"]),
        "Python": f"{platform.python_implementation()} {platform.python_version()}",
        "Osslsigncode": first_line(["osslsigncode", "--version"]).split(",")[0],
    }


def read_buildinfo(path):
    """BUILDINFO's paragraphs, one for each architecture, as dictionaries."""
    if not os.path.exists(path):
        return []
    with open(path) as f:
        blocks = f.read().split("\n\n")
    return [dict(line.split(": ", 1) for line in b.splitlines() if ": " in line)
            for b in blocks if b.strip()]


def write_text(path, text):
    with open(path + ".part", "w", newline="\n") as f:
        f.write(text)
    os.replace(path + ".part", path)


def yaml(fields):
    """YAML of (key, value) pairs, a value a string or a list of flat mappings.
    Strings in JSON's quotes, which YAML reads alike: a version 1.10 stays "1.10"."""
    lines = []
    for key, value in fields:
        if isinstance(value, list):
            lines.append(f"{key}:")
            for item in value:
                lines += [f"{'- ' if i == 0 else '  '}{k}: {json.dumps(v)}"
                          for i, (k, v) in enumerate(item.items())]
        else:
            lines.append(f"{key}: {json.dumps(value)}")
    return "\n".join(lines) + "\n"


def write_manifests(args, release, paragraphs):
    version = args.version
    url = args.url.replace("@VERSION@", version).rstrip("/")
    head = [("PackageIdentifier", IDENTIFIER), ("PackageVersion", version)]
    tail = [("ManifestVersion", "1.6.0")]
    write_text(os.path.join(release, MANIFESTS[0]), yaml(
        head + [("DefaultLocale", "en-US"), ("ManifestType", "version")] + tail))
    write_text(os.path.join(release, MANIFESTS[1]), yaml(
        head + [("PackageLocale", "en-US"), ("Publisher", PUBLISHER), ("PackageName", "Ravelind"),
                ("PackageUrl", args.homepage), ("License", LICENCE),
                ("ShortDescription", DESCRIPTION), ("ManifestType", "defaultLocale")] + tail))
    installers = [{"Architecture": ARCHITECTURES[p["Architecture"]][0],
                   "InstallerUrl": f"{url}/{p['Zip']}",
                   "InstallerSha256": p["Zip-SHA256"].upper()} for p in paragraphs]
    write_text(os.path.join(release, MANIFESTS[2]), yaml(
        head + [("InstallerType", "zip"), ("NestedInstallerType", "portable"),
                ("NestedInstallerFiles", [{"RelativeFilePath": "ravelind.exe"}]),
                ("Installers", installers), ("ManifestType", "installer")] + tail))
    scoop = {
        "version": version, "description": DESCRIPTION, "homepage": args.homepage,
        "license": LICENCE,
        "architecture": {ARCHITECTURES[p["Architecture"]][1]: {
            "url": f"{url}/{p['Zip']}", "hash": p["Zip-SHA256"]} for p in paragraphs},
        # Scoop makes a folder of a persisted name it finds nowhere: give it a file.
        "pre_install": 'if (!(Test-Path "$persist_dir\\rv.ini")) '
                       '{ New-Item "$dir\\rv.ini" -ItemType File | Out-Null }',
        "shortcuts": [["ravelind.exe", "Ravelind"]],
        "persist": "rv.ini",
    }
    write_text(os.path.join(release, MANIFESTS[3]), json.dumps(scoop, indent=4) + "\n")


def publish(args, key, paragraph):
    """Rewrites the release folder's index with this architecture's new zip (or
    without it, when paragraph is None), keeping the other architecture's only
    when it was built from the same commit and source date."""
    release = args.release
    kept = {}
    for p in read_buildinfo(os.path.join(release, "BUILDINFO")):
        arch = p.get("Architecture")
        if arch == args.arch or arch not in ARCHITECTURES or "Zip" not in p:
            continue
        zip_path = os.path.join(release, p["Zip"])
        if all(p.get(k) == v for k, v in key.items()) and os.path.exists(zip_path) \
                and sha256(zip_path) == p.get("Zip-SHA256"):
            kept[arch] = p
        else:
            print(f"package: {p['Zip']} left out of {release}: it was built from "
                  f"{p.get('Commit', '?')[:12]}, this build is of {key['Commit'][:12]}; "
                  f"build its package again")
    if paragraph:
        kept[args.arch] = paragraph
    order = [kept[a] for a in ARCHITECTURES if a in kept]
    # Only what BUILDINFO names stays: a zip of another commit or version would
    # pass for part of this release.
    zips = {p["Zip"] for p in order}
    for name in os.listdir(release):
        if re.fullmatch(r"ravelind-.*\.zip", name) and name not in zips:
            os.remove(os.path.join(release, name))
    write_text(os.path.join(release, "BUILDINFO"),
               "\n".join("".join(f"{k}: {v}\n" for k, v in p.items()) for p in order))
    # The form `sha256sum -c` reads: the hash, two spaces, the file's name.
    write_text(os.path.join(release, "SHA256SUMS"),
               "".join(f"{p['Zip-SHA256']}  {p['Zip']}\n" for p in order))
    if order:
        write_manifests(args, release, order)
    else:
        for name in MANIFESTS:
            if os.path.exists(os.path.join(release, name)):
                os.remove(os.path.join(release, name))


def package(args):
    zip_name = f"ravelind-{args.version}-{args.arch}.zip"
    built = os.path.join(args.build, zip_name)
    for old in (built, os.path.join(args.release, zip_name)):
        if os.path.exists(old):
            os.remove(old)
    try:
        commit = makezip.git(args.source, "rev-parse", "HEAD")
        modified = makezip.git(args.source, "status", "--porcelain")
    except (OSError, subprocess.CalledProcessError):
        commit, modified = "none", ""
    epoch = makezip.source_date_epoch(args.source)
    key = {"Version": args.version, "Commit": commit,
           "Tree": "modified, not the commit's files" if modified else "clean",
           "Source-Date-Epoch": str(epoch)}
    folder = os.path.join(args.build, "zip")
    os.makedirs(folder, exist_ok=True)
    program = os.path.join(folder, "ravelind.exe")
    try:
        signature = signed_program(args, program)
    except Stop as e:
        publish(args, key, None)  # no zip of this architecture rather than a wrong one
        sys.exit(f"package: {e}")
    makezip.write_zip(built, [program] + args.files, args.executable, epoch)
    os.makedirs(args.release, exist_ok=True)
    shutil.copyfile(built, os.path.join(args.release, zip_name))
    paragraph = {"Source": "ravelind", **key, "Architecture": args.arch, "Zip": zip_name,
                 "Zip-SHA256": sha256(built), "Program-SHA256": sha256(program),
                 "Signature": signature, **tool_versions(args)}
    publish(args, key, paragraph)
    print(f"package: {os.path.join(args.release, zip_name)}"
          f" ({'signed: ' + signature if signature != 'none' else 'unsigned'})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("command", choices=["sign", "package"])
    for option in ("source", "program", "signature"):
        parser.add_argument(f"--{option}", required=True)
    for option in ("arch", "version", "build", "release", "url", "homepage", "compiler",
                   "linker", "cmake"):
        parser.add_argument(f"--{option}")
    parser.add_argument("--executable", action="append", default=[])
    parser.add_argument("files", nargs="*", help="the zip's other files, in this order")
    args = parser.parse_intermixed_args()
    sign(args) if args.command == "sign" else package(args)


if __name__ == "__main__":
    main()
