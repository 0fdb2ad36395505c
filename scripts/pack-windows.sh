#!/usr/bin/env bash
# Packs a finished Windows build (made with cmake/mingw-w64-x86_64.cmake) into
# OUT_DIR: pellimar-<version>-win64.zip (one folder with pellimar.exe,
# pellimar-cli.exe, LICENSE, the user guide and the sample files) and
# pellimar-<version>-setup.exe, the installer built by Debian's nsis from
# resources/pellimar-setup.nsi. Both take their files from the build's
# install rules and the version from the project. Checks first that both
# programs need only DLLs that every Windows has. Needs a configured build
# (scripts/package-windows.sh, scripts/test-windows.sh) and brings only its
# two programs up to date.
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
rm -f "$out_dir/$zip" "$out_dir/$setup" "$build_dir/$zip"

(cd "$build_dir" && cpack -G ZIP >/dev/null)
mv "$build_dir/$zip" "$out_dir/"

# The installer's files: those of the install rules, stripped, and the
# uninstaller's list made from the same set, so that it removes exactly
# what was installed.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage=$work/stage
cmake --install "$build_dir" --prefix "$stage" --strip >/dev/null
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
  (cd "$stage" && find . -type f | sort) | while read -r file; do
    echo "  File \"$stage/${file#./}\""
  done
  echo '!macroend'
  echo '!macro RemoveFiles'
  (cd "$stage" && find . -type f | sort) | while read -r file; do
    echo "  Delete \"\$INSTDIR\\${file#./}\""
  done
  echo '!macroend'
} >"$file_list"

makensis -V2 -DVERSION="$version" -DFILE_LIST="$file_list" -DICON="$PWD/resources/icons/pellimar.ico" \
  -DLICENSE_FILE="$stage/LICENSE" -DOUTFILE="$out_dir/$setup" resources/pellimar-setup.nsi \
  || fail "makensis could not build the installer"

echo
cmake -E tar tf "$out_dir/$zip"
echo
echo "Built $out_dir/$zip and $out_dir/$setup"
