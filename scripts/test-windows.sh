#!/usr/bin/env bash
# The Windows build of pellimar-cli, tested on Linux: installs Debian's
# mingw-w64 cross compiler and wine when missing, builds pellimar-cli.exe and
# the streams, engine, settings and command-line test programs for Windows into
# build-windows/ (or the folder given as $1; GoogleTest compiled from
# Debian's sources), and runs them under wine64 in a wine folder of that
# build. One of the tests holds the .exe to the Linux build's pellimar-cli in
# build/ (or $2), on generated cases and the samples; that program and the
# cases' generator are built there first.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build-windows}
linux_build=${2:-build}

scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64

# wine maps Windows file names to Linux ones through the locale's character
# set: without a UTF-8 locale a name such as "Ünïcödé 日本.fff" cannot be made.
# C.UTF-8 is on every Debian 12.
export LC_ALL=C.UTF-8

# The Linux program and the generator of the cases it is compared on, kept
# up to date with the sources.
linux_cli=$PWD/$linux_build/src/cli/pellimar-cli
replay_cases=$PWD/$linux_build/tests/cli/cli_replay_cases
# (The generator comes with the tests, which a build for use alone leaves out.)
if ! grep -qs '^PELLIMAR_BUILD_TESTS:BOOL=ON' "$linux_build/CMakeCache.txt"; then
  cmake -S . -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELLIMAR_BUILD_TESTS=ON >/dev/null
fi
cmake --build "$linux_build" --parallel "$(nproc)" --target pellimar-cli cli_replay_cases

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DPELLIMAR_LINUX_CLI="$linux_cli" \
  -DPELLIMAR_LINUX_REPLAY_CASES="$replay_cases" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"

# The first start under wine makes the wine folder, which takes some seconds;
# made here, it is ready before the tests start side by side.
export WINEPREFIX=$PWD/$build_dir/wine WINEDEBUG=-all
wine=$(sed -n 's/^PELLIMAR_WINE:FILEPATH=//p' "$build_dir/CMakeCache.txt")
"$wine" "$build_dir/src/cli/pellimar-cli.exe" --version 2>/dev/null | head -n 1

cd "$build_dir"
ctest --output-on-failure --parallel "$(nproc)"
