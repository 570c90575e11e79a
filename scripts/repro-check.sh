#!/usr/bin/env bash
# Proves that anyone can rebuild HEAD's release byte for byte, signed or not.
# Builds both zips in a clean clone; with RAVELIND_SIGN_CERT (and _KEY) set,
# signs both programs there as a maintainer does, commits the signatures and
# builds again. Then scripts/verify-release.sh, run from that clone, rebuilds
# the zips in a second clean clone as another machine would: 400 days later
# (faketime), in another time zone, with another umask, with Git for Windows'
# core.autocrlf=true, and with a Python whose deflate makes other bytes, as
# zlib-ng does. Besides the zips, SHA256SUMS, BUILDINFO, the manifests and the
# programs must be the same bytes. Exits 1 naming what differs; the trees are
# then kept.
#
#   bash scripts/repro-check.sh [--keep DIR]   # DIR/a: the first clone, DIR/b: the second
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
unset SOURCE_DATE_EPOCH  # both builds find the commit time themselves
root=$PWD
commit=$(git rev-parse HEAD)
if [ "${1:-}" = --keep ]; then
  work=$2 keep=1
  mkdir -p "$work"
else
  work=$(mktemp -d /tmp/ravelind-repro.XXXXXX) keep=0
fi
first=$work/a/ravelind
fail() { echo "repro-check: FAIL: $*" >&2; echo "repro-check: the trees are kept in $work" >&2
         exit 1; }

each() {  # target: built for both architectures in the first clone
  local arch
  for arch in win64 win32; do
    [ -f "build/$arch/build.ninja" ] || cmake --preset "$arch" >/dev/null
    cmake --build --preset "$arch" --target "$1" >"build/$1-$arch.log" 2>&1 \
      || fail "$1 ($arch) in $first: $(tail -5 "build/$1-$arch.log")"
  done
}

echo "repro-check: building ${commit:0:12} in $first"
git clone -q --no-checkout "$root" "$first"
cd "$first"
git checkout -q -B repro-check "$commit"
each package
if [ -n "${RAVELIND_SIGN_CERT:-}" ]; then
  echo "repro-check: signing both programs, committing the signatures, building again"
  each sign
  git add release/signatures
  git -c user.name=repro-check -c user.email=repro-check@localhost commit -qm "Signatures"
  each package
fi

# Another machine's Python: its zlib deflates to other bytes.
mkdir -p "$work/other-python"
cat >"$work/other-python/sitecustomize.py" <<'EOF'
import zlib
_compressobj = zlib.compressobj
zlib.compressobj = lambda level=-1, method=zlib.DEFLATED, wbits=15, *_: \
    _compressobj(level, method, wbits, 9, zlib.Z_FILTERED)
EOF
echo "repro-check: building it again in $work/b, 400 days later"
(umask 027
 export TZ=Pacific/Kiritimati PYTHONPATH=$work/other-python
 export GIT_CONFIG_COUNT=1 GIT_CONFIG_KEY_0=core.autocrlf GIT_CONFIG_VALUE_0=true
 faketime -f +400d bash "$first/scripts/verify-release.sh" --work "$work/b" \
   "$first"/build/release/ravelind-*.zip) || fail "the zips differ"

second=$(echo "$work"/b/ravelind-*/build)
for file in release/SHA256SUMS release/BUILDINFO release/Ravelind.Ravelind.yaml \
    release/Ravelind.Ravelind.locale.en-US.yaml release/Ravelind.Ravelind.installer.yaml \
    release/ravelind.json win64/zip/ravelind.exe win32/zip/ravelind.exe; do
  cmp -s "$first/build/$file" "$second/$file" || fail "$file differs between the two builds"
done
# The same bytes, but are they the right ones: the sums must check out and
# every entry be dated at the commit, not at some fixed or local time.
(cd "$first/build/release" && sha256sum --quiet -c SHA256SUMS) \
  || fail "SHA256SUMS does not match the zips"
[ "$(wc -l <"$first/build/release/SHA256SUMS")" = 2 ] || fail "SHA256SUMS names not both zips"
python3 - "$(git log -1 --format=%ct)" "$first"/build/release/*.zip <<'EOF' || fail "dates"
import sys, time, zipfile
want = time.gmtime(int(sys.argv[1]))[:6]
want = want[:5] + (want[5] // 2 * 2,)  # a zip keeps even seconds
for path in sys.argv[2:]:
    for info in zipfile.ZipFile(path).infolist():
        if info.date_time != want:
            sys.exit(f"repro-check: {info.filename} is dated {info.date_time}, the commit {want}")
EOF
[ "$keep" = 1 ] || rm -rf "$work"
echo "repro-check: both zips, SHA256SUMS, BUILDINFO, the manifests and the programs" \
  "are the same bytes from both builds"
