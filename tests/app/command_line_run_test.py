#!/usr/bin/env python3
"""The installed program's unattended run, end to end, against a loopback HTTPS server.

Usage: command_line_run_test.py PREFIX VERSION [unittest arguments]
PREFIX holds the installed bin/Orlimar; VERSION is the version it must report.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from loopback_client import LoopbackServer, make_certs  # noqa: E402

PREFIX = ""
VERSION = ""
REPLIES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "replies")
RUN_LIMIT_S = 60  # a run that has not ended by then has hung
LAUNCH_GRACE_S = 2.0  # the browser is started detached; give it this long to show

EXPECTED_ADDRESS = (
    "http://forecast.weather.gov/MapClick.php?w0=t&w1=td&w2=wc&w3=sfcwind&w4=sky&w5=pop"
    "&w6=rh&w7=rain&w8=thunder&w9=snow&w10=fzg&AheadHour=0&Submit=Submit"
    "&FcstType=graphical&textField1=38.5803648&textField2=-121.4961413"
    "&site=all&unit=0&dd=&bw=")

# Left by an earlier interactive run: a saved location, every key present, Sleet off.
STORED_HIVE = (
    "REGEDIT4\n"
    "\n"
    "[HKEY_CURRENT_USER\\Software\\Quenwick Software\\Orlimar]\n"
    "\"LastLocation\"=\"Pine Hollow\"\n"
    "\n"
    "[HKEY_CURRENT_USER\\Software\\Quenwick Software\\Orlimar\\Preferences]\n"
    "\"Sleet\"=dword:00000000\n"
    "\n")

FAKE_XDG_OPEN = """#!/bin/sh
# Records the address it was asked to open, whole or not at all.
printf '%s\\n' "$@" > "$ORLIMAR_TEST_OPENED.tmp" && mv "$ORLIMAR_TEST_OPENED.tmp" "$ORLIMAR_TEST_OPENED"
"""


class CommandLineRun(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="orlimar-e2e-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)
        self.certs = os.path.join(self.dir, "certs")
        make_certs(self.certs)
        self.config = os.path.join(self.dir, "config")
        self.hive = os.path.join(self.config, "Quenwick Software", "registry.reg")
        os.makedirs(os.path.dirname(self.hive), mode=0o700)
        with open(self.hive, "w") as f:
            f.write(STORED_HIVE)
        os.chmod(self.hive, 0o600)
        bin_dir = os.path.join(self.dir, "fakebin")
        os.makedirs(bin_dir)
        fake = os.path.join(bin_dir, "xdg-open")
        with open(fake, "w") as f:
            f.write(FAKE_XDG_OPEN)
        os.chmod(fake, 0o755)
        self.path = bin_dir + os.pathsep + os.environ.get("PATH", "/usr/bin:/bin")
        self.opened = os.path.join(self.dir, "opened.txt")

    def serve(self, geocode_reply):
        self.server = LoopbackServer([
            {"path": "/maps/api/geocode/xml", "query": "address=",
             "headers": {"Content-Type": "application/xml; charset=UTF-8"},
             "body_file": os.path.join(REPLIES, geocode_reply)},
            {"path": "/maps/api/elevation/xml", "query": "locations=38.5803648,-121.4961413",
             "headers": {"Content-Type": "application/xml; charset=UTF-8"},
             "body_file": os.path.join(REPLIES, "elevation_95814.xml")},
        ], self.certs, self.dir)
        self.addCleanup(self.server.close)
        return self.server.port

    def requests(self):
        """The targets the server was asked for, in order."""
        return self.server.requests()

    def run_program(self, port, *args, executable=None):
        env = {k: v for k, v in os.environ.items() if not k.startswith(("ORLIMAR_", "XDG_"))}
        env.update({
            "QT_QPA_PLATFORM": "offscreen",
            "ORLIMAR_CONNECT_TO": "maps.googleapis.com:443:127.0.0.1:%d" % port,
            "ORLIMAR_CA_BUNDLE": os.path.join(self.certs, "ca.pem"),
            "ORLIMAR_API_KEY": "AIzaTestKeyTestKeyTestKeyTestKeyTestKe",
            "ORLIMAR_TEST_OPENED": self.opened,
            "XDG_CONFIG_HOME": self.config,
            "PATH": self.path,
        })
        executable = executable or os.path.join(PREFIX, "bin", "Orlimar")
        return subprocess.run([executable, *args], env=env, stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, timeout=RUN_LIMIT_S)

    def wait_opened(self):
        deadline = time.monotonic() + LAUNCH_GRACE_S
        while time.monotonic() < deadline and not os.path.exists(self.opened):
            time.sleep(0.05)
        if not os.path.exists(self.opened):
            return None
        with open(self.opened) as f:
            return f.read()

    def hive_bytes(self):
        with open(self.hive, "rb") as f:
            return f.read()

    def test_found_place_opens_its_forecast_and_ends(self):
        port = self.serve("geocode_95814.xml")
        before = self.hive_bytes()
        result = self.run_program(port, "/p", "95814")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.wait_opened(), EXPECTED_ADDRESS + "\n")
        # Read (Sleet stayed off in the address) but neither written nor rewritten.
        self.assertEqual(self.hive_bytes(), before)
        self.assertEqual(len(self.requests()), 2)

    def test_place_not_found_opens_nothing_and_ends(self):
        port = self.serve("geocode_zero_results.xml")
        before = self.hive_bytes()
        result = self.run_program(port, "Nowhere at all")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIsNone(self.wait_opened())
        self.assertEqual(self.hive_bytes(), before)
        targets = self.requests()
        self.assertEqual(len(targets), 1)
        self.assertIn("address=Nowhere", targets[0])

    def test_renamed_copy_keeps_settings_under_its_own_name(self):
        port = self.serve("geocode_zero_results.xml")
        copy = os.path.join(self.dir, "Weatherly")
        shutil.copy2(os.path.join(PREFIX, "bin", "Orlimar"), copy)
        result = self.run_program(port, "Nowhere", executable=copy)
        self.assertEqual(result.returncode, 0, result.stderr)
        hive = self.hive_bytes().decode()
        self.assertTrue(hive.startswith(STORED_HIVE.rstrip("\n")), hive)
        self.assertIn("[HKEY_CURRENT_USER\\Software\\Quenwick Software\\Weatherly]", hive)

    def test_version_needs_no_display(self):
        env = {"PATH": self.path, "HOME": self.dir}
        result = subprocess.run([os.path.join(PREFIX, "bin", "Orlimar"), "--version"], env=env,
                                capture_output=True, text=True, timeout=RUN_LIMIT_S)
        self.assertEqual((result.returncode, result.stdout), (0, "Orlimar %s\n" % VERSION))

    def run_without_display(self, *args, executable=None):
        env = {"PATH": self.path, "HOME": self.dir, "XDG_CONFIG_HOME": self.config}
        return subprocess.run([executable or os.path.join(PREFIX, "bin", "Orlimar"), *args],
                              env=env, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                              timeout=RUN_LIMIT_S)

    def test_no_display_says_so_in_one_line(self):
        before = self.hive_bytes()
        result = self.run_without_display("95814")
        self.assertEqual((result.returncode, result.stdout), (1, ""))
        self.assertEqual(len(result.stderr.splitlines()), 1, result.stderr)
        self.assertIn("orlimar-lookup", result.stderr)
        self.assertEqual(self.hive_bytes(), before)

    def test_set_api_key_needs_no_display_and_never_prints_the_key(self):
        key = "AIzaStoredKeyStoredKeyStoredKeyStoredK"
        stored = self.run_without_display("--set-api-key", key)
        self.assertEqual(stored.returncode, 0, stored.stderr)
        self.assertNotIn(key, stored.stdout + stored.stderr)
        hive = self.hive_bytes().decode()
        self.assertIn('"ApiKey"="%s"' % key, hive)
        self.assertIn('"LastLocation"="Pine Hollow"', hive)

        removed = self.run_without_display("--set-api-key", "")
        self.assertEqual(removed.returncode, 0, removed.stderr)
        self.assertEqual(self.hive_bytes().decode().rstrip("\n"), STORED_HIVE.rstrip("\n"))

    def test_lower_case_link_keeps_the_settings_key(self):
        link = os.path.join(PREFIX, "bin", "orlimar")
        self.assertEqual(os.readlink(link), "Orlimar")
        result = self.run_without_display("--set-api-key", "AIzaViaTheLink", executable=link)
        self.assertEqual(result.returncode, 0, result.stderr)
        hive = self.hive_bytes().decode()
        self.assertNotIn("Quenwick Software\\orlimar]", hive)
        self.assertIn('"ApiKey"="AIzaViaTheLink"', hive)


if __name__ == "__main__":
    PREFIX, VERSION = sys.argv[1], sys.argv[2]
    unittest.main(argv=[sys.argv[0], *sys.argv[3:]])
