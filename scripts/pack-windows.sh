#!/usr/bin/env bash
# Packs a finished Windows build (made with cmake/mingw-w64-x86_64.cmake) into
# OUT_DIR: pellimar-<version>-win64.zip (one folder with pellimar.exe,
# pellimar-cli.exe, LICENSE, NEWS.md, the user guide and the sample files) and
# pellimar-<version>-setup.exe, the installer built by Debian's nsis from
# resources/pellimar-setup.nsi. Both take their files from one copy made by
# the build's install rules, so that they hold the same programs, and the
# version from the project. Checks first that both programs need only DLLs
# that every Windows has. Needs a configured build
# (scripts/package-windows.sh, scripts/test-windows.sh) and brings only its
# two programs up to date.
#
# Every file is dated at the last commit (SOURCE_DATE_EPOCH, else asked of
# git), in the zip and in the installer, so that two builds of one commit
# give the same zip and the same installer (scripts/check-reproducible.sh).
#
# Usage: scripts/pack-windows.sh BUILD_DIR [OUT_DIR]   (default OUT_DIR: out)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:?usage: scripts/pack-windows.sh BUILD_DIR [OUT_DIR]}
out_dir=${2:-out}

fail() { echo "pack-windows: $*" >&2; exit 1; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt" 2>/dev/null || true)
[[ -n $version ]] || fail "$build_dir is not a configured build"
# Also reconfigures the build when the packaging's CMake files changed.
cmake --build "$build_dir" --target pellimar pellimar-cli >/dev/null || fail "$build_dir does not build"
programs=("$build_dir/src/window_win32/pellimar.exe" "$build_dir/src/cli/pellimar-cli.exe")
command -v makensis >/dev/null || fail "makensis is missing: scripts/install-deps.sh --cli nsis"
command -v zip >/dev/null || fail "zip is missing: scripts/install-deps.sh --cli zip"

# Linked statically, the programs need only DLLs that every Windows has:
# never the compiler's runtime (libstdc++, libgcc, libwinpthread).
system_dlls='kernel32|msvcrt|advapi32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|shlwapi|uxtheme|version|ws2_32'
for program in "${programs[@]}"; do
  dlls=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p')
  echo "$(basename "$program") imports: $(tr '\n' ' ' <<<"$dlls")"
  if grep -viqE "^($system_dlls)\.dll\$" <<<"$dlls"; then
    fail "$(basename "$program") needs a DLL that Windows does not bring: $(grep -viE "^($system_dlls)\.dll\$" <<<"$dlls" | tr '\n' ' ')"
  fi
done

mkdir -p "$out_dir"
out_dir=$(realpath "$out_dir")
zip=pellimar-$version-win64.zip
setup=pellimar-$version-setup.exe
rm -f "$out_dir/$zip" "$out_dir/$setup"

# The files of the install rules, once, for the zip and the installer alike;
# the programs were stripped as they were linked.
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}
[[ -n $epoch ]] || fail "no time of the last commit: set SOURCE_DATE_EPOCH, or pack from a git checkout"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
top=pellimar-$version-win64
stage=$work/$top
cmake --install "$build_dir" --prefix "$stage" >/dev/null
find "$stage" -exec touch -h -d "@$epoch" {} +
[[ -f $stage/pellimar.exe && -f $stage/LICENSE ]] || fail "the install rules put no pellimar.exe or LICENSE at the top"
# Names are written into the script as they are: refuse any that NSIS
# would read otherwise.
odd_name=$(cd "$stage" && find . | grep '[^A-Za-z0-9._/ -]' | head -n 1 || true)
[[ -z $odd_name ]] || fail "an installed file's name has a character the installer script cannot take: $odd_name"
# The installer's script lists the files one by one; the install rules put
# them all in one folder.
subfolder=$(cd "$stage" && find . -mindepth 1 -type d | head -n 1)
[[ -z $subfolder ]] || fail "the install rules make a subfolder ($subfolder); the installer takes one folder of files"
file_list=$work/files.nsh
{
  echo '!macro InstallFiles'
  (cd "$stage" && find . -type f | LC_ALL=C sort) | while read -r file; do
    echo "  File \"$stage/${file#./}\""
  done
  echo '!macroend'
  echo '!macro RemoveFiles'
  (cd "$stage" && find . -type f | LC_ALL=C sort) | while read -r file; do
    echo "  Delete \"\$INSTDIR\\${file#./}\""
  done
  echo '!macroend'
} >"$file_list"

# The zip: the folder's files in a fixed order, with their dates alone (-X
# leaves out the times of last access and change that the system keeps), in
# UTC, as a zip holds local times.
(cd "$work" && find "$top" -type f | LC_ALL=C sort | TZ=UTC zip -X -D -q -9 "$out_dir/$zip" -@) \
  || fail "zip could not pack $zip"

makensis -V2 -DVERSION="$version" -DFILE_LIST="$file_list" -DICON="$PWD/resources/icons/pellimar.ico" \
  -DLICENSE_FILE="$stage/LICENSE" -DOUTFILE="$out_dir/$setup" resources/pellimar-setup.nsi \
  || fail "makensis could not build the installer"

echo
cmake -E tar tf "$out_dir/$zip"
echo
echo "Built $out_dir/$zip and $out_dir/$setup"
