#!/usr/bin/env bash
# Checks downloaded release zips against the source: rebuilds each from its
# commit in a fresh clone of this repository, where the package build attaches
# the committed signature as it does for the maintainer, and compares the bytes.
#
#   bash scripts/verify-release.sh [--commit COMMIT] [--work DIR] ZIP...
#
# The commit is --commit's, else the one named by BUILDINFO beside the zip (with
# the SOURCE_DATE_EPOCH it was built with), else the tag v<version>; it must be
# in this repository (git fetch --tags). --work DIR builds there and keeps it.
# Exits 1 naming each zip that differs, and what in it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage() { echo "usage: bash scripts/verify-release.sh [--commit COMMIT] [--work DIR] ZIP..." >&2
          exit 2; }
commit="" work=""
while [ $# -gt 0 ]; do
  case $1 in
    --commit) [ $# -ge 2 ] || usage; commit=$2; shift 2 ;;
    --work) [ $# -ge 2 ] || usage; work=$2; shift 2 ;;
    -*) usage ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || usage
bash "$root/scripts/setup.sh"
keep=1
[ -n "$work" ] || { work=$(mktemp -d /tmp/ravelind-verify.XXXXXX); keep=0; }
mkdir -p "$work"

paragraph() {  # BUILDINFO ZIP: the paragraph of BUILDINFO that names ZIP
  [ -f "$1" ] || return 0
  awk -v zip="Zip: $2" 'BEGIN { RS = "" } index("\n" $0 "\n", "\n" zip "\n")' "$1"
}
field() { sed -n "s/^$1: //p"; }

failed=0
for zip in "$@"; do
  name=$(basename "$zip") info=$(dirname "$zip")/BUILDINFO
  fail() { echo "verify-release: FAIL: $name: $*" >&2; failed=1; }
  if ! [[ $name =~ ^ravelind-([0-9.]+)-(win64|win32)\.zip$ ]] || ! [ -f "$zip" ]; then
    fail "not a release zip (ravelind-<version>-win64.zip or -win32.zip)"; continue
  fi
  version=${BASH_REMATCH[1]} arch=${BASH_REMATCH[2]}
  at=$commit epoch=""
  if [ -z "$at" ]; then
    at=$(paragraph "$info" "$name" | field Commit)
    epoch=$(paragraph "$info" "$name" | field Source-Date-Epoch)
    [ "$(paragraph "$info" "$name" | field Tree)" = clean ] || [ -z "$at" ] \
      || echo "verify-release: $name: BUILDINFO says it was built from a modified tree" >&2
  fi
  at=${at:-v$version}
  if ! sha=$(git -C "$root" rev-parse -q --verify "$at^{commit}"); then
    fail "its commit $at is not in $root (git fetch --tags, or name it with --commit)"; continue
  fi
  # One clone for each commit and date, which builds both architectures.
  tree=$work/ravelind-${sha:0:12}${epoch:+-$epoch}
  if ! [ -d "$tree" ]; then
    git clone -q --no-checkout "$root" "$tree" && git -C "$tree" checkout -q --detach "$sha"
  fi
  echo "verify-release: building $name from ${sha:0:12} in $tree"
  if ! (cd "$tree" && if [ -n "$epoch" ]; then export SOURCE_DATE_EPOCH=$epoch
                      else unset SOURCE_DATE_EPOCH; fi
        cmake --preset "$arch" >/dev/null && cmake --build --preset "$arch" --target package \
          >"$tree/build/package-$arch.log" 2>&1); then
    fail "the build failed: $tree/build/package-$arch.log"; continue
  fi
  rebuilt=$tree/build/release/$name
  signature=$(paragraph "$tree/build/release/BUILDINFO" "$name" | field Signature)
  if cmp -s "$zip" "$rebuilt"; then
    echo "verify-release: OK: $name is byte for byte the build of ${sha:0:12}" \
      "($([ "$signature" = none ] && echo unsigned || echo "signed: $signature"))"
    continue
  fi
  fail "differs from the build of ${sha:0:12} ($rebuilt)"
  # What differs: the entries, the program's code or only its signature, the tools.
  python3 - "$zip" "$rebuilt" "$root/tools" <<'EOF' >&2 || true
import sys, zipfile
sys.path.insert(0, sys.argv[3])
import authenticode
ours, theirs = (zipfile.ZipFile(p) for p in sys.argv[1:3])
a, b = ({i.filename: i for i in z.infolist()} for z in (ours, theirs))
said = False
for name in sorted(a.keys() | b.keys()):
    x, y = a.get(name), b.get(name)
    if not x or not y:
        what = f"only in the {'download' if x else 'rebuild'}"
    elif x.CRC != y.CRC:
        what = "its bytes"
        if name.endswith(".exe"):
            same = authenticode.program_digest(ours.read(name)) == \
                authenticode.program_digest(theirs.read(name))
            what = "only its signature" if same else "its code"
    elif (x.date_time, x.external_attr) != (y.date_time, y.external_attr):
        what = "its date or mode"
    elif (x.compress_type, x.compress_size) != (y.compress_type, y.compress_size):
        what = "its compression"
    else:
        continue
    print(f"    {name}: {what}")
    said = True
if not said:
    print("    the zip's headers, not its entries")
EOF
  # The tools, which BUILDINFO lists after the signature.
  diff <(paragraph "$info" "$name" | sed '1,/^Signature:/d') \
       <(paragraph "$tree/build/release/BUILDINFO" "$name" | sed '1,/^Signature:/d') \
    | sed -n 's/^</    built with:  /p; s/^>/    rebuilt with:/p' >&2 || true
done

if [ "$failed" != 0 ]; then
  if [ -n "$(ls -A "$work")" ]; then echo "verify-release: the rebuilds are kept in $work" >&2
  elif [ "$keep" = 0 ]; then rmdir "$work"; fi
  exit 1
fi
[ "$keep" = 1 ] || rm -rf "$work"
