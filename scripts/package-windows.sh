#!/usr/bin/env bash
# Builds Pellimar for 64-bit Windows with one command: installs Debian's
# mingw-w64 cross compiler and nsis when missing, builds a release without
# tests into build-windows-package/ (or the folder given as $1), and leaves in
# out/ (scripts/pack-windows.sh):
#   pellimar-<version>-win64.zip: pellimar.exe, pellimar-cli.exe, LICENSE,
#     the user guide and the sample files, in one folder;
#   pellimar-<version>-setup.exe: the installer of the same files.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build-windows-package}

scripts/install-deps.sh --cli g++-mingw-w64-x86-64-posix nsis zip

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DPELLIMAR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"

scripts/pack-windows.sh "$build_dir" out
