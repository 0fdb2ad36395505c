#!/usr/bin/env bash
# The manual pages as man shows them (`man -l PAGE | col -b`) hold no stray
# punctuation, which a font change or a line of roff left alone can make
# where the source reads well: a comma, colon, semicolon, full stop or
# closing parenthesis after a blank, an opening parenthesis before one, "()"
# or a marker of the build (@NAME@) left in place. Each finding is printed
# with the words around it.
#
# Usage: man_pages_render.sh PAGE...
set -euo pipefail

# man looks for its formatter's settings by the locale; any will do.
export LC_ALL=C.UTF-8 MANWIDTH=80

failures=0
for page in "$@"; do
  [[ -r $page ]] || { echo "FAILED: $page cannot be read" >&2; failures=$((failures + 1)); continue; }
  # The page as one line, blanks of every kind made one.
  text=$(man -l "$page" 2>/dev/null | col -b | tr '\n\t' '  ' | tr -s ' ')
  [[ ${#text} -gt 500 ]] || { echo "FAILED: man shows no page for $page" >&2; failures=$((failures + 1)); continue; }
  stray=$(grep -oE '.{0,30}( [,:;)](  *|$)| \.( |$)|\( |\(\)|@[A-Z_]+@).{0,30}' <<<"$text" || true)
  if [[ -n $stray ]]; then
    echo "FAILED: $page shows stray punctuation:" >&2
    sed 's/^/  .../; s/$/.../' <<<"$stray" >&2
    failures=$((failures + 1))
  else
    echo "$page: no stray punctuation in ${#text} characters"
  fi
done
exit $(( failures > 0 ))
