#!/usr/bin/env python3
"""Orlimar.exe "Pine Hollow" under Wine, unchanged, against a loopback server under the real name.

The test runs itself again inside a private network and mount namespace
(unshare -n -m, which CI's root may use): there the loopback device is up, a
hosts file names 127.0.0.1 maps.googleapis.com, a bundle holding the test CA
stands over the system's, and the loopback server listens on 127.0.0.1:443.
Nothing of the machine's own files or ports is touched. The program runs in a
copy of the tests' Wine prefix whose browser is a recording fake, so that its
server can be stopped and user.reg read.
Usage: windows_command_line_run_test.py WINE_RUN PREFIX WORK_DIR ORLIMAR_EXE FAKE_BROWSER
       [unittest arguments]
"""

import os
import shutil
import subprocess
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
sys.path.insert(0, os.path.join(HERE, "..", "registry"))
from loopback_client import LoopbackServer, make_certs  # noqa: E402
from user_reg_test import copy_prefix, read_hive  # noqa: E402

WINE_RUN = PREFIX = WORK = ORLIMAR = FAKE_BROWSER = ""
INSIDE = "ORLIMAR_TEST_IN_NAMESPACE"
LIMIT_S = 120
KEY = "Software\\Quenwick Software\\Orlimar"
REPLIES = os.path.join(HERE, "replies")

# Sleet was stored off: its series is left out.
EXPECTED_ADDRESS = (
    "http://forecast.weather.gov/MapClick.php?w0=t&w1=td&w2=wc&w3=sfcwind&w4=sky&w5=pop"
    "&w6=rh&w7=rain&w8=thunder&w9=snow&w10=fzg&AheadHour=0&Submit=Submit"
    "&FcstType=graphical&textField1=37.9495135&textField2=-120.7950794"
    "&site=all&unit=0&dd=&bw=")


def run(*args, **kwargs):
    return subprocess.run(list(args), timeout=LIMIT_S, **kwargs)


class CommandLineRunWin(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        """This namespace's loopback, hosts file and trusted bundle, once."""
        cls.base = os.path.join(WORK, "e2e")
        shutil.rmtree(cls.base, ignore_errors=True)
        os.makedirs(cls.base)
        cls.certs = os.path.join(cls.base, "certs")
        make_certs(cls.certs)
        run("ip", "link", "set", "lo", "up", check=True)
        hosts = os.path.join(cls.base, "hosts")
        with open(hosts, "w") as f:
            f.write("127.0.0.1 localhost maps.googleapis.com\n")
        run("mount", "--bind", hosts, "/etc/hosts", check=True)
        bundle = os.path.join(cls.base, "ca-certificates.crt")
        shutil.copy(os.path.join(cls.certs, "ca.pem"), bundle)
        run("mount", "--bind", bundle, "/etc/ssl/certs/ca-certificates.crt", check=True)

    def setUp(self):
        self.dir = os.path.join(self.base, self._testMethodName)
        os.makedirs(self.dir)
        self.prefix = os.path.join(self.dir, "prefix")
        copy_prefix(PREFIX, self.prefix)
        self.addCleanup(run, WINE_RUN, self.prefix, "--stop")
        self.browser = os.path.join(self.dir, "browser.sh")
        shutil.copy2(FAKE_BROWSER, self.browser)

    def wine(self, *args):
        # Wine reads its arguments in the locale's encoding.
        env = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8")
        return run(WINE_RUN, self.prefix, *args, stdin=subprocess.DEVNULL, capture_output=True,
                   text=True, env=env)

    def reg_add(self, key, name, kind, data):
        result = self.wine("reg", "add", "HKCU\\" + key, "/v", name, "/t", kind, "/d", data, "/f")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def wait_opened(self, grace_s=10):
        log = self.browser + ".log"
        deadline = time.monotonic() + grace_s
        while time.monotonic() < deadline and not os.path.exists(log):
            time.sleep(0.05)
        if not os.path.exists(log):
            return None
        with open(log) as f:
            return f.read()

    def test_found_place_opens_its_forecast_ends_and_leaves_the_settings(self):
        server = LoopbackServer([
            {"path": "/maps/api/geocode/xml", "query": "address=37.9495135,-120.7950794&",
             "headers": {"Content-Type": "application/xml; charset=UTF-8"},
             "body_file": os.path.join(REPLIES, "geocode_pine_hollow.xml")},
            {"path": "/maps/api/elevation/xml", "query": "locations=37.9495135,-120.7950794&",
             "headers": {"Content-Type": "application/xml; charset=UTF-8"},
             "body_file": os.path.join(REPLIES, "elevation_pine_hollow.xml")},
        ], self.certs, self.dir, port=443)
        self.addCleanup(server.close)
        # Never the machine's own xdg-open: the prefix's browser is the fake.
        self.reg_add("Software\\Wine\\WineBrowser", "Browsers", "REG_SZ", self.browser)
        self.reg_add(KEY, "LastLocation", "REG_SZ", "KRGC")
        self.reg_add(KEY + "\\Preferences", "Sleet", "REG_DWORD", "0")

        result = self.wine(ORLIMAR, "Pine Hollow")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(self.wait_opened(), EXPECTED_ADDRESS + "\n")
        targets = server.requests()
        self.assertEqual(len(targets), 2, targets)
        self.assertTrue(targets[0].startswith("/maps/api/geocode/xml?address=37.9495135,"), targets)
        self.assertTrue(targets[1].startswith("/maps/api/elevation/xml?locations="), targets)

        # The run read the settings and changed none of them.
        run(WINE_RUN, self.prefix, "--stop", check=True)
        keys = read_hive(os.path.join(self.prefix, "user.reg"))
        self.assertEqual(keys[KEY], {"LastLocation": '"KRGC"'})
        self.assertEqual(keys[KEY + "\\Preferences"], {"Sleet": "dword:00000000"})

    def test_location_reaches_the_request_in_utf8_and_a_place_not_found_opens_nothing(self):
        server = LoopbackServer([
            {"path": "/maps/api/geocode/xml", "query": "address=",
             "headers": {"Content-Type": "application/xml; charset=UTF-8"},
             "body_file": os.path.join(REPLIES, "geocode_zero_results.xml")},
        ], self.certs, self.dir, port=443)
        self.addCleanup(server.close)
        self.reg_add("Software\\Wine\\WineBrowser", "Browsers", "REG_SZ", self.browser)
        # Beyond the ANSI code page: the program reads its wide command line.
        result = self.wine(ORLIMAR, "Z\u00fcrich \u0141\u00f3d\u017a")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        targets = server.requests()
        self.assertEqual(len(targets), 1, targets)
        self.assertTrue(targets[0].startswith(
            "/maps/api/geocode/xml?address=Z%C3%BCrich%20%C5%81%C3%B3d%C5%BA&"), targets)
        self.assertIsNone(self.wait_opened(grace_s=2))


def main():
    global WINE_RUN, PREFIX, WORK, ORLIMAR, FAKE_BROWSER
    if os.environ.get(INSIDE) != "1":
        if os.geteuid() != 0:
            print("needs root for unshare -n -m (CI runs as root); skipped")
            sys.exit(0)
        env = dict(os.environ, **{INSIDE: "1"})
        status = subprocess.run(["unshare", "-n", "-m", "--propagation", "private",
                                 sys.executable, *sys.argv], env=env).returncode
        sys.exit(status)
    WINE_RUN, PREFIX, WORK, ORLIMAR, FAKE_BROWSER = sys.argv[1:6]
    unittest.main(argv=[sys.argv[0], *sys.argv[6:]])


if __name__ == "__main__":
    main()
