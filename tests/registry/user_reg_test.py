#!/usr/bin/env python3
"""What the registry back end wrote is in the Wine prefix's user.reg once the server stopped.

Runs the writer in a copy of the tests' prefix, so that stopping its Wine
server leaves the other tests' server alone.
Usage: user_reg_test.py WINE_RUN PREFIX WORK_DIR WRITER_EXE [unittest arguments]
"""

import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from wine_prefix import copy_prefix, read_hive, remove_prefix, unescape  # noqa: E402

WINE_RUN = PREFIX = WORK = WRITER = ""
PROFILE = "OrlimarUserReg"
LIMIT_S = 120


class UserReg(unittest.TestCase):
    def test_settings_are_in_user_reg_after_the_server_stopped(self):
        prefix = os.path.join(WORK, "user-reg-prefix")
        copy_prefix(PREFIX, prefix)
        try:
            run = subprocess.run([WINE_RUN, prefix, WRITER, PROFILE], timeout=LIMIT_S,
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
            self.assertEqual(run.returncode, 0, run.stdout)
            subprocess.run([WINE_RUN, prefix, "--stop"], check=True, timeout=LIMIT_S)
            keys = read_hive(os.path.join(prefix, "user.reg"))
        finally:
            subprocess.run([WINE_RUN, prefix, "--stop"], timeout=LIMIT_S)
            remove_prefix(prefix)
        app = "Software\\Quenwick Software\\" + PROFILE
        self.assertIn(app, keys)
        self.assertEqual(unescape(keys[app].get("LastLocation", "")), '"Z\u00fcrich Hbf"')
        self.assertEqual(keys.get(app + "\\Preferences"), {"Sleet": "dword:00000000"})


if __name__ == "__main__":
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    WINE_RUN, PREFIX, WORK, WRITER = sys.argv[1:5]
    unittest.main(argv=[sys.argv[0]] + sys.argv[5:])
