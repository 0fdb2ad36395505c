#!/usr/bin/env bash
# Checks the Windows installer under wine as a user would meet it: builds
# pellimar-<version>-setup.exe from a finished Windows build
# (scripts/pack-windows.sh, into BUILD_DIR/installer-check/), installs it
# silently (/S) into a wine folder of its own on a virtual X display (Xvfb),
# and checks the installed files against the zip's, the Start-menu entry,
# the entry in Add/Remove Programs and, for the installing user, "Open with
# Pellimar" for .fff files and Pellimar in their "Open with" list, beside
# another program's entry set there before. It then uninstalls silently
# through that entry (the folder must go when nothing else is in it, and
# the registry entries with it, the other program's staying), installs again
# through the installer's pages as a user does (Return on each, under a
# window manager), whose last page starts pellimar.exe ("Run Pellimar",
# ticked), closes that window, starts pellimar.exe from the Start-menu entry,
# waits for its window, checks that installing over the running program
# fails, and closes the window, so that it saves its settings; opens a file
# with the command "Open with Pellimar" names, as Explorer does, and checks
# that the window shows it as the input (open-with.png); uninstalls
# again, and checks that
# the programs, the entry and the shortcut are gone and the settings beside
# the program and in %APPDATA%\Pellimar are kept as they were. Stops its wine
# at the end; exits non-zero with a message on any failure.
#
# Usage: scripts/check-installer-windows.sh [BUILD_DIR]   (default: build-windows)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build-windows}
title="Folio Flat File Pellimar"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pellimar'
shortcut='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Pellimar.lnk'
settings_files=(pellimar.INI patterns.pag patterns.ref)
verb_key='HKCU\Software\Classes\SystemFileAssociations\.fff\shell\Pellimar'
progid_key='HKCU\Software\Classes\Pellimar.FlatFile'
open_with_key='HKCU\Software\Classes\.fff\OpenWithProgids'
open_command='"C:\Program Files\Pellimar\pellimar.exe" "%1"'
probe_program=$build_dir/tests/window_win32/window_probe.exe

if [[ -z "${PELLIMAR_INSTALLER_CHECK_BOUNDED:-}" ]]; then
  scripts/install-deps.sh --cli nsis zip xvfb xauth xdotool openbox x11-utils imagemagick wine64
  # Every step below has its own time limit; this bounds them all together.
  PELLIMAR_INSTALLER_CHECK_BOUNDED=1 exec timeout --kill-after=10 300 "$0" "$@"
fi

say() { echo "check-installer-windows: $*"; }
fail() {
  echo "check-installer-windows: FAILED: $*" >&2
  exit 1
}

[[ -f $probe_program ]] || fail "$probe_program is missing: build the Windows tests first (scripts/test-windows.sh)"
packages=$build_dir/installer-check
rm -rf "$packages"
scripts/pack-windows.sh "$build_dir" "$packages" >"$build_dir/installer-check.log" 2>&1 \
  || fail "the packages could not be built: $(tail -n 5 "$build_dir/installer-check.log")"
