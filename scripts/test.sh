#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite twice: as
# built for use (build/), followed by the count of the conversion pass's
# instructions per byte (scripts/check-pass-speed.sh), and built with AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan/). In between, scripts/gui-check.sh
# uses the real window under Xvfb and openbox. The fuzz targets are then
# built with clang as libFuzzer programs and each is run once over its seeds,
# its fixed failures and the shared files (scripts/fuzz.sh --once,
# build-fuzz/), so that a target that no longer builds with clang, or fails,
# fails the tests. Then scripts/test-windows.sh
# runs the tests built for Windows under wine (build-windows/),
# scripts/gui-check-windows.sh uses the Windows window, pellimar.exe, under
# wine in the same way, and scripts/check-installer-windows.sh installs,
# starts and uninstalls the Windows installer packed from that build. Exits
# non-zero when any test or check fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

failed=0
run_suite() {
  local build_dir=$1
  shift
  scripts/build.sh "$build_dir" "$@"
  (cd "$build_dir" && ctest --output-on-failure --parallel "$(nproc)") || failed=1
}
took() { echo "-- took $(( SECONDS - $1 )) s"; }

start=$SECONDS
echo "== The test suite (build/)"
run_suite build
scripts/check-pass-speed.sh build || failed=1
took "$start"; start=$SECONDS
echo
echo "== The window on a virtual display with a window manager, used as a user would (build/gui-check/)"
scripts/gui-check.sh build || failed=1
took "$start"; start=$SECONDS
echo
# -O1 with line tables only: the checks are the sanitizers' own, and this
# builds in little more than half the time of -O2 -g.
echo "== The test suite under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/)"
run_suite build-asan -DPELLIMAR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1"
took "$start"; start=$SECONDS
echo
echo "== The fuzz targets built with clang and libFuzzer, each run once over its inputs (build-fuzz/)"
scripts/fuzz.sh --once || failed=1
took "$start"; start=$SECONDS
echo
echo "== The command line built for Windows, under wine (build-windows/)"
scripts/test-windows.sh build-windows build || failed=1
took "$start"; start=$SECONDS
echo
echo "== The Windows window under wine on a virtual display, used as a user would (build-windows/gui-check/)"
scripts/gui-check-windows.sh build-windows build/src/cli/pellimar-cli || failed=1
took "$start"; start=$SECONDS
echo
echo "== The Windows installer under wine: silent install, the installed window, uninstall (build-windows/installer-check/)"
scripts/check-installer-windows.sh build-windows || failed=1
took "$start"

if (( failed )); then
  echo "Tests failed; see the output above." >&2
fi
exit "$failed"
