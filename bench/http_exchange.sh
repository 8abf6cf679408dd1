#!/usr/bin/env bash
# Prints the time of a geocoding plus elevation exchange on one session beside curl's, and
# the bytes read of a 5 MiB geocoding reply closed after its first result; all on loopback.
# Usage: bench/http_exchange.sh [BUILD_DIR] (default build/default); RUNS=N sets the runs.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/default}
runs=${RUNS:-15}
bench=$build/bench/http_exchange_bench
server=$root/tests/support/loopback_https.py
replies=$root/tests/app/replies
[ -x "$bench" ] || { echo "build the http_exchange_bench target in $build first" >&2; exit 2; }

work=$(mktemp -d)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

python3 "$server" make-certs "$work/certs"
# The long reply: the canned result first, then filler results up to 5 MiB.
python3 - "$replies" "$work/routes.json" <<'PY'
import json, sys
replies, out = sys.argv[1], sys.argv[2]
geocode = open(f"{replies}/geocode_95814.xml").read()
head, tail = geocode.rsplit("</GeocodeResponse>", 1)
filler = " <result>\n" + "  <type>filler</type>\n" * 40 + " </result>\n"
repeat = (5 * 1024 * 1024 - len(geocode)) // len(filler)
xml = {"Content-Type": "application/xml; charset=UTF-8"}
json.dump([
    {"path": "/maps/api/geocode/xml", "query": "address=Long", "headers": xml,
     "parts": [{"text": head}, {"text": filler, "repeat": repeat},
               {"text": "</GeocodeResponse>" + tail}]},
    {"path": "/maps/api/geocode/xml", "headers": xml, "body_file": f"{replies}/geocode_95814.xml"},
    {"path": "/maps/api/elevation/xml", "headers": xml,
     "body_file": f"{replies}/elevation_95814.xml"},
], open(out, "w"))
PY

python3 "$server" serve --routes "$work/routes.json" --certs "$work/certs" \
  --port-file "$work/port" >/dev/null &
server_pid=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
[ -s "$work/port" ] || { echo "the loopback server did not start" >&2; exit 1; }
port=$(cat "$work/port")

export ORLIMAR_CA_BUNDLE=$work/certs/ca.pem
export ORLIMAR_CONNECT_TO=maps.googleapis.com:443:127.0.0.1:$port
key=key=OrlimarPlaceholderApiKey000000000000000
geocode="https://maps.googleapis.com/maps/api/geocode/xml?address=95814&sensor=false&$key"
elevation="https://maps.googleapis.com/maps/api/elevation/xml?locations=38.5803648,-121.4961413&sensor=false&$key"
long="https://maps.googleapis.com/maps/api/geocode/xml?address=Long&sensor=false&$key"
curl_args=(-sS -A "Google API" --cacert "$ORLIMAR_CA_BUNDLE" --connect-to "$ORLIMAR_CONNECT_TO")

connects=$(curl "${curl_args[@]}" -o /dev/null -o /dev/null -w '%{num_connects}\n' \
  "$geocode" "$elevation" | awk '{ n += $1 } END { print n }')
[ "$connects" = 1 ] || echo "warning: curl opened $connects connections" >&2

# Microseconds one command takes, process start included (both sides start a process).
elapsed_us() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

ours=() theirs=()
elapsed_us "$bench" exchange "$geocode" "$elevation" >/dev/null  # warm the caches
for _ in $(seq "$runs"); do
  ours+=("$(elapsed_us "$bench" exchange "$geocode" "$elevation")")
  theirs+=("$(elapsed_us curl "${curl_args[@]}" -o /dev/null -o /dev/null "$geocode" "$elevation")")
done
curl_in_process=()
for _ in $(seq "$runs"); do
  curl_in_process+=("$(curl "${curl_args[@]}" -o /dev/null -o /dev/null -w '%{time_total}\n' \
    "$geocode" "$elevation" | awk '{ s += $1 } END { printf "%.3f", s * 1000 }')")
done
ours_us=$(printf '%s\n' "${ours[@]}" | median)
theirs_us=$(printf '%s\n' "${theirs[@]}" | median)
in_process_ms=$("$bench" exchange "$geocode" "$elevation" "$runs")
scan_bytes=$("$bench" scan "$long")

echo "geocoding + elevation exchange, one session, median of $runs runs (process start included):"
awk -v ours="$ours_us" -v theirs="$theirs_us" 'BEGIN {
  printf "  ours %.2f ms, curl %.2f ms, ratio %.3f (goal <= 1.2)\n",
         ours / 1000, theirs / 1000, ours / theirs }'
echo "  in process: ours $in_process_ms ms (session open to close)," \
  "curl $(printf '%s\n' "${curl_in_process[@]}" | median) ms (sum of its two transfer times)"
echo "5 MiB geocoding reply, closed after the first result's coordinates:"
echo "  bytes read from the socket: $scan_bytes (goal < 65536; handshake and headers included)"
