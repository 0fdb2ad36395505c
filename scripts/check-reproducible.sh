#!/usr/bin/env bash
# Builds the release artifacts of the last commit twice, in two clones in
# folders of different names and depths, one after the other, and compares
# them byte for byte: pellimar-cli and pellimar (scripts/package.sh), the
# Debian package, pellimar-cli.exe and pellimar.exe, the Windows zip and the
# installer (scripts/package-windows.sh). Prints each one's SHA-256 in both
# builds, then checks that the zip and the installer hold the same
# programs as the build. A difference is explained by Debian's diffoscope,
# its report left beside the builds. Exits non-zero on any difference.
#
# Usage: scripts/check-reproducible.sh [WORK_DIR]   (default: /tmp/pellimar-reproducible)
#
# Only what is committed is built: commit first. Takes two Linux and two
# Windows release builds, about a quarter of an hour on two cores.
set -euo pipefail
cd "$(dirname "$0")/.."

work=${1:-/tmp/pellimar-reproducible}
commit=$(git rev-parse HEAD)
[[ -z $(git status --porcelain --untracked-files=no) ]] ||
  echo "check-reproducible: the work tree has changes that are not committed; they are not built" >&2

# 7-Zip opens the installer, to compare the programs inside it.
scripts/install-deps.sh --cli p7zip-full

rm -rf "$work"
clones=("$work/first/pellimar" "$work/second-build/elsewhere/pellimar-again")
for clone in "${clones[@]}"; do
  mkdir -p "$(dirname "$clone")"
  git clone -q --no-hardlinks "$PWD" "$clone"
  git -C "$clone" checkout -q --detach "$commit"
done

for clone in "${clones[@]}"; do
  echo "== Building $commit in $clone"
  (cd "$clone" && bash scripts/package.sh >"$clone.package.log" 2>&1) ||
    { echo "check-reproducible: scripts/package.sh failed, see $clone.package.log" >&2; exit 1; }
  (cd "$clone" && bash scripts/package-windows.sh >"$clone.package-windows.log" 2>&1) ||
    { echo "check-reproducible: scripts/package-windows.sh failed, see $clone.package-windows.log" >&2; exit 1; }
done

first=${clones[0]}
second=${clones[1]}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$first/build-package/CMakeCache.txt")
deb=$(cd "$first/out" && ls pellimar_"$version"-1_*.deb)
artifacts=(
  build-package/src/cli/pellimar-cli
  build-package/src/app/pellimar
  "out/$deb"
  build-windows-package/src/cli/pellimar-cli.exe
  build-windows-package/src/window_win32/pellimar.exe
  "out/pellimar-$version-win64.zip"
  "out/pellimar-$version-setup.exe"
)

differences=0
explain() {
  local name=$1 a=$2 b=$3
  differences=$((differences + 1))
  scripts/install-deps.sh --cli diffoscope-minimal >/dev/null
  local report=$work/diffoscope-$(basename "$name").txt
  diffoscope --text "$report" "$a" "$b" >/dev/null 2>&1 || true
  echo "   differs: diffoscope's report in $report" >&2
  head -n 40 "$report" | sed 's/^/   /' >&2
}

echo
echo "Built twice from $commit, in $first and $second:"
for artifact in "${artifacts[@]}"; do
  sum_first=$(sha256sum <"$first/$artifact" | cut -d' ' -f1)
  sum_second=$(sha256sum <"$second/$artifact" | cut -d' ' -f1)
  if [[ $sum_first == "$sum_second" ]]; then
    printf '%s  %-52s identical\n' "$sum_first" "$artifact"
  else
    printf '%s  %-52s DIFFERENT (second: %s)\n' "$sum_first" "$artifact" "$sum_second"
    explain "$artifact" "$first/$artifact" "$second/$artifact"
  fi
done

# The programs in the zip and in the installer, against those the build made.
unpacked=$work/unpacked
mkdir -p "$unpacked/zip" "$unpacked/installer"
unzip -q "$first/out/pellimar-$version-win64.zip" -d "$unpacked/zip"
7z x -y -bd "-o$unpacked/installer" "$first/out/pellimar-$version-setup.exe" >/dev/null
echo
echo "The programs of the zip and of the installer (first build):"
for program in src/cli/pellimar-cli.exe src/window_win32/pellimar.exe; do
  name=$(basename "$program")
  built=$(sha256sum <"$first/build-windows-package/$program" | cut -d' ' -f1)
  for package in zip installer; do
    found=$(find "$unpacked/$package" -name "$name" -type f | head -n 1)
    sum=$( [[ -n $found ]] && sha256sum <"$found" | cut -d' ' -f1 || echo missing)
    if [[ $sum == "$built" ]]; then
      printf '%s  %-52s identical to the build'"'"'s\n' "$sum" "$package: $name"
    else
      printf '%s  %-52s DIFFERENT from the build'"'"'s %s\n' "$sum" "$package: $name" "$built"
      [[ -n $found ]] && explain "$package-$name" "$first/build-windows-package/$program" "$found"
      [[ -n $found ]] || differences=$((differences + 1))
    fi
  done
done

echo
if (( differences )); then
  echo "check-reproducible: $differences difference(s)" >&2
  exit 1
fi
echo "check-reproducible: every artifact identical in both builds"
