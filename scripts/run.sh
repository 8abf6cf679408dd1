#!/usr/bin/env bash
# Set-up, build, then run the program with the given arguments. Without a display
# the dialog cannot open, so the same look-up runs in the console tool instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target Orlimar orlimar-lookup
bin=build/default/app

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]; then
  exec "$bin/Orlimar" "$@"
fi

for arg in "$@"; do
  case "$arg" in --help | --version) exec "$bin/Orlimar" "$@" ;; esac
done
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the console look-up." >&2
if [ $# -eq 0 ]; then
  "$bin/Orlimar" --version
  echo "Give a location to look it up, for instance: scripts/run.sh 95814" >&2
  exec "$bin/orlimar-lookup" --help
fi
exec "$bin/orlimar-lookup" "$@"
