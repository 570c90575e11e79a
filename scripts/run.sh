#!/usr/bin/env bash
# Builds Ravelind if needed and runs it under Wine, in a working directory of
# its own (run/, where rv.ini lives) with a Wine prefix of its own. With a
# $DISPLAY it shows there in a Wine desktop that has a notification area;
# without one it starts a virtual display, saves a screenshot of the desktop a
# few seconds after start, prints its path, and runs until the program ends
# or Ctrl-C.
set -euo pipefail
cd "$(dirname "$0")/.."
RAVELIND_SKIP_WIN32=1 bash scripts/build.sh --program-only

root=$PWD
workdir=$root/run
mkdir -p "$workdir"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
export WINEPREFIX=$workdir/prefix

source scripts/wine-env.sh
WINE_ENV_XVFB_PID=
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$WINE_ENV_XVFB_PID" ] && kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

headless=0
if [ -z "${DISPLAY:-}" ]; then
  start_virtual_display "$workdir"
  headless=1
fi

[ -d "$WINEPREFIX" ] || { wineboot -i >"$workdir/wineboot.log" 2>&1 || true; wineserver -w; }
install_wine_fonts  # also into a prefix made before fonts were added

cd "$workdir"
# Wine's own desktop window carries a task bar with a notification area.
wine explorer /desktop="Ravelind,$WINE_ENV_DESKTOP" "$root/build/win64/ravelind.exe" &
program=$!
if [ "$headless" = 1 ]; then
  sleep 6
  import -window root "$workdir/screenshot.png"
  echo "Ravelind is running on a virtual display; screenshot: $workdir/screenshot.png"
  echo "Press Ctrl-C to stop."
fi
wait "$program" || true
