#!/usr/bin/env bash
# Renders the program's icon, packaging/icons/vistrel.svg, to the PNG sizes of
# the desktop's icon theme under packaging/icons/hicolor. Rerunning with the
# same rsvg-convert (Debian package librsvg2-bin) reproduces the files byte
# for byte; commit them with the SVG.
#
#   tools/icons/render.sh
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
icons="$here/../../packaging/icons"
command -v rsvg-convert >/dev/null || { echo "needs rsvg-convert (apt-get install librsvg2-bin)" >&2; exit 1; }
for size in 16 22 24 32 48 64 128 256; do
  out="$icons/hicolor/${size}x${size}/apps"
  mkdir -p "$out"
  rsvg-convert --width "$size" --height "$size" "$icons/vistrel.svg" --output "$out/vistrel.png"
done
echo "Rendered $(ls "$icons"/hicolor | wc -l) sizes into $icons/hicolor"
