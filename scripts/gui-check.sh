#!/usr/bin/env bash
# Uses the real window as a user would, on a virtual X display (Xvfb) with a
# real window manager (openbox), typing and clicking with xdotool (menu items
# by the letters their captions underline, found by caption): level names
# from the sample definition file and typed, the patterns typed (the reference
# pattern "1" over a history holding "1 2"), input and output chosen through
# the "+" dialogs, two runs with their closing questions, the overwrite
# question and the starting-page input box; then the second run's output
# converted again, whose closing box holds the advice on earlier references,
# and once more with Replace Earlier References switched on in File >
# Preferences; then Exit. The second run's reference pattern has an em dash
# and curly quotes, typed as a user types them. It then checks the saved settings and pattern files (those characters
# in Windows-1252), the output files, and the captions the window manager
# showed. Screenshots and the saved settings are left in
# BUILD_DIR/gui-check/.
#
# Then it converts a collection of three files through "File > Convert
# Several Files..." by keyboard (the files, the output folder, the one
# overwrite question, the one page question, the summary), with the caption
# naming the file under way, the output folder typed whole while the dialog
# shows the one above it, beside folders whose names share its first letters
# (collection-folder-typed.png), and compares each output with pellimar-cli's
# on the same options and looks that none went elsewhere; and a collection
# of four files whose second is large, cancelled while that one is written,
# whose question names each other output by what it is now
# (collection-overwrite.png and collection-cancel.png show the two
# questions). Last, it starts the window as a file manager does, with a file
# named from the folder it starts in, runs it with a level name and the
# reference pattern typed (window-opened.png: the window as it started),
# finds a text in the guide (guide-find.png), and starts it with two files,
# which a message names (start-files.png).
#
# Usage: scripts/gui-check.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
program=$build_dir/src/app/pellimar
cli=$build_dir/src/cli/pellimar-cli
shots=$build_dir/gui-check
title="Folio Flat File Pellimar"

if [[ -z "${PELLIMAR_GUI_CHECK_BOUNDED:-}" ]]; then
  scripts/install-deps.sh xvfb openbox xdotool imagemagick x11-utils x11-xserver-utils
  # Every step below has its own time limit; this bounds them all together.
  PELLIMAR_GUI_CHECK_BOUNDED=1 exec timeout --kill-after=10 180 "$0" "$@"
fi
[[ -x "$program" && -x "$cli" ]] || { echo "gui-check: $program or $cli is missing; build first" >&2; exit 1; }
program=$(realpath "$program")

rm -rf "$shots"
mkdir -p "$shots"
work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work" 2>/dev/null || true
}
trap cleanup EXIT
# Stopped from outside (or by the time limit), it still ends what it started.
trap 'echo "gui-check: FAILED: stopped" >&2; exit 143' TERM INT

say() { echo "gui-check: $*"; }
shot() { timeout 20 import -window root "$shots/$1.png" || say "no screenshot $1"; }
fail() {
  echo "gui-check: FAILED: $*" >&2
  shot failure
  [[ -s "$work/program.log" ]] && sed 's/^/gui-check: program: /' "$work/program.log" >&2
  exit 1
}
# Every xdotool call is bounded, so that nothing can hang.
xdo() { timeout 10 xdotool "$@"; }
active_name() { xdo getactivewindow getwindowname 2>/dev/null || true; }
active_height() { xdo getactivewindow getwindowgeometry --shell | sed -n 's/^HEIGHT=//p'; }

captions=()
# Waits until the window manager's active window carries this caption.
wait_active() {
  local i
  for ((i = 0; i < 150; i++)); do
    if [[ "$(active_name)" == "$1" ]]; then
      captions+=("$1")
      return 0
    fi
    sleep 0.1
  done
  fail "no active window captioned \"$1\"; the active one is \"$(active_name)\""
}
typed() { xdo type --delay 15 -- "$1"; }
keys() { xdo key --delay 60 "$@"; }
# Clicks at a place of the window's client area; y counts from below the menu bar.
click() { xdo mousemove --window "$window" "$1" $(($2 + menu_height)) click 1; }

