#!/usr/bin/env python3
"""orlimar-lookup end to end against a loopback HTTPS server answering both services.

Usage: lookup_tool_test.py TOOL REPLIES_DIR [unittest arguments]
"""

import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from loopback_client import LoopbackServer, make_certs  # noqa: E402

TOOL = REPLIES = ""
RUN_LIMIT_S = 60

DENIED = (" <status>REQUEST_DENIED</status>\n"
          " <error_message>The provided API key is invalid.</error_message>\n")
# What the tool prints for the 95814 replies with Sleet and Snow stored as off;
# the Windows tool's test expects the same lines.
FOUND_95814 = [
    "Address: Sacramento, CA 95814, USA",
    "Latitude: 38.5803648",
    "Longitude: -121.4961413",
    "Latitude DMS: 38:34:49.3133",
    "Longitude DMS: -121:29:46.1087",
    "Elevation feet: 25.804597",
    "Elevation meters: 7.865241",
    "Forecast: http://forecast.weather.gov/MapClick.php?w0=t&w1=td&w2=wc&w3=sfcwind"
    "&w4=sky&w5=pop&w6=rh&w7=rain&w8=thunder&w9=fzg&AheadHour=0&Submit=Submit"
    "&FcstType=graphical&textField1=38.5803648&textField2=-121.4961413"
    "&site=all&unit=0&dd=&bw=",
]
# The same failures on both systems: (case, arguments, exit status, standard error).
FAILURES = [
    ("not found", ["Nowhere"], 1, "Not found\n"),
    ("refused key", ["Denied"], 1, "Not found\nREQUEST_DENIED: The provided API key is invalid.\n"),
    ("unreadable line", ["Short"], 3, "The parameter is incorrect.\n"),
    ("no location", [], 64, None),
]
STORED_HIVE = ("REGEDIT4\n\n"
               "[HKEY_CURRENT_USER\\Software\\Quenwick Software\\Orlimar\\Preferences]\n"
               "\"Sleet\"=dword:00000000\n\"Snow\"=dword:00000000\n\n")


def make_routes(replies):
    """Both services' replies for the locations of FOUND_95814 and FAILURES."""
    geocode = "/maps/api/geocode/xml"
    return [
        {"path": geocode, "query": "address=95814&",
         "body_file": os.path.join(replies, "geocode_95814.xml")},
        {"path": geocode, "query": "address=Nowhere",
         "body_file": os.path.join(replies, "geocode_zero_results.xml")},
        {"path": geocode, "query": "address=Denied", "body": DENIED},
        {"path": geocode, "query": "address=%2038.58%20,%20-121.49&",
         "body_file": os.path.join(replies, "geocode_zero_results.xml")},
        {"path": geocode, "query": "latlng=38.58,-121.49&",
         "body_file": os.path.join(replies, "geocode_95814.xml")},
        {"path": geocode, "query": "address=Short", "body": "<location>\n<lat>1.5\n"},
        {"path": geocode, "query": "address=-33.9",
         "body_file": os.path.join(replies, "geocode_zero_results.xml")},
        {"path": "/maps/api/elevation/xml",
         "body_file": os.path.join(replies, "elevation_95814.xml")},
    ]


