#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG drawings into
# resources/icons/hicolor/ (run after editing an SVG; the PNGs are committed).
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v rsvg-convert >/dev/null; then
  sudo=""
  [[ $(id -u) -ne 0 ]] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends librsvg2-bin
fi

icons=resources/icons
for size in 16 24 32 48 64 128 256; do
  # The smallest size has its own simpler drawing; the others scale the full one.
  source=$icons/pellimar.svg
  (( size == 16 )) && source=$icons/pellimar-small.svg
  folder=$icons/hicolor/${size}x${size}/apps
  mkdir -p "$folder"
  rsvg-convert --width "$size" --height "$size" "$source" --output "$folder/pellimar.png"
done
echo "Rendered: $(ls $icons/hicolor | tr '\n' ' ')"
