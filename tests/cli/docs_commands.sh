#!/usr/bin/env bash
# Runs every pellimar-cli command of the code blocks of README.md and the
# user guide whose files come with the sources, as a reader would, in a
# folder of its own: the samples where the docs put them (resources/, and
# /usr/share/pellimar/ where the package installs them) and the program
# where the docs call it. A command shown after "$ " must print the lines
# quoted under it, no more and no less; one shown bare must end well. A
# command that needs files the sources lack (books.def) or a pipeline is
# left out, and said so. What README's commands write must be ignored by
# git, as a checkout's would be, and the manual page the docs send a source
# build's reader to must be where they say.
#
# Usage: docs_commands.sh SOURCE_DIR PELLIMAR_CLI BUILD_DIR
set -euo pipefail

sources=$(realpath "$1")
cli=$(realpath "$2")
build=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/build/src/cli" "$work/bin"
ln -s "$sources/resources" "$work/resources"
ln -s "$cli" "$work/build/src/cli/pellimar-cli"
ln -s "$cli" "$work/bin/pellimar-cli"

failures=0
ran=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

# The commands of a document, one a record: the command (its lines joined),
# then, after a line "--expected--", the lines quoted under it, when it was
# shown after "$ "; records end with a line "--end--".
commands_of() {
  awk '
    function flush() {
      if (command != "") {
        print command
        if (prompted) { print "--expected--"; printf "%s", expected }
        print "--end--"
      }
      command = ""; expected = ""; prompted = 0
    }
    /^```/ { flush(); inblock = !inblock; next }
    !inblock { next }
    continuing { command = command " " $0; continuing = /\\$/; if (continuing) sub(/ *\\$/, "", command); next }
    /^\$ / {
      flush()
      command = substr($0, 3); prompted = 1
      continuing = /\\$/
      if (continuing) sub(/ *\\$/, "", command)
      next
    }
    /^(mkdir|pellimar-cli|build\/src\/cli\/pellimar-cli) / {
      flush()
      command = $0
      continuing = /\\$/
      if (continuing) sub(/ *\\$/, "", command)
      next
    }
    prompted { expected = expected $0 "\n"; next }
    END { flush() }
  ' "$1"
}

there() {
  [[ $1 == /* ]] && [[ -e $1 ]] || [[ -e $work/$1 ]]
}

# True when every flat or definition file the command reads is there: all
# it names but the last, which is its output, unless -d makes it an input.
files_bundled() {
  local words=() word last=""
  read -r -a words <<<"$1"
  for word in "${words[@]}"; do
    word=${word//\'/}
    [[ $word == *.fff || $word == *.def ]] || continue
    [[ -z $last ]] || there "$last" || return 1
    last=$word
  done
  [[ $1 != *" -d "* && $1 != *"--output-dir"* ]] || [[ -z $last ]] || there "$last"
}

run_document() {
  local document=$1 command expected prompted line record=() output status
  while IFS= read -r line; do
    if [[ $line == --end-- ]]; then
      command=${record[0]}
      command=${command//\/usr\/share\/pellimar\//resources\/}
      prompted=$((${#record[@]} > 1))
      expected=""
      if ((${#record[@]} > 2)); then
        expected=$(printf '%s\n' "${record[@]:2}")
      fi
      record=()
      # A synopsis (INPUT, OUTPUT, [OPTIONS]) or a pipeline.
      if [[ $command =~ (^|\ )(INPUT|OUTPUT|\[) ]] || [[ $command == *"|"* || $command == *">"* ]]; then
        echo "left out ($document): $command"
        continue
      fi
      if [[ $command != mkdir* ]] && ! files_bundled "$command"; then
        echo "left out, its files are not bundled ($document): $command"
        continue
      fi
      status=0
      output=$(cd "$work" && PATH="$work/bin:$PATH" bash -c "$command" 2>&1) || status=$?
      ran=$((ran + 1))
      echo "ran ($document): $command"
      if ((prompted)); then
        [[ $output == "$expected" ]] || fail "$command"$'\n'"printed:"$'\n'"$output"$'\n'"the docs quote:"$'\n'"$expected"
      fi
      ((status == 0)) || fail "$command: exit status $status: $output"
      continue
    fi
    record+=("$line")
  done < <(commands_of "$sources/$document")
}

# Each top-level name written must match a folder .gitignore ignores
# ("/out/", "/build*/").
check_ignored() {
  local made name pattern ignored
  while IFS= read -r made; do
    name=${made#"$work"/}
    name=${name%%/*}
    ignored=no
    while IFS= read -r pattern; do
      [[ $pattern == /*/ ]] || continue
      pattern=${pattern#/}
      # shellcheck disable=SC2053
      [[ $name == ${pattern%/} ]] && ignored=yes
    done <"$sources/.gitignore"
    [[ $ignored == yes ]] || fail "README's commands write $name, which git does not ignore"
  done < <(find "$work" -mindepth 1 -maxdepth 1 ! -name bin ! -name build ! -name resources)
  [[ ! -e $work/build/src/cli ]] || [[ $(find "$work/build" -mindepth 1 | wc -l) -eq 3 ]] ||
    fail "README's commands write into build/"
}

run_document README.md
check_ignored
run_document resources/user-guide.md
for document in README.md resources/user-guide.md; do
  grep -q 'man -l\( \|$\)' "$sources/$document" && grep -q 'build/resources/pellimar-cli.1' "$sources/$document" ||
    fail "$document does not say how to read the manual page of a source build"
done
[[ -f $build/resources/pellimar-cli.1 ]] || fail "the build made no resources/pellimar-cli.1"
((ran >= 8)) || fail "only $ran commands ran; the docs' commands were not found"
((failures == 0)) || exit 1
echo "docs_commands: $ran commands ran as the docs say"