def closed_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class LookupTool(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="orlimar-lookup-")
        cls.certs = os.path.join(cls.dir, "certs")
        make_certs(cls.certs)
        cls.server = LoopbackServer(make_routes(REPLIES), cls.certs, cls.dir)
        cls.port = cls.server.port

    @classmethod
    def tearDownClass(cls):
        cls.server.close()
        shutil.rmtree(cls.dir, ignore_errors=True)

    def run_tool(self, *args, port=None, config=None, extra_env=None):
        env = {k: v for k, v in os.environ.items() if not k.startswith(("ORLIMAR_", "XDG_"))}
        env.update({
            "ORLIMAR_CONNECT_TO": "maps.googleapis.com:443:127.0.0.1:%d" % (port or self.port),
            "ORLIMAR_CA_BUNDLE": os.path.join(self.certs, "ca.pem"),
            "XDG_CONFIG_HOME": config or os.path.join(self.dir, "config"),
        })
        env.update(extra_env or {})
        return subprocess.run([TOOL, *args], env=env, stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, timeout=RUN_LIMIT_S)

    def stored_config(self, name):
        config = os.path.join(self.dir, name)
        os.makedirs(os.path.join(config, "Quenwick Software"))
        with open(os.path.join(config, "Quenwick Software", "registry.reg"), "w") as f:
            f.write(STORED_HIVE)
        return config

    def test_found_place_prints_every_line(self):
        config = self.stored_config("stored")
        result = self.run_tool("95814", config=config)
        self.assertEqual(result.returncode, 0, result.stderr)
        # The settings are only read: the file is as it was, and no lock was taken.
        self.assertEqual(sorted(os.listdir(os.path.join(config, "Quenwick Software"))),
                         ["registry.reg"])
        with open(os.path.join(config, "Quenwick Software", "registry.reg")) as f:
            self.assertEqual(f.read(), STORED_HIVE)
        self.assertEqual(result.stdout.splitlines(), FOUND_95814)

    def test_coordinates_refused_as_an_address_are_asked_in_reverse_on_one_connection(self):
        self.server.reset()
        result = self.run_tool(" 38.58 , -121.49")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("Address: Sacramento, CA 95814, USA", result.stdout.splitlines())
        targets = self.server.requests()
        self.assertEqual(len(targets), 3, targets)
        self.assertIn("?address=%2038.58%20,%20-121.49&", targets[0])
        self.assertIn("?latlng=38.58,-121.49&sensor=false&key=", targets[1])
        self.assertIn("/elevation/xml?locations=38.5803648,-121.4961413&", targets[2])
        self.assertEqual(self.server.stats()["connections"], 1)

    def test_failures_have_their_own_text_and_status(self):
        cases = [(name, args, None, status, stderr) for name, args, status, stderr in FAILURES]
        cases.append(("no server", ["95814"], closed_port(), 2, "Error number 12029\n"))
        for name, args, port, status, stderr in cases:
            with self.subTest(name):
                result = self.run_tool(*args, port=port)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertEqual(result.stdout, "")
                if stderr is not None:
                    self.assertEqual(result.stderr, stderr)

    def test_first_run_creates_no_settings(self):
        config = os.path.join(self.dir, "first-run")
        result = self.run_tool("95814", config=config)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertFalse(os.path.exists(config))

    def test_json_is_one_object_with_the_shown_texts(self):
        result = self.run_tool("--json", "95814", config=self.stored_config("json"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(len(result.stdout.splitlines()), 1)
        self.assertEqual(json.loads(result.stdout), {
            "address": "Sacramento, CA 95814, USA",
            "latitude": "38.5803648",
            "longitude": "-121.4961413",
            "latitude_dms": "38:34:49.3133",
            "longitude_dms": "-121:29:46.1087",
            "elevation_feet": 25.804597,
            "elevation_meters": 7.865241,
            "forecast": "http://forecast.weather.gov/MapClick.php?w0=t&w1=td&w2=wc&w3=sfcwind"
                        "&w4=sky&w5=pop&w6=rh&w7=rain&w8=thunder&w9=fzg&AheadHour=0"
                        "&Submit=Submit&FcstType=graphical&textField1=38.5803648"
                        "&textField2=-121.4961413&site=all&unit=0&dd=&bw=",
        })
        missing = self.run_tool("--json", "Nowhere")
        self.assertEqual((missing.returncode, missing.stdout, missing.stderr),
                         (1, "", "Not found\n"))

    def test_options(self):
        usage = "Usage: orlimar-lookup [--json] [--] LOCATION"
        cases = [
            ("help", ["--help"], 0, usage, ""),
            ("short help", ["-h"], 0, usage, ""),
            ("help wins over a location", ["95814", "-h"], 0, usage, ""),
            ("version", ["--version"], 0, "orlimar-lookup ", ""),
            ("unknown option", ["--bogus", "95814"], 64, "", "unknown option --bogus"),
            ("southern latitude without --", ["-33.9,151.2"], 64, "", "unknown option"),
            ("two locations", ["Pine", "Hollow"], 64, "", "give one location"),
        ]
        for name, args, status, stdout, stderr in cases:
            with self.subTest(name):
                result = self.run_tool(*args)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertTrue(result.stdout.startswith(stdout), result.stdout)
                self.assertIn(stderr, result.stderr)
                if status == 64:
                    self.assertIn(usage, result.stderr)

    def test_stored_key_serves_when_the_environment_has_none(self):
        config = os.path.join(self.dir, "keyed")
        os.makedirs(os.path.join(config, "Quenwick Software"))
        with open(os.path.join(config, "Quenwick Software", "registry.reg"), "w") as f:
            f.write("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Quenwick Software\\Orlimar]\n"
                    "\"ApiKey\"=\"AIzaStoredKey\"\n\n")
        cases = [("stored key", {}, "key=AIzaStoredKey"),
                 ("empty environment", {"ORLIMAR_API_KEY": ""}, "key=AIzaStoredKey"),
                 ("environment first", {"ORLIMAR_API_KEY": "AIzaFromEnv"}, "key=AIzaFromEnv")]
        for name, env, expected in cases:
            with self.subTest(name):
                seen = len(self.server.requests())
                result = self.run_tool("95814", config=config, extra_env=env)
                self.assertEqual(result.returncode, 0, result.stderr)
                targets = self.server.requests()[seen:]
                self.assertEqual(len(targets), 2)
                self.assertTrue(all(t.endswith(expected) for t in targets), targets)

    def test_demo_answers_every_place_it_names(self):
        root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
        with open(os.path.join(root, "scripts", "demo-routes.json")) as f:
            routes = json.load(f)
        for route in routes:
            route["body_file"] = os.path.join(root, route["body_file"])
        places = {"Pine Hollow": "Pine Hollow, CA 95321, USA",
                  "TALON": "Pine Hollow, CA 95321, USA",
                  "KRGC": "County Road 29, Davis, CA 95616, USA",
                  "Kestrel Ridge Gliding Club": "County Road 29, Davis, CA 95616, USA",
                  "95814": "Sacramento, CA 95814, USA",
                  "1315 10th St, Sacramento": "1315 10th St, Sacramento, CA 95814, USA"}
        with LoopbackServer(routes, self.certs, self.dir) as demo:
            for place, address in places.items():
                with self.subTest(place):
                    result = self.run_tool("--json", place, port=demo.port)
                    self.assertEqual(result.returncode, 0, result.stderr)
                    found = json.loads(result.stdout)
                    self.assertEqual(found["address"], address)
                    self.assertIsNotNone(found["elevation_meters"])
            self.assertEqual(self.run_tool("Nowhere", port=demo.port).returncode, 1)

    def test_double_dash_ends_the_options(self):
        result = self.run_tool("--", "-33.9,151.2")
        self.assertEqual((result.returncode, result.stderr), (1, "Not found\n"))
        self.assertTrue(any("address=-33.9" in t for t in self.server.requests()))


if __name__ == "__main__":
    TOOL, REPLIES = sys.argv[1:3]
    unittest.main(argv=[sys.argv[0], *sys.argv[3:]])
