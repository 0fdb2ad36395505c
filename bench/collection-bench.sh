#!/usr/bin/env bash
# A collection beside single runs: COUNT (default 8) generated files of
# SIZE_MB (default 64) converted with -d, one job and two, and one by one as
# single runs, files in the page cache and every output synced as the
# program syncs it:
#
# - the wall time of each way (the median of ROUNDS, default 3, interleaved
#   rounds) and -j 2's speed-up over -j 1;
# - -j 1's time per megabyte beside the single runs';
# - that the outputs of all three ways are identical, byte for byte;
# - peak memory of -j 1 and -j 2, and what the second job adds;
# - where the time goes: the CPU time of the runs beside their wall time,
#   the pass alone (output to /dev/null, nothing synced) and cp with sync
#   of the same bytes (the disk's share).
#
# Wall-clock figures are only worth comparing on a quiet machine.
#
#   bash bench/collection-bench.sh [SIZE_MB] [COUNT] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."

size_mb=${1:-64}
count=${2:-8}
rounds=${3:-3}
scripts/install-deps.sh time
cmake --build build --target pellimar-cli flatgen >/dev/null

cli=build/src/cli/pellimar-cli
work=build/bench/collection
mkdir -p "$work/in"
inputs=()
for ((i = 0; i < count; i++)); do
  file=$work/in/book$i-${size_mb}mb.fff
  [[ -f "$file" ]] || build/bench/flatgen "$size_mb" "$((1998 + i))" "$file"
  inputs+=("$file")
done
total_mb=$(stat -c %s "${inputs[@]}" | awk '{ t += $1 } END { printf "%.0f", t / 1048576 }')
options=(--force --no-progress -q -r '2 3, p. #' -p '[#]' --level1 Testament --level2 'Book Name'
  --level3 Chapter --remove-page-marks)

fresh() { rm -rf "$1" && mkdir -p "$1"; }
jobs1() { fresh "$work/j1" && "$cli" "${options[@]}" -j 1 -d "$work/j1" "${inputs[@]}"; }
jobs2() { fresh "$work/j2" && "$cli" "${options[@]}" -j 2 -d "$work/j2" "${inputs[@]}"; }
singles() {
  fresh "$work/single"
  for input in "${inputs[@]}"; do "$cli" "${options[@]}" "$input" "$work/single/${input##*/}"; done
}
pass_only() { for input in "${inputs[@]}"; do "$cli" "${options[@]}" "$input" /dev/null; done; }
copies() {
  fresh "$work/copy"
  for input in "${inputs[@]}"; do cp "$input" "$work/copy/" && sync -d "$work/copy/${input##*/}"; done
}
ways=(jobs1 jobs2 singles pass_only copies)
declare -A label=([jobs1]="-d, -j 1" [jobs2]="-d, -j 2" [singles]="single runs" [pass_only]="pass to /dev/null"
  [copies]="cp + sync")

# Each way once per round, so that a change in the machine's load falls on
# all of them alike; wall, user and system seconds of each.
cat "${inputs[@]}" > /dev/null
declare -A wall cpu
for ((round = 0; round < rounds; round++)); do
  for way in "${ways[@]}"; do
    read -r e u s < <( { /usr/bin/time -f '%e %U %S' bash -c "$(declare -p cli options inputs work);
      $(declare -f fresh "$way"); $way" >/dev/null; } 2>&1 | tail -1)
    wall[$way]+="$e "
    cpu[$way]+="$(awk -v u="$u" -v s="$s" 'BEGIN { print u + s }') "
  done
done
median() { tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

identical=yes
for input in "${inputs[@]}"; do
  name=${input##*/}
  cmp -s "$work/j1/$name" "$work/j2/$name" && cmp -s "$work/j1/$name" "$work/single/$name" || identical=NO
done

peak() { { /usr/bin/time -f %M "$@" >/dev/null; } 2>&1 | tail -1; }
fresh "$work/j1"
peak1=$(peak "$cli" "${options[@]}" -j 1 -d "$work/j1" "${inputs[@]}")
fresh "$work/j2"
peak2=$(peak "$cli" "${options[@]}" -j 2 -d "$work/j2" "${inputs[@]}")
peak_single=$(peak "$cli" "${options[@]}" "${inputs[0]}" "$work/single/one.fff")

echo "$count files of $size_mb MB ($total_mb MB), median of $rounds interleaved rounds; load at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-20s %10s %10s %10s\n' way 'wall s' 'CPU s' 'ms/MB'
for way in "${ways[@]}"; do
  w=$(median "${wall[$way]}")
  c=$(median "${cpu[$way]}")
  printf '%-20s %10.2f %10.2f %10.2f\n' "${label[$way]}" "$w" "$c" "$(awk -v w="$w" -v m="$total_mb" 'BEGIN { print 1000 * w / m }')"
done
w1=$(median "${wall[jobs1]}")
w2=$(median "${wall[jobs2]}")
ws=$(median "${wall[singles]}")
printf -- '-j 2 speed-up over -j 1: %.2f×\n' "$(awk -v a="$w1" -v b="$w2" 'BEGIN { print a / b }')"
printf -- '-j 1 per byte beside single runs: %.2f\n' "$(awk -v a="$w1" -v b="$ws" 'BEGIN { print a / b }')"
echo "outputs of -j 1, -j 2 and single runs identical: $identical"
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
echo "peak memory: single run $(mb "$peak_single") MB, -j 1 $(mb "$peak1") MB, -j 2 $(mb "$peak2") MB" \
  "(the second job adds $(mb $((peak2 - peak1))) MB)"
