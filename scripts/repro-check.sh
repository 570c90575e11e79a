#!/usr/bin/env bash
# Proves that anyone can rebuild the release zip of a commit byte for byte:
# builds the win64 package of HEAD twice, from two clean clones in folders of
# different names and depths, the second 400 days later by its clock (faketime),
# in another time zone and with another umask, then compares ravelind.exe, the
# zip and SHA256SUMS. Both builds run the README's commands and find the commit
# time themselves (SOURCE_DATE_EPOCH is unset). Exits 1 naming what differs; the
# two trees are then kept for a look.
#
#   bash scripts/repro-check.sh      # about 35 s on 2 cores, a minute when busy
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
root=$PWD
commit=$(git rev-parse HEAD)
version=$(sed -n 's/^project(Ravelind VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip=ravelind-$version-win64.zip
work=$(mktemp -d /tmp/ravelind-repro.XXXXXX)
first=$work/a/ravelind
second=$work/second-build/of/ravelind-$version

build() {  # folder [command prefix]: a clean clone of HEAD, configured and packaged
  local dir=$1; shift
  git clone -q --no-checkout "$root" "$dir"
  git -C "$dir" checkout -q --detach "$commit"
  (cd "$dir" && env -u SOURCE_DATE_EPOCH "$@" cmake --preset win64 >/dev/null \
    && env -u SOURCE_DATE_EPOCH "$@" cmake --build --preset win64 --target package >/dev/null) \
    || { echo "repro-check: the build in $dir failed" >&2; exit 1; }
}

echo "repro-check: building ${commit:0:12} in $first"
build "$first"
echo "repro-check: building it again in $second, 400 days later"
(umask 027; export TZ=Pacific/Kiritimati; build "$second" faketime -f +400d)

failed=0
for file in ravelind.exe "$zip" SHA256SUMS; do
  a=$first/build/win64/$file b=$second/build/win64/$file
  if ! [ -f "$a" ] || ! [ -f "$b" ]; then
    echo "repro-check: FAIL: $file was not built" >&2; failed=1
  elif ! cmp -s "$a" "$b"; then
    echo "repro-check: FAIL: $file differs between the two builds" \
      "($(cmp -l "$a" "$b" 2>/dev/null | wc -l) bytes; offset, octal values:)" >&2
    { cmp -l "$a" "$b" 2>&1 || true; } | head -8 | sed 's/^/    /' >&2 || true
    failed=1
  fi
done
if [ "$failed" = 0 ]; then
  # The same bytes, but are they the right ones: the sum must check out and
  # every entry be dated at the commit, not at some fixed or local time.
  (cd "$first/build/win64" && sha256sum --quiet -c SHA256SUMS) \
    || { echo "repro-check: FAIL: SHA256SUMS does not match $zip" >&2; failed=1; }
  python3 - "$first/build/win64/$zip" "$(git log -1 --format=%ct "$commit")" <<'EOF' || failed=1
import sys, time, zipfile
want = time.gmtime(int(sys.argv[2]))[:6]
want = want[:5] + (want[5] // 2 * 2,)  # a zip keeps even seconds
for info in zipfile.ZipFile(sys.argv[1]).infolist():
    if info.date_time != want:
        sys.exit(f"repro-check: FAIL: {info.filename} is dated {info.date_time}, "
                 f"the commit {want}")
EOF
fi

if [ "$failed" != 0 ]; then
  echo "repro-check: the two builds are kept in $work" >&2
  exit 1
fi
rm -rf "$work"
echo "repro-check: ravelind.exe, $zip and SHA256SUMS are the same bytes from both builds"