# A character that no key makes has xdotool remap a key for the moment of
# typing it, which the program misses now and then: the characters typed
# beyond ASCII get keys of their own, from the keycodes that make nothing.
give_keys() {
  local free
  free=($(xmodmap -pke | awk 'NF == 3 { print $2 }'))
  (( ${#free[@]} >= $# )) || fail "no free keycodes for $*"
  local i=0 symbol
  for symbol in "$@"; do
    xmodmap -e "keycode ${free[i]} = $symbol"
    i=$((i + 1))
  done
}

source scripts/own-display.sh
source scripts/menu-keys.sh

start_display() {
  start_own_display "$work/xvfb.log" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  pids+=("$xvfb_pid")
  local i
  give_keys emdash leftdoublequotemark rightdoublequotemark
  mkdir -p "$work/home" "$work/runtime"
  chmod 700 "$work/runtime"
  export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/home/.config
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  pids+=($!)
  for ((i = 0; i < 100; i++)); do
    timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.1
  done
  fail "openbox did not start: $(cat "$work/openbox.log")"
}

# The sample and definition file, a longer input whose first reference comes
# about halfway through, and settings with earlier histories.
prepare_files() {
  cp resources/sample.fff resources/sample.def "$work/"
  local i
  for ((i = 0; i < 400; i++)); do
    printf '<RD>Front matter record %03d, before any level heading.\r\n' "$i"
  done >"$work/long.fff"
  cat resources/sample.fff >>"$work/long.fff"
  mkdir -p "$work/books" "$work/refs" "$work/cut-books" "$work/cut"
  # Beside refs/, folders whose names share its first letters.
  mkdir -p "$work/ref" "$work/refs2" "$work/rest"
  cp resources/sample.fff "$work/cut-books/a.fff"
  truncate -s 6G "$work/cut-books/b.fff"  # a large file that costs nothing: zeros
  cp resources/sample.fff "$work/cut-books/c.fff"
  cp resources/sample.fff "$work/cut-books/d.fff"
  printf 'earlier output\r\n' >"$work/cut/c.fff"
  cp resources/sample.fff "$work/books/book1.fff"
  cp "$work/long.fff" "$work/books/book2.fff"
  cp resources/sample.fff "$work/books/book3.fff"
  printf 'earlier output\r\n' >"$work/refs/book2.fff"
  mkdir -p "$work/config"
  printf '1 2\r\n2 3, P. #\r\n' >"$work/config/patterns.ref"
  printf '[L4]\r\nSection=\r\n' >"$work/config/pellimar.INI"
}

# The program started in the work folder with the arguments given, its
# settings in CONFIG (the work folder's config/ unless set), and its window.
launch() {
  (cd "$work" && exec env PELLIMAR_CONFIG_DIR="${config:-$work/config}" QT_QPA_PLATFORM=xcb "$program" "$@") \
    >"$work/program.log" 2>&1 &
  app=$!
  pids+=("$app")
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
  [[ -n "$window" ]] || fail "the window did not appear: $(cat "$work/program.log")"
}

start_program() {
  launch "$@"
  xdo windowactivate --sync "$window"
  wait_active "$title"
  local height
  height=$(xdo getwindowgeometry --shell "$window" | sed -n 's/^HEIGHT=//p')
  menu_height=$((height - 290))  # the client area below the menu bar is 290 pixels high
  sleep 0.5
  timeout 20 import -window "$window" "$shots/${window_shot:-window}.png"
}

# Types a path into the file dialog with this caption and confirms it.
choose_file() {
  wait_active "$1"
  keys ctrl+a
  typed "$2"
  sleep 0.3
  keys Return
  wait_active "$title"
}

fill_in_the_window() {
  keys alt+l
  choose_file 'Load Levels' "$work/sample.def"
  keys alt+4
  typed SECTION
  keys alt+p
  typed '[#]'
  click 316 29  # Remove #'s
  keys alt+r
  typed 1
  keys Tab
  keys alt+r ctrl+a
  typed '2 3, p. #'
  keys alt+5
  typed Verse  # and straight on to a dialog
  click 403 167  # the "+" of the input file
  choose_file 'Input File' "$work/sample.fff"
  click 403 213  # the "+" of the output file
  choose_file 'Output File' "$work/out.fff"
  sleep 0.3
  shot main-window-idle
}

run_the_sample() {
  click 171 268  # Begin
  wait_active Confirm
  shot message-box
  plain_box_height=$(active_height)
  keys y  # view the output: no viewer is set, so the viewer dialog comes first
  wait_active 'Folio Flat File Viewer'
  keys Escape
  wait_active "$title"
  cp "$work/out.fff" "$work/sample-run.fff"
}

run_the_long_file() {
  keys alt+p ctrl+a
  typed '{#}'  # no page-number marker matches: the starting page is asked for
  click 249 168  # into the input box
  keys ctrl+a
  typed "$work/long.fff"
  keys alt+r ctrl+a
  # '2 3 — “p. #”': characters of Windows-1252 beyond Latin-1, on the keys
  # give_keys gave them
  typed '2 3 '
  keys emdash space leftdoublequotemark
  typed 'p. #'
  keys rightdoublequotemark
  keys Tab
  click 171 268  # Begin
  wait_active Warning
  keys y  # overwrite
  wait_active "Input Page Number"
  sleep 0.3
  shot during-run
  keys ctrl+a
  typed 7
  keys Return
  wait_active Confirm
  keys n
  wait_active "$title"
}

# The boxes as the long run left them; the output folder's full path typed
# while the dialog shows the folder above it. The page question comes once,
# for the first file, and its answer starts the other two.
run_a_collection() {
  open_menu File
  sleep 0.3
  press_menu_items 'Convert Several Files...'
  wait_active 'Convert Several Files'
  keys ctrl+a
  typed "\"$work/books/book1.fff\" \"$work/books/book2.fff\" \"$work/books/book3.fff\""
  sleep 0.3
  keys Return
  wait_active 'Output Folder'  # showing $work, refs/ among its folders
  keys ctrl+a
  typed "$work/refs"
  sleep 0.3
  shot collection-folder-typed
  keys Return
  wait_active Warning  # refs/book2.fff exists
  shot collection-overwrite
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

# Four files into cut/, where c.fff stands from an earlier run, cancelled
# while the second, a large one, is written: the question names the others
# by what they are now, and Yes deletes what was written.
cancel_a_collection() {
  open_menu File
  sleep 0.3
  press_menu_items 'Convert Several Files...'
  wait_active 'Convert Several Files'
  keys ctrl+a
  typed "\"$work/cut-books/a.fff\" \"$work/cut-books/b.fff\" \"$work/cut-books/c.fff\" \"$work/cut-books/d.fff\""
  sleep 0.3
  keys Return
  wait_active 'Output Folder'
  keys ctrl+a
  typed "$work/cut"
  sleep 0.3
  keys Return
  wait_active Warning  # cut/c.fff exists
  keys y
  answer_page
  local i
  for ((i = 0; i < 600; i++)); do
    [[ $(xdo getwindowname "$window" 2>/dev/null) == "2 of 4: b.fff"* ]] && break
    sleep 0.02
  done
  click 171 268  # Cancel
  wait_active Confirm
  sleep 0.3
  shot collection-cancel
  keys y
  wait_active "$title"
}

# Answers the starting-page question as the long run did.
answer_page() {
  wait_active "Input Page Number"
  keys ctrl+a
  typed 7
  keys Return
}

# The long run's output converted again into a new file: the closing box
# grows by the advice to switch on Replace Earlier References, which the
# next run does from the menu.
run_the_output_again() {
  click 249 168  # into the input box
  keys ctrl+a
  typed "$work/out.fff"
  click 249 214  # into the output box
  keys ctrl+a
  typed "$work/again.fff"
  keys Tab
  click 171 268  # Begin
  answer_page
  wait_active Confirm
  sleep 0.3
  shot advice-on-earlier-references
  advice_box_height=$(active_height)
  keys n
  wait_active "$title"
  open_menu File Preferences
  sleep 0.3
  shot replace-earlier-references
  press_menu_items 'Replace Earlier References'
  click 249 214
  keys ctrl+a
  typed "$work/replaced.fff"
  keys Tab
  click 171 268  # Begin
  answer_page
  wait_active Confirm
  replaced_box_height=$(active_height)
  keys n
  wait_active "$title"
}

close_the_window() {
  click 255 268  # Exit
  local i
  for ((i = 0; i < 100; i++)); do
    kill -0 "$app" 2>/dev/null || return 0
    sleep 0.1
  done
  fail "the window did not close"
}

failures=0
checker=gui-check
settings_ini=$work/config/pellimar.INI
source scripts/gui-check-results.sh
references() { grep -a -o '<CS:Reference>' "$1" | wc -l; }

check_results() {
  local sample=$work/sample-run.fff long=$work/out.fff
  check "the reference history: the pattern in Windows-1252, 1 as typed over 1 2, the old entry as it was" \
    same "$(lines_of "$work/config/patterns.ref")" $'2 3 \x97 \x93p. #\x94\n1\n1 2\n2 3, P. #'
  check "the page-pattern history" same "$(lines_of "$work/config/patterns.pag")" $'{#}\n[#]'
  check "InputFiles: the inputs typed, and the one chosen with +" \
    same "$(section_of InputFiles)" "$work/out.fff"$'\n'"$work/long.fff"$'\n'"$work/sample.fff"
  check "OutputFiles: the outputs typed, and the one chosen with +" \
    same "$(section_of OutputFiles)" "$work/replaced.fff"$'\n'"$work/again.fff"$'\n'"$work/out.fff"
  check "L5: the level name typed just before a dialog" same "$(section_of L5)" Verse
  check "L4: its entry as it was after SECTION was typed" same "$(section_of L4)" Section
  check "Remove #'s saved" holds "$work/config/pellimar.INI" "Remove=1"
  check "the sample run: 181 references" same "$(references "$sample")" 181
  check "the sample run: the reference pattern as typed" holds "$sample" "<CS:Reference>Genesis 1, p. 1<CR>"
  check "the sample run: no re-cased pattern" lacks "$sample" "P. "
  check "the sample run: page markers removed" lacks "$sample" "[2]"
  check "the long run: 181 references" same "$(references "$long")" 181
  check "the long run: the page given in the input box, the dash and quotes in Windows-1252" \
    holds "$long" $'<CS:Reference>Genesis \x97 \x93p. 7\x94<CR>'
  check "the collection: the caption named the first file while its page was asked" \
    same "$collection_caption" "1 of 3: book1.fff - $title"
  ls -l "$work/refs" >"$shots/collection-folder-listing.txt"
  local name
  for name in book1.fff book2.fff book3.fff; do
    LC_ALL=C.UTF-8 "$cli" -q -L "$work/sample.def" --level4 SECTION --level5 Verse -p '{#}' --remove-page-marks \
      -r '2 3 — “p. #”' --start-page 7 "$work/books/$name" "$work/cli-$name" || fail "pellimar-cli on $name"
    check "the collection: $name as pellimar-cli makes it" cmp -s "$work/refs/$name" "$work/cli-$name"
  done
  check "the collection: the outputs in the folder typed" same "$(ls -A "$work/refs")" $'book1.fff\nbook2.fff\nbook3.fff'
  check "the collection: no output in the folder the dialog showed, nor beside the one typed" \
    same "$(find "$work" -maxdepth 1 -name 'book*.fff'; find "$work/ref" "$work/refs2" "$work/rest" -type f)" ""
  check "the collection cancelled: the first converted" holds "$work/cut/a.fff" "<CS:Reference>"
  check "the collection cancelled: the second deleted, the fourth not written" same "$(ls -A "$work/cut")" $'a.fff\nc.fff'
  check "the collection cancelled: the earlier file left as it was" \
    same "$(tr -d '\r' <"$work/cut/c.fff")" "earlier output"
  check "the collection's output folder saved" holds "$settings_ini" "OutputFolder=$work/cut"
  check "converted again: the earlier references kept beside the new ones" \
    same "$(references "$work/again.fff")" 362
  check "converted again: the closing box taller by the advice ($plain_box_height, then $advice_box_height)" \
    test "$advice_box_height" -gt "$plain_box_height"
  check "with Replace Earlier References: the output of the long run again" cmp -s "$long" "$work/replaced.fff"
  check "with Replace Earlier References: the closing box without the advice" \
    test "$replaced_box_height" -lt "$advice_box_height"
  check "Replace Earlier References saved" holds "$settings_ini" "ReplaceReferences=1"
}

# Started as a file manager starts it, with a file named from the folder it
# starts in: the file is the input and the output is named after it, so that
# a level name and the reference pattern are all a run needs. Then the guide,
# with a text found in it (guide-find.png).
open_a_file() {
  config=$work/config-opened
  mkdir -p "$config"
  cp resources/sample.fff "$work/opened.fff"
  window_shot=window-opened start_program opened.fff
  keys alt+1
  typed Testament
  keys alt+r
  typed 1
  keys alt+b
  wait_active Confirm
  keys n
  wait_active "$title"
  open_menu Help 'Using Pellimar ...'
  wait_active 'Using Pellimar'
  keys ctrl+f
  typed 'several FILES'
  keys Return F3
  sleep 0.5
  shot guide-find
  keys Escape
  wait_active "$title"
  close_the_window
}

# With two files, a message names them; they wait for Convert Several Files.
open_two_files() {
  launch books/book1.fff books/book3.fff
  wait_active Information
  shot start-files
  keys Return
  wait_active "$title"
  close_the_window
}

start=$SECONDS
start_display
prepare_files
start_program
say "typing into the boxes and choosing files on display $DISPLAY"
fill_in_the_window
say "running the sample"
run_the_sample
say "running a longer file that asks for the starting page"
run_the_long_file
say "converting a collection of three files"
run_a_collection
say "cancelling a collection while its second file is written"
cancel_a_collection
say "converting the long run's output again, then with Replace Earlier References"
run_the_output_again
close_the_window
cp -r "$work/config" "$shots/settings"
check_results
say "starting with a file, and finding text in the guide"
open_a_file
LC_ALL=C.UTF-8 "$cli" -q --level1 Testament -r 1 "$work/opened.fff" "$work/cli-opened.fff" || fail "pellimar-cli on opened.fff"
check "started with a file: the input, and the output named after it, as pellimar-cli makes it" \
  cmp -s "$work/opened-ref.fff" "$work/cli-opened.fff"
say "starting with two files"
open_two_files
say "captions the window manager showed: $(printf '"%s"\n' "${captions[@]}" | sort -u | paste -s -d ' ')"
say "screenshots in $shots; took $((SECONDS - start)) s"
exit $((failures > 0))
