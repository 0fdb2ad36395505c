#!/usr/bin/env bash
# Configures and builds Pellimar into build/ (or the folder given as $1).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
shift || true
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
