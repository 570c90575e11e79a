#!/usr/bin/env bash
# Start-up benchmark (not a test; CI does not run it): Ravelind against two
# baselines built from scripts/bench-baseline.cpp, run in turn in one Wine
# environment with a warm wineserver, each run in a fresh empty directory.
#   baseline  sockets, one dialog with a month calendar, one tray icon
#   full      the same plus everything else Ravelind does before showing
#             its tray icon: owner window, the whole dialog, window menu item,
#             both window icons, the settings file opened at start and written
#             at quit; Ravelind's manifest
# Prints a Markdown table of medians, spreads and ratios.
#
#   bash scripts/bench.sh [RUNS]     # RUNS of each program, 20 by default
#
# Environment: BENCH_IDLE_MS (5000) idle time before memory is read,
# BENCH_POLL_MS (2) polling interval of the timing driver, BENCH_BEFORE the
# path of another build of ravelind.exe (an earlier commit's, say), run in
# turn with the others and compared side by side.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
idle_ms=${BENCH_IDLE_MS:-5000}
poll_ms=${BENCH_POLL_MS:-2}
[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "usage: bench.sh [RUNS]" >&2; exit 2; }

root=$PWD
out=$root/build/bench
mkdir -p "$out"
if ! RAVELIND_SKIP_WIN32=1 bash scripts/build.sh --program-only >"$out/build.log" 2>&1; then
  cat "$out/build.log" >&2
  exit 1
fi

# The baseline and the driver: built like the shipped program (static
# runtime, unused sections dropped, stripped), with our warning list.
cxx=(x86_64-w64-mingw32-g++ -std=c++17 -O2 -DWIN32_LEAN_AND_MEAN -D_WIN32_WINNT=0x0601
     -ffunction-sections -fdata-sections -Wall -Wextra -Wpedantic -Wshadow -Wconversion
     -Wsign-conversion -Wold-style-cast -Werror -static -s -Wl,--gc-sections)
for variant in baseline full; do
  defines=()
  [ "$variant" = full ] && defines=(-DBENCH_FULL)
  x86_64-w64-mingw32-windres "${defines[@]}" -I res -I build/win64/icons scripts/bench-baseline.rc \
    -O coff -o "$out/bench-$variant.res.o"
  "${cxx[@]}" "${defines[@]}" -mwindows scripts/bench-baseline.cpp "$out/bench-$variant.res.o" \
    -lcomctl32 -lshell32 -lwsock32 -o "$out/bench-$variant.exe"
done
"${cxx[@]}" scripts/bench-driver.cpp -lshell32 -o "$out/bench-driver.exe"

programs=(ravelind baseline full)
declare -A exe=([ravelind]=$root/build/win64/ravelind.exe [baseline]=$out/bench-baseline.exe
                [full]=$out/bench-full.exe)
if [ -n "${BENCH_BEFORE:-}" ]; then
  # Its own name, so that its process is told from ours by the name it runs under.
  cp "$BENCH_BEFORE" "$out/ravelind-before.exe"
  programs+=(before)
  exe[before]=$out/ravelind-before.exe
fi

source scripts/wine-env.sh
env_dir=$(mktemp -d /tmp/ravelind-bench.XXXXXX)
RAVELIND_OWN_DISPLAY=1 wine_env_start "$env_dir"
trap 'wine_env_stop; rm -rf "$env_dir"' EXIT
work=$env_dir/work
mkdir -p "$work"
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

# The Wine process of a running program of this prefix: its first argument
# names the executable.
program_pid() {
  local base=${1,,} p argv0
  for p in /proc/[0-9]*; do
    IFS= read -r -d '' argv0 2>/dev/null <"$p/cmdline" || continue
    argv0=${argv0,,}
    [[ $argv0 == *"\\$base" || $argv0 == *"/$base" ]] || continue
    tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    echo "${p#/proc/}"
    return 0
  done
  return 1
}

