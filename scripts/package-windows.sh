#!/usr/bin/env bash
# Builds pellimar-cli for 64-bit Windows with one command: installs Debian's
# mingw-w64 cross compiler when missing, builds a release without tests into
# build-windows-package/ (or the folder given as $1), and leaves
# out/pellimar-cli-<version>-win64.zip: pellimar-cli.exe, LICENSE, the user
# guide and the sample files, in one folder.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build-windows-package}

scripts/install-deps.sh --cli g++-mingw-w64-x86-64-posix

rm -f "$build_dir"/pellimar-cli-*-win64.zip
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DPELLIMAR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
(cd "$build_dir" && cpack -G ZIP >/dev/null)

# Linked statically, the program needs only DLLs that every Windows has.
dlls=$(x86_64-w64-mingw32-objdump -p "$build_dir/src/cli/pellimar-cli.exe" | sed -n 's/^\s*DLL Name: //p')
echo "DLLs: $(echo $dlls)"
if grep -viqE '^(kernel32|msvcrt|advapi32|user32|shell32|ws2_32)\.dll$' <<<"$dlls"; then
  echo "pellimar-cli.exe needs a DLL that Windows does not bring" >&2
  exit 1
fi

mkdir -p out
rm -f out/pellimar-cli-*-win64.zip
cp "$build_dir"/pellimar-cli-*-win64.zip out/
package=$(ls out/pellimar-cli-*-win64.zip)
echo
cmake -E tar tf "$package"
echo
echo "Built $package"
