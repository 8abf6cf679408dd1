#!/usr/bin/env bash
# Renders the PNG icons from orlimar.svg and the window's compiled-in copy of
# them; run after changing the drawing (needs librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48; do
  rsvg-convert -w "$size" -h "$size" orlimar.svg -o "orlimar-$size.png"
done
python3 png_to_xpm.py ../../ui/orlimar_icon.cpp orlimar-48.png orlimar-32.png orlimar-16.png
