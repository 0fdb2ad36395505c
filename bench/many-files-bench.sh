#!/usr/bin/env bash
# A collection of many small files: COUNT (default 1000) and twice COUNT
# files of a few records converted with -d into a fresh folder, then again
# over their own outputs (every output replacing a file). Each output is
# held to every input of the run, so the time per file should stay the same
# at either count and either way: a time that grows with the count is a
# cost per pair of files.
#
#   bash bench/many-files-bench.sh [COUNT]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/timing.sh

count=${1:-1000}
scripts/build.sh build >/dev/null
cli=${PELLIMAR_CLI:-build/src/cli/pellimar-cli}
work=build/bench/many-files
rm -rf "$work" && mkdir -p "$work/in"
for ((i = 0; i < 2 * count; i++)); do
  printf '<RD:Book>Book %d\r\n<RD>text\r\n<RD>more\r\n' "$i" > "$work/in/book$i.fff"
done
options=(-q -f -r 1 --level1 Book --no-progress)

printf '%-8s %-10s %10s %12s\n' files outputs 'wall s' 'ms per file'
for n in "$count" $((2 * count)); do
  inputs=()
  for ((i = 0; i < n; i++)); do inputs+=("$work/in/book$i.fff"); done
  rm -rf "$work/out"
  fresh=$(best_time bash -c 'rm -rf "$1" && mkdir "$1" && "${@:2}"' _ "$work/out" "$cli" "${options[@]}" \
    -d "$work/out" "${inputs[@]}")
  replaced=$(best_time "$cli" "${options[@]}" -d "$work/out" "${inputs[@]}")
  # A run that failed would time nothing worth reading.
  "$cli" "${options[@]}" -d "$work/out" "${inputs[@]}"
  [[ $(find "$work/out" -name '*.fff' | wc -l) == "$n" ]] || { echo "not every output was written" >&2; exit 1; }
  for way in fresh replaced; do
    printf '%-8s %-10s %10.2f %12.3f\n' "$n" "$way" "${!way}" "$(awk -v t="${!way}" -v n="$n" 'BEGIN { print 1000 * t / n }')"
  done
done
