# Shared by the scripts that drive a window and then check what it left:
# each check and its report, and readers of the files it wrote. Sourced, not
# run. The caller names itself in `checker` and its settings file in
# `settings_ini`, and counts `failures`.

check() {
  local what=$1
  shift
  if "$@"; then
    echo "$checker: ok: $what"
  else
    echo "$checker: FAILED: $what" >&2
    failures=$((failures + 1))
  fi
}
same() {
  [[ "$1" == "$2" ]] && return 0
  printf '%s:   expected %q\n%s:   found    %q\n' "$checker" "$2" "$checker" "$1" >&2
  return 1
}
holds() { LC_ALL=C grep -a -q -F -- "$2" "$1"; }
lacks() { ! LC_ALL=C grep -a -q -F -- "$2" "$1"; }
lines_of() { tr -d '\r' <"$1"; }
# The entries of a section of the settings file, one a line.
section_of() { lines_of "$settings_ini" | sed -n "/^\[$1\]\$/,/^\[/{/^\[/d;s/=.*//;p}"; }