# Round 0 warms the caches and the desktop and is not counted.
results=$env_dir/results
: >"$results"
driver_programs=()
for p in "${programs[@]}"; do driver_programs+=("$p" "$(winpath "${exe[$p]}")"); done
wine "$out/bench-driver.exe" $((runs + 1)) "$idle_ms" "$poll_ms" "$(winpath "$work")" \
  "${driver_programs[@]}" 2>/dev/null |
  while read -r kind name round rest; do
    rest=${rest%$'\r'} round=${round%$'\r'}  # the driver ends its lines with CR LF
    case $kind in
      IDLE)
        rss=0
        if pid=$(program_pid "$(basename "${exe[$name]}")"); then
          rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
        fi
        echo "RSS $name $round $rss" >>"$results"
        : >"$work/ack"
        ;;
      RUN) echo "RUN $name $round $rest" >>"$results" ;;
      FAIL) echo "bench: $name run $round failed: $rest" >&2 ;;
    esac
  done

size_of() { x86_64-w64-mingw32-strip -o "$out/stripped.exe" "$1" && stat -c %s "$out/stripped.exe"; }
machine="$(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores,"
machine+=" $(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo),"
machine+=" $(. /etc/os-release && echo "$PRETTY_NAME"), $(wine --version 2>/dev/null)"

sizes=()
for p in "${programs[@]}"; do sizes+=("$(size_of "${exe[$p]}")"); done
python3 - "$results" "$runs" "$machine" "$idle_ms" "${sizes[@]}" <<'PY'
import statistics, sys
path, runs, machine, idle_ms, *sizes = sys.argv[1:]
programs = ("ravelind", "baseline", "full", "before")[:len(sizes)]
data = {}  # (program, measure) -> values
for line in open(path):
    kind, name, rnd, *values = line.split()
    if int(rnd) == 0:
        continue  # the warm-up round
    if kind == "RUN":
        for key, value in zip(("visible", "tray", "quit"), values):
            data.setdefault((name, key), []).append(float(value))
    elif kind == "RSS" and int(values[0]) > 0:
        data.setdefault((name, "rss"), []).append(float(values[0]))

def cell(values, unit):
    if not values:
        return "n/a", None
    m = statistics.median(values)
    q = statistics.quantiles(values, n=4) if len(values) > 1 else [m, m, m]
    fmt = (lambda v: f"{v:,.0f}") if unit == "kB" else (lambda v: f"{v:.0f}")
    return f"{fmt(m)} ({fmt(min(values))}–{fmt(max(values))}, IQR {fmt(q[2] - q[0])})", m

def ratio(a, b):
    return f"{a / b:.2f}×" if a and b else "n/a"

print(f"Machine: {machine}")
print(f"Runs: {runs} of each program, in turn, after one warm-up round.\n")
before = len(programs) == 4  # a column and a ratio more
print("| Measure | Ravelind: median (min–max, IQR) | Baseline | Full baseline "
      + ("| Ravelind before " if before else "")
      + "| Ravelind / baseline | Ravelind / full baseline |" + (" Ravelind / before |" if before else ""))
print("|---" * (8 if before else 6) + "|")
for key, label, unit in (("visible", "Launch → window visible (ms)", "ms"),
                         ("tray", "Launch → tray icon (ms)", "ms"),
                         ("quit", "Quit → process gone (ms)", "ms"),
                         ("rss", f"Resident memory after {int(idle_ms) / 1000:g} s idle (kB)", "kB")):
    cells = [cell(data.get((p, key), []), unit) for p in programs]
    texts, medians = [c[0] for c in cells], [c[1] for c in cells]
    n = min(len(data.get((p, key), [])) for p in programs)
    ratios = [ratio(medians[0], m) for m in medians[1:]]
    print(f"| {label} | {' | '.join(texts)} | {' | '.join(ratios)} |"
          + ("" if n == int(runs) else f" <!-- {n} runs -->"))
counts = list(map(int, sizes))
print(f"| Executable, x64, stripped (bytes) | {' | '.join(f'{c:,}' for c in counts)} | "
      f"{' | '.join(ratio(counts[0], c) for c in counts[1:])} |")
PY
