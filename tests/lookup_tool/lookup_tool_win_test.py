#!/usr/bin/env python3
"""orlimar-lookup.exe end to end under Wine, unchanged, against maps.googleapis.com.

The test runs itself again inside a private network and mount namespace (unshare -n
-m, as root): there the loopback interface holds a server on 127.0.0.1:443, a hosts
file bind-mounted over /etc/hosts names it maps.googleapis.com, and a CA bundle with
the test CA bind-mounted over the system's is what Wine's crypt32 trusts. The machine's
own files and ports are untouched. The tool runs in a copy of the tests' prefix and
prints the same lines as the Linux tool for the same replies.
Usage: lookup_tool_win_test.py WINE_RUN PREFIX WORK_DIR TOOL_EXE REPLIES_DIR [unittest args]
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
sys.path.insert(0, HERE)
from loopback_client import LoopbackServer, make_certs  # noqa: E402
from lookup_tool_test import FAILURES, FOUND_95814, make_routes  # noqa: E402
from wine_prefix import copy_prefix, remove_prefix  # noqa: E402

WINE_RUN = PREFIX = WORK = TOOL = REPLIES = ""
LIMIT_S = 120
SKIPPED = 77  # CTest's SKIP_RETURN_CODE
SYSTEM_BUNDLE = "/etc/ssl/certs/ca-certificates.crt"
INSIDE = "ORLIMAR_IN_PRIVATE_NAMESPACE"


def bind(source, target):
    subprocess.run(["mount", "--bind", source, target], check=True, timeout=LIMIT_S)


class LookupToolUnderWine(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        subprocess.run(["ip", "link", "set", "lo", "up"], check=True, timeout=LIMIT_S)
        cls.dir = tempfile.mkdtemp(prefix="orlimar-lookup-win-", dir=WORK)
        certs = os.path.join(cls.dir, "certs")
        make_certs(certs)
        bundle = os.path.join(cls.dir, "bundle.pem")
        with open(bundle, "w") as out:
            for part in (SYSTEM_BUNDLE, os.path.join(certs, "ca.pem")):
                with open(part) as f:
                    out.write(f.read())
        bind(bundle, SYSTEM_BUNDLE)
        hosts = os.path.join(cls.dir, "hosts")
        with open(hosts, "w") as f:
            f.write("127.0.0.1 localhost\n127.0.0.1 maps.googleapis.com\n")
        bind(hosts, "/etc/hosts")

        cls.prefix = os.path.join(cls.dir, "prefix")
        copy_prefix(PREFIX, cls.prefix)
        # The dialog's stored flags, which the Forecast line follows.
        for name in ("Sleet", "Snow"):
            cls.wine("reg", "add", "HKCU\\Software\\Quenwick Software\\Orlimar\\Preferences",
                     "/v", name, "/t", "REG_DWORD", "/d", "0", "/f", check=True)
        routes = make_routes(REPLIES)
        routes.insert(0, {"path": "/maps/api/geocode/xml", "query": "address=Z%C3%BCrich&",
                          "body_file": os.path.join(REPLIES, "geocode_95814.xml")})
        cls.server = LoopbackServer(routes, certs, cls.dir, port=443)

    @classmethod
    def tearDownClass(cls):
        cls.server.close()
        subprocess.run([WINE_RUN, cls.prefix, "--stop"], timeout=LIMIT_S)
        shutil.rmtree(cls.dir, ignore_errors=True)

    @classmethod
    def wine(cls, *args, env=None, check=False):
        return subprocess.run([WINE_RUN, cls.prefix, *args], env=env, check=check,
                              stdin=subprocess.DEVNULL, capture_output=True, text=True,
                              timeout=LIMIT_S)

    def run_tool(self, *args):
        # Knobs that change the host or the trust on Linux change nothing here.
        env = dict(os.environ, ORLIMAR_CONNECT_TO="maps.googleapis.com:443:127.0.0.1:1",
                   ORLIMAR_CA_BUNDLE="/nonexistent.pem")
        return self.wine(TOOL, *args, env=env)

    def test_found_place_prints_what_the_linux_tool_prints(self):
        result = self.run_tool("95814")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout.splitlines(), FOUND_95814)

    def test_location_goes_out_as_utf8(self):
        result = self.run_tool("Z\u00fcrich")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue(any("address=Z%C3%BCrich&" in target
                            for target in self.server.requests()), self.server.requests())

    def test_failures_have_the_linux_tools_text_and_status(self):
        for name, args, status, stderr in FAILURES:
            with self.subTest(name):
                result = self.run_tool(*args)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertEqual(result.stdout, "")
                if stderr is not None:
                    self.assertEqual(result.stderr, stderr)


class NoServer(unittest.TestCase):
    def test_nothing_listening_is_error_12029(self):
        prefix = os.path.join(WORK, "no-server-prefix")
        copy_prefix(PREFIX, prefix)
        try:
            result = subprocess.run([WINE_RUN, prefix, TOOL, "95814"], capture_output=True,
                                    text=True, stdin=subprocess.DEVNULL, timeout=LIMIT_S)
        finally:
            subprocess.run([WINE_RUN, prefix, "--stop"], timeout=LIMIT_S)
            remove_prefix(prefix)
        self.assertEqual((result.returncode, result.stderr), (2, "Error number 12029\n"))


if __name__ == "__main__":
    if len(sys.argv) < 6:
        sys.exit(__doc__)
    WINE_RUN, PREFIX, WORK, TOOL, REPLIES = sys.argv[1:6]
    if os.environ.get(INSIDE) != "1":
        if os.geteuid() != 0 or shutil.which("unshare") is None:
            print("skipped: needs root for a private network and mount namespace")
            sys.exit(SKIPPED)
        os.environ[INSIDE] = "1"
        os.execvp("unshare", ["unshare", "--net", "--mount", "--propagation", "private",
                              sys.executable, *sys.argv])
    unittest.main(argv=[sys.argv[0]] + sys.argv[6:])
