#!/usr/bin/env bash
# Renders the PNG icons from orlimar.svg; run after changing the drawing
# (needs librsvg2-bin). The program builds them in through its resource file.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48; do
  rsvg-convert -w "$size" -h "$size" orlimar.svg -o "orlimar-$size.png"
done
