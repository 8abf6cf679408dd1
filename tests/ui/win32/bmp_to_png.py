#!/usr/bin/env python3
"""Converts a 24-bit uncompressed BMP into a PNG, with the standard library only.

    bmp_to_png.py INPUT.bmp OUTPUT.png
"""
import struct
import sys
import zlib


def main():
    src, dst = sys.argv[1:3]
    with open(src, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise SystemExit(f"{src}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits != 24 or compression != 0:
        raise SystemExit(f"{src}: only 24-bit uncompressed bitmaps are read")
    stride = (width * 3 + 3) & ~3
    rows = range(height - 1, -1, -1) if height > 0 else range(-height)
    raw = bytearray()
    for y in rows:
        row = data[offset + y * stride:offset + y * stride + width * 3]
        raw.append(0)  # no filter
        for x in range(width):
            b, g, r = row[3 * x:3 * x + 3]
            raw += bytes((r, g, b))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    png = (b"\x89PNG\r\n\x1a\n" +
           chunk(b"IHDR", struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0)) +
           chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
    with open(dst, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main()
