#!/usr/bin/env bash
# Builds the Debian package of Pellimar with one command: installs what the
# build and CPack need, builds a release without tests or benchmarks into
# build-package/ (or the folder given as $1), and leaves the .deb in out/.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build-package}

# dpkg-shlibdeps (dpkg-dev, brought by build-essential) finds the libraries'
# packages; CPack looks at each installed file with `file` to find the programs.
scripts/install-deps.sh dpkg-dev file

# The package's files, its control files and its members are dated at the
# last commit, so that two builds of one commit give the same package.
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || true)
fi
[[ -z $SOURCE_DATE_EPOCH ]] || export SOURCE_DATE_EPOCH

rm -f "$build_dir"/pellimar_*.deb
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DPELLIMAR_BUILD_TESTS=OFF -DPELLIMAR_BUILD_BENCH=OFF >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
(cd "$build_dir" && cpack -G DEB)

mkdir -p out
rm -f out/pellimar_*.deb
cp "$build_dir"/pellimar_*.deb out/
package=$(ls out/pellimar_*.deb)
echo
dpkg-deb --field "$package" Package Version Architecture Depends
echo
echo "Built $package"
echo "Install it with: sudo apt-get install ./$package"
