#!/usr/bin/env bash
# The conversion beside cp and a single sed substitution, in one run:
#
# - instructions per input byte under callgrind (the count does not depend
#   on the machine's load) on a 16 MB generated file and on FolioHlp.FFF
#   repeated to about 16 MB (when the shared data is present);
# - the time to write a file, fdatasync included, on a generated file of
#   SIZE_MB (default 256), file in the page cache: the median of ROUNDS
#   (default 5) interleaved rounds, and each time as a multiple of cp's;
# - pellimar-cli's peak memory.
#
# Wall-clock figures are only worth comparing on a quiet machine. With
# PELLIMAR_CLI set, measures that pellimar-cli (an earlier build) instead;
# with PELLIMAR_CLI_BEFORE set, measures that one too, in the same rounds,
# so that a change is timed against what it changed under the same load.
#
#   bash bench/convert-bench.sh [SIZE_MB] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."

size_mb=${1:-256}
rounds=${2:-7}
shared=${PELLIMAR_SHARED_DATA:-../shared/data}
scripts/install-deps.sh valgrind time
scripts/build.sh build >/dev/null

cli=${PELLIMAR_CLI:-build/src/cli/pellimar-cli}
work=build/bench
mkdir -p "$work"
timed=$work/input-${size_mb}mb.fff
[[ -f "$timed" ]] || build/bench/flatgen "$size_mb" 1998 "$timed"
counted=$work/input-16mb.fff
[[ -f "$counted" ]] || build/bench/flatgen 16 1998 "$counted"
generated_options=(-r '2 3, p. #' -p '[#]' --level1 Testament --level2 'Book Name' --level3 Chapter
  --remove-page-marks)
folio_options=(-r '1 2 3, p. #' -p '[#]' -L "$shared/FolioHlp.DEF" --id-records --start-page 1)

before=${PELLIMAR_CLI_BEFORE:-}
convert() { "$cli" --force --no-progress -q "${generated_options[@]}" "$1" "$2"; }
convert_before() { "$before" --force --no-progress -q "${generated_options[@]}" "$1" "$2"; }
copy() { cp "$1" "$2" && sync -d "$2"; }
substitute() { sed 's/<RD>/&X/g' "$1" > "$2" && sync -d "$2"; }
programs=(convert copy substitute)
declare -A label=([convert]="pellimar-cli" [convert_before]="pellimar-cli before" [copy]="cp"
  [substitute]="sed s/<RD>/&X/g")
[[ -n "$before" ]] && programs=(convert convert_before copy substitute)

# Instructions per byte of cp and sed: the whole count over the file, of
# every process the command runs.
count_other() {
  local program=$1 input=$2
  rm -f "$work"/callgrind.out.*
  valgrind --tool=callgrind --trace-children=yes --callgrind-out-file="$work/callgrind.out.%p" \
    bash -c "$(declare -f "$program"); $program \"\$1\" \"\$2\"" _ "$input" "$work/out.fff" >/dev/null 2>&1 || true
  cat "$work"/callgrind.out.* | sed -n 's/^summary: *//p;s/^totals: *//p' |
    awk -v n="$(stat -c %s "$input")" '{ t += $1 } END { printf "%.2f", t / n }'
  rm -f "$work"/callgrind.out.* "$work/out.fff"
}

folio=""
if [[ -r "$shared/FolioHlp.FFF" && -r "$shared/FolioHlp.DEF" ]]; then
  folio=$work/foliohlp-16mb.fff
  if [[ ! -f "$folio" ]]; then
    for _ in 1 2 3 4 5 6; do cat "$shared/FolioHlp.FFF"; done > "$folio"
  fi
fi

declare -A ipb_generated ipb_folio
ipb_generated[convert]=$(bench/instructions.sh "$cli" "$counted" "${generated_options[@]}")
[[ -n "$folio" ]] && ipb_folio[convert]=$(bench/instructions.sh "$cli" "$folio" "${folio_options[@]}")
if [[ -n "$before" ]]; then
  ipb_generated[convert_before]=$(bench/instructions.sh "$before" "$counted" "${generated_options[@]}")
  [[ -n "$folio" ]] && ipb_folio[convert_before]=$(bench/instructions.sh "$before" "$folio" "${folio_options[@]}")
fi
for program in copy substitute; do
  ipb_generated[$program]=$(count_other "$program" "$counted")
  [[ -n "$folio" ]] && ipb_folio[$program]=$(count_other "$program" "$folio")
done

# Interleaved rounds: each program once per round, so that a change in the
# machine's load falls on all of them alike. sed's rounds come after the
# others: on some machines the run after it pays a good part of a second of
# system time, whichever program that is, which would be laid on one of them.
cat "$timed" > /dev/null
declare -A times
time_once() {
  local program=$1 start end
  start=$(date +%s.%N)
  "$program" "$timed" "$work/out.fff"
  end=$(date +%s.%N)
  times[$program]+="$(awk -v s="$start" -v e="$end" 'BEGIN { print e - s }') "
  rm -f "$work/out.fff"
}
# The two builds take turns at going first in a round: on some machines one
# place pays more than the other (ext4 mounted with "discard" trims the
# blocks of each deleted output while the next run writes).
for ((round = 0; round < rounds; round++)); do
  order=("${programs[@]}")
  if [[ -n "$before" ]] && ((round % 2 == 1)); then
    order=(convert_before convert copy)
  fi
  for program in "${order[@]}"; do
    [[ $program == substitute ]] || time_once "$program"
  done
done
for ((round = 0; round < rounds; round++)); do time_once substitute; done
median() { tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
declare -A med
for program in "${programs[@]}"; do med[$program]=$(median "${times[$program]}"); done
peak_kb=$( { /usr/bin/time -f %M "$cli" --force --no-progress -q "${generated_options[@]}" "$timed" "$work/out.fff"; } 2>&1 | tail -1)
rm -f "$work/out.fff"

echo "Instructions per input byte (callgrind), and time to a file with fdatasync"
echo "(median of $rounds interleaved rounds, ${size_mb} MB generated file; noisy on a busy machine)"
printf '%-18s %14s %14s %12s %10s\n' program 'generated/16MB' 'FolioHlp/16MB' 'seconds' '× cp'
for program in "${programs[@]}"; do
  printf '%-18s %14s %14s %12.3f %10.2f\n' "${label[$program]}" "${ipb_generated[$program]}" \
    "${ipb_folio[$program]:-n/a}" "${med[$program]}" "$(awk -v a="${med[$program]}" -v b="${med[copy]}" 'BEGIN { print a / b }')"
done
printf 'peak memory of pellimar-cli: %.1f MB\n' "$(awk -v k="$peak_kb" 'BEGIN { print k / 1024 }')"
