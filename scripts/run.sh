#!/usr/bin/env bash
# Installs what is needed, builds, and converts the bundled sample flat file,
# then shows the count and the first converted records. Only pellimar-cli is
# built, and only what building it needs is installed: the window, the tests
# and the benchmarks come with scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --cli
scripts/build.sh build -DPELLIMAR_BUILD_GUI=OFF -DPELLIMAR_BUILD_TESTS=OFF -DPELLIMAR_BUILD_BENCH=OFF

output=build/sample-converted.fff
echo
echo "Converting resources/sample.fff into $output"
build/src/cli/pellimar-cli --force --no-progress \
  --levels-from resources/sample.def \
  --ref-pattern '2 3, p. #' --page-pattern '[#]' --remove-page-marks \
  resources/sample.fff "$output"
echo
echo "The first records with references:"
grep -a -n -m 4 -B 1 -A 1 '<CS:Reference>' "$output" | tr -d '\r'
