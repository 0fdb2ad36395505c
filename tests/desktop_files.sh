#!/usr/bin/env bash
# The desktop entry and the MIME type as a desktop reads them: the entry
# passes desktop-file-validate with nothing to say, starts pellimar with the
# files it is given (%F) and names the type; the type's XML makes a MIME
# database without a complaint, in which a file named *.fff in any letter
# case is of that type (as GLib, which file managers use, finds it).
#
# Usage: tests/desktop_files.sh DESKTOP_ENTRY MIME_XML
set -euo pipefail

entry=$1
mime=$2
type=application/x-folio-flat-file
fail() {
  echo "desktop_files: FAILED: $*" >&2
  exit 1
}

said=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $said"
[[ -z $said ]] || fail "desktop-file-validate: $said"
[[ $(grep '^Exec=' "$entry") == 'Exec=pellimar %F' ]] || fail "the entry does not pass on the files: $(grep '^Exec=' "$entry")"
[[ $(grep '^MimeType=' "$entry") == "MimeType=$type;" ]] || fail "the entry does not name $type"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/mime/packages" "$work/home"
cp "$mime" "$work/mime/packages/pellimar.xml"
export XDG_DATA_DIRS=$work XDG_DATA_HOME=$work/home
said=$(update-mime-database "$work/mime" 2>&1) || fail "update-mime-database: $said"
[[ -z $said ]] || fail "update-mime-database: $said"

type_of() {
  gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
}
for name in book.fff BOOK.FFF Book.Fff; do
  printf '<RD>a record\r\n' >"$work/$name"
  [[ $(type_of "$work/$name") == "$type" ]] || fail "$name is of type $(type_of "$work/$name"), not $type"
done
printf '<RD>a record\r\n' >"$work/book.fff.txt"
[[ $(type_of "$work/book.fff.txt") != "$type" ]] || fail "book.fff.txt is taken for a flat file"
echo "desktop_files: the entry and the type as a desktop reads them"
