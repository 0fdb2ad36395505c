#!/usr/bin/env bash
# Uses the real pellimar.exe under wine as a user would, on a virtual X
# display (Xvfb) with a real window manager (openbox), by keyboard only
# (mnemonics, menu shortcuts, Tab; menu items by the letters their captions
# underline, found by caption): level names from the sample definition
# file, one typed with an accented letter under a fixed keyboard layout, the
# patterns typed, input and output chosen through the file dialogs, a run of
# the sample, a longer file whose starting page is asked for (the question
# cancelled once, then answered) and whose headings carry the accented level
# name, a large file during whose run Alt+X (disabled then) is pressed and
# the File menu held open until the run is over, the longer file's output
# converted again (the closing box grows by the advice on earlier
# references) and once more with Replace Earlier References switched on in
# File > Preferences, the guide with a text found in it (Ctrl+F, Enter, F3,
# Shift+F3; guide-find.png), then Exit; then
# the window again at 150 % scaling, with a run of the large file. Shortcuts
# of disabled items (Alt+B before anything is filled in, Alt+X during a run)
# must leave the window out of menu mode, and every caption must show whole
# in the window's font at both scalings (read from the controls by
# window_probe.exe). It then checks the outputs against the Linux
# pellimar-cli on the same options, byte for byte, the saved settings and
# pattern files, and the captions the window manager showed. It runs in a
# wine folder of its own, stopped at the end; screenshots are left in
# BUILD_DIR/gui-check/ (main-window.png: the window filled in, as shown in
# the README; running-100.png and running-150.png: during runs). Between
# the long run and the large one it converts a collection of three files
# through "File > Convert Several Files..." (the files, the output folder,
# the one overwrite question with its Yes and Cancel, the one page question,
# the summary), the output folder typed whole while the folder dialog shows
# the one above it, and compares each output with the Linux pellimar-cli's
# and looks that none went elsewhere; then the same files into a folder that
# holds a link to one of them under another's name, which one error box
# refuses as soon as it is chosen, the folder dialog coming back, with
# nothing written; after it, four files
# of which the second is large, cancelled while it is written: the question
# names each other output by what it is now (collection-cancel.png). After
# the sample run, File > Preview, whose list of the file's level records
# stands above the references (preview.png), and an output named NUL.fff,
# which Windows would take for its device.
#
# Usage: scripts/gui-check-windows.sh [BUILD_DIR [LINUX_CLI]]
#   (defaults: build-windows, build/src/cli/pellimar-cli)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build-windows}
linux_cli=${2:-build/src/cli/pellimar-cli}
program=$build_dir/src/window_win32/pellimar.exe
probe_program=$build_dir/tests/window_win32/window_probe.exe
# The large file: big enough that its run lasts some seconds under wine.
big_mb=${PELLIMAR_GUI_CHECK_BIG_MB:-800}
shots=$build_dir/gui-check
title="Folio Flat File Pellimar"

if [[ -z "${PELLIMAR_GUI_CHECK_BOUNDED:-}" ]]; then
  # fonts-wine: the dialog font Windows has (Tahoma), instead of whatever
  # fontconfig finds for it.
  scripts/install-deps.sh xvfb openbox xdotool imagemagick x11-utils x11-xkb-utils x11-xserver-utils \
    fonts-wine wine64
  # Every step below has its own time limit; this bounds them all together.
  PELLIMAR_GUI_CHECK_BOUNDED=1 exec timeout --kill-after=10 480 "$0" "$@"
fi
[[ -f "$program" && -f "$probe_program" ]] || { echo "gui-check-windows: $program is missing; build first" >&2; exit 1; }
[[ -x "$linux_cli" ]] || { echo "gui-check-windows: $linux_cli is missing; build first" >&2; exit 1; }
linux_cli=$(realpath "$linux_cli")
wine=/usr/lib/wine/wine64
[[ -x $wine ]] || wine=$(command -v wine64 || command -v wine)

rm -rf "$shots"
mkdir -p "$shots"
work=$(mktemp -d)
export WINEPREFIX=$work/wine WINEDEBUG=-all LC_ALL=C.UTF-8
pids=()
cleanup() {
  local pid
  WINEPREFIX=$work/wine timeout 20 "$(dirname "$wine")/wineserver" -k 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work" 2>/dev/null || true
}
trap cleanup EXIT
trap 'echo "gui-check-windows: FAILED: stopped" >&2; exit 143' TERM INT

