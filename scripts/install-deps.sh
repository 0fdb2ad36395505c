#!/usr/bin/env bash
# Installs the Debian packages Pellimar needs to build and test, skipping
# those already present; packages named as arguments are added to the list.
# With --cli first, only what building pellimar-cli needs (no Qt, no test
# framework). Needs root, or sudo, only when something is missing.
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config nlohmann-json3-dev)
if [[ ${1-} == --cli ]]; then
  shift
else
  # appstream, desktop-file-utils, shared-mime-info and GLib's gio check the
  # desktop metadata as software centres and file managers read it; man and
  # col lay out the manual pages as a reader sees them, for their test;
  # python3-jsonschema holds the JSON reports to their schema.
  packages+=(libgtest-dev qt6-base-dev fonts-liberation appstream desktop-file-utils shared-mime-info libglib2.0-bin
    man-db bsdextrautils python3-jsonschema)
fi
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if (( ${#missing[@]} == 0 )); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  if ! command -v sudo >/dev/null; then
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Installing them needs root: run this as root, or install sudo and give your user the right to use it," >&2
    echo "or install them yourself: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  sudo=(sudo)
fi
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
