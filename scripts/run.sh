#!/usr/bin/env bash
# Set-up, build, then run the program with the given arguments. Without a display
# the dialog cannot open, so the same look-up runs in the console tool instead.
#   scripts/run.sh [LOCATION]          the real services (an API key is needed)
#   scripts/run.sh --demo [LOCATION]   canned answers from a local server: no key, no network
set -euo pipefail
cd "$(dirname "$0")/.."

demo=false
if [ "${1:-}" = --demo ]; then
  demo=true
  shift
fi

scripts/install-deps.sh run
# The run build: no tests, fuzzers or benchmarks, so it needs neither GoogleTest nor clang.
cmake --preset run >/dev/null
cmake --build --preset run -j "$(nproc)" --target Orlimar orlimar-lookup
bin=build/run/app

has_display() {
  [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]
}

if [ "$demo" = true ]; then
  # The project's loopback HTTPS server answers as the map services would, for a
  # few places only; the program reaches it through its run-time knobs and keeps
  # its settings in a throw-away folder.
  work=$(mktemp -d "${TMPDIR:-/tmp}/orlimar-demo.XXXXXX")
  server_pid=""
  cleanup() {
    [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
  }
  trap cleanup EXIT
  python3 tests/support/loopback_https.py make-certs "$work/certs"
  python3 tests/support/loopback_https.py serve --routes scripts/demo-routes.json \
    --certs "$work/certs" --port-file "$work/port" >/dev/null &
  server_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/port" ] && break
    sleep 0.1
  done
  [ -s "$work/port" ] || { echo "The demo server did not start." >&2; exit 1; }
  export ORLIMAR_CONNECT_TO="maps.googleapis.com:443:127.0.0.1:$(cat "$work/port")"
  export ORLIMAR_CA_BUNDLE="$work/certs/ca.pem"
  export XDG_CONFIG_HOME="$work/config"
  export ORLIMAR_API_KEY=DemoKeyDemoKeyDemoKeyDemoKeyDemoKeyDemo
  echo "Demo: canned answers from a local server, not the real services. Places it knows:" >&2
  echo "  Pine Hollow, TALON, KRGC, Kestrel Ridge Gliding Club, 95814, 1315 10th St, Sacramento" >&2
  if [ $# -eq 0 ] && ! has_display; then
    set -- "Pine Hollow"
  fi
  # Not exec: the server and the folder go when the program ends.
  if has_display; then
    "$bin/Orlimar" "$@"
  else
    echo "No display: running the console look-up." >&2
    "$bin/orlimar-lookup" -- "$@"
  fi
  exit
fi

if has_display; then
  exec "$bin/Orlimar" "$@"
fi

for arg in "$@"; do
  case "$arg" in -h | --help | --version | --set-api-key) exec "$bin/Orlimar" "$@" ;; esac
done
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the console look-up." >&2
if [ $# -eq 0 ]; then
  "$bin/Orlimar" --version
  echo "Give a location to look it up, for instance: scripts/run.sh 95814" >&2
  echo "Without an API key or a network: scripts/run.sh --demo 95814" >&2
  exec "$bin/orlimar-lookup" --help
fi
exec "$bin/orlimar-lookup" -- "$@"
