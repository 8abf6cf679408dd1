"""Runs loopback_https.py beside this file for a Python test or benchmark and talks to it.

    make_certs(folder)                      the test CA and leaves, as the script makes them
    with LoopbackServer(routes, certs, work) as server:
        server.port                         its ephemeral port on 127.0.0.1
        server.requests()                   the targets asked for so far, in order
        server.stats()                      its counters (connections, requests, ...)
        server.reset()                      zeroes them and forgets the requests
"""

import json
import os
import subprocess
import sys
import tempfile

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "loopback_https.py")
LIMIT_S = 60  # no start, stop or certificate run is waited on longer


def make_certs(folder):
    subprocess.run([sys.executable, SCRIPT, "make-certs", os.path.abspath(folder)], check=True,
                   stdout=subprocess.DEVNULL, timeout=LIMIT_S)


class LoopbackServer:
    """HTTPS on an ephemeral port of 127.0.0.1, answering from a route table (a list)."""

    def __init__(self, routes, certs, work):
        handle, path = tempfile.mkstemp(prefix="routes-", suffix=".json", dir=work)
        with os.fdopen(handle, "w") as f:
            json.dump(routes, f)
        self.process = subprocess.Popen(
            [sys.executable, SCRIPT, "serve", "--routes", path, "--certs", certs, "--control"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()  # printed once it listens
        if not line.startswith("listening "):
            self.close()
            raise RuntimeError("loopback server did not start: %r" % line)
        self.port = int(line.split()[1])

    def requests(self):
        self.process.stdin.write("requests\n")
        self.process.stdin.flush()
        targets = []
        while (line := self.process.stdout.readline()) not in ("", "end\n"):
            if line.startswith("request "):
                targets.append(line.split()[2])
        return targets

    def command(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        return self.process.stdout.readline().strip()

    def stats(self):
        return {name: int(value) for name, _, value in
                (item.partition("=") for item in self.command("stats").split())}

    def reset(self):
        self.command("reset")

    def close(self):
        if self.process.poll() is None:
            self.process.stdin.close()  # the end of its input stops it
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process.stdout.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
