#!/bin/sh
# Writes a PNG of the main dialog after a successful look-up (offscreen, with
# canned service replies): scripts/screenshot.sh [OUTPUT.png [BUILD_DIR]]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-"$root/build/dialog.png"}
build=${2:-"$root/build/default"}
[ -f "$build/CMakeCache.txt" ] || cmake --preset default -B "$build" -S "$root"
cmake --build "$build" --target dialog_screenshot
QT_QPA_PLATFORM=offscreen "$build/tests/ui/dialog_screenshot" "$out"
echo "$out"