setup=$(ls "$packages"/pellimar-*-setup.exe)
zip=$(ls "$packages"/pellimar-*-win64.zip)
version=$(basename "$setup" -setup.exe)
version=${version#pellimar-}
# The installer must put in place what the zip holds.
mapfile -t packaged < <(cmake -E tar tf "$zip" | sed 's|^[^/]*/||' | grep -v '^$' | sort)
(( ${#packaged[@]} >= 2 )) || fail "the zip $zip holds no files"

wine=/usr/lib/wine/wine64
[[ -x $wine ]] || wine=$(command -v wine64 || command -v wine)
wineserver=$(dirname "$wine")/wineserver
[[ -x $wineserver ]] || wineserver=$(command -v wineserver)

work=$(mktemp -d)
# A wine folder and a home of its own: nothing of the user's is touched, and
# wine makes no menu entries on the Linux desktop for the shortcut.
mkdir -p "$work/home"
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d" HOME=$work/home LC_ALL=C.UTF-8
pids=()
cleanup() {
  local pid
  timeout 20 "$wineserver" -k 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work" 2>/dev/null || true
}
trap cleanup EXIT
trap 'echo "check-installer-windows: FAILED: stopped" >&2; exit 143' TERM INT

run_wine() { timeout 60 "$wine" "$@"; }
# Waits until every program of the wine folder has ended: an NSIS
# uninstaller copies itself away and returns at once.
wait_for_wine() { timeout 60 "$wineserver" -w || fail "wine's programs did not end"; }
unix_path() { run_wine winepath -u "$1" 2>/dev/null | tr -d '\r'; }

start_display() {
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  exec 3>&-
  local i
  for ((i = 0; i < 100; i++)); do
    [[ -s "$work/display" ]] && break
    sleep 0.1
  done
  [[ -s "$work/display" ]] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(head -n 1 "$work/display")"
  # A window manager, for the installer's pages to take the keys.
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  pids+=($!)
  for ((i = 0; i < 100; i++)); do
    timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.1
  done
  fail "openbox did not start: $(cat "$work/openbox.log")"
}

install_silently() {
  run_wine "$setup" /S || fail "the silent install of $(basename "$setup") ended with $?"
  check_installed
}

check_installed() {
  [[ -d $program_dir ]] || fail "the installer made no folder $program_dir"
  local file
  for file in "${packaged[@]}" uninstall.exe; do
    [[ -f $program_dir/$file ]] || fail "the installer did not install $file"
  done
  [[ -f $shortcut_file ]] || fail "the installer made no Start-menu entry ($shortcut)"
  run_wine reg query "$uninstall_key" /v DisplayVersion 2>/dev/null | grep -q "REG_SZ *$version" \
    || fail "Add/Remove Programs lists no Pellimar $version"
  check_open_with
}

# A value's data in the registry (the key's own value without NAME); fails
# when it is missing.
registry_value() {
  local out which=(/ve)
  [[ $# -eq 1 ]] || which=(/v "$2")
  out=$(run_wine reg query "$1" "${which[@]}" 2>/dev/null) || return 1
  sed -n 's/^ *[^ ]* *REG_SZ *//p' <<<"$out" | tr -d '\r' | head -n 1
}

check_open_with() {
  [[ $(registry_value "$verb_key") == "Open with Pellimar" ]] \
    || fail "no \"Open with Pellimar\" for .fff files: $verb_key is \"$(registry_value "$verb_key")\""
  [[ $(registry_value "$verb_key\\command") == "$open_command" && \
     $(registry_value "$progid_key\\shell\\open\\command") == "$open_command" ]] \
    || fail "opening a .fff file would not start Pellimar with it: \"$(registry_value "$verb_key\\command")\""
  registry_value "$open_with_key" Pellimar.FlatFile >/dev/null || fail "Pellimar is not in the Open with list of .fff files"
  registry_value "$open_with_key" Other.Viewer >/dev/null || fail "the installer took another program out of the Open with list"
}

check_open_with_removed() {
  local key
  for key in "$verb_key" "$progid_key"; do
    if run_wine reg query "$key" >/dev/null 2>&1; then
      fail "the uninstaller left $key"
    fi
  done
  if registry_value "$open_with_key" Pellimar.FlatFile >/dev/null; then
    fail "the uninstaller left Pellimar in the Open with list of .fff files"
  fi
  registry_value "$open_with_key" Other.Viewer >/dev/null || fail "the uninstaller took another program out of the Open with list"
}

# Uninstalls as Add/Remove Programs does, by the command registered there.
uninstall_silently() {
  local command
  command=$(run_wine reg query "$uninstall_key" /v UninstallString 2>/dev/null \
    | sed -n 's/^ *UninstallString *REG_SZ *//p' | tr -d '\r')
  [[ $command == '"'*'\uninstall.exe"' ]] || fail "Add/Remove Programs has no uninstaller: \"$command\""
  command=${command#\"}
  run_wine "${command%\"}" /S || fail "the silent uninstall ended with $?"
  wait_for_wine
  local file
  for file in "${packaged[@]}" uninstall.exe; do
    [[ ! -e $program_dir/$file ]] || fail "the uninstaller left $file"
  done
  [[ ! -e $shortcut_file ]] || fail "the uninstaller left the Start-menu entry"
  if run_wine reg query "$uninstall_key" >/dev/null 2>&1; then
    fail "the uninstaller left its entry in Add/Remove Programs"
  fi
  check_open_with_removed
}

# The window of the running program, waited for.
program_window() {
  timeout 60 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1 || true
}

# Through the installer's pages with Return: Next, I Agree, Install, Next
# once the files are in, and Finish, with "Run Pellimar" ticked as it comes.
# The program must then come up, started by the last page.
install_through_the_pages() {
  run_wine "$setup" >/dev/null 2>&1 &
  local installer=$! page i
  for ((i = 0; i < 240; i++)); do
    kill -0 "$installer" 2>/dev/null || break
    # (NSIS ends the caption with a blank.)
    page=$(timeout 5 xdotool search --onlyvisible --name "^Pellimar $version Setup" 2>/dev/null | head -n 1 || true)
    if [[ -n $page ]]; then
      timeout 5 xdotool windowactivate --sync "$page" key Return 2>/dev/null || true
    fi
    sleep 0.5
  done
  ! kill -0 "$installer" 2>/dev/null || fail "the installer's pages did not come to their end"
  wait "$installer" || fail "the installer ended with $?"
  check_installed
  [[ -n $(program_window) ]] || fail "the last page did not start Pellimar"
  say "the installer's last page started the program"
  run_wine taskkill /im pellimar.exe >/dev/null || fail "the window could not be asked to close"
  wait_for_wine
}

# Starts the program as a user does, from the Start menu, and closes its
# window as Windows asks a program to (WM_CLOSE), on which it saves its
# settings.
start_and_close_the_program() {
  run_wine start "$shortcut" || fail "the Start-menu entry did not start"
  [[ -n $(program_window) ]] || fail "the installed pellimar.exe showed no window \"$title\""
  say "the installed program's window came up"
  # Windows keeps a running program's file: installing over it must fail,
  # not end as if the new version were in place.
  if run_wine "$setup" /S; then
    fail "a silent install over the running program reported success"
  fi
  run_wine taskkill /im pellimar.exe >/dev/null || fail "the window could not be asked to close"
  wait_for_wine
  [[ -f $program_dir/pellimar.INI || -f $appdata_dir/pellimar.INI ]] \
    || fail "the program saved no pellimar.INI on closing"
}

# As Explorer does for "Open with Pellimar": the program the verb's command
# names, given the file for "%1". The window comes up with the file as its
# input and the output named after it.
open_with_pellimar() {
  local file="$work/my books/book one.fff" path boxes
  mkdir -p "$work/my books"
  cp resources/sample.fff "$file"
  path=$(run_wine winepath -w "$file" 2>/dev/null | tr -d '\r')
  run_wine "$program_dir/pellimar.exe" "$path" >/dev/null 2>&1 &
  [[ -n $(program_window) ]] || fail "Open with Pellimar showed no window \"$title\""
  sleep 1
  timeout 20 import -window root "$build_dir/installer-check/open-with.png" || true
  boxes=$(run_wine "$probe_program" boxes 2>&1 | tr -d '\r') || fail "the window's boxes could not be read: $boxes"
  [[ $boxes == "input: $path"$'\n'"output: ${path%.fff}-ref.fff" ]] \
    || fail "Open with Pellimar did not give the window the file as its input: $boxes"
  say "Open with Pellimar started the program with the file as its input"
  run_wine taskkill /im pellimar.exe >/dev/null || fail "the window could not be asked to close"
  wait_for_wine
}

checksums() { (cd "$1" && md5sum "${settings_files[@]}"); }

start_display
timeout 120 "$wine" wineboot -i >/dev/null 2>&1 || fail "the wine folder could not be made"
program_dir=$(unix_path 'C:\Program Files\Pellimar')
shortcut_file=$(unix_path "$shortcut")
appdata_dir=$(unix_path "$(run_wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')")/Pellimar
[[ -n $program_dir && -n $shortcut_file && $appdata_dir == /*/Pellimar ]] \
  || fail "wine did not name its folders: \"$program_dir\", \"$shortcut_file\", \"$appdata_dir\""
# Another program in the Open with list of .fff files, which stays.
run_wine reg add "$open_with_key" /v Other.Viewer /t REG_SZ /d "" /f >/dev/null 2>&1 \
  || fail "the registry of the wine folder could not be written"

say "installing $(basename "$setup") silently"
install_silently
say "installed: ${packaged[*]} uninstall.exe; Start-menu entry; Add/Remove Programs entry; Open with Pellimar"
uninstall_silently
[[ ! -e $program_dir ]] || fail "the uninstaller left the empty folder $program_dir: $(ls -A "$program_dir")"
say "uninstalled; the empty folder went"

install_through_the_pages
start_and_close_the_program
open_with_pellimar
# Whichever folder the program chose, the user's settings files are in both.
mkdir -p "$appdata_dir"
for file in "${settings_files[@]}"; do
  [[ -f $program_dir/$file ]] || printf 'kept\r\n' >"$program_dir/$file"
  [[ -f $appdata_dir/$file ]] || printf 'kept\r\n' >"$appdata_dir/$file"
done
beside_before=$(checksums "$program_dir")
appdata_before=$(checksums "$appdata_dir")
uninstall_silently
[[ $(checksums "$program_dir" 2>/dev/null) == "$beside_before" ]] \
  || fail "the uninstaller did not keep the settings beside the program"
[[ $(checksums "$appdata_dir" 2>/dev/null) == "$appdata_before" ]] \
  || fail "the uninstaller did not keep the settings in %APPDATA%\\Pellimar"
left=$(ls -A "$program_dir" | sort | tr '\n' ' ')
[[ $left == "patterns.pag patterns.ref pellimar.INI " ]] \
  || fail "the program folder holds more or less than the settings after uninstalling: $left"
say "uninstalled; the settings were kept: $left"
say "passed"
