#!/usr/bin/env bash
# Interrupts pellimar-cli at random moments of a large conversion and checks
# that every message tells the truth about OUTPUT: a run that reports its
# count has put the whole output in place; a run that reports "Operation
# Canceled. OUTPUT was left as it was." has left the earlier output (or no
# file) there; nothing else is left in the folder. Half the runs replace an
# earlier output with -f, half write a new name; the signal (INT, TERM or
# HUP) comes at a random moment up to a little after a whole run's length,
# so that the last steps (the final sync and the rename) are hit too. A
# signal that comes before the program has set up its handling ends it as
# it ends any program, without a message: that is right as long as OUTPUT
# is as it was.
#
#   scripts/cancel-trial.sh CLI [RUNS] [SIZE_MB] [FOLDER]
#
# FOLDER (default: a new folder under build/) should be on a disk, not on a
# tmpfs. Prints one line per run and the counts; exits 1 when any message
# was wrong.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cli=$(realpath "$1")
runs=${2:-100}
size_mb=${3:-180}
folder=${4:-$here/../build/cancel-trial}
mkdir -p "$folder"
cd "$folder"

# A book made of the help file repeated, and the output it converts to.
if [[ ! -f in.fff || $(stat -c %s in.fff) -lt $((size_mb * 1000000)) ]]; then
  source=${PELLIMAR_SHARED_DATA:-$here/../../shared/data}/FolioHlp.FFF
  [[ -f $source ]] || source=$(dirname "$cli")/../../resources/sample.fff
  : > in.fff
  while [[ $(stat -c %s in.fff) -lt $((size_mb * 1000000)) ]]; do cat "$source" >> in.fff; done
fi
# The shortest of three runs, the file being in the cache by then.
whole_ms=
for ((i = 0; i < 3; i++)); do
  rm -f expected.fff
  start=$(date +%s%N)
  "$cli" -q -r x in.fff expected.fff
  took=$(( ($(date +%s%N) - start) / 1000000 ))
  [[ -z $whole_ms || $took -lt $whole_ms ]] && whole_ms=$took
done
echo "one whole run: ${whole_ms} ms"
printf 'earlier output\n' > earlier.fff

wrong=0 completed=0 cancelled=0 ended=0 late=0
signals=(INT TERM HUP)
for ((i = 1; i <= runs; i++)); do
  mode=$([[ $((i % 2)) == 0 ]] && echo force || echo new)
  rm -f out.fff
  [[ $mode == force ]] && cp earlier.fff out.fff
  signal=${signals[$((RANDOM % 3))]}
  delay_ms=$(( (RANDOM * 32768 + RANDOM) % (whole_ms * 12 / 10 + 1) ))
  flags=(-r x)
  [[ $mode == force ]] && flags+=(-f)
  "$cli" "${flags[@]}" in.fff out.fff > run.out 2> run.err &
  pid=$!
  sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
  # A process that has ended stays a zombie until waited for.
  after_end=$(awk '{print ($3 == "Z") ? "yes" : "no"}' "/proc/$pid/stat" 2>/dev/null || echo yes)
  kill -s "$signal" "$pid" 2>/dev/null || true
  status=0
  wait "$pid" || status=$?
  kept=no
  if [[ $mode == force ]] && cmp -s out.fff earlier.fff; then kept=yes; fi
  if [[ $mode == new && ! -e out.fff ]]; then kept=yes; fi
  verdict=wrong
  if [[ $status == 0 ]] && grep -q ' total references created\.$' run.out && cmp -s out.fff expected.fff; then
    verdict=completed
  elif [[ $status == 130 && $kept == yes ]] &&
       grep -qx 'pellimar-cli: Operation Canceled\. out\.fff was left as it was\.' run.err; then
    verdict=cancelled
  elif [[ $status -gt 128 && $status != 130 && $kept == yes && ! -s run.err ]]; then
    verdict=ended
  fi
  left=$(ls -A | grep -v -x -e in.fff -e expected.fff -e earlier.fff -e out.fff -e run.out -e run.err || true)
  [[ -n $left ]] && verdict=wrong
  case $verdict in
    completed)
      completed=$((completed + 1))
      [[ $after_end == no ]] && late=$((late + 1)) ;;
    cancelled) cancelled=$((cancelled + 1)) ;;
    ended) ended=$((ended + 1)) ;;
    *) wrong=$((wrong + 1)) ;;
  esac
  when=$([[ $after_end == yes ]] && echo " (after its end)" || true)
  echo "run $i: $mode, SIG$signal at ${delay_ms} ms$when: exit $status, $verdict $(tr '\n' ' ' < run.err)${left:+ left: $left}"
done
echo "runs: $runs, completed: $completed ($late of them with the signal before the program's end: too late" \
  "to cancel), cancelled: $cancelled, ended before the run began: $ended, wrong messages: $wrong"
[[ $wrong == 0 ]]
