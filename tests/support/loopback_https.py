#!/usr/bin/env python3
"""Loopback HTTP(S) server for tests: scripted replies, injected faults, counters.

Command line
------------
  loopback_https.py make-certs DIR
      Makes test certificates in DIR with the openssl command:
        ca.pem                          the test CA (give it to the client as its bundle)
        good.pem, good.key              leaf for 127.0.0.1, localhost, maps.googleapis.com
        wrongname.pem, wrongname.key    leaf for wrong.example only, signed by the test CA
        expired.pem, expired.key        good names, signed by the test CA, expired
        untrusted.pem, untrusted.key    good names, signed by a CA nobody is given

  loopback_https.py serve --routes FILE [--certs DIR] [--leaf NAME | --plain]
                          [--port N] [--port-file FILE] [--control] [--stall-handshake]
      Serves HTTPS with DIR/NAME.pem (NAME defaults to "good") on 127.0.0.1, or plain
      HTTP with --plain. Port 0 (the default) takes an ephemeral port. Once listening
      it prints "listening PORT" on standard output and, with --port-file, writes PORT
      to FILE. It runs until SIGTERM/SIGINT or, with --control, until its standard
      input ends. --stall-handshake accepts connections but never answers the TLS
      handshake (for connect time-outs).

Routes file (JSON, UTF-8; texts go out as UTF-8): a list of routes, the first whose "path" equals the request's
path (query left out; "*" matches every path) and whose "query" (optional) is a
substring of the query answers. No match gives 404 with an empty body.
  {"path": "/maps/api/geocode/xml",
   "query": "address=",                  optional
   "status": 200, "reason": "OK",        optional
   "headers": {"Content-Type": "text/xml"},
   "head": "HTTP/1.1 200 OK\r\n\r\n",  optional: sent verbatim in place of the status
                                         line and headers made from the fields above
   "drip_ms": 200,                       optional: the head goes out one byte at a time
   "body": "text",                       shorthand for "parts": [{"text": "text"}]
   "body_file": "reply.xml",             or the bytes of a file
   "parts": [                            the body, sent in order:
      {"text": "line\\n", "repeat": 3},  text (UTF-8), optionally repeated
      {"text": "ab", "drip_ms": 200},     text sent one byte (one chunk) at a time
      {"raw": "zz\\r\\n"},              bytes sent as they are, outside any chunk framing
      {"pause_ms": 200},                 flush and sleep
      {"wait": "go", "limit_ms": 3000},  hold until the control command "release go"
                                         (or limit_ms, 60 s by default, passes)
      {"fault": "reset"},                abort the connection (TCP RST)
      {"fault": "stall"},                send nothing more until the client goes
      {"fault": "close"}],               close the connection, body unfinished, without
                                         TLS close-notify
   "length": "auto"}                     "auto": Content-Length of all text parts,
                                         "chunked", "close" (no length; TLS close-notify,
                                         then close, at the end)
                                         or a number to declare
Connections are kept alive (HTTP/1.1) unless a route's length is "close".

Control (with --control), one command per line on standard input:
  stats          -> "connections=N handshakes=N handshake_failures=N requests=N
                     bytes_sent=N client_gone=N" (bytes_sent counts body bytes;
                     client_gone counts bodies the client left before their end)
  requests       -> for each request "request METHOD TARGET", then "header NAME: VALUE"
                     lines, then "end"
  release NAME   -> "ok"; lets replies waiting on NAME go on
  reset          -> "ok"; zeroes the counters and forgets the requests
  quit           -> exits
"""

import argparse
import http.server
import json
import os
import signal
import socket
import socketserver
import ssl
import struct
import subprocess
import sys
import threading
import time

LEAF_NAMES = "subjectAltName=IP:127.0.0.1,DNS:localhost,DNS:maps.googleapis.com"
SLICE = 16384
HOLD_LIMIT_S = 60  # no wait or stall outlives this, so a forgotten server cannot hang a test


