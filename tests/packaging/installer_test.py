#!/usr/bin/env python3
"""The per-user installer under Wine: what it installs, where, and what its uninstaller leaves.

Makes the installer with CPack from the build, then installs silently into a copy of
the tests' prefix, runs the installed tool, uninstalls and reads user.reg.
Usage: installer_test.py WINE_RUN PREFIX WORK_DIR CPACK CPACK_CONFIG [unittest arguments]
"""

import glob
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from wine_prefix import copy_prefix, read_hive, remove_prefix, unescape  # noqa: E402

WINE_RUN = PREFIX = WORK = CPACK = CPACK_CONFIG = ""
LIMIT_S = 180
SETTINGS = "Software\\Quenwick Software\\Orlimar"


class Installer(unittest.TestCase):
    def wine(self, *args):
        return subprocess.run([WINE_RUN, self.prefix, *args], stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, timeout=LIMIT_S)

    def setUp(self):
        packages = os.path.join(WORK, "installer-packages")
        subprocess.run([CPACK, "-G", "NSIS", "--config", CPACK_CONFIG, "-B", packages],
                       check=True, capture_output=True, timeout=LIMIT_S)
        self.installer = glob.glob(os.path.join(packages, "Orlimar-*-win64.exe"))[0]
        self.prefix = os.path.join(WORK, "installer-prefix")
        copy_prefix(PREFIX, self.prefix)

    def tearDown(self):
        subprocess.run([WINE_RUN, self.prefix, "--stop"], timeout=LIMIT_S)
        remove_prefix(self.prefix)

    def test_installs_for_the_user_and_uninstalls_leaving_the_settings(self):
        self.assertEqual(self.wine("reg", "add", "HKCU\\" + SETTINGS, "/v", "LastLocation",
                                   "/d", "Pine Hollow", "/f").returncode, 0)
        self.assertEqual(self.wine(self.installer, "/S").returncode, 0)
        users = os.path.join(self.prefix, "drive_c", "users")
        installed = glob.glob(os.path.join(users, "*", "AppData", "Local", "Programs", "Orlimar"))
        self.assertEqual(len(installed), 1, "not in %LOCALAPPDATA%\\Programs\\Orlimar")
        folder = installed[0]
        for name in ("bin/orlimar-lookup.exe", "LICENSE", "README.md", "Uninstall.exe"):
            self.assertTrue(os.path.isfile(os.path.join(folder, name)), name)
        menu = glob.glob(os.path.join(users, "*", "AppData", "Roaming", "Microsoft", "Windows",
                                      "Start Menu", "Programs", "Orlimar", "*.lnk"))
        self.assertIn("Orlimar.lnk", [os.path.basename(m) for m in menu])
        tool = self.wine(os.path.join(folder, "bin", "orlimar-lookup.exe"), "--help")
        self.assertEqual(tool.returncode, 0, tool.stderr)

        # In place (_?=), so that the uninstaller is done when it returns.
        windows_folder = "C:\\" + os.path.relpath(folder, os.path.join(self.prefix, "drive_c"))
        uninstall = self.wine(os.path.join(folder, "Uninstall.exe"), "/S",
                              "_?=" + windows_folder.replace("/", "\\"))
        self.assertEqual(uninstall.returncode, 0)
        self.assertFalse(os.path.exists(os.path.join(folder, "bin")))
        self.assertFalse(os.path.exists(os.path.join(folder, "LICENSE")))
        self.assertEqual([m for m in menu if os.path.exists(m)], [])
        subprocess.run([WINE_RUN, self.prefix, "--stop"], check=True, timeout=LIMIT_S)
        keys = read_hive(os.path.join(self.prefix, "user.reg"))
        self.assertEqual(unescape(keys.get(SETTINGS, {}).get("LastLocation", "")),
                         '"Pine Hollow"')


if __name__ == "__main__":
    if len(sys.argv) < 6:
        sys.exit(__doc__)
    WINE_RUN, PREFIX, WORK, CPACK, CPACK_CONFIG = sys.argv[1:6]
    unittest.main(argv=[sys.argv[0]] + sys.argv[6:])
