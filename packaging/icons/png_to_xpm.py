#!/usr/bin/env python3
"""Writes the icon PNGs as XPM rows in a C++ source, for the window layer's icon resource.

Usage: png_to_xpm.py OUT.cpp orlimar-48.png orlimar-32.png orlimar-16.png
Reads 8-bit RGBA PNGs as rsvg-convert writes them; XPM has no partial
transparency, so a pixel at least half opaque is drawn and the rest left clear.
"""

import struct
import sys
import zlib

CHARS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789#$"


def read_rgba(path):
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    assert (depth, colour, interlace) == (8, 6, 0), "expected 8-bit RGBA, not interlaced"
    raw, stride, rows, prev = zlib.decompress(idat), width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = row[i - 4] if i >= 4 else 0
            b, c = prev[i], prev[i - 4] if i >= 4 else 0
            if kind == 1:
                row[i] = (row[i] + a) & 0xFF
            elif kind == 2:
                row[i] = (row[i] + b) & 0xFF
            elif kind == 3:
                row[i] = (row[i] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
        rows.append([tuple(row[x * 4:x * 4 + 4]) for x in range(width)])
        prev = row
    return width, height, rows


def xpm_rows(path):
    width, height, rows = read_rgba(path)
    colours = {}
    pixels = []
    for row in rows:
        line = []
        for r, g, b, a in row:
            key = None if a < 128 else "#%02X%02X%02X" % (r, g, b)
            if key not in colours:
                colours[key] = None
            line.append(key)
        pixels.append(line)
    codes = {}
    for n, key in enumerate(colours):
        codes[key] = "  " if key is None else CHARS[n // len(CHARS)] + CHARS[n % len(CHARS)]
    out = ['"%d %d %d 2"' % (width, height, len(codes))]
    out += ['"%s c %s"' % (code, key or "None") for key, code in codes.items()]
    out += ['"%s"' % "".join(codes[k] for k in line) for line in pixels]
    return out


def main():
    out_path, pngs = sys.argv[1], sys.argv[2:]
    text = ["// The program's icon (IDR_MAINFRAME) at 48, 32 and 16 pixels, as XPM rows.",
            "// Made by packaging/icons/png_to_xpm.py from the PNGs of packaging/icons/.",
            '#include "ui/orlimar_icon.h"', "", "// clang-format off"]
    for png in pngs:
        size = png.rsplit("-", 1)[1].split(".")[0]
        text.append("const char* const kOrlimarIcon%s[] = {" % size)
        text += ["    %s," % row for row in xpm_rows(png)]
        text.append("};")
    text.append("// clang-format on")
    with open(out_path, "w") as f:
        f.write("\n".join(text) + "\n")


if __name__ == "__main__":
    main()
