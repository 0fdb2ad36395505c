#!/usr/bin/env bash
# Times a run from the Windows window, pellimar.exe's own, against
# pellimar-cli.exe, both under wine on the same generated file (100 MB unless
# a size in MB is given) with the same options: the median of five rounds
# each, or of as many as given second. The window's figure is the run alone,
# from Begin to the closing question, with the window shown on a virtual
# display, and says how long the window's handling of its messages took;
# the command line's includes starting the process under wine, which is also
# timed on its own (--version) so that the run alone can be compared too.
set -euo pipefail
cd "$(dirname "$0")/.."

size_mb=${1:-100}
rounds=${2:-5}
scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 xvfb x11-utils
export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER-ccache}
[[ -f build/CMakeCache.txt ]] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target flatgen >/dev/null
cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DPELLIMAR_BUILD_BENCH=ON >/dev/null
cmake --build build-windows --target pellimar-cli window_bench_win32 >/dev/null

mkdir -p build/bench build-windows/bench
input=build/bench/input-${size_mb}mb.fff
[[ -f "$input" ]] || build/bench/flatgen "$size_mb" 1998 "$input"
cat "$input" >/dev/null
work=$(realpath build-windows/bench)
input=$(realpath "$input")

export WINEPREFIX=$work/wine WINEDEBUG=-all LC_ALL=C.UTF-8
wine=/usr/lib/wine/wine64
[[ -x $wine ]] || wine=$(command -v wine64 || command -v wine)
# A Linux path as wine's programs see it.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

source scripts/own-display.sh
start_own_display "$work/xvfb.log" || { echo "no display for Xvfb: $(cat "$work/xvfb.log")" >&2; exit 1; }
trap 'timeout 20 "$(dirname "$wine")/wineserver" -k 2>/dev/null || true; kill "$xvfb_pid" 2>/dev/null || true' EXIT
WINEDLLOVERRIDES='mscoree,mshtml=' timeout 120 "$wine" wineboot -i >/dev/null 2>&1
# The wine server is kept running between the rounds, as it is on a desktop
# where wine is used: started anew once the one of wineboot has ended.
"$(dirname "$wine")/wineserver" -w
"$(dirname "$wine")/wineserver" -p

cli_exe=build-windows/src/cli/pellimar-cli.exe
bench_exe=build-windows/bench/window_bench_win32.exe
in_win=$(windows_path "$input")
options=(-r '2 3, p. #' -p '[#]' --start-page 1 --level1 Testament --level2 'Book Name' --level3 Chapter)

wall() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null
  end=$(date +%s.%N)
  echo "$start $end" | awk '{ print $2 - $1 }'
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# One round first, not counted: wine's own libraries come into the cache.
"$wine" "$cli_exe" --force --no-progress -q "${options[@]}" "$in_win" "$(windows_path "$work/cli-out.fff")" >/dev/null
"$wine" "$bench_exe" "$in_win" "$(windows_path "$work/window-out.fff")" >/dev/null

cli_times=() start_times=() window_times=() window_walls=()
for ((round = 0; round < rounds; round++)); do
  cli_times+=("$(wall "$wine" "$cli_exe" --force --no-progress -q "${options[@]}" "$in_win" \
    "$(windows_path "$work/cli-out.fff")")")
  start_times+=("$(wall "$wine" "$cli_exe" --version)")
  start=$(date +%s.%N)
  line=$("$wine" "$bench_exe" "$in_win" "$(windows_path "$work/window-out.fff")")
  window_walls+=("$(echo "$start $(date +%s.%N)" | awk '{ print $2 - $1 }')")
  window_times+=("$(echo "$line" | awk '{ print $1 }')")
done
echo "the window's last run: $line"
cmp "$work/cli-out.fff" "$work/window-out.fff" && echo "outputs identical"
t_cli=$(printf '%s\n' "${cli_times[@]}" | median)
t_start=$(printf '%s\n' "${start_times[@]}" | median)
t_window=$(printf '%s\n' "${window_times[@]}" | median)
t_window_wall=$(printf '%s\n' "${window_walls[@]}" | median)
echo "rounds: $rounds; pellimar-cli.exe ${cli_times[*]}; window ${window_times[*]}"
awk -v c="$t_cli" -v s="$t_start" -v w="$t_window" -v ww="$t_window_wall" 'BEGIN {
  printf "pellimar-cli.exe under wine      %.3f s (median; %.3f s of it starting the process)\n", c, s
  printf "pellimar.exe window, the run     %.3f s (median; %.3f s with starting the process and the window)\n", w, ww
  printf "window / pellimar-cli.exe        %.3f (%+.1f %%)\n", w / c, (w / c - 1) * 100
  printf "window / pellimar-cli.exe run    %.3f (%+.1f %%), without the process start\n", w / (c - s), (w / (c - s) - 1) * 100 }'
rm -f "$work/cli-out.fff" "$work/window-out.fff"
