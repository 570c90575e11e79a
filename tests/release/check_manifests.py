"""The draft winget and Scoop manifests in a release folder parse, hold what
each store reads, and name the zips and hashes of its SHA256SUMS."""
import json
import os
import sys

import yaml

release = sys.argv[1]
with open(os.path.join(release, "SHA256SUMS")) as f:
    sums = {name: digest for digest, name in (line.split() for line in f)}
zips = {name.rsplit("-", 1)[1][:-4]: name for name in sums}  # win64, win32
version = next(iter(sums)).split("-")[1]
errors = []


def load(name, parse):
    with open(os.path.join(release, name)) as f:
        return parse(f)


def expect(where, doc, **fields):
    for key, want in fields.items():
        got = doc.get(key) if isinstance(doc, dict) else None
        if got != want and not (want is str and isinstance(got, str) and got):
            errors.append(f"{where}: {key} is {got!r}, not {want!r}")


head = dict(PackageIdentifier="Ravelind.Ravelind", PackageVersion=version,
            ManifestVersion="1.6.0")
expect("version", load("Ravelind.Ravelind.yaml", yaml.safe_load), **head,
       DefaultLocale="en-US", ManifestType="version")
expect("locale", load("Ravelind.Ravelind.locale.en-US.yaml", yaml.safe_load), **head,
       PackageLocale="en-US", Publisher=str, PackageName="Ravelind", License="MIT",
       ShortDescription=str, ManifestType="defaultLocale")
installer = load("Ravelind.Ravelind.installer.yaml", yaml.safe_load)
expect("installer", installer, **head, InstallerType="zip", NestedInstallerType="portable",
       NestedInstallerFiles=[{"RelativeFilePath": "ravelind.exe"}], ManifestType="installer")
for entry in installer.get("Installers") or []:
    arch = {"x64": "win64", "x86": "win32"}.get(entry.get("Architecture"))
    expect(f"installer {arch}", entry, InstallerSha256=sums.get(zips.get(arch), "").upper())
    if not str(entry.get("InstallerUrl")).endswith("/" + zips.get(arch, "?")):
        errors.append(f"installer {arch}: InstallerUrl {entry.get('InstallerUrl')}")
if sorted(e.get("Architecture") for e in installer.get("Installers") or []) != ["x64", "x86"]:
    errors.append("installer: not one installer each for x64 and x86")

scoop = load("ravelind.json", json.load)
expect("scoop", scoop, version=version, description=str, homepage=str, license="MIT",
       persist="rv.ini")
for arch, key in (("win64", "64bit"), ("win32", "32bit")):
    entry = scoop.get("architecture", {}).get(key, {})
    expect(f"scoop {key}", entry, hash=sums.get(zips.get(arch)))
    if not str(entry.get("url")).endswith("/" + zips.get(arch, "?")):
        errors.append(f"scoop {key}: url {entry.get('url')}")
if not any(s[0] == "ravelind.exe" for s in scoop.get("shortcuts", [])):
    errors.append("scoop: no shortcut for ravelind.exe")

print("\n".join(errors) or f"manifests of {version}: OK")
sys.exit(1 if errors else 0)
