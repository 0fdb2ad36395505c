#!/usr/bin/env bash
# Fuzz smoke run: installs clang and its libFuzzer runtime when missing,
# builds the fuzz targets into build-fuzz/, seeds each corpus from
# fuzz/seeds, the inputs of fixed failures in fuzz/regressions, the bundled
# sample and (when present) the shared real flat files, runs each target for
# SECONDS (default 60), one after the other, and prints a summary with each
# target's executions per second and the time a million of them take. Exits
# non-zero when a target found a crash, a hang, a leak or a broken invariant;
# the input that caused it is kept in build-fuzz/artifacts/TARGET/.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#   scripts/fuzz.sh --once [TARGET...]
#
# With --once (the test command's step) each target runs once over each of
# those inputs and no more, a matter of seconds: the targets still build
# with clang and libFuzzer, and every seed and fixed failure still passes.
# The corpora in build-fuzz/corpus/ grow from run to run.
set -euo pipefail
cd "$(dirname "$0")/.."

once=0
if [[ ${1-} == --once ]]; then
  once=1
  shift
  seconds=0
else
  seconds=${1:-60}
  shift || true
fi
targets=("$@")
if (( ${#targets[@]} == 0 )); then
  targets=(conversion streams ini_file pattern_history level_names)
fi
build=build-fuzz
shared=${PELLIMAR_SHARED_DATA:-../shared/data}

scripts/install-deps.sh clang libclang-rt-14-dev

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPELLIMAR_FUZZ=ON -DPELLIMAR_BUILD_GUI=OFF -DPELLIMAR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"

# The conversion target's input: switches, cancel point, patterns, seven
# level names and the page answer (each ending at a NUL), what to do with
# earlier references, the second options' switches and patterns, then the
# file.
conversion_seeds() {
  local file=$1 name=$2 out=$build/seeds/conversion
  local chunks
  chunks=$(mktemp -d)
  head -c 160000 "$file" | split -b 4000 -d -a 3 - "$chunks/$name-"
  for chunk in "$chunks"/*; do
    local base
    base=$(basename "$chunk")
    { printf '\x02\xff2 3, p. #\000[#]\000Tome\000Testament\000Book Name\000Chapter\000\000\000\0001\000'
      printf '\x00\x183 2\000[#]\000'
      cat "$chunk"; } > "$out/$base-levels-and-pages"
    { printf '\x2d\x32# 1\000#\000Book\000Section\000Chapter\000Heading\000\000\000\000 7\000'
      printf '\xa9\x051 #\000#\000'
      cat "$chunk"; } > "$out/$base-switches-cancel-small-blocks"
  done
  rm -r "$chunks"
}

# The streams target's input: reading a file with 3-byte blocks, lines and
# codes taken off it.
stream_seed() {
  local file=$1 out=$build/seeds/streams/$2
  { printf '\x01\x03\xff\xff\xe8\x03'
    head -c 1000 "$file"
    printf '\x0f\x0f\x10\x01>\x0e\x03<\x10\x02\r\n\x0f\x04\x01\x00\x00\x0f\x07\x0f\x0f'; } > "$out"
}

make_seeds() {
  rm -rf "$build/seeds"
  mkdir -p "$build"/seeds/{conversion,streams,ini_file,pattern_history,level_names}
  conversion_seeds resources/sample.fff sample
  stream_seed resources/sample.fff sample
  { printf '\x00'; cat resources/sample.def; } > "$build/seeds/level_names/sample-def"
  if [[ -r "$shared/FolioHlp.FFF" && -r "$shared/FolioHlp.DEF" ]]; then
    conversion_seeds "$shared/FolioHlp.FFF" foliohlp
    stream_seed "$shared/FolioHlp.FFF" foliohlp
    { printf '\x03'; cat "$shared/FolioHlp.DEF"; } > "$build/seeds/level_names/foliohlp-def"
  fi
}

max_len() {
  case $1 in
    conversion) echo 16384 ;;
    *) echo 4096 ;;
  esac
}

# The time a million executions take at SPEED a second, as 1h02m or 3m20s.
million_runs() {
  local speed=$1
  [[ $speed =~ ^[0-9]+$ && $speed -gt 0 ]] || { echo "?"; return; }
  local total=$(( (1000000 + speed / 2) / speed ))
  if (( total >= 3600 )); then
    printf '%dh%02dm' $(( total / 3600 )) $(( total % 3600 / 60 ))
  else
    printf '%dm%02ds' $(( total / 60 )) $(( total % 60 ))
  fi
}

# One line of the summary from a target's log: executions, speed (libFuzzer's
# average over the whole run), the time of a million runs, coverage,
# features, corpus.
summarise() {
  local target=$1 log=$2 result=$3
  local runs cov ft corp speed
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  local last
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corp=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")
  printf '%-16s %10s %8s %8s %6s %7s %6s   %s\n' "$target" "${runs:-?}" "${speed:-?}" "$(million_runs "${speed:-}")" \
    "${cov:-?}" "${ft:-?}" "${corp:-?}" "$result"
}

# Every input a target is run over once: its seeds, its fixed failures and
# the seeds made from the sample and the shared files. Given as files, not
# folders, libFuzzer runs each one whole, once, and stops.
once_inputs() {
  local target=$1 folder
  for folder in "fuzz/seeds/$target" "fuzz/regressions/$target" "$build/seeds/$target"; do
    [[ -d $folder ]] && find "$folder" -type f
  done | sort
}

run_once() {
  local failures=0 target log inputs start
  if [[ -r "$shared/FolioHlp.FFF" ]]; then
    echo "Inputs: fuzz/seeds, fuzz/regressions, the sample and the shared files in $shared"
  else
    echo "Inputs: fuzz/seeds, fuzz/regressions and the sample ($shared is not there: its files are left out)"
  fi
  for target in "${targets[@]}"; do
    log=$build/logs/$target-once.log
    mapfile -t inputs < <(once_inputs "$target")
    # Given no file, libFuzzer would fuzz without end.
    if (( ${#inputs[@]} == 0 )); then
      echo "fuzz_$target: FAILED: no inputs in fuzz/seeds/$target"
      failures=$((failures + 1))
      continue
    fi
    start=$SECONDS
    if "$build/fuzz/fuzz_$target" -timeout=10 -rss_limit_mb=2048 "${inputs[@]}" >"$log" 2>&1 &&
        (( $(grep -c '^Executed ' "$log") == ${#inputs[@]} )); then
      printf 'fuzz_%-16s %4d inputs, each run once: ok (%d s)\n' "$target" "${#inputs[@]}" $(( SECONDS - start ))
    else
      printf 'fuzz_%-16s %4d inputs: FAILED (log: %s)\n' "$target" "${#inputs[@]}" "$log"
      grep -E '^(Running|==[0-9]+==ERROR|SUMMARY|.*: check failed)' "$log" | tail -n 5 | sed 's/^/    /'
      failures=$((failures + 1))
    fi
  done
  return $(( failures > 0 ))
}

make_seeds
mkdir -p "$build/logs"
if (( once )); then
  run_once
  exit
fi

summary=()
failures=0
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  artifacts=$build/artifacts/$target/
  log=$build/logs/$target.log
  mkdir -p "$corpus" "$artifacts"
  echo "== fuzz_$target for ${seconds}s (log: $log)"
  result=ok
  inputs=("$corpus" "fuzz/seeds/$target" "$build/seeds/$target")
  [[ -d "fuzz/regressions/$target" ]] && inputs+=("fuzz/regressions/$target")
  if ! "$build/fuzz/fuzz_$target" "${inputs[@]}" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$(max_len "$target")" \
      -print_final_stats=1 -artifact_prefix="$artifacts" >"$log" 2>&1; then
    found=$(ls -t "$artifacts" 2>/dev/null | head -1)
    result="FAILED: ${found:+$artifacts$found} (see $log)"
    failures=$((failures + 1))
  fi
  summary+=("$(summarise "$target" "$log" "$result")")
done

echo
printf '%-16s %10s %8s %8s %6s %7s %6s   %s\n' target executions exec/s 1M-runs cov ft corpus result
printf '%s\n' "${summary[@]}"
echo
echo "Replay an input: $build/fuzz/fuzz_TARGET FILE"
exit $(( failures > 0 ))
