#!/usr/bin/env bash
# pellimar-cli on inputs built to cost more than their size, beside an
# ordinary generated file of the same size: each one's speed in MB/s, its
# share of the ordinary file's speed, and its peak memory (maximum resident
# set, from /usr/bin/time). Each input is SIZE_MB megabytes (default 64):
#
#   opens       nothing but "<"
#   escapes     "<< " over and over: text that is all "<" meant as text
#   unclosed    "<" followed by a megabyte of text without ">", over and over
#   brackets    nothing but "[", with the page-number pattern "[#]"
#   heading     one level record whose heading is one line of the whole size
#   lookalikes  "<RD><CS:Reference>" over and over: a reference's opening
#               after every record code, none of them ended
#
# Every input is converted with the same options (a level, the page and its
# pattern "[#]"); the ordinary file with those of bench/convert-bench.sh.
# The best of ROUNDS runs (default 3) is kept; wall-clock figures are only
# worth comparing on a quiet machine.
#
#   bash bench/hostile-bench.sh [SIZE_MB] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."

size_mb=${1:-64}
rounds=${2:-3}
scripts/install-deps.sh time
scripts/build.sh build >/dev/null
cli=${PELLIMAR_CLI:-build/src/cli/pellimar-cli}
work=build/bench/hostile
mkdir -p "$work"
bytes=$((size_mb * 1024 * 1024))

# The first COUNT bytes of TEXT repeated (head ends the pipe early).
repeated() { yes -- "$1" | tr -d '\n' | head -c "$2" || true; }
# A "<" and a megabyte of "x", repeated to COUNT bytes.
unclosed_codes() {
  for ((i = 0; i <= $1 / (1024 * 1024); i++)); do
    printf '<'
    head -c $((1024 * 1024)) /dev/zero | tr '\0' x
  done | head -c "$1" || true
}

make_input() {
  local name=$1 file=$work/$1-${size_mb}mb.fff
  [[ -f "$file" ]] && return
  if [[ $name == ordinary ]]; then
    build/bench/flatgen "$size_mb" 1998 "$file"
    return
  fi
  case $name in
    opens)      repeated '<' "$bytes" ;;
    escapes)    repeated '<< ' "$bytes" ;;
    unclosed)   unclosed_codes "$bytes" ;;
    brackets)   repeated '[' "$bytes" ;;
    heading)    { printf '<RD:Book>'; repeated 'h' $((bytes - 16)); printf '\r\n<RD>x'; } ;;
    lookalikes) repeated '<RD><CS:Reference>' "$bytes" ;;
  esac > "$file"
}

options_of() {
  if [[ $1 == ordinary ]]; then
    echo "-r|2 3, p. #|-p|[#]|--level1|Testament|--level2|Book Name|--level3|Chapter|--remove-page-marks"
  else
    echo "-r|1, p. #|-p|[#]|--level1|Book|--start-page|1"
  fi
}

# "peak-KB seconds" of the best of the rounds.
measure() {
  local name=$1 best_seconds="" best_peak=0
  IFS='|' read -r -a options <<<"$(options_of "$name")"
  for ((round = 0; round < rounds; round++)); do
    read -r peak seconds < <(/usr/bin/time -f '%M %e' "$cli" -f --no-progress -q "${options[@]}" \
      "$work/$name-${size_mb}mb.fff" "$work/out.fff" 2>&1 >/dev/null | tail -1)
    if [[ -z "$best_seconds" ]] || awk -v a="$seconds" -v b="$best_seconds" 'BEGIN { exit !(a < b) }'; then
      best_seconds=$seconds
    fi
    (( peak > best_peak )) && best_peak=$peak
  done
  rm -f "$work/out.fff"
  echo "$best_peak $best_seconds"
}

rate() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.1f", (s > 0) ? n / 1048576 / s : 0 }'; }

make_input ordinary
read -r peak seconds < <(measure ordinary)
ordinary_size=$(stat -c %s "$work/ordinary-${size_mb}mb.fff")
ordinary_rate=$(rate "$ordinary_size" "$seconds")
printf '%-11s %9s %9s %8s %9s\n' input seconds 'MB/s' share 'peak MB'
printf '%-11s %9s %9s %8s %9.1f\n' ordinary "$seconds" "$ordinary_rate" "1.00" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')"
for name in opens escapes unclosed brackets heading lookalikes; do
  make_input "$name"
  read -r peak seconds < <(measure "$name")
  size=$(stat -c %s "$work/$name-${size_mb}mb.fff")
  speed=$(rate "$size" "$seconds")
  printf '%-11s %9s %9s %8s %9.1f\n' "$name" "$seconds" "$speed" \
    "$(awk -v a="$speed" -v b="$ordinary_rate" 'BEGIN { printf "%.2f", a / b }')" \
    "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')"
done
