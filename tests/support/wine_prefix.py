"""The Windows tests' Wine prefix seen from Python: private copies and the registry files.

    copy_prefix(source, target)   a hard-linked copy with its own registry files, whose
                                  Wine server (started by wine-run.sh) is its own
    remove_prefix(path)           the copy gone, with what wine-run.sh left beside it
    read_hive(path)               {key path: {value name: value text}} of user.reg
    unescape(text)                a string of those files, escapes undone
"""

import os
import re
import shutil
import subprocess

LIMIT_S = 120


def copy_prefix(source, target):
    """Hard links for the program files; the registry files, which Wine rewrites, copied."""
    shutil.rmtree(target, ignore_errors=True)
    subprocess.run(["cp", "-al", source, target], check=True, timeout=LIMIT_S)
    for name in os.listdir(target):
        if name.endswith(".reg"):
            path = os.path.join(target, name)
            os.unlink(path)
            shutil.copy2(os.path.join(source, name), path)


def remove_prefix(path):
    shutil.rmtree(path, ignore_errors=True)
    for beside in (path + ".lock", path + ".log"):
        if os.path.exists(beside):
            os.remove(beside)


def unescape(text):
    """\\xHHHH stands for a character beyond ASCII, \\C for C."""
    return re.sub(r"\\x([0-9a-fA-F]{1,4})|\\(.)",
                  lambda m: chr(int(m.group(1), 16)) if m.group(1) else m.group(2), text)


def read_hive(path):
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