say() { echo "gui-check-windows: $*"; }
shot() { timeout 20 import -window root "$shots/$1.png" || say "no screenshot $1"; }
fail() {
  echo "gui-check-windows: FAILED: $*" >&2
  shot failure
  exit 1
}
xdo() { timeout 10 xdotool "$@"; }
active_name() { xdo getactivewindow getwindowname 2>/dev/null || true; }
active_height() { xdo getactivewindow getwindowgeometry --shell | sed -n 's/^HEIGHT=//p'; }
captions=()
wait_active() {
  local i
  for ((i = 0; i < 200; i++)); do
    if [[ "$(active_name)" == "$1" ]]; then
      captions+=("$1")
      sleep 0.3
      return 0
    fi
    sleep 0.1
  done
  fail "no active window captioned \"$1\"; the active one is \"$(active_name)\""
}
typed() { xdo type --delay 40 -- "$1"; }
keys() { xdo key --delay 100 "$@"; }
probe() { timeout 20 "$wine" "$work/window_probe.exe" "$@" 2>&1; }
# The window must not be left in menu mode, where the next keys go to the
# menu bar and a run could be held up.
expect_no_menu_mode() {
  local state
  sleep 0.5
  state=$(probe menu) || fail "$1: the window is in menu mode ($state)"
}
expect_captions_whole() {
  local report
  report=$(probe captions) || fail "a caption is cut short at $1:"$'\n'"$report"
  printf '%s\n' "$report" >"$shots/captions-$1.txt"
}
# A Linux path as wine's programs see it.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

