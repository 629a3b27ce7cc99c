#!/usr/bin/env bash
# Renders the application icon's PNG sizes from data/icons/lunortime.svg into
# data/icons/hicolor/<size>/apps/lunortime.png (needs rsvg-convert: Debian's librsvg2-bin).
# The PNGs are kept in the repository, so building needs no renderer; run this after
# changing the SVG.
set -euo pipefail
icons=$(cd "$(dirname "$0")/../data/icons" && pwd)
for size in 16 22 24 32 48 64 128 256; do
    folder="$icons/hicolor/${size}x${size}/apps"
    mkdir -p "$folder"
    rsvg-convert --width "$size" --height "$size" "$icons/lunortime.svg" -o "$folder/lunortime.png"
done
echo "rendered into $icons/hicolor"
