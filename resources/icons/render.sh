#!/bin/sh
# Renders the icon's PNG sizes into the hicolor tree. The PNGs are committed; run this after
# changing an SVG (needs rsvg-convert, from Debian's librsvg2-bin).
set -eu
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64; do
  source=sysvane.svg
  # 22 and 24 are not multiples of the main drawing's grid: they have their own drawings.
  if [ -f "hinted/sysvane-$size.svg" ]; then source="hinted/sysvane-$size.svg"; fi
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" "$source" -o "hicolor/${size}x${size}/apps/sysvane.png"
done
