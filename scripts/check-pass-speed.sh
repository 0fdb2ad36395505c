#!/usr/bin/env bash
# Fails when the conversion pass has become slower: counts its instructions
# per input byte under callgrind on a small generated file (and on the shared
# real flat file when present) and fails above the target plus 10 %. The
# count does not depend on the machine's load. Uses the build in build/ (or
# the folder given as $1), which must hold pellimar-cli and flatgen.
#
#   scripts/check-pass-speed.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
target=6.0
limit=$(awk -v t="$target" 'BEGIN { printf "%.2f", t * 1.1 }')
shared=${PELLIMAR_SHARED_DATA:-../shared/data}
scripts/install-deps.sh valgrind

cli=$build/src/cli/pellimar-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/flatgen" 2 1998 "$work/generated.fff"

failed=0
check() {
  local name=$1 input=$2
  shift 2
  local ipb
  ipb=$(bench/instructions.sh "$cli" "$input" "$@")
  if awk -v v="$ipb" -v l="$limit" 'BEGIN { exit !(v > l) }'; then
    echo "FAIL $name: $ipb instructions per byte, more than $limit (target $target + 10 %)"
    failed=1
  else
    echo "ok   $name: $ipb instructions per byte (target $target, limit $limit)"
  fi
}

check generated "$work/generated.fff" -r '2 3, p. #' -p '[#]' --level1 Testament --level2 'Book Name' \
  --level3 Chapter --remove-page-marks
if [[ -r "$shared/FolioHlp.FFF" && -r "$shared/FolioHlp.DEF" ]]; then
  check FolioHlp.FFF "$shared/FolioHlp.FFF" -r '1 2 3, p. #' -p '[#]' -L "$shared/FolioHlp.DEF" --id-records \
    --start-page 1
fi
exit "$failed"
