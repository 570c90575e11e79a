#!/usr/bin/env bash
# Installs what building, running and testing Ravelind needs on Debian 12.
# Idempotent: when every package is present it only checks and returns.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 fonts-wine fonts-liberation2 xvfb xauth xdotool x11-utils faketime imagemagick
  python3 procps git osslsigncode openssl python3-yaml
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}" >&2
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The posix thread model is what GoogleTest needs from MinGW-w64.
for alt in x86_64-w64-mingw32-g++ x86_64-w64-mingw32-gcc i686-w64-mingw32-g++ i686-w64-mingw32-gcc; do
  [ -e "/usr/bin/$alt-posix" ] || continue
  update-alternatives --query "$alt" 2>/dev/null | grep -q "^Value: /usr/bin/$alt-posix" \
    || ${sudo:-} update-alternatives --set "$alt" "/usr/bin/$alt-posix" >/dev/null 2>&1 || true
done
