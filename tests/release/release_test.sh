#!/usr/bin/env bash
# The signed release from end to end, with a certificate authority made here:
# repro-check.sh signs HEAD's programs in a clean clone, commits the signatures
# and gets the same bytes from a second clone. Then the zip's program must check
# out against the authority and not once a byte of it changes; PKCS#12 must sign
# alike; the manifests must name the zips; a signature of the other build must
# stop the package, and a zip of another commit must leave the release folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/ravelind-release.XXXXXX)
fail() { echo "release_test: FAIL: $*; kept in $work" >&2; exit 1; }
cd "$work"
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 30 \
  -subj "/CN=Ravelind Test CA" -addext basicConstraints=critical,CA:true \
  -addext keyUsage=critical,keyCertSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr \
  -subj "/CN=Ravelind Test Signer" 2>/dev/null
printf 'keyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signer.ext
openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 30 \
  -extfile signer.ext -out signer.pem 2>/dev/null
RAVELIND_SIGN_CERT=$work/signer.pem RAVELIND_SIGN_KEY=$work/signer.key \
  bash "$root/scripts/repro-check.sh" --keep "$work/repro" || fail "repro-check"

a=$work/repro/a/ravelind release=$work/repro/a/ravelind/build/release
zip64=$(echo "$release"/ravelind-*-win64.zip) zip32=$(echo "$release"/ravelind-*-win32.zip)
python3 -c 'import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1])
  .read("ravelind.exe"))' "$zip64" >signed.exe
osslsigncode verify -CAfile ca.pem -in signed.exe >verify.log 2>&1 \
  || fail "the zip's program does not verify against the authority: verify.log"
python3 -c 'import sys; d = bytearray(open(sys.argv[1], "rb").read()); d[0x1000] ^= 1
sys.stdout.buffer.write(d)' signed.exe >changed.exe
! osslsigncode verify -CAfile ca.pem -in changed.exe >/dev/null 2>&1 \
  || fail "a program with one byte changed still verifies"
openssl pkcs12 -export -in signer.pem -inkey signer.key -passout pass:pw -out signer.p12
(cd "$a" && SOURCE_DATE_EPOCH=$(git log -1 --format=%ct HEAD~1) \
  RAVELIND_SIGN_CERT=$work/signer.p12 RAVELIND_SIGN_PASSWORD=pw cmake --build --preset win32 --target sign >/dev/null) \
  && git -C "$a" diff --quiet || fail "PKCS#12 did not sign as the PEM files did"
python3 "$root/tests/release/check_manifests.py" "$release" || fail "the manifests"

stale=$a/release/signatures/$(basename "$zip32" .zip).exe.pem
cp "$a/release/signatures/$(basename "$zip64" .zip).exe.pem" "$stale"
out=$(cd "$a" && cmake --build --preset win32 --target package 2>&1) \
  && fail "the package attached the win64 signature to the win32 program"
grep -q "release/signatures/$(basename "$stale") was made for another build" <<<"$out" \
  || fail "no word of the stale signature: $out"
! [ -e "$zip32" ] && ! grep -q win32 "$release/SHA256SUMS" \
  || fail "the failed win32 package left a zip in the release"
git -C "$a" checkout -q "$stale"
(cd "$a" && cmake --build --preset win32 --target package >/dev/null \
  && git -c user.name=t -c user.email=t@localhost commit -q --allow-empty -m next \
  && cmake --build --preset win64 --target package >/dev/null) || fail "the packages"
! [ -e "$zip32" ] && [ "$(grep -c . "$release/SHA256SUMS")" = 1 ] \
  || fail "the win32 zip of the commit before stayed in the release"
rm -rf "$work"