def make_certs(out):
    os.makedirs(out, exist_ok=True)

    def run(*args):
        subprocess.run(["openssl", *args], check=True, cwd=out,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def key(name):
        run("genpkey", "-algorithm", "EC", "-pkeyopt", "ec_paramgen_curve:P-256",
            "-out", name + ".key")

    def ca(name, subject):
        key(name)
        run("req", "-x509", "-new", "-key", name + ".key", "-subj", subject, "-days", "30",
            "-addext", "basicConstraints=critical,CA:true",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign", "-out", name + ".pem")

    def leaf(name, issuer, names, days="30"):
        key(name)
        run("req", "-new", "-key", name + ".key", "-subj", "/CN=" + name, "-out", name + ".csr")
        with open(os.path.join(out, name + ".ext"), "w") as ext:
            ext.write(names + "\nbasicConstraints=CA:false\nextendedKeyUsage=serverAuth\n")
        run("x509", "-req", "-in", name + ".csr", "-CA", issuer + ".pem", "-CAkey", issuer + ".key",
            "-CAcreateserial", "-days", days, "-extfile", name + ".ext", "-out", name + ".pem")

    ca("ca", "/CN=Loopback Test CA")
    ca("otherca", "/CN=Loopback Untrusted CA")
    leaf("good", "ca", LEAF_NAMES)
    leaf("wrongname", "ca", "subjectAltName=DNS:wrong.example")
    leaf("untrusted", "otherca", LEAF_NAMES)
    make_expired_leaf(out, run)


def make_expired_leaf(out, run):
    # "openssl x509 -req" cannot back-date a certificate; "openssl ca" can.
    db = os.path.join(out, "expired-db")
    os.makedirs(db, exist_ok=True)
    open(os.path.join(db, "index.txt"), "w").close()
    with open(os.path.join(db, "serial"), "w") as serial:
        serial.write("1000\n")
    with open(os.path.join(out, "expired.cnf"), "w") as cnf:
        cnf.write(f"""[ca]
default_ca = test
[test]
dir = {db}
database = $dir/index.txt
serial = $dir/serial
new_certs_dir = $dir
default_md = sha256
policy = any
copy_extensions = none
[any]
commonName = supplied
[leaf]
{LEAF_NAMES}
basicConstraints = CA:false
extendedKeyUsage = serverAuth
""")
    run("genpkey", "-algorithm", "EC", "-pkeyopt", "ec_paramgen_curve:P-256", "-out", "expired.key")
    run("req", "-new", "-key", "expired.key", "-subj", "/CN=expired", "-out", "expired.csr")
    run("ca", "-batch", "-config", "expired.cnf", "-cert", "ca.pem", "-keyfile", "ca.key",
        "-extensions", "leaf", "-startdate", "20200101000000Z", "-enddate", "20200201000000Z",
        "-in", "expired.csr", "-out", "expired.pem", "-notext")


class State:
    """Counters and releases shared by every connection thread."""

    def __init__(self):
        self.lock = threading.Lock()
        self.released = set()
        self.changed = threading.Condition(self.lock)
        self.reset()

    def reset(self):
        self.counters = dict(connections=0, handshakes=0, handshake_failures=0, requests=0,
                             bytes_sent=0, client_gone=0)
        self.requests = []

    def add(self, name, amount=1):
        with self.lock:
            self.counters[name] += amount

    def wait_released(self, name, limit_s):
        with self.lock:
            self.changed.wait_for(lambda: name in self.released, limit_s)


STATE = State()


class ClientGone(Exception):
    pass


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    timeout = HOLD_LIMIT_S

    def setup(self):
        STATE.add("connections")
        self.broken = False
        # Headers and body go out in separate writes; Nagle would hold the second one back.
        self.request.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        server = self.server
        if server.stall_handshake:
            self.broken = True
            self.wait_for_client_to_leave()
            return
        if server.tls is not None:
            try:
                self.request.settimeout(10)
                self.request = server.tls.wrap_socket(self.request, server_side=True)
            except (ssl.SSLError, OSError):
                STATE.add("handshake_failures")
                self.broken = True
                return
            STATE.add("handshakes")
        super().setup()

    def handle(self):
        if not self.broken:
            try:
                super().handle()
            except (OSError, ValueError):  # a fault closed the connection under the handler
                pass

    def finish(self):
        if not self.broken:
            try:
                super().finish()
            except OSError:
                pass

    def log_message(self, *args):
        pass

    def do_GET(self):
        self.answer(send_body=True)

    def do_HEAD(self):
        self.answer(send_body=False)

    def answer(self, send_body):
        path, _, query = self.path.partition("?")
        with STATE.lock:
            STATE.counters["requests"] += 1
            STATE.requests.append((self.command, self.path, list(self.headers.items())))
        route = next((r for r in self.server.routes
                      if r.get("path") in ("*", path) and r.get("query", "") in query), None)
        if route is None:
            route = {"status": 404, "body": ""}
        parts = body_parts(route)
        length = route.get("length", "auto")
        self.send_response(route.get("status", 200), route.get("reason"))
        for name, value in route.get("headers", {}).items():
            self.send_header(name, value)
        if length == "close":
            self.close_connection = True
        if "head" in route:
            self._headers_buffer = [route["head"].encode()]
            self.send_head(route.get("drip_ms"))
        else:
            self.send_framing(length, parts)
            self._headers_buffer.append(b"\r\n")
            self.send_head(route.get("drip_ms"))
        if send_body:
            try:
                if self.send_body(parts, length == "chunked") and length == "close":
                    self.close_notify()
            except ClientGone:
                STATE.add("client_gone")
                self.close_connection = True

    def send_framing(self, length, parts):
        if length == "auto":
            self.send_header("Content-Length", str(sum(len(p) * n for p, n in texts(parts))))
        elif length == "chunked":
            self.send_header("Transfer-Encoding", "chunked")
        elif length == "close":
            self.send_header("Connection", "close")
        else:
            self.send_header("Content-Length", str(int(length)))

    def send_head(self, drip_ms):
        head = b"".join(self._headers_buffer)
        self._headers_buffer = []
        try:
            self.send_dripped(head, drip_ms, lambda piece: piece)
        except ClientGone:
            self.close_connection = True

    def send_dripped(self, data, drip_ms, frame):
        if not drip_ms:
            self.write(frame(data))
            return
        for i in range(len(data)):
            if i:
                time.sleep(drip_ms / 1000)
            self.write(frame(data[i:i + 1]))

    def close_notify(self):
        """Ends the TLS stream on purpose, as a server does after an unframed body."""
        if isinstance(self.request, ssl.SSLSocket):
            try:
                self.request = self.request.unwrap()
            except (OSError, ssl.SSLError, ValueError):
                pass

    def send_body(self, parts, chunked):
        """Sends the parts; false when a fault cut the body short."""
        for part in parts:
            if "text" in part and part.get("drip_ms"):
                STATE.add("bytes_sent", len(part["text"]))
                self.send_dripped(part["text"], part["drip_ms"],
                                  lambda piece: b"1\r\n%s\r\n" % piece if chunked else piece)
            elif "text" in part:
                self.send_text(part["text"], part.get("repeat", 1), chunked)
            elif "raw" in part:
                self.write(part["raw"])
            elif "pause_ms" in part:
                time.sleep(part["pause_ms"] / 1000)
            elif "wait" in part:
                STATE.wait_released(part["wait"], part.get("limit_ms", HOLD_LIMIT_S * 1000) / 1000)
            elif "fault" in part:
                self.fault(part["fault"])
                return False
        if chunked:
            self.write(b"0\r\n\r\n")
        return True

    def send_text(self, text, repeat, chunked):
        # Short repeated texts go out gathered and long ones in slices: writes of about
        # SLICE bytes, like a real server's, and a client that leaves is noticed early.
        if not text:
            return
        per_write = max(1, SLICE // len(text))
        full, rest = divmod(repeat, per_write)
        for data in [text * per_write] * full + ([text * rest] if rest else []):
            for start in range(0, len(data), SLICE):
                piece = data[start:start + SLICE]
                # Counted first: a client may read the piece and ask before the write returns.
                STATE.add("bytes_sent", len(piece))
                self.write(b"%x\r\n%s\r\n" % (len(piece), piece) if chunked else piece)

    def write(self, data):
        try:
            self.wfile.write(data)
        except (OSError, ssl.SSLError) as error:
            raise ClientGone() from error

    def fault(self, kind):
        self.close_connection = True
        if kind == "reset":
            self.request.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            # The descriptor only closes once the handler's file objects let it go.
            self.wfile.close()
            self.rfile.close()
            self.request.close()
        elif kind == "close":
            try:
                self.request.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
        elif kind == "stall":
            if self.wait_for_client_to_leave():
                raise ClientGone()

    def wait_for_client_to_leave(self):
        """Holds the connection silent; true when the client closed it."""
        sock = self.request
        sock.settimeout(1)
        deadline = time.monotonic() + HOLD_LIMIT_S
        while time.monotonic() < deadline:
            try:
                if not sock.recv(4096):
                    return True
            except socket.timeout:
                continue
            except (OSError, ssl.SSLError):
                return True
        return False


def body_parts(route):
    if "parts" in route:
        parts = route["parts"]
    elif "body_file" in route:
        with open(route["body_file"], "rb") as body:
            parts = [{"text": body.read()}]
    else:
        parts = [{"text": route.get("body", "")}]
    def encoded(part):
        return {k: v.encode() if k in ("text", "raw") and isinstance(v, str) else v
                for k, v in part.items()}
    return [encoded(p) for p in parts]


def texts(parts):
    return [(p["text"], p.get("repeat", 1)) for p in parts if "text" in p]


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def control_loop(server):
    for line in sys.stdin:
        command, _, argument = line.strip().partition(" ")
        with STATE.lock:
            if command == "stats":
                reply = " ".join(f"{k}={v}" for k, v in STATE.counters.items())
            elif command == "requests":
                rows = []
                for method, target, headers in STATE.requests:
                    rows.append(f"request {method} {target}")
                    rows += [f"header {name}: {value}" for name, value in headers]
                reply = "\n".join(rows + ["end"])
            elif command == "release":
                STATE.released.add(argument)
                STATE.changed.notify_all()
                reply = "ok"
            elif command == "reset":
                STATE.reset()
                reply = "ok"
            elif command == "quit":
                break
            else:
                reply = "error unknown command"
        print(reply, flush=True)
    server.shutdown()


def serve(args):
    with open(args.routes, encoding="utf-8") as routes:
        route_table = json.load(routes)
    server = Server(("127.0.0.1", args.port), Handler)
    server.routes = route_table
    server.stall_handshake = args.stall_handshake
    server.tls = None
    if not args.plain:
        server.tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        server.tls.load_cert_chain(os.path.join(args.certs, args.leaf + ".pem"),
                                   os.path.join(args.certs, args.leaf + ".key"))
    port = server.server_address[1]
    if args.port_file:
        with open(args.port_file + ".tmp", "w") as out:
            out.write(f"{port}\n")
        os.replace(args.port_file + ".tmp", args.port_file)
    print(f"listening {port}", flush=True)
    signal.signal(signal.SIGTERM, lambda *_: threading.Thread(target=server.shutdown).start())
    if args.control:
        threading.Thread(target=control_loop, args=(server,), daemon=True).start()
    try:
        server.serve_forever(poll_interval=0.1)
    except KeyboardInterrupt:
        pass
    server.server_close()


def main():
    parser = argparse.ArgumentParser(description="Loopback HTTP(S) server for tests.")
    commands = parser.add_subparsers(dest="command", required=True)
    certs = commands.add_parser("make-certs")
    certs.add_argument("dir")
    server = commands.add_parser("serve")
    server.add_argument("--routes", required=True)
    server.add_argument("--certs", default=".")
    server.add_argument("--leaf", default="good")
    server.add_argument("--plain", action="store_true")
    server.add_argument("--port", type=int, default=0)
    server.add_argument("--port-file")
    server.add_argument("--control", action="store_true")
    server.add_argument("--stall-handshake", action="store_true")
    args = parser.parse_args()
    if args.command == "make-certs":
        make_certs(args.dir)
    else:
        serve(args)


if __name__ == "__main__":
    main()
