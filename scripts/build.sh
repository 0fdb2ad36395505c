#!/usr/bin/env bash
# Configures and builds Pellimar into build/ (or the folder given as $1):
# everything, the window, the tests and the benchmarks included, unless the
# further arguments (given to cmake) switch parts off. A folder once
# configured without them gets them back here.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
shift || true
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DPELLIMAR_BUILD_GUI=ON -DPELLIMAR_BUILD_TESTS=ON -DPELLIMAR_BUILD_BENCH=ON "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
