#!/usr/bin/env bash
# Installs what is missing, then builds what is stale: the Windows program and
# its tests (win64), the same for 32 bits (compiled only, tests included, so
# that nothing builds on one only) and the host tree that runs tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

configure() {  # preset [extra args]: configure once, then only build
  local preset=$1; shift
  [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" "$@" >/dev/null
}

configure win64
if [ "${1:-}" = --program-only ]; then
  cmake --build --preset win64 --target ravelind
else
  # Everything, then the release zip: build/release/ravelind-<version>-win64.zip.
  cmake --build --preset win64 --target all package
fi
if [ "${RAVELIND_SKIP_WIN32:-0}" != 1 ]; then
  configure win32
  if [ "${1:-}" = --program-only ]; then
    cmake --build --preset win32 --target ravelind
  else
    cmake --build --preset win32 --target all package  # and the -win32.zip beside it
  fi
fi
if [ "${1:-}" != --program-only ]; then
  grep -q "^RAVELIND_WIN64_DIR:PATH=$PWD/build/win64\$" build/native/CMakeCache.txt 2>/dev/null \
    || cmake --preset native -DRAVELIND_WIN64_DIR="$PWD/build/win64" >/dev/null
  cmake --build --preset native
fi