start_display() {
  start_own_display "$work/xvfb.log" || fail "no display of its own for Xvfb: $(cat "$work/xvfb.log")"
  pids+=("$xvfb_pid")
  # A fixed layout: US, with é on the key a US keyboard lacks (<LSGT>), so
  # that typing it needs no remapping while wine runs: wine reads the layout
  # once, and a key remapped under it may lose its character.
  setxkbmap us
  xmodmap -e "keycode 94 = eacute Eacute"
  local key i
  key=$(xmodmap -pke | grep '^keycode  94 ' || true)
  [[ $key == 'keycode  94 = eacute Eacute'* ]] || fail "the keyboard layout could not be set: $key"
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  pids+=($!)
  for ((i = 0; i < 100; i++)); do
    [[ $(timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *'window id'* ]] && return 0
    sleep 0.1
  done
  fail "openbox did not start: $(cat "$work/openbox.log")"
}

# The program beside its guide in a folder it may write, where it keeps its
# settings; earlier histories there; the sample, its definition file and a
# longer input whose first reference comes about halfway through.
prepare_files() {
  mkdir -p "$work/app"
  cp "$program" resources/user-guide.md "$work/app/"
  cp "$probe_program" "$work/"
  printf '1 2\r\n2 3, P. #\r\n' >"$work/app/patterns.ref"
  cp resources/sample.fff resources/sample.def "$work/"
  mkdir -p "$work/books" "$work/refs" "$work/linked" "$work/cut-books" "$work/cut"
  # Beside refs\, folders whose names share its first letters.
  mkdir -p "$work/ref" "$work/refs2" "$work/rest"
  printf 'earlier output\r\n' >"$work/refs/book2.fff"
  printf 'earlier output\r\n' >"$work/cut/c.fff"
  ln -s ../books/book3.fff "$work/linked/book1.fff"
  local i
  for ((i = 0; i < 400; i++)); do
    printf '<RD>Front matter record %03d, before any level heading.\r\n' "$i"
  done >"$work/long.fff"
  # Each chapter gets a part under it, its level named with the accented
  # letter in Windows-1252, so the typed name shows in the references.
  LC_ALL=C awk '{ print } /^<RD:Chapter>/ { printf "<RD:S\351ction>Part one\r\n" }' \
    resources/sample.fff >>"$work/long.fff"
  cp resources/sample.fff "$work/books/book1.fff"
  cp "$work/long.fff" "$work/books/book2.fff"
  cp resources/sample.fff "$work/books/book3.fff"
  cp "$work/long.fff" "$work/big-part.fff"
  while (($(stat -c %s "$work/big-part.fff") < big_mb * 1024 * 1024 / 8)); do
    cat "$work/big-part.fff" "$work/big-part.fff" >"$work/big-twice.fff"
    mv "$work/big-twice.fff" "$work/big-part.fff"
  done
  cat "$work"/big-part.fff{,,,,,,,} >"$work/big.fff"
  rm "$work/big-part.fff"
  cp resources/sample.fff "$work/cut-books/a.fff"
  ln "$work/big.fff" "$work/cut-books/b.fff"
  cp resources/sample.fff "$work/cut-books/c.fff"
  cp resources/sample.fff "$work/cut-books/d.fff"
  # Without .NET and the HTML engine, which the program does not use: a new
  # wine folder would otherwise offer to download them, in a dialog that
  # nobody answers here.
  WINEDLLOVERRIDES='mscoree,mshtml=' timeout 120 "$wine" wineboot -i >/dev/null 2>&1 \
    || fail "the wine folder could not be made"
}

start_program() {
  (cd "$work/app" && exec "$wine" pellimar.exe >"$work/program.log" 2>&1) &
  app=$!
  pids+=("$app")
  # Searched for again until it is there: a search can fail outright while
  # wine's windows of its start come and go.
  local i
  window=
  for ((i = 0; i < 120; i++)); do
    window=$(timeout 10 xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1 || true)
    [[ -z "$window" ]] || break
    sleep 0.5
  done
  [[ -n "$window" ]] || fail "the window did not appear: $(cat "$work/program.log")"
  xdo windowactivate --sync "$window"
  wait_active "$title"
  sleep 0.5
  timeout 20 import -window "$window" "$shots/window-empty.png"
}

# Nothing is filled in, so Begin is disabled: its shortcut does nothing.
press_disabled_begin() {
  keys alt+b
  expect_no_menu_mode "Alt+B with Begin disabled"
}

# Types a path into the file dialog with this caption and confirms it.
choose_file() {
  wait_active "$1"
  keys ctrl+a
  typed "$(windows_path "$2")"
  keys Return
  wait_active "$title"
}

fill_in_the_window() {
  keys alt+l
  choose_file 'Load Levels' "$work/sample.def"
  keys alt+4
  typed 'Séction'
  keys alt+p
  typed '[#]'
  keys Tab space  # Remove #'s
  keys alt+r
  typed '1 4, p. #'
  keys alt+i
  choose_file 'Input File' "$work/sample.fff"
  keys alt+o
  choose_file 'Output File' "$work/out.fff"
  shot main-window-idle
  timeout 20 import -window "$window" "$shots/main-window.png"
}

run_the_sample() {
  keys alt+b
  wait_active Confirm
  shot message-box
  keys n  # do not view the output
  wait_active "$title"
  cp "$work/out.fff" "$work/sample-run.fff"
}

# File > Preview on the sample: the level names of its level records, with
# their counts and first headings, above the references.
preview_the_sample() {
  open_menu File
  sleep 0.3
  press_menu_items Preview
  wait_active Preview
  shot preview
  preview_text=$(probe message | tr -d '\r') || fail "Preview showed no dialog"
  keys Return
  wait_active "$title"
}

# File > Preview Several Files... on the three books: each file's row with
# the level names it holds under it (preview-several.png).
preview_several_files() {
  open_menu File
  sleep 0.3
  press_menu_items 'Preview Several Files...'
  wait_active 'Preview Several Files'
  keys ctrl+a
  typed "$(windows_path "$work/books")"
  keys Return
  sleep 0.5
  typed '"book1.fff" "book2.fff" "book3.fff"'
  keys Return
  wait_active Preview
  sleep 0.5
  shot preview-several
  keys Return
  wait_active "$title"
}

# NUL.fff, in any folder, is the device NUL to Windows: the run would throw
# the output away and report it written. The error box refuses it.
refuse_an_output_named_for_a_device() {
  keys alt+o
  choose_file 'Output File' "$work/NUL.fff"
  keys alt+b
  sleep 1  # the error box bears the application's title, as the window does
  nul_message=$(probe message | tr -d '\r') || fail "Begin with NUL.fff as output showed no box"
  keys Return
  sleep 0.5
  keys alt+o
  choose_file 'Output File' "$work/out.fff"
}

# Answers the starting-page question with 7, the page the CLI is given too.
answer_page() {
  wait_active "Input Page Number"
  keys ctrl+a
  typed 7
  keys Return
}

run_the_long_file() {
  keys alt+p ctrl+a
  typed '{#}'  # no page-number marker matches: the starting page is asked for
  keys alt+i
  choose_file 'Input File' "$work/long.fff"
  keys Tab  # the input box is left: its text joins the history
  keys alt+b
  wait_active Warning
  keys y  # overwrite
  wait_active "Input Page Number"
  shot input-box
  keys Escape  # no page given: the run goes on from the first page
  wait_active Confirm
  keys n
  wait_active "$title"
  keys alt+b
  wait_active Warning
  keys y
  answer_page
  wait_active Confirm
  # The sample's box tells that no level record names level 4; this one
  # has nothing to tell.
  plain_box_height=$(active_height)
  keys n
  wait_active "$title"
}

# Books through File > Convert Several Files..., into `folder`: the three
# of books\ unless other names are given, from the folder given after it.
choose_the_collection() {
  local folder=$1 from=${2:-$work/books} names=${3:-'"book1.fff" "book2.fff" "book3.fff"'}
  open_menu File
  sleep 0.3
  press_menu_items 'Convert Several Files...'
  wait_active 'Convert Several Files'
  keys ctrl+a
  typed "$(windows_path "$from")"
  keys Return
  sleep 0.5
  typed "$names"
  keys Return
  wait_active 'Output Folder'
  keys ctrl+a
  typed "$(windows_path "$folder")"
  sleep 0.3
  shot "collection-folder-typed-${folder##*/}"
  keys Return
}

# linked\book1.fff leads to books\book3.fff: one error box names them as
# soon as the folder is chosen, and the folder dialog comes back; nothing is
# written.
refuse_a_collection_into_a_linked_folder() {
  choose_the_collection "$work/linked"
  wait_active Error
  shot collection-refused
  linked_message=$(probe message | tr -d '\r') || fail "no message box to read"
  keys Return
  wait_active 'Output Folder'
  keys Escape
  wait_active "$title"
}

# The boxes as the long run left them. The open dialog is taken to the
# folder first, then given the three names; the output folder's full path is
# typed while the folder dialog shows the folder above it. The page question
# comes once, for the first file, and its answer starts the other two.
run_a_collection() {
  choose_the_collection "$work/refs"
  wait_active Warning  # refs\book2.fff exists
  shot collection-overwrite
  overwrite_buttons=$(probe buttons | tr -d '\r' | paste -s -d '|') || fail "no message box to read"
  keys y
  wait_active "Input Page Number"
  collection_caption=$(xdo getwindowname "$window")
  shot collection-page-question
  keys ctrl+a
  typed 7
  keys Return
  wait_active 'Convert Several Files'  # the list of the files converted
  shot collection-summary
  keys Escape
  wait_active "$title"
}

# Four files, the second large, into cut\, where c.fff stands from an
# earlier run: cancelled (Alt+B) while the second is written, the question
# names the others by what they are now; Yes deletes what was written.
cancel_a_collection() {
  choose_the_collection "$work/cut" "$work/cut-books" '"a.fff" "b.fff" "c.fff" "d.fff"'
  wait_active Warning  # cut\c.fff exists
  keys y
  answer_page
  local i
  for ((i = 0; i < 600; i++)); do
    [[ $(xdo getwindowname "$window" 2>/dev/null) == "2 of 4: b.fff"* ]] && break
    sleep 0.05
  done
  keys alt+b
  wait_active Confirm
  shot collection-cancel
  cancel_message=$(probe message | tr -d '\r') || fail "no message box to read"
  keys y
  wait_active "$title"
}

# During the run Exit is disabled: Alt+X does nothing, and the run goes on.
# The File menu is then opened and held open: the run ends meanwhile, its
# output in place, and its closing question waits for the menu to close.
run_the_large_file() {
  keys alt+p ctrl+a
  typed '[#]'
  keys alt+i
  choose_file 'Input File' "$work/big.fff"
  keys alt+o
  choose_file 'Output File' "$work/big-out.fff"
  keys alt+b
  sleep 0.3
  keys alt+x
  expect_no_menu_mode "Alt+X during a run"
  [[ "$(active_name)" == "$title" ]] || fail "Alt+X during a run: the active window is \"$(active_name)\""
  shot running-100
  open_menu File
  sleep 0.5
  probe menu >/dev/null && fail "the File menu did not open"
  local i
  for ((i = 0; i < 600; i++)); do
    [[ ! -e "$work/big-out.fff" ]] || break
    sleep 0.2
  done
  [[ -e "$work/big-out.fff" ]] || fail "the run did not end while the File menu was open"
  shot menu-open-run-over
  probe menu >/dev/null && fail "the File menu closed before the run was over"
  expect_captions_whole 100
  keys Escape Escape
  wait_active Confirm
  keys n
  wait_active "$title"
}

# The long run's output converted again: its closing box grows by the advice
# to switch on Replace Earlier References, which the next run does from the
# menu, giving the long run's output again.
run_the_output_again() {
  keys alt+p ctrl+a
  typed '{#}'
  keys alt+i
  choose_file 'Input File' "$work/out.fff"
  keys alt+o
  choose_file 'Output File' "$work/again.fff"
  keys alt+b
  answer_page
  wait_active Confirm
  shot advice-on-earlier-references
  advice_box_height=$(active_height)
  keys n
  wait_active "$title"
  open_menu File Preferences
  sleep 0.3
  shot replace-earlier-references
  press_menu_items 'Replace Earlier References'
  expect_no_menu_mode "Replace Earlier References chosen"
  keys alt+o
  choose_file 'Output File' "$work/replaced.fff"
  keys alt+b
  answer_page
  wait_active Confirm
  replaced_box_height=$(active_height)
  keys n
  wait_active "$title"
}

# The guide from its start, then Ctrl+F and a text: Enter selects its first
# place, F3 the next further down, Shift+F3 the first again.
read_the_guide() {
  open_menu Help 'Using Pellimar ...'
  wait_active "Using Pellimar"
  sleep 0.5
  shot guide
  local state first next back
  state=$(probe guide) || fail "the guide is not shown from its start with nothing selected: $state"
  keys ctrl+f
  typed 'several FILES'
  keys Return
  first=$(probe found | tr -d '\r') || fail "Enter in the guide's find box found nothing: $first"
  keys F3
  next=$(probe found | tr -d '\r') || fail "F3 in the guide found nothing: $next"
  shot guide-find
  keys shift+F3
  back=$(probe found | tr -d '\r') || fail "Shift+F3 in the guide found nothing: $back"
  # "selection START to END, first line shown LINE": the text's length, further
  # down and scrolled to, then back.
  local start_first start_next
  start_first=$(sed -n 's/^selection \([0-9]*\) to .*/\1/p' <<<"$first")
  start_next=$(sed -n 's/^selection \([0-9]*\) to .*/\1/p' <<<"$next")
  [[ $first == "selection $start_first to $((start_first + 13)),"* && $next == "selection $start_next to $((start_next + 13)),"* ]] \
    || fail "the guide's find selected something else than \"several files\": \"$first\", \"$next\""
  ((start_next > start_first)) && [[ ${back%%,*} == "${first%%,*}" && $next != *' shown 0' ]] \
    || fail "F3 and Shift+F3 did not go to the next place, scrolled to, and back: \"$first\", \"$next\", \"$back\""
  keys Escape
  wait_active "$title"
}

# The window at 150 %: the layout and the fonts scaled, every caption whole.
run_at_150_percent() {
  timeout 20 "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 \
    || fail "the scaling could not be set"
  start_program
  keys alt+l
  choose_file 'Load Levels' "$work/sample.def"
  keys alt+4
  typed 'Séction'
  keys alt+p
  typed '[#]'
  keys alt+r
  typed '1 4, p. #'
  keys alt+i
  choose_file 'Input File' "$work/big.fff"
  keys alt+o
  choose_file 'Output File' "$work/big-150.fff"
  keys alt+b
  sleep 1
  shot running-150
  timeout 20 import -window "$window" "$shots/window-running-150.png"
  expect_captions_whole 150
  wait_active Confirm
  keys n
  wait_active "$title"
  close_the_window
}

close_the_window() {
  keys alt+x
  local i
  for ((i = 0; i < 150; i++)); do
    kill -0 "$app" 2>/dev/null || return 0
    sleep 0.1
  done
  fail "the window did not close"
}

failures=0
checker=gui-check-windows
settings_ini=$work/app/pellimar.INI
source scripts/gui-check-results.sh
source scripts/own-display.sh
source scripts/menu-keys.sh
# The Linux program's output on the same options. The level name is given
# in UTF-8, the C.UTF-8 locale's encoding, and converted to Windows-1252, the
# encoding of 8-bit flat files, as the window converts it to wine's ANSI code
# page (1252 for the locale wine maps C.UTF-8 to).
linux_output() {
  local input=$1 output=$2
  shift 2
  "$linux_cli" -L "$work/sample.def" --level4 'Séction' -r '1 4, p. #' "$@" "$input" "$output" >"$work/linux.log" 2>&1 \
    || fail "the Linux pellimar-cli failed on $input: $(cat "$work/linux.log")"
}

check_results() {
  linux_output "$work/sample.fff" "$work/linux-sample.fff" -p '[#]' --remove-page-marks
  linux_output "$work/long.fff" "$work/linux-long.fff" -p '{#}' --remove-page-marks --start-page 7
  check "the sample run: the same bytes as the Linux pellimar-cli" cmp "$work/sample-run.fff" "$work/linux-sample.fff"
  check "the long run: the same bytes as the Linux pellimar-cli" cmp "$work/out.fff" "$work/linux-long.fff"
  linux_output "$work/big.fff" "$work/linux-big.fff" -p '[#]' --remove-page-marks
  check "the large run with Alt+X and the menu open: the same bytes as the Linux pellimar-cli" \
    cmp "$work/big-out.fff" "$work/linux-big.fff"
  local name
  for name in book1.fff book2.fff book3.fff; do
    linux_output "$work/books/$name" "$work/linux-$name" -p '{#}' --remove-page-marks --start-page 7
    check "the collection: $name the same bytes as the Linux pellimar-cli" cmp "$work/refs/$name" "$work/linux-$name"
  done
  ls -l "$work/refs" >"$shots/collection-folder-listing.txt"
  check "the collection: the outputs in the folder typed" same "$(ls -A "$work/refs")" $'book1.fff\nbook2.fff\nbook3.fff'
  check "the collection: no output in the folder the dialog showed, nor beside the one typed" \
    same "$(find "$work" -maxdepth 1 -name 'book*.fff'; find "$work/ref" "$work/refs2" "$work/rest" -type f)" ""
  check "a collection into a folder with a link to an input: one box names both" \
    same "$linked_message" "The outputs cannot go into $(windows_path "$work/linked"): it holds inputs of this run. Choose another folder."$'\n\n'"Cannot create file $(windows_path "$work/linked/book1.fff")"$'\n'"it is $(windows_path "$work/books/book3.fff"), an input of this run"
  check "a collection into a folder with a link to an input: nothing written" \
    same "$(ls -A "$work/linked")" "book1.fff"
  check "a collection into a folder with a link to an input: the input left as it was" \
    cmp resources/sample.fff "$work/books/book3.fff"
  check "the preview: the level records' names, counts and first headings above the references" \
    same "$(sed -n '1,4p' <<<"$preview_text")" "Level records in the part of the file read:"$'\n'"Testament (1): The Old Testament"$'\n'"\"Book Name\" (1): Genesis"$'\n'"Chapter (1): 1"
  check "an output named NUL.fff: refused, Windows taking it for its device" \
    same "$nul_message" "Cannot create file $(windows_path "$work/NUL.fff")"$'\n'"Windows takes the name for the device NUL"
  check "the collection: the caption named the first file while its page was asked" \
    same "$collection_caption" "1 of 3: book1.fff - $title"
  check "the collection's overwrite question: Yes and Cancel only" same "$overwrite_buttons" "&Yes|Cancel"
  check "the collection cancelled: the question names each other output by what it is now" \
    same "$cancel_message" "Operation Canceled."$'\n'"Delete output file?"$'\n\n'"$(windows_path "$work/cut/b.fff") was being written. Deleting it leaves no file under its name."$'\n\n'"Converted by this run: $(windows_path "$work/cut/a.fff")"$'\n'"Left as it was, from an earlier run: $(windows_path "$work/cut/c.fff")"$'\n'"Not written: $(windows_path "$work/cut/d.fff")"
  check "the collection cancelled: the first converted" holds "$work/cut/a.fff" "<CS:Reference>"
  check "the collection cancelled: the second deleted, the fourth not written" same "$(ls -A "$work/cut")" $'a.fff\nc.fff'
  check "the collection cancelled: the earlier file left as it was" same "$(tr -d '\r' <"$work/cut/c.fff")" "earlier output"
  check "the collection's output folder saved" holds "$work/app/pellimar.INI" "OutputFolder=$(windows_path "$work/cut")"
  check "the long run: the accented level's headings in its references, from page 7" \
    holds "$work/out.fff" "<CS:Reference>The Old Testament Part one, p. 7<CR>"
  check "the reference history: the pattern typed over the earlier ones" \
    same "$(lines_of "$work/app/patterns.ref")" $'1 4, p. #\n1 2\n2 3, P. #'
  check "the page-pattern history" same "$(lines_of "$work/app/patterns.pag")" $'{#}\n[#]'
  check "L4: the accented name, in the ANSI code page" holds "$work/app/pellimar.INI" $'S\xe9ction='
  check "InputFiles: the four inputs chosen" same "$(section_of InputFiles)" \
    "$(windows_path "$work/out.fff")"$'\n'"$(windows_path "$work/big.fff")"$'\n'"$(windows_path "$work/long.fff")"$'\n'"$(windows_path "$work/sample.fff")"
  check "converted again: the earlier references kept beside the new ones" \
    same "$(grep -a -o '<CS:Reference>' "$work/again.fff" | wc -l)" \
    "$((2 * $(grep -a -o '<CS:Reference>' "$work/out.fff" | wc -l)))"
  check "converted again: the closing box taller by the advice ($plain_box_height, then $advice_box_height)" \
    test "$advice_box_height" -gt "$plain_box_height"
  check "with Replace Earlier References: the output of the long run again" cmp -s "$work/out.fff" "$work/replaced.fff"
  check "with Replace Earlier References: the closing box without the advice" \
    test "$replaced_box_height" -lt "$advice_box_height"
  check "Replace Earlier References saved" holds "$work/app/pellimar.INI" "ReplaceReferences=1"
  check "Remove #'s saved" holds "$work/app/pellimar.INI" "Remove=1"
  check "the settings file in CR LF lines" holds "$work/app/pellimar.INI" $'\r\n'
  local names
  names=$(printf '%s\n' "${captions[@]}" | sort -u | paste -s -d '|')
  check "the captions of the window, a message box and the input box" \
    same "$names" "Confirm|Convert Several Files|Error|Folio Flat File Pellimar|Input File|Input Page Number|Load Levels|Output File|Output Folder|Preview|Preview Several Files|Using Pellimar|Warning"
}

start=$SECONDS
start_display
prepare_files
start_program
press_disabled_begin
say "typing into the boxes and choosing files on display $DISPLAY"
fill_in_the_window
say "running the sample"
run_the_sample
say "previewing the sample"
preview_the_sample
say "previewing several files"
preview_several_files
say "refusing an output named NUL.fff"
refuse_an_output_named_for_a_device
say "running a longer file that asks for the starting page"
run_the_long_file
say "converting a collection of three files"
run_a_collection
say "refusing a collection into a folder that holds a link to one of its inputs"
refuse_a_collection_into_a_linked_folder
say "cancelling a collection while its second file is written"
cancel_a_collection
say "running a large file, with Alt+X and the File menu during the run"
run_the_large_file
say "converting the longer file's output again, then with Replace Earlier References"
run_the_output_again
read_the_guide
close_the_window
cp "$work/app/pellimar.INI" "$work/app/patterns.pag" "$work/app/patterns.ref" "$shots/" 2>/dev/null || true
check_results
say "the window at 150 %"
run_at_150_percent
check "the large run at 150 %: the same bytes as the Linux pellimar-cli" cmp "$work/big-150.fff" "$work/linux-big.fff"
say "screenshots in $shots; took $((SECONDS - start)) s"
exit $((failures > 0))
