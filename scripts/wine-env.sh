# Sourced by the run and test scripts: a virtual X display, a throwaway Wine
# prefix whose programs share one virtual desktop (so that the notification
# area exists and every program sees the others' windows), and a persistent
# wineserver. Call wine_env_start DIR; wine_env_stop tears it all down.

# The size of Wine's virtual desktop, and of the virtual X display around it,
# so that the desktop fills the display from 0,0 (the tests count on that).
WINE_ENV_DESKTOP=800x600

# Starts Xvfb on a free display number of its own choosing and exports DISPLAY.
start_virtual_display() {
  local number_file=$1/display-number
  rm -f "$number_file"
  Xvfb -displayfd 1 -screen 0 "${WINE_ENV_DESKTOP}x24" -nolisten tcp >"$number_file" 2>"$1/xvfb.log" &
  WINE_ENV_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$number_file" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$number_file")"
}

# Wine comes with its own Marlett (the caption buttons' glyphs), Tahoma, MS Sans
# Serif and other Windows fonts (package fonts-wine), but this Wine does not
# load them from there and a new prefix's Fonts folder is empty: caption
# buttons then show "0 1 r". Wine loads every font file in that folder, so
# copying them in is enough. Copies only what is missing; a few milliseconds.
install_wine_fonts() {
  local from=/usr/share/wine/fonts to=$WINEPREFIX/drive_c/windows/Fonts font missing=()
  [ -d "$from" ] || { echo "wine-env: no $from (package fonts-wine)" >&2; return 0; }
  mkdir -p "$to"
  for font in "$from"/*; do
    [ -e "$to/${font##*/}" ] || missing+=("$font")
  done
  ((${#missing[@]} == 0)) || cp "${missing[@]}" "$to/"
}

wine_env_start() {
  local dir=$1
  mkdir -p "$dir"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEPREFIX="$dir/prefix"
  export WINEARCH=win64
  rm -rf "$WINEPREFIX"

  if [ -z "${DISPLAY:-}" ] || [ "${RAVELIND_OWN_DISPLAY:-0}" = 1 ]; then
    start_virtual_display "$dir"
  fi

  wineboot -i >"$dir/wineboot.log" 2>&1 || true
  wineserver -w
  install_wine_fonts
  # Where the MS Sans Serif bitmaps have no size for the scale, Ravelind's windows take
  # Microsoft Sans Serif, their TrueType form, which every Windows since 2000 has (micross.ttf).
  # Wine has no face of that name and would take DejaVu Sans, a much wider one. Liberation Sans
  # (fonts-liberation2) stands in: its letters set the bitmap's dialog units at 96 DPI, and our
  # labels come out about 4 % wider in it than in the bitmap, whose widths the TrueType form keeps.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v 'Microsoft Sans Serif' /d 'Liberation Sans' /f >/dev/null 2>&1
  # Every program of the prefix shares one virtual desktop.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$WINE_ENV_DESKTOP" /f >/dev/null 2>&1
  wineserver -w
  wineserver -p
  # The first program of a new wineserver starts Wine's services, which then
  # live as long as the server and keep that program's output open: start
  # them now, writing to nothing, so that no test's output pipe stays open.
  wine reg query 'HKCU\Software\Wine\Explorer' </dev/null >/dev/null 2>&1 || true
  WINE_ENV_DIR=$dir
}

wine_env_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  [ -n "${WINE_ENV_XVFB_PID:-}" ] && kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
  WINE_ENV_XVFB_PID=
}
