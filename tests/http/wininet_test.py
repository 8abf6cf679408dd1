#!/usr/bin/env python3
"""The WinInet text source under Wine against loopback HTTPS servers, one per certificate.

Trusts the test CA in the prefix, starts the servers, runs the GoogleTest program
with their ports in ORLIMAR_TEST_PORT_<NAME>, then checks what the reuse server saw:
one connection for a session's two requests, each with the agent "Google API".
Usage: wininet_test.py WINE_RUN PREFIX TEST_EXE TRUST_EXE [unittest arguments]
"""

import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from loopback_client import LoopbackServer, make_certs  # noqa: E402

WINE_RUN = PREFIX = TEST_EXE = TRUST_EXE = ""
LIMIT_S = 180


def route(name, body=None, **extra):
    return {"path": "/lines/" + name, **({"body": body} if body is not None else {}), **extra}


ROUTES = [
    route("crlf", "a\r\nb\r\n"),
    route("lone_cr_dropped", "a\rb\nc\r\r\n"),
    route("last_line_without_lf", "a\nb"),
    route("empty_lines", "\n\n"),
    route("empty_body", ""),
    route("utf8_bytes", "Z\u00fcrich\n"),
    route("long_line", parts=[{"text": "x", "repeat": 200000}, {"text": "\nend"}]),
    route("chunks_split_a_line", parts=[{"text": "a\nb"}, {"pause_ms": 50}, {"text": "c\n"}],
          length="chunked"),
    route("error_status_is_a_reply", "missing\n", status=404, reason="Not Found"),
]
# The untrusted server sends its CA along: with a complete chain to a root
# the store lacks, Windows and Wine both give 12045 (with the issuer missing
# altogether Wine gives 12057).
LEAVES = {"GOOD": "good", "WRONGNAME": "wrongname", "EXPIRED": "expired",
          "UNTRUSTED": "untrustedchain", "REUSE": "good"}


def make_untrusted_chain(certs):
    with open(os.path.join(certs, "untrustedchain.pem"), "w") as chain:
        for name in ("untrusted.pem", "otherca.pem"):
            with open(os.path.join(certs, name)) as part:
                chain.write(part.read())
    shutil.copy(os.path.join(certs, "untrusted.key"), os.path.join(certs, "untrustedchain.key"))


def closed_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class WinInet(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="orlimar-wininet-")
        certs = os.path.join(cls.dir, "certs")
        make_certs(certs)
        make_untrusted_chain(certs)
        der = os.path.join(cls.dir, "ca.der")
        with open(os.path.join(certs, "ca.pem")) as pem, open(der, "wb") as out:
            out.write(ssl.PEM_cert_to_DER_cert(pem.read()))
        subprocess.run([WINE_RUN, PREFIX, TRUST_EXE, der], check=True, timeout=LIMIT_S)
        cls.servers = {}
        for name, leaf in LEAVES.items():
            cls.servers[name] = LoopbackServer(ROUTES, certs, cls.dir, leaf=leaf)

    @classmethod
    def tearDownClass(cls):
        for server in cls.servers.values():
            server.close()
        shutil.rmtree(cls.dir, ignore_errors=True)

    def test_component_under_wine(self):
        env = dict(os.environ, ORLIMAR_TEST_PORT_CLOSED=str(closed_port()))
        for name, server in self.servers.items():
            env["ORLIMAR_TEST_PORT_" + name] = str(server.port)
        run = subprocess.run([WINE_RUN, PREFIX, TEST_EXE], env=env, timeout=LIMIT_S,
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        print(run.stdout)
        self.assertEqual(run.returncode, 0, "the GoogleTest program failed")

        reuse = self.servers["REUSE"]
        stats = reuse.stats()
        self.assertEqual((stats["connections"], stats["requests"]), (1, 2), stats)
        log = reuse.request_log()
        self.assertEqual([target for target, _ in log], ["/lines/crlf", "/lines/utf8_bytes"])
        for _, headers in log:
            self.assertEqual(headers.get("User-Agent"), "Google API", headers)


if __name__ == "__main__":
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    WINE_RUN, PREFIX, TEST_EXE, TRUST_EXE = sys.argv[1:5]
    unittest.main(argv=[sys.argv[0]] + sys.argv[5:])
