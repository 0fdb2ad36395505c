#!/usr/bin/env bash
# Times a run from the main window against pellimar-cli on the same generated
# file (100 MB unless a size in MB is given), best of three each. The CLI's
# figure includes starting the process; the window's is the run alone.
set -euo pipefail
cd "$(dirname "$0")/.."

size_mb=${1:-100}
scripts/install-deps.sh
scripts/build.sh build
work=build/bench
mkdir -p "$work"
input=$work/input-${size_mb}mb.fff
[[ -f "$input" ]] || build/bench/flatgen "$size_mb" 1998 "$input"
cat "$input" > /dev/null

source bench/timing.sh

cli() {
  build/src/cli/pellimar-cli --force --no-progress -q -r '2 3, p. #' -p '[#]' --start-page 1 \
    --level1 Testament --level2 'Book Name' --level3 Chapter "$input" "$work/cli-out.fff"
}
# The window's own figure is the run from the click to the end dialogue,
# without the start of the Qt application.
window_run() {
  local best=1e9
  for _ in 1 2 3; do
    local t
    t=$(build/bench/window_bench "$input" "$work/window-out.fff" 2>/dev/null | awk '{ print $1 }')
    best=$(echo "$t $best" | awk '{ print ($1 < $2 ? $1 : $2) }')
  done
  echo "$best"
}

t_cli=$(best_time cli)
t_window=$(window_run)
build/bench/window_bench "$input" "$work/window-out.fff" 2>/dev/null
cmp "$work/cli-out.fff" "$work/window-out.fff" && echo "outputs identical"
awk -v c="$t_cli" -v w="$t_window" 'BEGIN {
  printf "pellimar-cli  %.3f s\nwindow        %.3f s\nwindow overhead %+.1f %%\n", c, w, (w / c - 1) * 100 }'
rm -f "$work/cli-out.fff" "$work/window-out.fff"
