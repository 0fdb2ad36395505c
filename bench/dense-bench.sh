#!/usr/bin/env bash
# Instructions per byte (callgrind) of pellimar-cli on inputs dense with the
# constructs the pass reads one at a time, beside an ordinary generated file
# of the same size. Each input is SIZE_MB megabytes (default 2) of one
# pattern repeated:
#
#   empty-records   "<RD>": a record code and nothing else
#   short-records   "<RD>x"
#   levels          a level record and its heading, then a record, each a line
#   look-alikes     "<RD><CS:Reference>": a reference's opening, never ended
#   brackets        "[", the page-number pattern's first byte
#   bracket-digits  "[1", a marker begun that never ends
#   line-ends       a record code, then 60,000 blanks on the next line
#
# Each is converted with the ordinary file's options (three levels, the page
# and its pattern "[#]") and --line-end-records; the first two again with
# --list-levels, and the ordinary file as bench/convert-bench.sh converts it.
# A count is the difference between the input converted once and twice,
# divided by its size: per byte of the input, and per byte of the input or
# the output, whichever is larger. With PELLIMAR_CLI_BEFORE set, that build
# is counted beside it.
#
#   bash bench/dense-bench.sh [SIZE_MB]
set -euo pipefail
cd "$(dirname "$0")/.."

size_mb=${1:-2}
scripts/install-deps.sh valgrind
scripts/build.sh build >/dev/null
cli=${PELLIMAR_CLI:-build/src/cli/pellimar-cli}
before=${PELLIMAR_CLI_BEFORE:-}
work=build/bench/dense
mkdir -p "$work"
bytes=$((size_mb * 1024 * 1024))

# The first COUNT bytes of TEXT repeated (head ends the pipe early).
repeated() { yes -- "$1" | tr -d '\n' | head -c "$2" || true; }
blanks=$(head -c 60000 /dev/zero | tr '\0' ' ')
declare -A patterns=(
  [empty-records]='<RD>'
  [short-records]='<RD>x'
  [levels]=$'<RD:Chapter>1\r\n<RD>x\r\n'
  [look-alikes]='<RD><CS:Reference>'
  [brackets]='['
  [bracket-digits]='[1'
  [line-ends]=$'<RD>\r\n'"$blanks"$'x\r\n'
)
names=(empty-records short-records levels look-alikes brackets bracket-digits line-ends)
for name in "${names[@]}"; do
  [[ -f "$work/$name.fff" ]] || repeated "${patterns[$name]}" "$bytes" >"$work/$name.fff"
done
[[ -f "$work/ordinary.fff" ]] || build/bench/flatgen "$size_mb" 1998 "$work/ordinary.fff"

options=(-r '2 3, p. #' -p '[#]' --level1 Testament --level2 'Book Name' --level3 Chapter)

# Instructions of PROGRAM on INPUT with the options after them, and the size
# of what it wrote (0 for --list-levels, which writes no file).
count() {
  local program=$1 input=$2
  shift 2
  rm -f "$work/out.fff"
  if [[ ${1:-} == --list-levels ]]; then
    valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
      "$program" --no-progress "$@" "$input" >/dev/null 2>&1 || true
  else
    valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
      "$program" --force --no-progress -q "$@" "$input" "$work/out.fff" >/dev/null 2>&1 || true
  fi
  local instructions
  instructions=$(sed -n 's/^summary: *//p;s/^totals: *//p' "$work/callgrind.out" | head -1)
  echo "$instructions $(stat -c %s "$work/out.fff" 2>/dev/null || echo 0)"
}

# "per input byte  per larger byte" of PROGRAM on INPUT with the options.
per_byte() {
  local program=$1 input=$2
  shift 2
  cat "$input" >"$work/once.fff"
  cat "$input" "$input" >"$work/twice.fff"
  local once twice
  once=$(count "$program" "$work/once.fff" "$@")
  twice=$(count "$program" "$work/twice.fff" "$@")
  awk -v a="$once" -v b="$twice" -v n="$(stat -c %s "$input")" 'BEGIN {
    split(a, x, " "); split(b, y, " ")
    out = y[2] - x[2]; larger = out > n ? out : n
    printf "%8.2f %8.2f", (y[1] - x[1]) / n, (y[1] - x[1]) / larger }'
}

row() {
  local label=$1
  shift
  printf '%-28s %s' "$label" "$(per_byte "$cli" "$@")"
  [[ -z $before ]] || printf '   %s' "$(per_byte "$before" "$@")"
  printf '\n'
}

echo "Instructions per byte (callgrind), $size_mb MB inputs: per input byte, per byte of input or output"
printf '%-28s %17s' "input" "pellimar-cli"
[[ -z $before ]] || printf '   %17s' "before"
printf '\n'
for name in "${names[@]}"; do
  row "$name" "$work/$name.fff" "${options[@]}" --line-end-records
done
for name in empty-records levels; do
  row "$name --list-levels" "$work/$name.fff" --list-levels
done
row "ordinary" "$work/ordinary.fff" "${options[@]}" --remove-page-marks
row "ordinary --list-levels" "$work/ordinary.fff" --list-levels
