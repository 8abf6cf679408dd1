#!/usr/bin/env python3
"""Writes a Windows .ico from RGBA PNG images, one 32-bit image a size.

    png_to_ico.py OUTPUT.ico INPUT.png [INPUT.png ...]

Each image is stored as a bottom-up 32-bit bitmap with its alpha channel and
an AND mask made from it, the form every version of Windows reads.
"""
import struct
import sys
import zlib


def read_png_rgba(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG file")
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if (depth, colour, interlace) != (8, 6, 0):
                raise SystemExit(f"{path}: only 8-bit RGBA without interlacing is read")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, prev, i = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[i], bytearray(raw[i + 1:i + 1 + stride])
        i += 1 + stride
        for x in range(stride):
            a = line[x - 4] if x >= 4 else 0
            b = prev[x]
            c = prev[x - 4] if x >= 4 else 0
            if kind == 1:
                line[x] = (line[x] + a) & 0xFF
            elif kind == 2:
                line[x] = (line[x] + b) & 0xFF
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else b if pb <= pc else c
                line[x] = (line[x] + pred) & 0xFF
        rows.append(bytes(line))
        prev = line
    return width, height, rows


def icon_image(width, height, rows):
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b""
    for row in reversed(rows):
        for x in range(width):
            r, g, b, a = row[4 * x:4 * x + 4]
            colour += bytes((b, g, r, a))
    mask_stride = (width + 31) // 32 * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(width):
            if row[4 * x + 3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + colour + mask


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    images = [icon_image(*read_png_rgba(path)) for path in sys.argv[2:]]
    sizes = [read_png_rgba(path)[:2] for path in sys.argv[2:]]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (w, h), image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
