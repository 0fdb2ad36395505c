#!/usr/bin/env bash
# Measures the conversion of a generated flat file (256 MB unless a size in MB
# is given) against cp and a single sed substitution over the same file, all
# with the file in the page cache. Prints MB/s, ratios and peak memory.
set -euo pipefail
cd "$(dirname "$0")/.."

size_mb=${1:-256}
scripts/install-deps.sh
if ! [[ -x /usr/bin/time ]]; then
  sudo=""; [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get install -y -qq --no-install-recommends time
fi
scripts/build.sh build

work=build/bench
mkdir -p "$work"
input=$work/input-${size_mb}mb.fff
[[ -f "$input" ]] || build/bench/flatgen "$size_mb" 1998 "$input"
cat "$input" > /dev/null   # into the page cache
bytes=$(stat -c %s "$input")

source bench/timing.sh

convert() {
  build/src/cli/pellimar-cli --force --no-progress -q -r '2 3, p. #' -p '[#]' \
    --level1 Testament --level2 'Book Name' --level3 Chapter --remove-page-marks "$input" "$work/out.fff"
}
copy() { cp "$input" "$work/copy.fff"; }
substitute() { sed 's/LORD/Lord/' "$input" > "$work/sed.fff"; }

t_convert=$(best_time convert)
t_copy=$(best_time copy)
t_sed=$(best_time substitute)
peak_kb=$( { /usr/bin/time -f %M bash -c "$(declare -f convert); input='$input' work='$work' convert" ; } 2>&1 | tail -1)

awk -v b="$bytes" -v c="$t_convert" -v p="$t_copy" -v s="$t_sed" -v m="$peak_kb" 'BEGIN {
  mb = b / 1e6
  printf "input            %10.1f MB\n", mb
  printf "pellimar-cli     %10.1f MB/s  (%.3f s)\n", mb / c, c
  printf "cp               %10.1f MB/s  (%.3f s)\n", mb / p, p
  printf "sed s/LORD/Lord/ %10.1f MB/s  (%.3f s)\n", mb / s, s
  printf "conversion / cp  %10.2f x the time\n", c / p
  printf "conversion / sed %10.2f x the time\n", c / s
  printf "peak memory      %10.1f MB (maximum resident set of pellimar-cli)\n", m / 1024
}'
rm -f "$work/out.fff" "$work/copy.fff" "$work/sed.fff"
