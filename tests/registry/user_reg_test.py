#!/usr/bin/env python3
"""What the registry back end wrote is in the Wine prefix's user.reg once the server stopped.

Runs the writer in a copy of the tests' prefix, so that stopping its Wine
server leaves the other tests' server alone.
Usage: user_reg_test.py WINE_RUN PREFIX WORK_DIR WRITER_EXE [unittest arguments]
"""

import os
import re
import shutil
import subprocess
import sys
import unittest

WINE_RUN = PREFIX = WORK = WRITER = ""
PROFILE = "OrlimarUserReg"
LIMIT_S = 120


def copy_prefix(source, target):
    """A hard-linked copy; the registry files, which Wine rewrites, as real copies."""
    shutil.rmtree(target, ignore_errors=True)
    subprocess.run(["cp", "-al", source, target], check=True, timeout=LIMIT_S)
    for name in os.listdir(target):
        if name.endswith(".reg"):
            path = os.path.join(target, name)
            os.unlink(path)
            shutil.copy2(os.path.join(source, name), path)


def unescape(text):
    """A string of Wine's registry files: \\xHHHH for characters beyond ASCII."""
    return re.sub(r"\\x([0-9a-fA-F]{1,4})|\\(.)",
                  lambda m: chr(int(m.group(1), 16)) if m.group(1) else m.group(2), text)


def read_hive(path):
    """{key path: {value name: value text}} from a Wine registry file."""
    keys, current = {}, None
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("["):
                current = keys.setdefault(unescape(line[1:line.rindex("]")]), {})
            elif current is not None and line.startswith('"'):
                name, _, value = line.partition('"=')
                current[unescape(name[1:])] = value
    return keys


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
            shutil.rmtree(prefix, ignore_errors=True)
        app = "Software\\Quenwick Software\\" + PROFILE
        self.assertIn(app, keys)
        self.assertEqual(unescape(keys[app].get("LastLocation", "")), '"Z\u00fcrich Hbf"')
        self.assertEqual(keys.get(app + "\\Preferences"), {"Sleet": "dword:00000000"})


if __name__ == "__main__":
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    WINE_RUN, PREFIX, WORK, WRITER = sys.argv[1:5]
    unittest.main(argv=[sys.argv[0]] + sys.argv[5:])
