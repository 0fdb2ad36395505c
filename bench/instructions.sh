#!/usr/bin/env bash
# Instructions per input byte of a conversion, counted by callgrind (the
# count does not depend on the machine's load). The program's fixed cost
# (start-up, opening, closing) is taken out by converting the input once and
# twice over and dividing the difference by the input's size.
#
#   bench/instructions.sh CLI INPUT [pellimar-cli options...]
# Prints one number: instructions per byte.
set -euo pipefail

cli=$1 input=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat "$input" > "$work/once.fff"
cat "$input" "$input" > "$work/twice.fff"

count() {
  valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
    "$cli" --force --no-progress -q "$@" >/dev/null 2>&1
  sed -n 's/^summary: *//p;s/^totals: *//p' "$work/callgrind.out" | head -1
}

once=$(count "$@" "$work/once.fff" "$work/out.fff")
twice=$(count "$@" "$work/twice.fff" "$work/out.fff")
bytes=$(stat -c %s "$input")
awk -v a="$once" -v b="$twice" -v n="$bytes" 'BEGIN { printf "%.2f\n", (b - a) / n }'
