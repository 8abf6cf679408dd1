#!/usr/bin/env bash
# The installed program's whole command-line run against the loopback server:
# median wall time and peak memory beside curl fetching the same two replies on
# one connection, a bare Qt Widgets dialog, and the honest floor: the same run
# written plainly on Qt Widgets and libcurl (bench/peer_dialog.cpp).
# Usage: bench/command_line_run.sh [BUILD_DIR] [RUNS]   (default build/default, 9)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
runs=${2:-9}
cmake --build "$build" --target Orlimar bench_bare_dialog bench_peer_dialog >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" --component Orlimar >/dev/null

python3 - "$work" "$build" "$runs" <<'PY'
import os, statistics, subprocess, sys, time

sys.path.insert(0, "tests/support")
from loopback_client import LoopbackServer, make_certs

work, build, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
replies = "tests/app/replies"
make_certs(f"{work}/certs")
server = LoopbackServer([
    {"path": "/maps/api/geocode/xml", "body_file": os.path.abspath(f"{replies}/geocode_95814.xml")},
    {"path": "/maps/api/elevation/xml", "body_file": os.path.abspath(f"{replies}/elevation_95814.xml")},
], f"{work}/certs", work)
port = server.port

os.makedirs(f"{work}/fakebin")
with open(f"{work}/fakebin/xdg-open", "w") as f:
    f.write("#!/bin/sh\nexit 0\n")
os.chmod(f"{work}/fakebin/xdg-open", 0o755)
env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_CONFIG_HOME=f"{work}/config",
           ORLIMAR_CONNECT_TO=f"maps.googleapis.com:443:127.0.0.1:{port}",
           ORLIMAR_CA_BUNDLE=f"{work}/certs/ca.pem",
           PATH=f"{work}/fakebin" + os.pathsep + os.environ["PATH"])


def measure(argv):
    """Wall seconds and peak resident kilobytes of one run."""
    start = time.perf_counter()
    proc = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0:
        sys.exit(f"{argv[0]} exited {proc.returncode}")
    return elapsed, usage.ru_maxrss


def medians(argv):
    measure(argv)  # warm the page cache and the dynamic loader
    samples = [measure(argv) for _ in range(runs)]
    return statistics.median(s[0] for s in samples), statistics.median(s[1] for s in samples)


base = "https://maps.googleapis.com"
curl = ["curl", "-sS", "--connect-to", f"maps.googleapis.com:443:127.0.0.1:{port}",
        "--cacert", f"{work}/certs/ca.pem",
        f"{base}/maps/api/geocode/xml?address=95814&sensor=false&key=k", "-o", "/dev/null",
        f"{base}/maps/api/elevation/xml?locations=38.5803648,-121.4961413&sensor=false&key=k",
        "-o", "/dev/null"]
run_time, run_rss = medians([f"{work}/prefix/bin/Orlimar", "95814"])
# Loads every library the program links and starts nothing: its floor.
load_time, load_rss = medians([f"{work}/prefix/bin/Orlimar", "--version"])
curl_time, _ = medians(curl)
_, bare_rss = medians([f"{build}/bench/bench_bare_dialog"])
peer_time, peer_rss = medians([f"{build}/bench/bench_peer_dialog", "95814"])
server.close()

print(f"command-line run, median of {runs}: {run_time * 1000:.1f} ms wall, {run_rss / 1024:.1f} MiB peak")
print(f"the same binary's --version (libraries loaded, nothing started): "
      f"{load_time * 1000:.1f} ms wall, {load_rss / 1024:.1f} MiB peak")
print(f"curl, both replies on one connection: {curl_time * 1000:.1f} ms wall")
print(f"bare Qt Widgets dialog: {bare_rss / 1024:.1f} MiB peak")
print(f"the same run on plain Qt Widgets and libcurl: {peer_time * 1000:.1f} ms wall, "
      f"{peer_rss / 1024:.1f} MiB peak")
print(f"time ratio to curl: {run_time / curl_time:.2f}; to the plain run (goal <= 1.0): "
      f"{run_time / peer_time:.2f}")
print(f"memory ratio to the bare dialog: {run_rss / bare_rss:.2f}; to the plain run "
      f"(goal <= 1.05): {run_rss / peer_rss:.2f}")
PY
