# Shared by the window checks: menu items chosen by the captions the program
# shows ("Replace Earlier References"), not by their places or by letters
# written into the checks. Each item's underlined letter is read from the
# tables both windows build their menus from (the menus' captions and the
# preferences'), where "&" marks it: an item added to a menu, or a letter
# that moves, is followed. Sourced, not run, from the checkout's root; the
# caller has `keys` (presses keys through xdotool) and `fail`.

menu_caption_tables=(src/window_model/commands.cpp src/run/preferences.cpp)

# The underlined letter of the menu item with this caption, in lower case.
# Fails unless the tables hold the caption, and with a single letter.
access_key() {
  local letters
  letters=$(CAPTION=$1 perl -ne '
    while (/"((?:[^"\\]|\\.)*)"/g) {
      my $literal = $1;
      (my $shown = $literal) =~ s/&(.)/$1/g;  # "&&" shows as "&"
      next unless $literal =~ /&/ && $shown eq $ENV{CAPTION};
      while ($literal =~ /&(.)/g) {
        if ($1 ne "&") { print lc($1), "\n"; last }
      }
    }' "${menu_caption_tables[@]}" | sort -u)
  [[ -n $letters && $letters != *$'\n'* ]] || return 1
  printf '%s\n' "$letters"
}

# Chooses items of the open menu by their captions, each in the menu the
# one before opened.
press_menu_items() {
  local caption key
  for caption in "$@"; do
    key=$(access_key "$caption") || fail "no single menu item captioned \"$caption\" in ${menu_caption_tables[*]}"
    keys "$key"
  done
}

# Opens a menu of the menu bar by its caption (Alt and its letter), then
# chooses the items given after it.
open_menu() {
  local key
  key=$(access_key "$1") || fail "no single menu captioned \"$1\" in ${menu_caption_tables[*]}"
  keys "alt+$key"
  shift
  press_menu_items "$@"
}
