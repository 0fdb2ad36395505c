#!/usr/bin/env bash
# pellimar-cli.exe under wine held to the Linux build of pellimar-cli: on a
# few hundred generated flat files and option sets (made by the Linux build's
# cli_replay_cases from fixed seeds) the same output bytes, the same exit
# status, the same standard output and error and the same JSON report but for
# the seconds; the same bytes from the
# bundled samples and, when present, the shared help file, under several
# option sets; the same bytes through pipes, CR LF kept; Ctrl+C (which wine
# turns SIGINT into) cancelling a run and leaving the earlier output as it
# was; the progress bar fitting wine's console on terminals of two widths.
#
#   windows_against_linux.sh WINDOWS_CLI LINUX_CLI WINE REPLAY_CASES
#
# WINEPREFIX names the wine folder to run in.
set -euo pipefail

exe=$1
linux=$2
wine=$3
generator=$4
resources=$(cd "$(dirname "$0")/../../resources" && pwd)
shared=${PELLIMAR_SHARED_DATA:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

windows() { "$wine" "$exe" "$@"; }

# same_output INPUT OPTION... : the converted file, or the preview list, is
# the same from both builds.
same_output() {
  local input=$1
  shift
  local what="$(basename "$input") $*"
  if [[ " $* " == *" --preview="* ]]; then
    "$linux" --no-progress "$@" "$input" > "$work/linux.out"
    windows --no-progress "$@" "$input" > "$work/windows.out" || fail "$what: exit status $?"
  else
    "$linux" --no-progress -q -f "$@" "$input" "$work/linux.out"
    windows --no-progress -q -f "$@" "$input" "$work/windows.out" || fail "$what: exit status $?"
  fi
  cmp -s "$work/linux.out" "$work/windows.out" || fail "$what: the bytes differ"
  echo "same bytes: $what ($(wc -c < "$work/linux.out") bytes)"
}

# The generated cases. Each runs under both programs in turn, with what the
# case says stood under the output's name before; the paths are the same for
# both, so messages must match to the byte. A preview lists the references
# on Linux in the locale's encoding (UTF-8 here), on Windows, redirected, in
# the file's own bytes: the Windows list is compared as Linux shows it, and
# so are the notes on level records, which name levels as the file does.
case_count=300
cases=$work/cases
mkdir "$cases"
"$generator" "$cases" "$case_count"

# run_side SIDE BASE ARGUMENT...: one program's run of a case; its exit
# status, standard output and error, output file and JSON report (but for
# the seconds it took) are kept in BASE.SIDE/.
run_side() {
  local side=$1 base=$2 status=0
  shift 2
  mkdir "$base.$side"
  if [[ -e $base.earlier ]]; then cp "$base.earlier" "$base.out"; fi
  if [[ $side == linux ]]; then
    "$linux" --report="$base.report" "$@" > "$base.$side/stdout" 2> "$base.$side/stderr" || status=$?
  else
    "$wine" "$exe" --report="$base.report" "$@" > "$base.$side/stdout" 2> "$base.$side/stderr" || status=$?
  fi
  echo "$status" > "$base.$side/status"
  if [[ -e $base.out ]]; then mv "$base.out" "$base.$side/output"; fi
  if [[ -e $base.report ]]; then
    grep -v '"seconds":' "$base.report" > "$base.$side/report"
    rm "$base.report"
  fi
}

# replay_case ARGS_FILE: both runs of a case and their comparison; what
# differs is written to BASE.differs.
replay_case() {
  local base=${1%.args} argument
  local -a given arguments=()
  mapfile -d '' -t given < "$1"
  for argument in "${given[@]}"; do
    argument=${argument//@CASE@/$base}
    arguments+=("${argument//@RESOURCES@/$resources}")
  done
  run_side linux "$base" "${arguments[@]}"
  windows_side "$base" "${arguments[@]}"
  if diff -rq "$base.linux" "$base.windows" > "$base.differs"; then
    rm "$base.differs"
    return
  fi
  # Busy with the other shards, wine now and then fails to start a program
  # at all (no output, no message): a difference that a second run does not
  # repeat is that, and is told but not failed.
  mv "$base.windows" "$base.windows-first"
  windows_side "$base" "${arguments[@]}"
  if diff -rq "$base.linux" "$base.windows" > /dev/null; then
    echo "${base##*/}: the first Windows run differed, the second one matched: $(tr '\n' ' ' < "$base.differs")"
    rm "$base.differs"
  else
    echo "${base##*/}: $(printf '%q ' "${arguments[@]}")" >> "$base.differs"
  fi
}

# windows_side BASE ARGUMENT...: the Windows run of a case, its messages and
# preview read as Linux shows them.
windows_side() {
  local base=$1
  shift
  run_side windows "$base" "$@"
  if [[ " $* " != *" --encoding=bytes "* ]]; then
    if [[ " $* " == *" --preview"* ]]; then
      "$generator" --shown "$base.windows/stdout" > "$base.windows/shown"
      mv "$base.windows/shown" "$base.windows/stdout"
    fi
    "$generator" --shown-notes "$base.windows/stderr" > "$base.windows/shown"
    mv "$base.windows/shown" "$base.windows/stderr"
  fi
}

# Four shards side by side: a start of wine waits more than it computes.
shards=4
shard() {
  local i name
  for ((i = $1; i < case_count; i += shards)); do
    printf -v name '%s/case-%03d.args' "$cases" "$i"
    replay_case "$name"
  done
}
started=()
for ((s = 0; s < shards; s++)); do
  shard "$s" &
  started+=($!)
done
for pid in "${started[@]}"; do wait "$pid"; done
differing=$(find "$cases" -name '*.differs' | wc -l)
if ((differing > 0)); then
  for report in $(find "$cases" -name '*.differs' | sort | head -n 10); do
    fail "$(cat "$report")"
    base=${report%.differs}
    diff <(cat -v "$base.linux/stderr") <(cat -v "$base.windows/stderr") | head -n 6 >&2 || true
  done
  fail "$differing of $case_count generated cases differ"
else
  samples=$(grep -lz '@RESOURCES@' "$cases"/*.args | wc -l)
  echo "generated cases: $case_count option sets, $((case_count - samples)) flat files and $samples runs over the" \
    "samples, $(cat "$cases"/*.linux/status | grep -cx 0 || true) of them successful: the same bytes, status and messages"
fi

# check_flat_file INPUT DEFINITIONS [OPTION...]
check_flat_file() {
  local input=$1 definitions=$2
  shift 2
  same_output "$input" -L "$definitions" "$@" -r '2 3, p. #' -p '[#]' --remove-page-marks
  same_output "$input" -L "$definitions" "$@" -r '1 / 2' --not-searched --use-hr
  same_output "$input" -L "$definitions" "$@" -r '2 3, p. #' -p '[#]' --left-just-only
  same_output "$input" -L "$definitions" "$@" --preview=15 -r '2 3, p. #' -p '[#]'
}

check_flat_file "$resources/sample.fff" "$resources/sample.def"
check_flat_file "$resources/sample-ids.fff" "$resources/sample-ids.def" --id-records
if [[ -n $shared && -r $shared/FolioHlp.FFF && -r $shared/FolioHlp.DEF ]]; then
  check_flat_file "$shared/FolioHlp.FFF" "$shared/FolioHlp.DEF" --id-records
else
  echo "skipped: no shared FolioHlp.FFF"
fi

# Through pipes: wine hands the program Windows pipes for them.
options=(-L "$resources/sample.def" -r '2 3, p. #' -p '[#]' --remove-page-marks)
"$linux" --no-progress -q -f "${options[@]}" "$resources/sample.fff" "$work/linux.out"
cat "$resources/sample.fff" | windows --no-progress "${options[@]}" - - 2> "$work/summary" | cat > "$work/piped.out" ||
  fail "standard input and output: exit status $?"
cmp -s "$work/linux.out" "$work/piped.out" || fail "standard input and output: the bytes differ"
grep -q $'\r\n' "$work/piped.out" || fail "standard input and output: CR LF lost"
grep -q '^181 total references created\.$' "$work/summary" || fail "standard input and output: $(cat "$work/summary")"
echo "same bytes through pipes, CR LF kept"

# Ctrl+C during a run over a gigabyte that costs nothing to make.
truncate -s 1G "$work/big.fff"
echo "earlier output" > "$work/out.fff"
"$wine" "$exe" --no-progress -r x -f "$work/big.fff" "$work/out.fff" 2> "$work/cancel.err" &
running=$!
for _ in $(seq 600); do
  compgen -G "$work/.out.fff.pellimar-*" > /dev/null && break
  sleep 0.05
done
kill -INT "$running"
status=0
wait "$running" || status=$?
[[ $status -eq 130 ]] || fail "Ctrl+C: exit status $status"
grep -q "Operation Canceled. .*out.fff was left as it was." "$work/cancel.err" ||
  fail "Ctrl+C: $(cat "$work/cancel.err")"
[[ $(cat "$work/out.fff") == "earlier output" ]] || fail "Ctrl+C: the earlier output changed"
compgen -G "$work/.out.fff.pellimar-*" > /dev/null && fail "Ctrl+C: the temporary file was left behind"
echo "Ctrl+C: exit status $status, $(cat "$work/cancel.err")"

# The longest line the progress bar drew in wine's console on a terminal of
# $1 columns (made by `script`), the console's escape sequences left out.
widest_progress_line() {
  script -qec "stty cols $1 rows 24; '$wine' '$exe' -r x --progress -q -f '$resources/sample.fff' '$work/bar.fff'" \
    /dev/null > "$work/terminal"
  grep -q '100%' "$work/terminal" || fail "progress bar on $1 columns: $(cat -v "$work/terminal")"
  sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' "$work/terminal" | tr '\r' '\n' |
    awk '{ if (length > n) n = length } END { print n + 0 }'
}
narrow=$(widest_progress_line 40)
wide=$(widest_progress_line 72)
(( narrow > 0 && narrow < 40 && wide < 72 && wide > narrow )) || fail "progress bar: lines of $narrow and $wide columns"
echo "progress bar: lines of $narrow columns on 40, of $wide on 72"

if (( failures > 0 )); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
