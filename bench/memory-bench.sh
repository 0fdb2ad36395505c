#!/usr/bin/env bash
# Peak memory of pellimar-cli on inputs built to make it hold bytes: a code
# of SIZE_MB megabytes, a page-marker digit run of that length (with the
# marker removed, so that the digits must wait until the marker is decided),
# and a file made of nothing but "<". Prints each run's maximum resident set
# and time. With REFERENCE_CLI set to another pellimar-cli, runs that one too
# and checks that both outputs are byte for byte the same.
#
#   bash bench/memory-bench.sh [SIZE_MB]    (default 1024)
set -euo pipefail
cd "$(dirname "$0")/.."

size_mb=${1:-1024}
scripts/install-deps.sh time
scripts/build.sh build
cli=build/src/cli/pellimar-cli
work=build/bench/memory
mkdir -p "$work"

run_of() { head -c "$((size_mb * 1024 * 1024))" /dev/zero | tr '\0' "$1"; }

make_input() {
  local name=$1
  [[ -f "$work/$name.fff" ]] && return
  case $name in
    code)   { printf '<'; run_of x; printf '>\r\n<RD>x'; } ;;
    digits) { printf '['; run_of 7; printf ']\r\n<RD>x'; } ;;
    opens)  run_of '<' ;;
  esac > "$work/$name.fff"
}

measure() {
  local program=$1 name=$2 out=$3
  /usr/bin/time -f '%M %e' "$program" -f --no-progress -q -r '#' -p '[#]' --remove-page-marks \
    --start-page 1 "$work/$name.fff" "$out" 2>&1 >/dev/null | tail -1
}

printf '%-8s %12s %10s\n' input 'peak MB' seconds
for name in code digits opens; do
  make_input "$name"
  read -r peak_kb seconds < <(measure "$cli" "$name" "$work/out.fff")
  printf '%-8s %12.1f %10s\n' "$name" "$(awk -v k="$peak_kb" 'BEGIN { print k / 1024 }')" "$seconds"
  if [[ -n "${REFERENCE_CLI:-}" ]]; then
    read -r ref_kb ref_seconds < <(measure "$REFERENCE_CLI" "$name" "$work/reference.fff")
    printf '%-8s %12.1f %10s  (reference)\n' "" "$(awk -v k="$ref_kb" 'BEGIN { print k / 1024 }')" "$ref_seconds"
    cmp -s "$work/out.fff" "$work/reference.fff" && echo "         outputs identical" || echo "         OUTPUTS DIFFER"
  fi
  rm -f "$work/out.fff" "$work/reference.fff"
done
